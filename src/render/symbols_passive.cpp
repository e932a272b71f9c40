#include "render/symbols_passive.h"

#include <string>

#include "render/draw555.h"

namespace timer555 {

namespace {

// Plates 7 pixels each side of the axis at 16 and 19 pixels along; leads to 36.
constexpr int kCapacitorLength = 36;

}  // namespace

void DrawCapacitor(Canvas& canvas, bool showValues) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  const auto axis = TwoTerminalAxis(canvas);
  if (!axis) return;
  const auto [name, value, s] = PartTextsOf('C', showValues);
  const Int L(ScaledSize(20)), M(ScaledSize(16));
  const Int tv(canvas.TextWidth(value)), tn(canvas.TextWidth(name));
  const int d = axis->sign;
  // Lead, two plates 7 pixels each side of the axis, lead.
  Segment(canvas, axis->At(0, 0), axis->At(16, 0));
  Segment(canvas, axis->At(16, -7), axis->At(16, 7));
  Segment(canvas, axis->At(19, -7), axis->At(19, 7));
  Segment(canvas, axis->At(19, 0), axis->At(kCapacitorLength, 0));
  const HitArea hit = PartHitArea(frame, *axis, 7);
  if (axis->horizontal) {
    const Int mid = X + d * 18;
    if (st.LabelSide == LabelSide::Up) {
      ValueAndName(canvas, showValues, mid - tv / 2, Y - L, value, mid - tn / 2, Y - L - s * M,
                   name);
    } else if (st.LabelSide == LabelSide::Down) {
      ValueAndName(canvas, showValues, mid - tv / 2, Y + 18, value, mid - tn / 2, Y + 8, name);
    }
    st.CurX = X + d * kCapacitorLength;
  } else {
    const Int valueY = Y + d * 16;
    const Int nameY = showValues ? valueY - M : (d == 1 ? Y + 14 : Y - 22);
    if (st.LabelSide == LabelSide::Left) {
      ValueAndName(canvas, showValues, X - 10 - tv, valueY, value, X - 10 - tn, nameY, name);
    } else if (st.LabelSide == LabelSide::Right) {
      ValueAndName(canvas, showValues, X + 10, valueY, value, X + 10, nameY, name);
    }
    st.CurY = Y + d * kCapacitorLength;
  }
  if (st.PartIndex == 1) Global::Page().CapacitorHitRect = hit;
  canvas.MoveTo(st.CurX, st.CurY);
}

void DrawDiodeBody(Canvas& canvas, const SymbolAxis& axis) {
  Segment(canvas, axis.At(0, 0), axis.At(16, 0));
  canvas.Polygon({axis.At(16, 0), axis.At(8, -4), axis.At(8, 4)});
  Segment(canvas, axis.At(16, -4), axis.At(16, 4));
  Segment(canvas, axis.At(16, 0), axis.At(24, 0));
}

void DrawDiode(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  const auto axis = TwoTerminalAxis(canvas, kBlack);
  if (!axis) {
    // Nothing drawn: the brush is white again for the terminals and labels after it.
    canvas.SetBrushColor(kWhite);
    return;
  }
  const std::string name = "D" + std::to_string(st.PartIndex);
  const Int tn(canvas.TextWidth(name));
  const int d = axis->sign;
  DrawDiodeBody(canvas, *axis);
  canvas.SetBrushColor(kWhite);
  canvas.SetFontColor(kBlack);
  if (axis->horizontal) {
    const Int x = X + d * 12 - tn / 2;
    // Above a left-pointing diode the name stands 4 pixels lower than above a right-pointing one.
    if (st.LabelSide == LabelSide::Up) canvas.TextOut(x, d == 1 ? Y - 24 : Y - 20, name);
    if (st.LabelSide == LabelSide::Down) canvas.TextOut(x, Y + 6, name);
    st.CurX = X + d * 24;
  } else {
    const Int y = d == 1 ? Y + 10 : Y - 16;
    if (st.LabelSide == LabelSide::Left) canvas.TextOut(X - 6 - tn, y, name);
    if (st.LabelSide == LabelSide::Right) canvas.TextOut(X + 6, y, name);
    st.CurY = Y + d * 24;
  }
  canvas.MoveTo(st.CurX, st.CurY);
}

void DrawGround(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  Segment(canvas, X - 8, Y, X + 8, Y);
  Segment(canvas, X - 4, Y + 3, X + 4, Y + 3);
  Segment(canvas, X - 1, Y + 6, X + 1, Y + 6);
}

void DrawGroundLead(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.LineTo(X + 2 * u, Y);
  canvas.LineTo(X + 2 * u, Y + v);
  st.CurX = X + 2 * u;
  st.CurY = Y + v;
  DrawGround(canvas);
}

void DrawJunction(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  Segment(canvas, X - 1, Y - 2, X + 1, Y - 2);
  Segment(canvas, X - 2, Y - 1, X + 2, Y - 1);
  Segment(canvas, X - 2, Y, X + 2, Y);
  Segment(canvas, X - 2, Y + 1, X + 2, Y + 1);
  Segment(canvas, X - 1, Y + 2, X + 1, Y + 2);
  canvas.MoveTo(X, Y);
}

}  // namespace timer555
