#include "render/symbol_resistor.h"

#include <array>
#include <string>

#include "render/draw555.h"

namespace timer555 {

namespace {

constexpr int kResistorLength = 36;

// The zigzag: offsets along the resistor and across it.
constexpr std::array<int, 9> kAlong = {6, 8, 12, 16, 20, 24, 28, 30, kResistorLength};
constexpr std::array<int, 9> kAcross = {0, 3, -3, 3, -3, 3, -3, 0, 0};

}  // namespace

void DrawResistor(Canvas& canvas, bool showValues) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  const auto axis = TwoTerminalAxis(canvas);
  if (!axis) return;
  const auto [name, value, s] = PartTextsOf('R', showValues);
  const Int L(ScaledSize(20));
  const Int tv(canvas.TextWidth(value)), tn(canvas.TextWidth(name));
  const int d = axis->sign;
  canvas.MoveTo(X, Y);
  for (size_t i = 0; i < kAlong.size(); ++i) {
    const Point p = axis->At(kAlong[i], kAcross[i]);
    canvas.LineTo(p.x, p.y);
  }
  const HitArea hit = PartHitArea(frame, *axis, 3);
  if (axis->horizontal) {
    const Int valueX = X + d * L - tv / 2;
    if (st.LabelSide == LabelSide::Up) {
      ValueAndName(canvas, showValues, valueX, Y - 20, value, X + d * 18 - tn / 2, Y - L - s * L,
                   name);
    } else if (st.LabelSide == LabelSide::Down) {
      ValueAndName(canvas, showValues, valueX, Y + 15, value, X + d * L - tn / 2, Y + 5, name);
    }
    st.CurX = X + d * kResistorLength;
  } else {
    // Downwards the value sits 20 pixels along, upwards 16; the name above it
    // with values, or beside the middle without.
    const Int valueY = d == 1 ? Y + 20 : Y - 16;
    const Int nameY = showValues ? (d == 1 ? Y : Y - 2 * L) : (d == 1 ? Y + 14 : Y - 22);
    if (st.LabelSide == LabelSide::Left) {
      ValueAndName(canvas, showValues, X - 6 - tv, valueY, value, X - 6 - tn, nameY, name);
    } else if (st.LabelSide == LabelSide::Right) {
      ValueAndName(canvas, showValues, X + 6, valueY, value, X + 6, nameY, name);
    }
    st.CurY = Y + d * kResistorLength;
  }
  if (st.PartIndex >= 1 && st.PartIndex <= 4) {
    Global::Page().ResistorHitRects[static_cast<size_t>(st.PartIndex)] = hit;
  }
  canvas.MoveTo(st.CurX, st.CurY);
}

}  // namespace timer555
