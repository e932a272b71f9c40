#include "analysis/capacitors.h"

#include <algorithm>
#include <cctype>

#include "format/engineering.h"

namespace timer555 {

namespace {

// Makers' typical figures for timing capacitors:
// - C0G/NP0 ceramic: to about 100 nF in leaded parts, ±5 %, 0 ± 30 ppm/°C,
//   insulation above 10 GΩ or 1000 s·F.
// - Metallised polyester (PET) film: 1 nF to 10 µF and more, ±5 % (±10 %
//   common), +0…+400 ppm/°C, insulation C·R above 5000 s: a few nA.
// - Tantalum: 0.1 µF to 470 µF, ±10 %, rising about 8 % from 25 to 85 °C;
//   leakage 0.01·C·V µA or 0.5 µA, whichever is larger.
// - Low-leakage aluminium electrolytic: from 1 µF, ±20 %, 0.002·C·V µA or
//   0.2 µA; aluminium electrolytic: from 1 µF, ±20 %, 0.01·C·V µA or 3 µA;
//   both lose about 20 % at −40 °C and gain about 10 % at 85 °C.
// - X7R ceramic: ±10 %, ±15 % over −55…125 °C, and it loses capacitance with
//   DC bias and age: poor for timing, used only where asked for.
const std::vector<CapacitorTechnology> kTechnologies = {
    {CapacitorType::C0g, "c0g", "C0G ceramic", 1e-9, 100e-9, 0.05, -30e-6, 30e-6, 0, 0, 1000, false,
     true},
    {CapacitorType::Film, "film", "film", 1e-9, 10e-6, 0.05, 0, 400e-6, 0, 0, 5000, false, true},
    {CapacitorType::Tantalum, "tantalum", "tantalum", 100e-9, 470e-6, 0.10, 0, 1300e-6, 0.01,
     0.5e-6, 0, true, true},
    {CapacitorType::LowLeakage, "low-leakage", "low-leakage electrolytic", 1e-6, 1e-3, 0.20, 0,
     2500e-6, 0.002, 0.2e-6, 0, true, true},
    {CapacitorType::Electrolytic, "electrolytic", "electrolytic", 1e-6, 1e-3, 0.20, 0, 2500e-6,
     0.01, 3e-6, 0, true, true},
    {CapacitorType::X7r, "x7r", "X7R ceramic", 1e-9, 10e-6, 0.10, -1500e-6, 1500e-6, 0, 0, 1000,
     false, false},
};

// The series' values carry float noise (4.7e-6 as 4.700000000000001e-06):
// a range's ends are met within this share.
constexpr double kEdge = 1e-9;

}  // namespace

const std::vector<CapacitorTechnology>& CapacitorTechnologies() {
  return kTechnologies;
}

const CapacitorTechnology& TechnologyOf(CapacitorType type) {
  for (const CapacitorTechnology& t : kTechnologies)
    if (t.type == type) return t;
  return kTechnologies.front();
}

std::optional<CapacitorType> CapacitorTypeNamed(const std::string& key) {
  std::string lower = key;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  for (const CapacitorTechnology& t : kTechnologies)
    if (lower == t.key) return t.type;
  return std::nullopt;
}

std::vector<CapacitorType> TimingCapacitorTypes() {
  std::vector<CapacitorType> types;
  for (const CapacitorTechnology& t : kTechnologies)
    if (t.forTiming) types.push_back(t.type);
  return types;
}

const std::vector<CapacitorKinds>& CapacitorKindChoices() {
  using T = CapacitorType;
  static const std::vector<CapacitorKinds> choices = {
      {"film, C0G, tantalum or electrolytic", TimingCapacitorTypes()},
      {"film or C0G", {T::C0g, T::Film}},
      {"film", {T::Film}},
      {"C0G ceramic", {T::C0g}},
      {"tantalum or electrolytic", {T::Tantalum, T::LowLeakage, T::Electrolytic}},
      {"any, X7R too", {T::C0g, T::Film, T::Tantalum, T::LowLeakage, T::Electrolytic, T::X7r}},
  };
  return choices;
}

double LeakageOf(const CapacitorTechnology& t, double farad, double volts) {
  const double insulation = t.insulationSeconds > 0 ? farad * volts / t.insulationSeconds : 0;
  return std::max({t.leakagePerFaradVolt * farad * volts, t.leakageFloor, insulation});
}

bool Reaches(const CapacitorTechnology& t, double farad) {
  return farad >= t.minFarad * (1 - kEdge) && farad <= t.maxFarad * (1 + kEdge);
}

std::string TechnologyText(CapacitorType type) {
  const CapacitorTechnology& t = TechnologyOf(type);
  return std::string(t.name) + " \u00b1" + FixedText(t.tolerance * 100, 0) + " %";
}

}  // namespace timer555
