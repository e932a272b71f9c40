#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/capacitors.h"
#include "analysis/timer_family.h"
#include "analysis/warning_codes.h"
#include "state/design_kind.h"

namespace timer555 {

// A design as the window holds it: which design, the parts, and the
// targets the user typed (frequency and duty cycle, or the pulse length).
struct DesignSnapshot {
  DesignKind kind = DesignKind::AstableAbove;
  double r1 = 0, r2 = 0, c1 = 0;
  double frequency = 0, dutyCycle = 0, pulseLength = 0;
  // What C1 is built as, where a parts search chose it; none: from 1 µF on
  // most likely an aluminium electrolytic.
  std::optional<CapacitorType> capacitor;
  bool operator==(const DesignSnapshot&) const = default;
};

// Where the circuit is built: supply, timer family, temperature.
struct Conditions {
  double vcc = 9;
  TimerFamily family = TimerFamily::Bipolar;
  double celsius = kNominalCelsius;
  bool operator==(const Conditions&) const = default;
};

// The timing of a circuit. For the one-shot tHigh is the pulse and the
// astable figures (tLow, frequency, duty cycle) are absent.
struct Timing {
  double tHigh = 0;
  std::optional<double> tLow, frequency, dutyCycle;
  double firstTHigh = 0;  // the first high time after power-up (the one-shot: the pulse)
};

// Whether the circuit switches at all: every time it has is finite (the
// threshold is reached).
bool Switches(const Timing& timing);

// The relations the designs and the window's recalculation use: ln 2 and ln 3.
Timing IdealTiming(const DesignSnapshot& design);

// The circuit as drawn, built from real parts: thresholds at 1/3 and 2/3 Vcc,
// the threshold current, the output stage's drop and resistance, the
// discharge transistor's on-resistance, the steering diodes' drop at the
// current that flows, and the propagation delay of each transition.
Timing PredictTiming(const DesignSnapshot& design, const Conditions& conditions);
// The same without the first high time (0), for the many boards of a yield.
Timing PredictSteadyTiming(const DesignSnapshot& design, const Conditions& conditions);

// Where the model's poorly known figures lie within their ranges: the
// typical chip, or the end of each range that makes the half periods
// shortest (no pin currents, the shortest delay, the lowest output drop) or
// longest (the datasheets' largest pin currents, the longest delay and the
// storage time, the highest drop). Each effect lengthens the half it
// matters to, so the two ends bound what a chip does.
enum class Corner { Typical, Fast, Slow };
FamilyParameters CornerParameters(TimerFamily family, Corner corner);
// Whether the family's figures have ranges at all (the CMOS timer's do not).
bool HasBand(TimerFamily family) noexcept;
Timing PredictTiming(const DesignSnapshot& design, const Conditions& conditions, Corner corner);
// The timing with figures of the caller's: the check asks what the circuit
// would do without one effect; the steady one is a board of a yield.
Timing PredictTimingWith(const DesignSnapshot& design, const Conditions& conditions,
                         const FamilyParameters& family);
Timing PredictSteadyTimingWith(const DesignSnapshot& design, const Conditions& conditions,
                               const FamilyParameters& family);

std::vector<Warning> CheckLimits(const DesignSnapshot& design, const Conditions& conditions);
// The warnings on the supply alone: outside the family's range, above the
// recommended maximum.
std::vector<Warning> SupplyWarnings(const Conditions& conditions);

// The limits a choice of parts must keep: the parts' own (resistance, pin 7's
// current, the output's, electrolytic leakage; not the discharge transistor's
// share of R2, a departure the prediction holds), C1 above the board's
// strays, the frequency within the family's reach, the threshold reached.
// How many the design breaks, given its predicted timing:
int BrokenLimits(const DesignSnapshot& design, const Conditions& conditions,
                 const Timing& predicted);
// Whether C1's leakage (its kind's, or an electrolytic's from 1 µF where its
// kind is not known) is not small beside the charging current.
bool LeaksTooMuch(const DesignSnapshot& design, const Conditions& conditions);
// The warnings of those limits, with their messages.
std::vector<Warning> LimitWarnings(const DesignSnapshot& design, const Conditions& conditions);

// C1's leakage may be at most this share of the charging current near the
// threshold, (Vcc/3) / R.
inline constexpr double kLeakageShare = 0.1;

// A C1 this large is most likely an aluminium electrolytic.
inline constexpr double kElectrolyticFrom = 1e-6;  // F

// Tolerances of the parts and the temperature range the circuit works in.
struct ToleranceSpec {
  double resistor = 0.05;
  double capacitor = 0.10;
  double minCelsius = 0;
  double maxCelsius = 70;
  bool operator==(const ToleranceSpec&) const = default;
};
struct Band {
  double min = 0;
  double max = 0;
};
// The worst case over every corner of the parts and temperatures, applied to
// the real-world model and widened by the family's initial timing error.
// Corners where the threshold is never reached are counted apart, with the
// part ends they share, and the band is that of the corners that run.
struct ToleranceBand {
  static constexpr int kCorners = 32;
  std::optional<Band> frequency, dutyCycle;  // astables
  std::optional<Band> tHigh;                 // the high time, or the pulse
  int stopped = 0;                           // corners that never switch
  std::string stoppedAt;                     // what they share: "R1 +5.0 % and C1 +10.0 %"
};
ToleranceBand WorstCase(const DesignSnapshot& design, const Conditions& conditions,
                        const ToleranceSpec& tolerance);

}  // namespace timer555
