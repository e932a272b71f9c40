#pragma once

#include <optional>
#include <string>
#include <vector>

namespace timer555 {

// The kinds of capacitor a timing capacitor is bought as, in the order a
// search prefers them where several reach a value.
enum class CapacitorType { C0g, Film, Tantalum, LowLeakage, Electrolytic, X7r };

// What the makers' data say of one kind: the values it comes in, its
// tolerance, how its capacitance follows temperature and how much it leaks.
struct CapacitorTechnology {
  CapacitorType type;
  const char* key;   // the command line's and JSON's name: "film"
  const char* name;  // as a person reads it: "film", "C0G ceramic"
  double minFarad, maxFarad;
  double tolerance;             // ± share of the value
  double tempcoMin, tempcoMax;  // per kelvin: the capacitance's drift lies between
  double leakagePerFaradVolt;   // A per F·V at most: 0.01 for the electrolytics' 0.01·C·V µA
  double leakageFloor;          // A: the leakage is at least this much
  double insulationSeconds;     // s: C·V / this for film and ceramics; 0: not used
  bool polarised;
  bool forTiming;  // chosen without being asked (X7R is not: it drifts with voltage and age)
};

const std::vector<CapacitorTechnology>& CapacitorTechnologies();
const CapacitorTechnology& TechnologyOf(CapacitorType type);
std::optional<CapacitorType> CapacitorTypeNamed(const std::string& key);  // any case
// Every kind fit for timing: all but X7R.
std::vector<CapacitorType> TimingCapacitorTypes();
// The sets of kinds the check window offers, the timing kinds first.
struct CapacitorKinds {
  const char* label;
  std::vector<CapacitorType> types;
};
const std::vector<CapacitorKinds>& CapacitorKindChoices();

// The most a capacitor of this kind and value leaks at `volts`.
double LeakageOf(const CapacitorTechnology& technology, double farad, double volts);
// Whether the kind comes in this value.
bool Reaches(const CapacitorTechnology& technology, double farad);
// "film ±5 %"
std::string TechnologyText(CapacitorType type);

}  // namespace timer555
