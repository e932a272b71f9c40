#pragma once

#include <string>
#include <vector>

#include "analysis/band.h"
#include "analysis/real_world.h"
#include "analysis/standard_values.h"

namespace timer555 {

// The bounds the check window's fields and the command line share: a supply
// reaching past both families' range (so that a wrong one is warned about,
// not refused), part tolerances, temperatures.
struct Bounds {
  double lo, hi;
};
inline constexpr Bounds kSupplyBounds{1, 40};          // V
inline constexpr Bounds kToleranceBounds{0, 50};       // %
inline constexpr Bounds kTemperatureBounds{-55, 150};  // °C

// Everything the real-world check says of one design.
struct CheckSettings {
  Conditions conditions;
  Series series = Series::E24;
  ToleranceSpec tolerance;
  bool operator==(const CheckSettings&) const = default;
};
struct CheckReport {
  Timing ideal;
  Timing predicted;
  BandedTiming range;  // the predicted timing's band: the poorly known figures' ends
  std::vector<Warning> warnings;
  std::vector<StandardChoice> choices;
  ToleranceBand band;
};
CheckReport RunCheck(const DesignSnapshot& design, const CheckSettings& settings);

// The worst case as one line, the same in the window and on the command
// line: "frequency 879.6 Hz to 1.074 kHz, duty cycle 74.4 to 75.6 %", and
// which corners stop where some do.
std::string WorstCaseText(const ToleranceBand& band, bool oneShot);

// The targets the design was solved for, from its calculated parts: the
// ideal timing of R1, R2 and C1 as calculated (before any adjustment).
DesignSnapshot SnapshotWithTargets(DesignKind kind, double r1, double r2, double c1, double r1Ref,
                                   double r2Ref, double c1Ref);

}  // namespace timer555
