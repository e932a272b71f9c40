#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/check.h"

namespace timer555 {

// One figure of a timing as every report names it: the label a person reads,
// the JSON key, and how its value is written.
struct TimingRow {
  enum class Kind { Frequency, DutyCycle, Time };
  const char* label;
  const char* key;
  Kind kind;
  std::optional<double> (*value)(const Timing&);
};

// Every figure a timing has, in the order the reports give them; the JSON
// objects carry all of them, null where a design has none.
const std::vector<TimingRow>& AllTimingRows();
// The figures a design shows: the astables' five, or the one-shot's pulse.
const std::vector<TimingRow>& TimingRows(DesignKind kind);

// A value as every report writes it: "772.1 Hz", "25.0 %", "250.0 µs";
// "-" where there is none.
std::string FigureText(TimingRow::Kind kind, const std::optional<double>& value);
// How far `value` lies from `reference`: "+1.2 %"; empty where either is 0
// or not finite.
std::string DeviationText(double value, double reference);

// The columns a table of timings may have: the ideal relations, the model of
// the built circuit, the simulation.
struct TimingColumn {
  const char* heading;
  const char* key;
};
inline constexpr TimingColumn kIdealColumn{"ideal", "ideal"};
inline constexpr TimingColumn kPredictedColumn{"predicted", "predicted"};
inline constexpr TimingColumn kSimulatedColumn{"simulated", "simulated"};

// The timings side by side as plain text, one row a figure: the label, then
// each column's value; with `deviation`, the last column's distance from the
// first follows it.
std::string TimingTable(DesignKind kind,
                        const std::vector<std::pair<TimingColumn, Timing>>& columns,
                        bool deviation);

// "R1 3.6 kΩ, R2 7.2 kΩ, C1 100.0 nF" (no R2 for the one-shot).
std::string PartsText(const DesignSnapshot& design);
// "5.0 V, bipolar timer".
std::string ConditionsText(const Conditions& conditions);
// "R ±5.0 %, C ±10.0 %, 0 to 70 °C".
std::string ToleranceText(const ToleranceSpec& tolerance);
// One standard choice: "R1 3.6 kΩ, R2 7.5 kΩ: 998.2 Hz, 25.3 %, error 0.32 %"
// (the 50 % design's pull-up is not a choice and is not named).
std::string ChoiceText(DesignKind kind, const StandardChoice& choice);
// A predicted timing's band where it is wider than the chip's initial
// accuracy: "1.550 kHz to 1.640 kHz with the bipolar timer's delays"; empty
// where it is not.
std::string BandText(DesignKind kind, TimerFamily family, const BandedTiming& timing);
// "code: message".
std::string WarningText(const Warning& warning);

}  // namespace timer555
