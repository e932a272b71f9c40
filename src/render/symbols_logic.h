#pragma once

#include "render/canvas.h"

namespace timer555 {

// The counter chip "c" (title "4020/4040"), the JK flip-flop "j", the switch
// "sw", the loudspeaker "sp" and the three-loop transformer "xa". Each draws
// at the current point in grid units; none prints a value.
void DrawCounterChip(Canvas& canvas);
void DrawFlipFlop(Canvas& canvas);
void DrawSwitch(Canvas& canvas);
void DrawSpeaker(Canvas& canvas);
void DrawLoopTransformer(Canvas& canvas);

}  // namespace timer555
