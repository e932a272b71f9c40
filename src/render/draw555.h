#pragma once

#include <string>

#include "app/global.h"
#include "components/string_holder.h"
#include "render/canvas.h"
#include "render/checked.h"

namespace timer555 {

// Runs the circuit script held in `holder` (ten five-character tokens a line)
// over `rect` of the canvas. `showValues` lets the capacitor and resistor
// print their values. The drawing settings in Global::Drawing() persist
// across tokens and calls; the grid is recomputed on every call. A malformed
// token raises TimerError at that token and leaves what was drawn.
void DrawCircuit(const TStringHolder& holder, Canvas& canvas, const Rect& rect, bool showValues);

// What the symbol drawers share: the entry point and the grid units as
// checked coordinates, and two small drawing helpers.
struct SymbolFrame {
  Int X;
  Int Y;
  Int u;
  Int v;
};
SymbolFrame CurrentFrame() noexcept;

// A move to `from` and a line to `to`.
inline void Segment(Canvas& canvas, int fromX, int fromY, int toX, int toY) {
  canvas.MoveTo(fromX, fromY);
  canvas.LineTo(toX, toY);
}

// The value in red (only when values are shown), then the name in black.
void ValueAndName(Canvas& canvas, bool showValues, Int vx, Int vy, const std::string& value, Int nx,
                  Int ny, const std::string& name);

// Puts the current point at (x, y) and the pen on it.
void SetCurrent(Canvas& canvas, Int x, Int y);

}  // namespace timer555
