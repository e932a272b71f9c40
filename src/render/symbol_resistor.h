#pragma once

#include "render/canvas.h"

namespace timer555 {

// A 36-pixel zigzag from the current point, name and (when shown) value
// beside it. Indices 1 to 4 store their ResistorHitRects entry; any other
// index is drawn the same but has no slot and stores nothing.
void DrawResistor(Canvas& canvas, bool showValues);

}  // namespace timer555
