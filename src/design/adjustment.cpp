#include "design/adjustment.h"

#include <charconv>
#include <limits>

#include "design/timer_equations.h"
#include "format/pmisc.h"
#include "state/global.h"

namespace timer555 {

std::string PrepareAdjustment() {
  AdjustState& a = Global::Adjust();
  const TimerDesignState& d = Global::TimerDesign();
  std::string name;
  std::string s;
  if (a.AdjustIsCapacitor) {
    name = "C1";
    s = FormatCapacitance(d.C1Ref);
    const char unitLetter = s.size() >= 2 ? s[s.size() - 2] : '\0';
    if (unitLetter == 'n' || unitLetter == 'p' || unitLetter == 'u') {
      a.AdjustUnit = s.substr(s.size() - 2);
      a.AdjustNumber = s.substr(0, s.size() - 2);
    } else {
      a.AdjustUnit = "F";
      a.AdjustNumber = s;
    }
  } else {
    const bool first = Global::Page().ResistorUnderCursor == 1;
    name = first ? "R1" : "R2";
    s = FormatResistance(first ? d.R1Ref : d.R2Ref);
    const char last = s.empty() ? '\0' : s.back();
    if (last == 'G' || last == 'K' || last == 'M') {
      a.AdjustUnit = std::string(1, last);
      a.AdjustNumber = s.substr(0, s.size() - 1);
    } else {
      a.AdjustUnit.clear();
      a.AdjustNumber = s;
    }
  }
  a.AdjustReference = ParseNumber(a.AdjustNumber);
  return name;
}

std::optional<std::string> ApplyAdjustment(const std::string& text) {
  const AdjustState& a = Global::Adjust();
  TimerDesignState& d = Global::TimerDesign();
  const double v = ParseNumber(text);
  // The ends are compared as the user reads them: 1.2 × 4.427 is 5.3124 in
  // decimal, while in binary the product lands an ulp below the parsed 5.3124.
  // A slack of a few units in the last place keeps both ends inside; a number
  // one unit of its last shown digit outside stays out.
  constexpr double kSlack = 8 * std::numeric_limits<double>::epsilon();
  const double top = 1.2 * a.AdjustReference * (1 + kSlack);
  const double bottom = a.AdjustReference / 1.2 * (1 - kSlack);
  if (v > top || v < bottom) return kAdjustmentRefused;
  const std::string& unit = a.AdjustUnit;
  if (a.AdjustIsCapacitor) {
    d.C1 = unit == "pF" ? v * 1e-12 : unit == "nF" ? v * 1e-9 : unit == "uF" ? v * 1e-6 : v;
  } else {
    double& target = Global::Page().ResistorUnderCursor == 1 ? d.R1 : d.R2;
    target = unit == "G" ? v * 1e9 : unit == "M" ? v * 1e6 : unit == "K" ? v * 1e3 : v;
  }
  return std::nullopt;
}

std::string ResistorEntry(int index, double ohms) {
  Global::Adjust().AdjustIsCapacitor = false;
  Global::Page().ResistorUnderCursor = index;
  PrepareAdjustment();
  const std::string& unit = Global::Adjust().AdjustUnit;
  const double scale = unit == "G" ? 1e9 : unit == "M" ? 1e6 : unit == "K" ? 1e3 : 1;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, ohms / scale);
  return std::string(buf, r.ptr);
}

}  // namespace timer555
