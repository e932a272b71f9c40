#include "analysis/band.h"

#include "analysis/numerics.h"

#include <cmath>
#include <limits>
#include <string>

#include "format/engineering.h"

namespace timer555 {

namespace {

// The figure the band is told in: the frequency, or the one-shot's pulse.
double Figure(const Timing& t) {
  return t.frequency ? *t.frequency : t.tHigh;
}

double InitialError(DesignKind kind, TimerFamily family) {
  const FamilyParameters& f = Parameters(family);
  return TraitsOf(kind).oneShot ? f.monostableInitialError : f.astableInitialError;
}

std::string Percent(double share) {
  return FixedText(share * 100, 1) + " %";
}

}  // namespace

BandedTiming PredictBand(const DesignSnapshot& design, const Conditions& conditions) {
  BandedTiming t;
  t.typical = PredictTiming(design, conditions);
  if (HasBand(conditions.family)) {
    t.fast = PredictTiming(design, conditions, Corner::Fast);
    t.slow = PredictTiming(design, conditions, Corner::Slow);
  } else {
    t.fast = t.slow = t.typical;
  }
  return t;
}

BandShare ShareOf(const BandedTiming& t) {
  const double typical = Figure(t.typical);
  BandShare share;
  for (const Timing* end : {&t.fast, &t.slow}) {
    if (!Switches(*end) || !(typical > 0))
      return {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    const double ratio = Figure(*end) / typical - 1;
    if (ratio < 0) share.below = std::max(share.below, -ratio);
    if (ratio > 0) share.above = std::max(share.above, ratio);
  }
  return share;
}

bool BandMatters(const BandedTiming& t, DesignKind kind, TimerFamily family) {
  return Switches(t.typical) && ShareOf(t).Widest() > InitialError(kind, family);
}

std::optional<Warning> DelayUncertainty(const DesignSnapshot& s, const Conditions& c) {
  if (!HasBand(c.family)) return std::nullopt;
  const BandedTiming here = PredictBand(s, c);
  if (!BandMatters(here, s.kind, c.family)) return std::nullopt;
  const bool oneShot = TraitsOf(s.kind).oneShot;
  const double accuracy = InitialError(s.kind, c.family);
  // The same design with C1 scaled: the delays' share falls as the periods
  // grow. Bisection on the log of the scale for where the band meets the
  // chip's accuracy.
  const auto widest = [&](double scale) {
    DesignSnapshot d = s;
    d.c1 *= scale;
    return ShareOf(PredictBand(d, c)).Widest();
  };
  const Root scale = SolveIncreasing([&](double u) { return accuracy - widest(std::exp(u)); },
                                     nullptr, 0, std::log(1e6), -1, 1e-9);
  DesignSnapshot edge = s;
  edge.c1 *= std::exp(scale.value);
  const Timing at = PredictTiming(edge, c);
  // A CMOS timer's delays shift the same parts by this much.
  Conditions cmos = c;
  cmos.family = TimerFamily::Cmos;
  FamilyParameters undelayed = Parameters(TimerFamily::Cmos);
  undelayed.propagationDelay = 0;
  const Timing withDelay = PredictTiming(s, cmos);
  const Timing without = PredictSteadyTimingWith(s, cmos, undelayed);
  const double cmosShift = std::fabs(Figure(withDelay) / Figure(without) - 1);
  const BandShare share = ShareOf(here);
  const std::string where =
      oneShot ? "Below about " + EngineeringText(at.tHigh, "s") + " a pulse"
              : "Above about " + EngineeringText(Figure(at), "Hz") + " the timing";
  const FamilyParameters& f = Parameters(c.family);
  return Warning{
      WarningCode::DelayUncertain,
      where + " of a bipolar timer is uncertain by more than the chip's own " +
          FixedText(accuracy * 100, 2) + " %: its delay per transition lies anywhere from " +
          EngineeringText(f.propagationDelayMin, "s") + " to " +
          EngineeringText(f.propagationDelayMax, "s") +
          ", and the saturated transistor that held the capacitor low lets go only after a storage "
          "time that grows with the current it carried. "
          "Here the " +
          (oneShot ? "pulse" : "frequency") + " may lie " + Percent(share.below) + " below to " +
          Percent(share.above) + " above the predicted figure. A CMOS timer's delays shift it by " +
          Percent(cmosShift) + "."};
}

}  // namespace timer555
