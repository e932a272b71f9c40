#pragma once

#include <functional>

#include "analysis/timer_family.h"

namespace timer555 {

// The comparators' input currents on the timing capacitor of a bipolar chip:
// the threshold pin draws from it as it nears 2/3 Vcc, the trigger pin (where
// it is tied to the capacitor) feeds it as it nears 1/3 Vcc from above. Each
// is its pair's full base current shared by a logistic of the input's
// distance from its reference.
struct PinCurrents {
  double thresholdFull =
      0;                   // A drawn with the threshold pair switched fully (twice the trip figure)
  double triggerFull = 0;  // A fed with the trigger pair switched fully
  double spread = 0;       // V of the logistic's scale; 0: no such currents
  double low = 0, high = 0;  // V: the trigger's and the threshold's references

  // The current into the capacitor at `v`: the trigger's in, the threshold's out.
  double Net(double v) const noexcept;
  bool Any() const noexcept { return spread > 0 && (thresholdFull > 0 || triggerFull > 0); }
};

// The family's pin currents at a temperature, between the references 1/3 and
// 2/3 Vcc; `trigger`: pin 2 is on the capacitor.
PinCurrents PinCurrentsOf(const FamilyParameters& family, double vcc, double celsius,
                          bool trigger) noexcept;

// What the pin currents add to the time the capacitor takes from `from` to
// `to` while the path drives `current(v)` (a magnitude, towards `to`):
// C·dv / (i + N) instead of C·dv / i, worked out near each reference where
// they flow. Infinite where the capacitor stalls before `to`.
double PinCurrentsTime(const PinCurrents& pins, double c, double from, double to,
                       const std::function<double(double)>& current);

}  // namespace timer555
