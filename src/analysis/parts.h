#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/real_world.h"
#include "analysis/standard_values.h"

namespace timer555 {

// The capacitor series a search chooses C1 from, 1 nF to 1000 µF.
enum class CapacitorSeries { E3, E6, E12 };
std::optional<CapacitorSeries> CapacitorSeriesNamed(const std::string& name);  // "E3" … "E12"
const char* CapacitorSeriesName(CapacitorSeries series) noexcept;
const std::vector<double>& CapacitorValues(CapacitorSeries series);

// The half periods a design asks for: tH* and tL* from the frequency and
// duty cycle, or the one-shot's pulse (tL* absent).
struct HalfPeriods {
  double high = 0;
  std::optional<double> low;
};
HalfPeriods TargetHalves(const DesignSnapshot& design);
// How far a timing misses them: max(|tH/tH* − 1|, |tL/tL* − 1|), so the
// shorter half counts as much as the longer (the one-shot: |t/t* − 1|);
// infinite where the circuit does not switch.
double HalfPeriodError(const Timing& timing, const HalfPeriods& target);

// Where a circuit is built and how its boards spread: the nominal supply,
// family and 25 °C for the ranking; the tolerances, the temperature range,
// the supply's range and the window a board must meet for the yield.
struct BenchSpec {
  Conditions conditions;
  std::optional<std::pair<double, double>> vccRange;  // a draining battery: MIN, MAX
  ToleranceSpec tolerance;
  double frequencyWindow = 0.05;  // ± share of the frequency (the one-shot: of the pulse)
  double dutyWindow = 0.02;       // ± the duty cycle, as a fraction
  int samples = 10000;
  std::uint64_t seed = 555;
  bool operator==(const BenchSpec&) const = default;
};

// What the Monte Carlo found over the boards: the share inside the window and
// the 1st and 99th percentiles.
struct Spread {
  double yield = 0;
  Band frequency, dutyCycle, tHigh;  // the one-shot: tHigh only
  std::vector<double> boards;        // each board's frequency (the one-shot: its pulse)
};
// Seeded: each resistor and C1 uniform within ± their tolerance, the chip's
// initial error uniform within ± the family's typical figure, the temperature
// uniform over the range (with the family's drift), Vcc uniform over its
// range (with the datasheets' supply sensitivity), each board through the
// prediction. The same question gives the same answer.
Spread MonteCarlo(const DesignSnapshot& design, const BenchSpec& bench);

// One offered set of parts and what the built circuit does with it.
struct PartsChoice {
  double c1 = 0, r1 = 0;
  std::optional<double> r2;  // none for the one-shot; the pull-up for the 50 % design
  Timing predicted;          // nominal Vcc, 25 °C
  double error = 0;          // the half-period error
  int broken = 0;            // limits broken (0: clean)
  std::vector<Warning> warnings;
  double pin7Peak = 0, supplyCurrent = 0;  // A
  Spread spread;
};
// The continuous parts that meet the target (for trimmers or E192 parts).
struct ExactParts {
  bool found = false;
  double c1 = 0, r1 = 0;
  std::optional<double> r2;
  Timing predicted;
};
struct PartsAnswer {
  std::vector<PartsChoice> choices;  // best first
  bool clean = true;                 // false: nothing keeps every limit, the least bad shown
  ExactParts exact;
};

// The best standard (C1, R1, R2) for the design's kind and targets: every
// limit a constraint, ranked by the predicted built timing's half-period
// error at the nominal supply and 25 °C, ties to the higher yield, then the
// lower supply current; the same top choices as trying every combination.
PartsAnswer FindParts(const DesignSnapshot& target, const BenchSpec& bench, Series resistors,
                      CapacitorSeries capacitors, int count = 5);

// The current pin 7 sinks at the peak of a discharge, and the mean current
// the timing network draws from Vcc (the one-shot at rest).
double Pin7Peak(const DesignSnapshot& design, const Conditions& conditions);
double SupplyCurrent(const DesignSnapshot& design, const Conditions& conditions,
                     const Timing& predicted);

// The search itself, for any timing: the `count` best (C1, R1, R2) over the
// capacitors and the resistor series by `timing`'s half-period error, the
// clean ones first (all of them, when none is clean, ranked by the limits
// they break, then the error). Exhaustive over the series. `predicted`: the
// timing is the built circuit's, which the limits then reuse.
struct Candidate {
  double c1 = 0, r1 = 0;
  std::optional<double> r2;
  Timing timing;
  double error = 0;
  int broken = 0;
};
using TimingOf = std::function<Timing(const DesignSnapshot&)>;
std::vector<Candidate> SearchParts(const DesignSnapshot& target, const Conditions& conditions,
                                   const std::vector<double>& capacitors,
                                   const std::vector<double>& resistors, int count,
                                   const TimingOf& timing, bool predicted);

}  // namespace timer555
