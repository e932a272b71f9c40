#pragma once

#include <optional>
#include <string>

#include "components/string_holder.h"
#include "render/canvas.h"
#include "render/checked.h"
#include "state/global.h"

namespace timer555 {

// Runs the circuit script held in `holder` (ten five-character tokens a line)
// over `rect` of the canvas. `showValues` lets the capacitor and resistor
// print their values. The drawing settings in Global::Drawing() persist
// across tokens and calls; the grid is recomputed on every call. A malformed
// token raises TimerError at that token and leaves what was drawn.
// Where the interpreter stands: the 1-based line of the holder and token in
// the line, kept up to date for a caller that reports an error's place.
struct ScriptPosition {
  int line = 0;
  int token = 0;
};
void DrawCircuit(const TStringHolder& holder, Canvas& canvas, const Rect& rect, bool showValues,
                 ScriptPosition* position = nullptr);

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
inline void Segment(Canvas& canvas, Point from, Point to) {
  Segment(canvas, from.x, from.y, to.x, to.y);
}

// The frame of a two-terminal symbol (capacitor, diode, resistor, LED) drawn
// from the current point in its direction of travel: horizontal to the left
// or right, or vertical up or down. At(a, b) is the pixel `a` pixels along the
// direction of travel and `b` across it (down the page for a horizontal
// symbol, to the right for a vertical one), so one drawing serves all four.
struct SymbolAxis {
  Int X;
  Int Y;
  bool horizontal = true;
  int sign = 1;  // +1 towards the right or down, -1 towards the left or up
  Point At(std::int32_t along, std::int32_t across) const {
    return horizontal ? Point{X + sign * along, Y + across} : Point{X + across, Y + sign * along};
  }
};
// The axis the settings give at the current point: horizontal with direction
// left or right, vertical with up or down. When orientation and direction
// disagree the token draws nothing: there is no axis, and the pen is put back
// on the current point for the wire that follows.
std::optional<SymbolAxis> TwoTerminalAxis(Canvas& canvas);
// The same with the brush set to `brush` first, whether or not there is an
// axis (the diodes fill their triangle with it).
std::optional<SymbolAxis> TwoTerminalAxis(Canvas& canvas, Color brush);

// The value printed beside part `index` of a kind ('R': R1 to R3, 'C': C1 to
// C4) when values are shown; empty otherwise and for other indices.
std::string PartValue(char kind, bool showValues, std::int32_t index);

// The texts of the part being drawn: its name ("R1"), its value (empty when
// values are not shown) and 1 when they are shown, else 0.
struct PartTexts {
  std::string name;
  std::string value;
  int shown;
};
PartTexts PartTextsOf(char kind, bool showValues);

// Where a click picks a two-terminal part: from 9/6 to 27/6 grid units along
// its axis, `across` sixths of a unit to each side.
HitArea PartHitArea(const SymbolFrame& frame, const SymbolAxis& axis, int across);

// The value in red (only when values are shown), then the name in black.
void ValueAndName(Canvas& canvas, bool showValues, Int vx, Int vy, const std::string& value, Int nx,
                  Int ny, const std::string& name);

// Puts the current point at (x, y) and the pen on it.
void SetCurrent(Canvas& canvas, Int x, Int y);

}  // namespace timer555
