#pragma once

#include <string>

#include "design/shell_view.h"
#include "state/global.h"

namespace timer555 {

// Reads the entry fields into TimerDesign (each value stored before it is
// checked) and reports the first problem in an error box; true when the
// design can be calculated.
bool ValidateInput(ShellView& view);
// `design` with the targets the entry fields hold (`first`, `second`) as
// the next arrow click or Calculate reads them, unchecked.
TimerDesignState DesignAsTyped(TimerDesignState design, const std::string& first,
                               const std::string& second);

// The arrow image's two halves: up at or left of 44 % of its width, down at or
// right of 54 %, nothing in the gap between.
enum class ArrowHit { Up, Gap, Down };
ArrowHit ArrowAt(int x, int imageWidth) noexcept;

// Which way an arrow steps.
enum class StepDirection { Up, Down };

// The next larger (up) or smaller (down) E12 value of C1: the mantissa index
// wraps 11 → 0 with one decade less, 0 → 11 with one decade more.
void StepCapacitor(StepDirection step);

// The timer package cycle 555 → 556 A → 556 B → 555 (up) and back (down).
void StepTimerVariant(StepDirection step);

}  // namespace timer555
