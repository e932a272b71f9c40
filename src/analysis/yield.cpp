#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "analysis/parts.h"

// The yield: a seeded Monte Carlo of the boards a choice of parts makes.
namespace timer555 {

namespace {

// A seeded generator whose numbers are the same on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  // Uniform in [-1, 1).
  double Symmetric() { return 2 * Unit() - 1; }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  std::uint64_t state_;
};

// One chip's poorly known figures, each uniform over its range (the output's
// junctions by a factor uniform on a log scale).
FamilyParameters SampledParameters(const FamilyParameters& family, Random& random) {
  FamilyParameters f = family;
  f.thresholdCurrent = family.thresholdCurrentMax * random.Unit();
  f.triggerCurrent = family.triggerCurrentMax * random.Unit();
  f.propagationDelay = family.propagationDelayMin +
                       (family.propagationDelayMax - family.propagationDelayMin) * random.Unit();
  f.storageTime = family.storageTimeMax * random.Unit();
  f.outputJunctionSaturation *= std::pow(family.outputDropSpread, random.Symmetric());
  return f;
}

Band Percentiles(std::vector<double>& values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const auto at = [&](double q) {
    return values[std::min(n - 1, static_cast<size_t>(std::floor(q * static_cast<double>(n))))];
  };
  return {at(0.01), at(0.99)};
}

}  // namespace

Spread MonteCarlo(const DesignSnapshot& design, const BenchSpec& bench) {
  const FamilyParameters& f = Parameters(bench.conditions.family);
  const DesignTraits& traits = TraitsOf(design.kind);
  const HalfPeriods target = TargetHalves(design);
  const double targetFrequency = traits.oneShot ? 0 : 1 / (target.high + *target.low);
  const double targetDuty = traits.oneShot ? 0 : target.high / (target.high + *target.low);
  const double initial = traits.oneShot ? f.monostableInitialError : f.astableInitialError;
  const double drift = traits.oneShot ? f.monostableDrift : f.drift;
  const double perVolt =
      traits.oneShot ? f.monostableSupplySensitivity : f.astableSupplySensitivity;
  const ToleranceSpec& t = bench.tolerance;
  const double nominal = bench.conditions.vcc;
  const auto [vccLow, vccHigh] = bench.vccRange.value_or(std::pair{nominal, nominal});
  Random random(bench.seed);
  std::vector<double> frequency, duty, high;
  const int n = std::max(bench.samples, 1);
  frequency.reserve(static_cast<size_t>(n));
  duty.reserve(static_cast<size_t>(n));
  high.reserve(static_cast<size_t>(n));
  int inside = 0;
  // C1's tolerance and drift are its kind's where it is known.
  const CapacitorTechnology* tech = design.capacitor ? &TechnologyOf(*design.capacitor) : nullptr;
  const double cTolerance = tech && bench.technologyTolerance ? tech->tolerance : t.capacitor;
  const bool band = HasBand(bench.conditions.family);
  for (int k = 0; k < n; ++k) {
    DesignSnapshot board = design;
    board.r1 *= 1 + t.resistor * random.Symmetric();
    board.r2 *= 1 + t.resistor * random.Symmetric();
    board.c1 *= 1 + cTolerance * random.Symmetric();
    const double chip = 1 + initial * random.Symmetric();
    Conditions at = bench.conditions;
    at.celsius = t.minCelsius + (t.maxCelsius - t.minCelsius) * random.Unit();
    at.vcc = vccLow + (vccHigh - vccLow) * random.Unit();
    if (tech) {
      const double tempco = tech->tempcoMin + (tech->tempcoMax - tech->tempcoMin) * random.Unit();
      board.c1 *= 1 + tempco * (at.celsius - kNominalCelsius);
    }
    const double scale =
        chip * (1 + drift * (at.celsius - kNominalCelsius)) * (1 + perVolt * (at.vcc - nominal));
    const Timing timing = band ? PredictSteadyTimingWith(board, at, SampledParameters(f, random))
                               : PredictSteadyTiming(board, at);
    const bool runs = Switches(timing);
    const double tH = runs ? timing.tHigh * scale : std::numeric_limits<double>::infinity();
    high.push_back(tH);
    if (traits.oneShot) {
      if (runs && std::fabs(tH / target.high - 1) <= bench.frequencyWindow) ++inside;
      continue;
    }
    const double tL = runs ? *timing.tLow * scale : std::numeric_limits<double>::infinity();
    const double fr = runs ? 1 / (tH + tL) : 0, dc = runs ? tH / (tH + tL) : 0;
    frequency.push_back(fr);
    if (runs) duty.push_back(dc);
    if (runs && std::fabs(fr / targetFrequency - 1) <= bench.frequencyWindow &&
        std::fabs(dc - targetDuty) <= bench.dutyWindow)
      ++inside;
  }
  Spread spread;
  spread.yield = static_cast<double>(inside) / n;
  spread.boards = traits.oneShot ? high : frequency;
  spread.tHigh = Percentiles(high);
  if (!traits.oneShot) {
    spread.frequency = Percentiles(frequency);
    spread.dutyCycle = Percentiles(duty);
  }
  return spread;
}

}  // namespace timer555
