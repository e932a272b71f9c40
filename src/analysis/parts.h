#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/band.h"
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
  // The kinds C1 may be bought as, and whether its tolerance is its kind's
  // (tolerance.capacitor otherwise: the user gave one).
  std::vector<CapacitorType> capacitorTypes = TimingCapacitorTypes();
  bool technologyTolerance = true;
  bool operator==(const BenchSpec&) const = default;
};

// What the Monte Carlo found over the boards: the share inside the window and
// the 1st and 99th percentiles.
struct Spread {
  double yield = 0;
  Band frequency, dutyCycle, tHigh;  // the one-shot: tHigh only
  std::vector<double> boards;        // each board's frequency (the one-shot: its pulse)
};
// Seeded: each resistor and C1 uniform within ± their tolerance (C1's kind's,
// with its kind's drift over temperature, where it is known), the chip's
// initial error uniform within ± the family's typical figure, the temperature
// uniform over the range (with the family's drift), Vcc uniform over its
// range (with the datasheets' supply sensitivity), the model's poorly known
// figures (pin currents, delays, the output's drop) uniform over their
// ranges, each board through the prediction. The same question gives the
// same answer.
Spread MonteCarlo(const DesignSnapshot& design, const BenchSpec& bench);

// One offered set of parts and what the built circuit does with it.
struct PartsChoice {
  double c1 = 0, r1 = 0;
  std::optional<double> r2;  // none for the one-shot; the pull-up for the 50 % design
  CapacitorType capacitor = CapacitorType::Film;
  Timing predicted;      // nominal Vcc, 25 °C
  Timing fast, slow;     // the ends of the band the poorly known figures give
  double error = 0;      // the half-period error
  double worst = 0;      // the half-period error at the band's worse end
  bool onTarget = true;  // the predicted figures inside the window a board must meet
  int broken = 0;        // limits broken (0: clean)
  std::vector<Warning> warnings;
  double pin7Peak = 0, supplyCurrent = 0;  // A
  Spread spread;
};
// The continuous parts that meet the target (for trimmers or E192 parts).
struct ExactParts {
  bool found = false;
  double c1 = 0, r1 = 0;
  CapacitorType capacitor = CapacitorType::Film;  // the best choice's
  std::optional<double> r2;
  Timing predicted;
};
struct PartsAnswer {
  std::vector<PartsChoice> choices;  // best first
  bool clean = true;                 // false: nothing keeps every limit, the least bad shown
  ExactParts exact;
  // False where no clean choice lands inside the window: why, in one
  // sentence, and what would reach it.
  bool reachable = true;
  std::string why, instead;
  std::vector<Warning> supply;  // what the check says of the supply
};

// The best standard (C1, R1, R2) for the design's kind and targets: every
// limit a constraint, ranked by the predicted built timing's half-period
// error at the worse end of its band at the nominal supply and 25 °C, those
// inside the window first, near ties (kTieShare) to the higher yield; the
// same top choices as trying every combination.
PartsAnswer FindParts(const DesignSnapshot& target, const BenchSpec& bench, Series resistors,
                      CapacitorSeries capacitors, int count = 5);

// Whether a built circuit's figures lie inside the window a board must meet.
bool InsideWindow(const Timing& timing, const DesignSnapshot& target, const BenchSpec& bench);
// Where no clean choice lands inside the window: why, in one sentence, and
// what would reach it (another capacitor kind, the CMOS family, a higher
// supply, a trimmer), each tried with the search.
void ExplainUnreachable(const DesignSnapshot& target, const BenchSpec& bench, Series resistors,
                        CapacitorSeries capacitors, PartsAnswer& answer);

// What a board built with these parts does, as the search reports a choice:
// the predicted timing and its band, the errors, the limits, the yield.
PartsChoice AssessParts(const DesignSnapshot& target, double c1, double r1,
                        std::optional<double> r2, CapacitorType capacitor, const BenchSpec& bench);

// A design with these parts; R2 is the pull-up where the design has one.
DesignSnapshot WithParts(const DesignSnapshot& target, double c1, double r1,
                         std::optional<double> r2,
                         std::optional<CapacitorType> capacitor = std::nullopt);

// The current pin 7 sinks at the peak of a discharge, and the mean current
// the timing network draws from Vcc (the one-shot at rest).
double Pin7Peak(const DesignSnapshot& design, const Conditions& conditions);
double SupplyCurrent(const DesignSnapshot& design, const Conditions& conditions,
                     const Timing& predicted);

// The one order of offered parts: fewer limits broken first, then those
// inside the window before those outside, then the smaller error at the
// band's worse end; then the larger resistors (less current), then the
// smaller capacitor.
struct Standing {
  int broken = 0;
  bool outside = false;
  double worst = 0, resistance = 0, r1 = 0, c1 = 0;
};
bool Outranks(const Standing& a, const Standing& b);

// Two errors this close are a tie: the yield decides.
inline constexpr double kTieShare = 0.002;

// The half-period error over the band: the largest of the three.
double WorstHalfPeriodError(const BandedTiming& timing, const HalfPeriods& target);

// The kind C1 is bought as among `types`: the first (in the order of
// preference) that comes in its value and whose leakage the design allows,
// else the first that comes in it; none where none does.
std::optional<CapacitorType> ChooseCapacitor(const DesignSnapshot& design,
                                             const Conditions& conditions,
                                             const std::vector<CapacitorType>& types);

// The search itself: the `count` best (C1 and its kind, R1, R2) over the
// capacitors and the resistor series by the half-period error at the worse
// end of the band, the clean ones first (all of them, when none is clean,
// ranked by the limits they break, then the error). Exhaustive over the series.
struct Candidate {
  double c1 = 0, r1 = 0;
  std::optional<double> r2;
  CapacitorType capacitor = CapacitorType::Film;
  BandedTiming timing;
  double error = 0;  // of the typical timing
  double worst = 0;  // over the band
  int broken = 0;
};
std::vector<Candidate> SearchParts(const DesignSnapshot& target, const Conditions& conditions,
                                   const std::vector<double>& capacitors,
                                   const std::vector<CapacitorType>& types,
                                   const std::vector<double>& resistors, int count);

}  // namespace timer555
