#pragma once

#include <string>

#include "render/canvas.h"

namespace timer555 {

// The timer chip "5" in grid units, pin numbers by TimerVariant (0 = 555,
// 2 = 556 unit A, 3 = 556 unit B). The current point stays.
void DrawTimerChip(Canvas& canvas);
// The pin number printed at position 1 to 8 for a variant ("2", "12", ...).
std::string TimerPinNumber(int variant, int position);

void DrawTransistor(Canvas& canvas);
void DrawOpAmp(Canvas& canvas);
void DrawRelay(Canvas& canvas);
// The transformer "xp": three loops on the left, five on the right.
void DrawTransformer(Canvas& canvas);
void DrawLed(Canvas& canvas);

}  // namespace timer555
