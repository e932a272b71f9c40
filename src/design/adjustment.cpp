#include "design/adjustment.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "components/holders.h"
#include "design/timer_equations.h"
#include "format/pmisc.h"

namespace timer555 {

namespace {

// The multiplier of a unit the dialog shows.
double UnitScale(const std::string& unit) {
  if (unit == "G") return 1e9;
  if (unit == "M") return 1e6;
  if (unit == "K") return 1e3;
  if (unit == "uF") return 1e-6;
  if (unit == "nF") return 1e-9;
  if (unit == "pF") return 1e-12;
  return 1;
}

// "4.7uF" → "4.7" and "uF"; "3.6K" → "3.6" and "K"; numbers without a unit
// letter keep the whole text.
void SplitUnit(AdjustmentField& field, const std::string& shown) {
  if (field.capacitor) {
    const char letter = shown.size() >= 2 ? shown[shown.size() - 2] : '\0';
    const bool prefixed = letter == 'n' || letter == 'p' || letter == 'u';
    field.unit = prefixed ? shown.substr(shown.size() - 2) : "F";
    field.number = prefixed ? shown.substr(0, shown.size() - 2) : shown;
    return;
  }
  const char last = shown.empty() ? '\0' : shown.back();
  const bool prefixed = last == 'G' || last == 'K' || last == 'M';
  field.unit = prefixed ? std::string(1, last) : "";
  field.number = prefixed ? shown.substr(0, shown.size() - 1) : shown;
}

}  // namespace

AdjustmentField AdjustmentFieldOf(const TimerDesignState& d, int resistor) {
  AdjustmentField field;
  field.capacitor = resistor == 0;
  field.name = field.capacitor ? "C1" : resistor == 1 ? "R1" : "R2";
  SplitUnit(field, field.capacitor ? FormatCapacitance(d.C1Ref)
                   : resistor == 1 ? FormatResistance(d.R1Ref)
                                   : FormatResistance(d.R2Ref));
  field.reference = ParseNumber(field.number);
  return field;
}

std::optional<double> AcceptedValue(const AdjustmentField& field, const std::string& text) {
  const double v = ParseNumber(text);
  // The ends are compared as the user reads them: 1.2 × 4.427 is 5.3124 in
  // decimal, while in binary the product lands an ulp below the parsed 5.3124.
  // A slack of a few units in the last place keeps both ends inside; a number
  // one unit of its last shown digit outside stays out.
  constexpr double kSlack = 8 * std::numeric_limits<double>::epsilon();
  const double top = 1.2 * field.reference * (1 + kSlack);
  const double bottom = field.reference / 1.2 * (1 - kSlack);
  if (v > top || v < bottom) return std::nullopt;
  return v * UnitScale(field.unit);
}

std::string EntryText(const AdjustmentField& field, double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value / UnitScale(field.unit));
  return std::string(buf, r.ptr);
}

std::string SpokenValue(const std::string& shown, bool capacitor) {
  AdjustmentField field;
  field.capacitor = capacitor;
  SplitUnit(field, shown);
  std::string word = UnitWord(field.unit);
  if (word.empty()) return shown;
  if (field.number == "1") word.pop_back();  // "1 microfarad"
  return field.number + " " + word;
}

namespace {

// `value` to four significant figures, rounded up or down.
std::string FourFigures(double value, bool up) {
  const double scale = std::pow(10.0, 3 - std::floor(std::log10(value)));
  // A hair of slack: 120 / 1.2 × 1.2 must not round up to 120.1.
  const double scaled = value * scale;
  const double rounded = (up ? std::ceil(scaled - 1e-9) : std::floor(scaled + 1e-9)) / scale;
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, rounded, std::chars_format::general, 4);
  return std::string(text, end.ptr);
}

}  // namespace

std::string AdjustmentRange(double value) {
  if (!(value > 0) || !std::isfinite(value)) return {};
  return "from " + FourFigures(value / 1.2, true) + " to " + FourFigures(value * 1.2, false);
}

std::string UnitWord(const std::string& unit) {
  static const std::pair<const char*, const char*> kWords[] = {
      {"", "ohms"},           {"K", "kilohms"},
      {"M", "megohms"},       {"G", "gigohms"},
      {"F", "farads"},        {"uF", "microfarads"},
      {"nF", "nanofarads"},   {"pF", "picofarads"},
      {"Hz", "hertz"},        {"kHz", "kilohertz"},
      {"MHz", "megahertz"},   {"%", "percent"},
      {"s", "seconds"},       {"sec", "seconds"},
      {"ms", "milliseconds"}, {"\u00b5s", "microseconds"},
      {"ns", "nanoseconds"}};
  for (const auto& [shown, word] : kWords)
    if (unit == shown) return word;
  return {};
}

bool AcceptsResistor(const TimerDesignState& design, int index, double ohms) {
  const AdjustmentField field = AdjustmentFieldOf(design, index);
  return AcceptedValue(field, EntryText(field, ohms)).has_value();
}

PartsReach ReachParts(const TimerDesignState& design, double c1, double r1,
                      std::optional<double> r2) {
  PartsReach reach;
  // The arrows step C1 through the E12 mantissas (100 … 820) over 10^decade.
  const std::vector<std::string>& mantissas = E12Mantissas();
  const int count = static_cast<int>(mantissas.size());
  std::optional<std::pair<int, int>> place;  // index, decade
  for (int i = 0; i < count && !place; ++i) {
    const double m = ParseNumber(mantissas[static_cast<size_t>(i)]);
    const int decade = static_cast<int>(std::lround(std::log10(m / c1)));
    if (std::fabs(m / Power10(decade) / c1 - 1) < 1e-9) place = std::pair{i, decade};
  }
  if (!place) {
    reach.reason = "C1 = " + FormatCapacitance(c1) + " is not an E12 value the arrows step through";
    return reach;
  }
  TimerDesignState at = design;
  reach.steps = (design.DecadeCount - place->second) * count + (place->first - design.E12Index);
  if (reach.steps != 0) {
    at.E12Index = place->first;
    at.DecadeCount = place->second;
    at.C1 = ParseNumber(mantissas[static_cast<size_t>(place->first)]) / Power10(place->second);
    SolveComponents(at);
    if (at.DecadeCount != place->second) {
      reach.reason =
          "the window keeps its resistors at 5 k\u03a9 or more, so its arrows do not "
          "stop at C1 = " +
          FormatCapacitance(c1) + " for this design";
      return reach;
    }
    at.C1Ref = at.C1;
    at.R1Ref = at.R1;
    at.R2Ref = at.R2;
  }
  for (const auto& [index, ohms] : {std::pair{1, std::optional<double>(r1)}, std::pair{2, r2}}) {
    if (!ohms || AcceptsResistor(at, index, *ohms)) continue;
    const double reference = index == 1 ? at.R1Ref : at.R2Ref;
    reach.reason = "R" + std::to_string(index) + " = " + FormatResistance(*ohms) +
                   " is outside the \u00b120 % the adjustment dialog allows around " +
                   FormatResistance(reference) + " at this C1";
    return reach;
  }
  reach.reachable = true;
  return reach;
}

std::string PrepareAdjustment() {
  AdjustState& a = Global::Adjust();
  const int resistor = a.AdjustIsCapacitor ? 0 : Global::Page().ResistorUnderCursor == 1 ? 1 : 2;
  const AdjustmentField field = AdjustmentFieldOf(Global::TimerDesign(), resistor);
  a.AdjustUnit = field.unit;
  a.AdjustNumber = field.number;
  a.AdjustReference = field.reference;
  return field.name;
}

std::optional<std::string> ApplyAdjustment(const std::string& text) {
  const AdjustState& a = Global::Adjust();
  const int resistor = a.AdjustIsCapacitor ? 0 : Global::Page().ResistorUnderCursor == 1 ? 1 : 2;
  AdjustmentField field;
  field.capacitor = a.AdjustIsCapacitor;
  field.unit = a.AdjustUnit;
  field.reference = a.AdjustReference;
  const std::optional<double> v = AcceptedValue(field, text);
  if (!v) return kAdjustmentRefused;
  TimerDesignState& d = Global::TimerDesign();
  (resistor == 0 ? d.C1 : resistor == 1 ? d.R1 : d.R2) = *v;
  return std::nullopt;
}

std::string ResistorEntry(int index, double ohms) {
  Global::Adjust().AdjustIsCapacitor = false;
  Global::Page().ResistorUnderCursor = index;
  PrepareAdjustment();
  return EntryText(AdjustmentFieldOf(Global::TimerDesign(), index), ohms);
}

}  // namespace timer555
