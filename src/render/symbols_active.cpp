#include "render/symbols_active.h"

#include "render/symbols_passive.h"

#include "render/draw555.h"

namespace timer555 {

namespace {

// Eight two-character signed fields each: pin position columns, rows counted
// upward from the anchor, and the printed numbers of the 555 and the two
// halves of the 556.
constexpr const char* kPinPositionColumns = "0101010408110804";
constexpr const char* kPinPositionRows = "000408111104-3-3";

const char* PinNumberString(int variant) noexcept {
  switch (variant) {
    case 2:
      return "0602010414050703";
    case 3:
      return "0812131014090711";
    default:
      return "0206070408030105";
  }
}

const char* TimerName(int variant) noexcept {
  switch (variant) {
    case 2:
      return "556A";
    case 3:
      return "556B";
    default:
      return "555";
  }
}

std::int32_t Field(const std::string& text, int i) {
  return StrToInt(Copy(text, 2 * i - 1, 2));
}

}  // namespace

std::string TimerPinNumber(int variant, int position) {
  const std::string field = Copy(PinNumberString(variant), 2 * position - 1, 2);
  return field.size() == 2 && field[0] == '0' ? field.substr(1) : field;
}

void DrawTimerChip(Canvas& canvas) {
  const DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  const int variant = static_cast<int>(st.TimerVariant);
  const Int h(canvas.TextHeight(PinNumberString(variant)));
  canvas.SetFontColor(kNavy);
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(ScaledSize(8));
  canvas.Rectangle(X + u, Y - 11 * v, X + 11 * u, Y + 3 * v);
  for (int i = 1; i <= 8; ++i) {
    const Int px = X + Field(kPinPositionColumns, i) * u;
    const Int py = Y - Field(kPinPositionRows, i) * v;
    canvas.MoveTo(px, py);
    if (i <= 3) {
      canvas.LineTo(px - u, py);
    } else if (i <= 5) {
      canvas.LineTo(px, py - v);
    } else if (i == 6) {
      canvas.LineTo(px + u, py);
    } else {
      canvas.LineTo(px, py + v);
    }
    const std::string number = TimerPinNumber(variant, i);
    const Int w(canvas.TextWidth(number));
    if (i <= 3) {
      // The two-digit 12 and 13 of unit B stand closer to the edge.
      const Int x = variant == 3 && i >= 2 ? px + w / 3 : px + w;
      canvas.TextOut(x, py - h / 2, number);
    } else if (i <= 5) {
      canvas.TextOut(px - w / 2, py + h / 4, number);
    } else if (i == 6) {
      canvas.TextOut(px - (3 * w) / 2, py - h / 2, number);
    } else {
      canvas.TextOut(px - w / 2, py - (5 * h) / 4, number);
    }
  }
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(ScaledSize(10));
  canvas.SetFontColor(kRed);
  const char* name = TimerName(variant);
  canvas.TextOut(X + 6 * u - Int(canvas.TextWidth(name)) / 2, Y - 6 * v, name);
}

void DrawTransistor(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.SetBrushColor(kBlack);
  const std::string label = "T" + std::to_string(st.PartIndex);
  if (st.Direction == Direction::Left || st.Direction == Direction::Right) {
    const int s = st.Direction == Direction::Right ? 1 : -1;
    // A grid point (a, b) of the symbol, columns mirrored by s.
    const auto at = [&](int a, int b) { return Point{X + s * a * u, Y + b * v}; };
    const auto lineTo = [&](Point p) { canvas.LineTo(p.x, p.y); };
    const auto moveTo = [&](Point p) { canvas.MoveTo(p.x, p.y); };
    lineTo(at(2, 0));
    moveTo(at(2, -2));
    lineTo(at(2, 2));
    moveTo(at(2, 0));
    lineTo(at(4, 2));
    lineTo(at(4, 4));
    moveTo(at(2, 0));
    lineTo(at(4, -2));
    lineTo(at(4, -4));
    if (st.TransistorType == TransistorType::Npn) {
      canvas.Polygon({at(4, 2), {X + s * ((5 * u) / 2), Y + 2 * v}, {X + s * 4 * u, Y + v / 2}});
    } else {
      canvas.Polygon({at(2, 0), {X + s * 2 * u, Y - (3 * v) / 2}, {X + s * ((7 * u) / 2), Y}});
    }
    canvas.SetBrushColor(kWhite);
    canvas.SetFontColor(kBlack);
    const Int w(canvas.TextWidth(label)), h(canvas.TextHeight(label));
    const Int x = s == 1 ? X + u - w / 2 : X - u / 2 - w / 2;
    canvas.TextOut(x, Y - h - 3, label);
    st.CurX = X + s * 4 * u;
    st.CurY = Y + 4 * v;
  } else {
    // Nothing drawn: the brush is white again for the terminals and labels after it.
    canvas.SetBrushColor(kWhite);
  }
  canvas.MoveTo(st.CurX, st.CurY);
}

void DrawOpAmp(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  const int t = st.OpAmpFacing == OpAmpFacing::Right ? 1 : -1;
  const bool upperAnchor = st.OpAmpAnchor == OpAmpAnchor::UpperInput;
  const auto lineTo = [&](int a, int b) { canvas.LineTo(X + t * a, Y + b); };
  const auto segment = [&](int a1, int b1, int a2, int b2) {
    Segment(canvas, X + t * a1, Y + b1, X + t * a2, Y + b2);
  };
  const int apexY = upperAnchor ? 6 : -6;
  if (upperAnchor) {
    lineTo(0, -9);
    lineTo(31, 6);
    lineTo(0, 21);
  } else {
    lineTo(0, -21);
    lineTo(31, -6);
    lineTo(0, 9);
  }
  lineTo(0, 0);
  segment(31, apexY, 36, apexY);
  const int otherInput = upperAnchor ? 12 : -12;
  // Whether the anchor input is the one that carries the plus sign.
  const bool anchorIsUpper = upperAnchor;
  const bool plusOnUpper = st.OpAmpPlusSide == OpAmpPlusSide::Upper;
  const bool plusAtAnchor = plusOnUpper == anchorIsUpper;
  const auto sign = [&](int y, bool plus) {
    if (plus) canvas.SetPenColor(kRed);
    segment(4, y, 9, y);
    if (plus) {
      segment(6, y - 2, 6, y + 3);
      canvas.SetPenColor(kBlack);
    }
  };
  sign(0, plusAtAnchor);
  sign(otherInput, !plusAtAnchor);
  canvas.SetPenColor(kBlack);
  st.CurX = X + t * 36;
  st.CurY = Y + apexY;
  canvas.MoveTo(st.CurX, st.CurY);
}

void DrawRelay(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  const auto gx = [&](int a) { return X + a * u; };
  const auto gy = [&](int b) { return Y + b * v; };
  const auto contact = [&](int row, Int bendY) {
    canvas.MoveTo(gx(1), gy(row));
    canvas.LineTo(X + (3 * u) / 2, bendY);
    canvas.LineTo(gx(2), gy(row));
    Segment(canvas, gx(1), gy(row), gx(5), gy(row));
    canvas.Ellipse(gx(5), gy(row) - 3, gx(5) + 6, gy(row) + 3);
  };
  contact(-8, Y - (15 * v) / 2);
  contact(-4, Y - (9 * v) / 2);
  Segment(canvas, gx(1), gy(-7), gx(5), gy(-6));
  canvas.Ellipse(gx(5), gy(-6) - 3, gx(5) + 6, gy(-6) + 3);
  Segment(canvas, gx(0), gy(0), gx(4), gy(0));
  canvas.Rectangle(gx(2), gy(-1), gx(4), gy(7));
  Segment(canvas, gx(2), gy(4), gx(4), gy(4));
  Segment(canvas, gx(2), gy(6), gx(0), gy(6));
  canvas.Arc(gx(3), gy(0), gx(5), gy(2), gx(4), gy(2), gx(4), gy(0));
  canvas.Arc(gx(1), gy(2), gx(3), gy(4), gx(2), gy(2), gx(2), gy(4));
  canvas.Arc(gx(3), gy(4), gx(5), gy(6), gx(4), gy(6), gx(4), gy(4));
  st.CurY = Y + 6 * v;
}

void DrawTransformer(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  const auto gx = [&](int a) { return X + a * u; };
  const auto gy = [&](int b) { return Y + b * v; };
  canvas.LineTo(gx(2), gy(0));
  for (int k = 0; k <= 2; ++k) {
    canvas.Arc(gx(1), gy(2 * k), gx(3), gy(2 * k + 2), gx(2), gy(2 * k + 2), gx(2), gy(2 * k));
  }
  Segment(canvas, gx(2), gy(6), gx(0), gy(6));
  Segment(canvas, gx(4), gy(0), gx(4), gy(6));
  Segment(canvas, gx(5), gy(0), gx(5), gy(6));
  Segment(canvas, gx(9), gy(8), gx(7), gy(8));
  for (int k = 3; k >= -1; --k) {
    canvas.Arc(gx(6), gy(2 * k), gx(8), gy(2 * k + 2), gx(7), gy(2 * k), gx(7), gy(2 * k + 2));
  }
  Segment(canvas, gx(7), gy(-2), gx(9), gy(-2));
  st.CurX = X + 9 * u;
  st.CurY = Y - 2 * v;
}

void DrawLed(Canvas& canvas) {
  DrawingState& st = Global::Drawing();
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y;
  const auto axis = TwoTerminalAxis(canvas, kWhite);
  if (!axis) return;
  const std::string label = "LED" + std::to_string(st.PartIndex);
  const auto at = [&](int a, int b) { return axis->At(a, b); };
  // The two light arrows leave on the upper side of a horizontal LED and on
  // the right of a vertical one.
  const int out = axis->horizontal ? -1 : 1;
  const Point c0 = at(4, -8), c1 = at(20, 8);
  canvas.Ellipse(c0.x, c0.y, c1.x, c1.y);
  canvas.SetBrushColor(kBlack);
  DrawDiodeBody(canvas, *axis);
  Segment(canvas, at(20, 6 * out), at(24, 8 * out));
  Segment(canvas, at(22, 4 * out), at(26, 6 * out));
  canvas.SetBrushColor(kWhite);
  canvas.SetFontColor(kBlack);
  const Int w(canvas.TextWidth(label));
  const int d = axis->sign;
  if (axis->horizontal) {
    const Int x = X + d * 12 - w / 2;
    if (st.LabelSide == LabelSide::Up) canvas.TextOut(x, Y - 22, label);
    if (st.LabelSide == LabelSide::Down) canvas.TextOut(x, Y + 10, label);
    st.CurX = X + d * 24;
  } else {
    const Int y = d == -1 ? Y - 16 : Y + 10;
    if (st.LabelSide == LabelSide::Left) canvas.TextOut(X - w - 10, y, label);
    if (st.LabelSide == LabelSide::Right) canvas.TextOut(X + 10, y, label);
    st.CurY = Y + d * 24;
  }
  canvas.MoveTo(st.CurX, st.CurY);
}

}  // namespace timer555
