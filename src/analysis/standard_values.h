#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/real_world.h"

namespace timer555 {

enum class Series { E6, E12, E24, E48, E96 };
std::optional<Series> SeriesNamed(const std::string& name);  // "E6" … "E96"
const char* SeriesName(Series series) noexcept;

// The series' values from 1 ohm to 100 Mohm, ascending.
const std::vector<double>& SeriesValues(Series series);

// A choice of standard resistors for the design's C1 and what the built
// circuit does with it. R2 is absent for the one-shot; for the square wave it
// stays the fixed 4.7 kOhm pull-up.
struct StandardChoice {
  double r1 = 0;
  std::optional<double> r2;
  Timing predicted;               // the built circuit's, at the check's supply and 25 °C
  double error = 0;               // the half-period error, max(|tH/tH* − 1|, |tL/tL* − 1|)
  double worst = 0;               // the same at the worse end of the model's band
  bool onTarget = true;           // within ±5 % of the frequency (pulse) and ±2 points of duty
  int broken = 0;                 // limits it breaks: 0, unless no choice keeps them all
  std::vector<Warning> warnings;  // those limits
};

// The `count` best choices, best first: the parts search with C1 fixed to
// the design's, ranked by the built circuit's half-period error at the worse
// end of its band; a choice that breaks a limit (resistance, pin 7's
// current, leakage, the threshold never reached) is offered only when none
// keeps them all. Exhaustive over the series.
std::vector<StandardChoice> StandardChoices(const DesignSnapshot& design,
                                            const Conditions& conditions, Series series,
                                            int count = 5);

}  // namespace timer555
