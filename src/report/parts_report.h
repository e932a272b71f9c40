#pragma once

#include <string>

#include "analysis/parts.h"
#include "render/canvas.h"

namespace timer555 {

// What a parts search was asked: the design's kind and target, where it is
// built and how its boards spread, the series searched.
struct PartsQuestion {
  DesignSnapshot target;
  BenchSpec bench;
  Series resistors = Series::E24;
  CapacitorSeries capacitors = CapacitorSeries::E6;
  bool operator==(const PartsQuestion&) const = default;
};

// A built circuit's timing: "1.006 kHz, 25.4 %" or "10.01 ms".
std::string TimingText(DesignKind kind, const Timing& timing);
// "1.000 kHz, 25.0 %" or "10.00 ms".
std::string TargetText(const DesignSnapshot& target);
// One choice on one line: "C1 470.0 nF, R1 560.0 Ω, R2 1.600 kΩ: 1.006 kHz,
// 25.4 %, error 1.08 %, yield 47.1 % (98 % of boards 960.1 Hz to 1.052 kHz,
// 24.0 to 26.8 %)".
// The band follows the figure where it is wider than the chip's accuracy,
// "(2.41 % at worst)" the error where the band's end is worse, "off target"
// a choice outside the window.
std::string PartsChoiceText(DesignKind kind, TimerFamily family, const PartsChoice& choice);
// "C1 470.0 nF film ±5 %, R1 560.0 Ω, R2 1.600 kΩ".
std::string ChoicePartsText(DesignKind kind, const PartsChoice& choice);
// The design built with a choice's parts.
DesignSnapshot WithChoice(const DesignSnapshot& target, const PartsChoice& choice);
// The exact parts: "C1 470.0 nF, R1 555.2 Ω, R2 1.617 kΩ: 1.000 kHz, 25.0 %".
std::string ExactPartsText(DesignKind kind, const ExactParts& exact);
// How the yield's boards were made and the window they must meet: "Yield
// over 10000 boards (seed 555): resistors uniform within ±5.0 %, …".
std::string YieldAssumptionsText(DesignKind kind, const BenchSpec& bench);
// The whole answer as a person reads it: the question, one line a choice
// (with its warnings where nothing is clean), the exact parts, the assumptions.
std::string PartsAnswerText(const PartsQuestion& question, const PartsAnswer& answer);
// The parts list to buy: reference, value, tolerance, C1's kind, one line a part.
std::string PartsListText(DesignKind kind, const PartsChoice& choice,
                          const ToleranceSpec& tolerance);

inline constexpr int kHistogramWidth = 650;
inline constexpr int kHistogramHeight = 308;
// The boards' frequency (the one-shot: pulse) as a histogram, the target and
// the window a board must meet marked.
void DrawHistogram(Canvas& canvas, const PartsQuestion& question, const PartsChoice& choice,
                   double scale = 1);

}  // namespace timer555
