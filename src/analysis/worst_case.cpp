#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/real_world.h"
#include "format/engineering.h"

// The worst case of the part tolerances and the temperature range over the
// real-world model.
namespace timer555 {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Which corners stopped, by what they have in common: "R1 +5.0 % and C1 +10.0 %".
std::string CommonEnds(const std::vector<int>& corners, const ToleranceSpec& t, bool oneShot) {
  const struct {
    int bit;
    std::string low, high;
  } ends[] = {
      {0, "R1 \u2212" + FixedText(t.resistor * 100, 1) + " %",
       "R1 +" + FixedText(t.resistor * 100, 1) + " %"},
      {1, "R2 \u2212" + FixedText(t.resistor * 100, 1) + " %",
       "R2 +" + FixedText(t.resistor * 100, 1) + " %"},
      {2, "C1 \u2212" + FixedText(t.capacitor * 100, 1) + " %",
       "C1 +" + FixedText(t.capacitor * 100, 1) + " %"},
      {3, "at " + FixedText(t.minCelsius, 0) + " \u00b0C",
       "at " + FixedText(t.maxCelsius, 0) + " \u00b0C"},
  };
  std::string text;
  for (const auto& end : ends) {
    if (end.bit == 1 && oneShot) continue;
    const int first = (corners.front() >> end.bit) & 1;
    const bool common = std::all_of(corners.begin(), corners.end(),
                                    [&](int c) { return ((c >> end.bit) & 1) == first; });
    if (common) text += (text.empty() ? "" : " and ") + (first ? end.high : end.low);
  }
  return text;
}

}  // namespace

ToleranceBand WorstCase(const DesignSnapshot& s, const Conditions& c, const ToleranceSpec& t) {
  const FamilyParameters& f = Parameters(c.family);
  ToleranceBand band;
  Band freq{kInfinity, -kInfinity}, duty{kInfinity, -kInfinity}, high{kInfinity, -kInfinity};
  std::vector<int> stopped;
  for (int corner = 0; corner < ToleranceBand::kCorners; ++corner) {
    const auto sign = [corner](int bit) { return (corner >> bit) & 1 ? 1.0 : -1.0; };
    DesignSnapshot d = s;
    d.r1 *= 1 + sign(0) * t.resistor;
    d.r2 *= 1 + sign(1) * t.resistor;
    d.c1 *= 1 + sign(2) * t.capacitor;
    Conditions at = c;
    at.celsius = (corner >> 3) & 1 ? t.maxCelsius : t.minCelsius;
    // The chip's own drift, of either sign, over the distance from 25 °C.
    const double rate = TraitsOf(s.kind).oneShot ? f.monostableDrift : f.drift;
    const double drift = 1 + sign(4) * rate * std::fabs(at.celsius - kNominalCelsius);
    const Timing timing = PredictTiming(d, at);
    // A corner where the threshold is never reached has no figures to add.
    if (!Switches(timing)) {
      stopped.push_back(corner);
      continue;
    }
    const auto widen = [](Band& b, double v) {
      b.min = std::min(b.min, v);
      b.max = std::max(b.max, v);
    };
    widen(high, timing.tHigh * drift);
    if (timing.frequency) widen(freq, *timing.frequency / drift);
    if (timing.dutyCycle) widen(duty, *timing.dutyCycle);
  }
  band.stopped = static_cast<int>(stopped.size());
  if (!stopped.empty()) band.stoppedAt = CommonEnds(stopped, t, TraitsOf(s.kind).oneShot);
  if (band.stopped == ToleranceBand::kCorners) return band;
  const double error = TraitsOf(s.kind).oneShot ? f.monostableInitialError : f.astableInitialError;
  band.tHigh = Band{high.min * (1 - error), high.max * (1 + error)};
  if (!TraitsOf(s.kind).oneShot) {
    band.frequency = Band{freq.min * (1 - error), freq.max * (1 + error)};
    band.dutyCycle = duty;
  }
  return band;
}

}  // namespace timer555
