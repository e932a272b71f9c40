#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
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

namespace {

// One board's half periods, infinite where it does not switch.
struct Board {
  bool runs;
  double high, low;
};

// The boards of a bench, one after another from one seeded generator: each
// resistor and C1 within their tolerances, the chip's initial error, the
// temperature and the supply over their ranges, C1's tempco where its kind
// is known, the model's poorly known figures over theirs.
class Boards {
 public:
  Boards(const DesignSnapshot& design, const BenchSpec& bench)
      : design_(design),
        bench_(bench),
        f_(Parameters(bench.conditions.family)),
        tech_(design.capacitor ? &TechnologyOf(*design.capacitor) : nullptr),
        random_(bench.seed) {
    const bool oneShot = TraitsOf(design.kind).oneShot;
    initial_ = oneShot ? f_.monostableInitialError : f_.astableInitialError;
    drift_ = oneShot ? f_.monostableDrift : f_.drift;
    perVolt_ = oneShot ? f_.monostableSupplySensitivity : f_.astableSupplySensitivity;
    cTolerance_ = tech_ && bench.technologyTolerance ? tech_->tolerance : bench.tolerance.capacitor;
    const double nominal = bench.conditions.vcc;
    std::tie(vccLow_, vccHigh_) = bench.vccRange.value_or(std::pair{nominal, nominal});
  }

  Board Next() {
    const ToleranceSpec& t = bench_.tolerance;
    DesignSnapshot board = design_;
    board.r1 *= 1 + t.resistor * random_.Symmetric();
    board.r2 *= 1 + t.resistor * random_.Symmetric();
    board.c1 *= 1 + cTolerance_ * random_.Symmetric();
    const double chip = 1 + initial_ * random_.Symmetric();
    Conditions at = bench_.conditions;
    at.celsius = t.minCelsius + (t.maxCelsius - t.minCelsius) * random_.Unit();
    at.vcc = vccLow_ + (vccHigh_ - vccLow_) * random_.Unit();
    if (tech_) {
      const double tempco =
          tech_->tempcoMin + (tech_->tempcoMax - tech_->tempcoMin) * random_.Unit();
      board.c1 *= 1 + tempco * (at.celsius - kNominalCelsius);
    }
    const double scale = chip * (1 + drift_ * (at.celsius - kNominalCelsius)) *
                         (1 + perVolt_ * (at.vcc - bench_.conditions.vcc));
    const Timing timing = HasBand(bench_.conditions.family)
                              ? PredictSteadyTimingWith(board, at, SampledParameters(f_, random_))
                              : PredictSteadyTiming(board, at);
    if (!Switches(timing)) return {false, kInfinity, kInfinity};
    return {true, timing.tHigh * scale, timing.tLow ? *timing.tLow * scale : kInfinity};
  }

 private:
  static constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const DesignSnapshot& design_;
  const BenchSpec& bench_;
  const FamilyParameters& f_;
  const CapacitorTechnology* tech_;
  Random random_;
  double initial_ = 0, drift_ = 0, perVolt_ = 0, cTolerance_ = 0, vccLow_ = 0, vccHigh_ = 0;
};

}  // namespace

Spread MonteCarlo(const DesignSnapshot& design, const BenchSpec& bench) {
  const bool oneShot = TraitsOf(design.kind).oneShot;
  const HalfPeriods target = TargetHalves(design);
  const double targetFrequency = oneShot ? 0 : 1 / (target.high + *target.low);
  const double targetDuty = oneShot ? 0 : target.high / (target.high + *target.low);
  Boards boards(design, bench);
  std::vector<double> frequency, duty, high;
  const int n = std::max(bench.samples, 1);
  frequency.reserve(static_cast<size_t>(n));
  duty.reserve(static_cast<size_t>(n));
  high.reserve(static_cast<size_t>(n));
  int inside = 0;
  for (int k = 0; k < n; ++k) {
    const Board b = boards.Next();
    high.push_back(b.high);
    if (oneShot) {
      if (b.runs && std::fabs(b.high / target.high - 1) <= bench.frequencyWindow) ++inside;
      continue;
    }
    const double fr = b.runs ? 1 / (b.high + b.low) : 0,
                 dc = b.runs ? b.high / (b.high + b.low) : 0;
    frequency.push_back(fr);
    if (b.runs) duty.push_back(dc);
    if (b.runs && std::fabs(fr / targetFrequency - 1) <= bench.frequencyWindow &&
        std::fabs(dc - targetDuty) <= bench.dutyWindow)
      ++inside;
  }
  Spread spread;
  spread.yield = static_cast<double>(inside) / n;
  spread.boards = oneShot ? high : frequency;
  spread.tHigh = Percentiles(high);
  if (!oneShot) {
    spread.frequency = Percentiles(frequency);
    spread.dutyCycle = Percentiles(duty);
  }
  return spread;
}

}  // namespace timer555
