#include "analysis/check.h"

#include "format/engineering.h"

namespace timer555 {

CheckReport RunCheck(const DesignSnapshot& design, const CheckSettings& settings) {
  CheckReport r;
  r.ideal = IdealTiming(design);
  r.range = PredictBand(design, settings.conditions);
  r.predicted = r.range.typical;
  r.warnings = CheckLimits(design, settings.conditions);
  r.choices = StandardChoices(design, settings.conditions, settings.series);
  r.band = WorstCase(design, settings.conditions, settings.tolerance);
  return r;
}

std::string WorstCaseText(const ToleranceBand& band, bool oneShot) {
  const auto percent = [](double v) { return FixedText(v * 100, 1); };
  std::string text;
  if (band.frequency && band.dutyCycle) {
    text = "frequency " + EngineeringText(band.frequency->min, "Hz") + " to " +
           EngineeringText(band.frequency->max, "Hz") + ", duty cycle " +
           percent(band.dutyCycle->min) + " to " + percent(band.dutyCycle->max) + " %";
  } else if (band.tHigh) {
    text = "pulse " + EngineeringText(band.tHigh->min, "s") + " to " +
           EngineeringText(band.tHigh->max, "s");
  }
  if (band.stopped == 0) return text;
  if (band.stopped == ToleranceBand::kCorners)
    return "none of the " + std::to_string(ToleranceBand::kCorners) + " corners " +
           (oneShot ? "ends its pulse" : "oscillates");
  const std::string verb = oneShot ? " never end their pulse" : " do not oscillate";
  const std::string which = band.stoppedAt.empty() ? "" : " (those with " + band.stoppedAt + ")";
  return text + "; " + std::to_string(band.stopped) + " of " +
         std::to_string(ToleranceBand::kCorners) + " corners" + verb + which +
         ", and the band is that of the others";
}

DesignSnapshot SnapshotWithTargets(DesignKind kind, double r1, double r2, double c1, double r1Ref,
                                   double r2Ref, double c1Ref) {
  DesignSnapshot reference{kind, r1Ref, r2Ref, c1Ref, 0, 0, 0, {}};
  const Timing target = IdealTiming(reference);
  DesignSnapshot s{kind, r1, r2, c1, 0, 0, 0, {}};
  if (TraitsOf(kind).oneShot) {
    s.pulseLength = target.tHigh;
  } else {
    s.frequency = target.frequency.value_or(0);
    s.dutyCycle = target.dutyCycle.value_or(0);
  }
  return s;
}

}  // namespace timer555
