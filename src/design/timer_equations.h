#pragma once

#include <string>

#include "analysis/real_world.h"
#include "components/string_holder.h"
#include "design/shell_view.h"
#include "state/global.h"

namespace timer555 {

inline constexpr double kMinTimingResistance = 5000;

// The one conversion from typed text to a number: optional leading blanks, an
// optional sign, digits with an optional point and fraction (a point alone is
// not a number), an optional exponent. Anything else, and the empty text,
// gives 0. Independent of the locale.
double ParseNumber(const std::string& text);

// The decimals typed after the first point of a field's text (0 without one).
int TypedDecimals(const std::string& text) noexcept;

// R1, R2 (and the capacitor decade) for TimerDesign's targets and C1, then
// the schematic with values, the waveform, Calculated and the reference
// values. `shBuffer` holds the design page's script.
void CalculateDesign(ShellView& view, const TStringHolder& shBuffer);

// The capacitor decade search and the resistor equations alone, on the
// window's design or on a copy of it.
void SolveComponents(TimerDesignState& design);
void SolveComponents();

// C1, R1 and R2 become the references of the adjustment band, and the decimals
// typed in each entry field are counted.
void StoreReferenceValues(const ShellView& view);

// The frequency and duty cycle (or the pulse length) that R1, R2 and C1 give,
// written into the entry fields, with the schematic and waveform redrawn.
void RecalculateFromComponents(ShellView& view, const TStringHolder& shBuffer);

}  // namespace timer555
