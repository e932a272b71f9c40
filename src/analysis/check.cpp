#include "analysis/check.h"

namespace timer555 {

CheckReport RunCheck(const DesignSnapshot& design, const CheckSettings& settings) {
  CheckReport r;
  r.ideal = IdealTiming(design);
  r.predicted = PredictTiming(design, settings.conditions);
  r.warnings = CheckLimits(design, settings.conditions);
  r.choices = StandardChoices(design, settings.conditions, settings.series);
  r.band = WorstCase(design, settings.conditions, settings.tolerance);
  return r;
}

DesignSnapshot SnapshotWithTargets(int mode, double r1, double r2, double c1, double r1Ref,
                                   double r2Ref, double c1Ref) {
  DesignSnapshot reference{mode, r1Ref, r2Ref, c1Ref, 0, 0, 0};
  const Timing target = IdealTiming(reference);
  DesignSnapshot s{mode, r1, r2, c1, 0, 0, 0};
  if (mode == 4) {
    s.pulseLength = target.tHigh;
  } else {
    s.frequency = target.frequency.value_or(0);
    s.dutyCycle = target.dutyCycle.value_or(0);
  }
  return s;
}

}  // namespace timer555
