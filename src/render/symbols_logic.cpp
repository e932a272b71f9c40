#include "render/symbols_logic.h"

#include "render/draw555.h"

namespace timer555 {

void DrawCounterChip(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.SetFontColor(kNavy);
  canvas.LineTo(X + u, Y);
  canvas.Rectangle(X + u, Y - 4 * v, X + 9 * u, Y + 4 * v);
  const Int clkHeight(canvas.TextHeight("CLK"));
  canvas.TextOut(X + u + 3, Y - clkHeight / 2, "CLK");
  Segment(canvas, X + 9 * u, Y, X + 10 * u, Y);
  const Int qWidth(canvas.TextWidth("Qx")), qHeight(canvas.TextHeight("Qx"));
  canvas.TextOut(X + 9 * u - qWidth - 3, Y - qHeight / 2, "Qx");
  Segment(canvas, X + 5 * u, Y + 4 * v, X + 5 * u, Y + 5 * v);
  const Int rstWidth(canvas.TextWidth("RST")), rstHeight(canvas.TextHeight("RST"));
  canvas.TextOut(X + 5 * u - rstWidth / 2, Y + 4 * v - rstHeight - 3, "RST");
  canvas.SetFontColor(kRed);
  const Int titleWidth(canvas.TextWidth("4020/4040"));
  canvas.TextOut(X + 5 * u - titleWidth / 2, Y - 7 * v, "4020/4040");
  Global::Drawing().CurX = X + 10 * u;
}

void DrawFlipFlop(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.SetBrushColor(kWhite);
  canvas.LineTo(X + u, Y);
  canvas.Ellipse(X + u - 6, Y - 3, X + u, Y + 3);
  canvas.Rectangle(X + u, Y - 3 * v, X + 7 * u, Y + 11 * v);
  canvas.SetFontColor(kNavy);
  // An input name 3 pixels inside the left edge, centred on its row.
  const auto inputName = [&](Int row, const char* text) {
    canvas.TextOut(X + u + 3, row - Int(canvas.TextHeight(text)) / 2, text);
  };
  inputName(Y, "CLK");
  Segment(canvas, X, Y + 4 * v, X + u, Y + 4 * v);
  inputName(Y + 4 * v, "J");
  Segment(canvas, X, Y + 8 * v, X + u, Y + 8 * v);
  inputName(Y + 8 * v, "K");
  Segment(canvas, X + 4 * u, Y - 3 * v, X + 4 * u, Y - 4 * v);
  canvas.Ellipse(X + 4 * u - 3, Y - 3 * v - 6, X + 4 * u + 3, Y - 3 * v);
  canvas.TextOut(X + 4 * u - Int(canvas.TextWidth("CLR")) / 2, Y - 3 * v + 3, "CLR");
  Segment(canvas, X + 7 * u, Y + 4 * v, X + 8 * u, Y + 4 * v);
  canvas.TextOut(X + 7 * u - 3 - Int(canvas.TextWidth("Q")),
                 Y + 4 * v - Int(canvas.TextHeight("Q")) / 2, "Q");
}

void DrawSwitch(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.LineTo(X, Y - 2 * v + 3);
  canvas.Ellipse(X - 3, Y - 2 * v + 3, X + 3, Y - 2 * v - 3);
  Segment(canvas, X + 1, Y - 2 * v - 2, X + u, Y - (9 * v) / 2);
  canvas.Ellipse(X - 3, Y - 5 * v + 3, X + 3, Y - 5 * v - 3);
  Segment(canvas, X, Y - 5 * v - 3, X, Y - 7 * v);
  Global::Drawing().CurY = Y - 7 * v;
}

void DrawSpeaker(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.LineTo(X, Y - 6 * v);
  canvas.Rectangle(X - u, Y - 4 * v, X + u, Y - 2 * v);
  canvas.MoveTo(X + u, Y - 2 * v);
  canvas.LineTo(X + 2 * u, Y - v);
  canvas.LineTo(X + 2 * u, Y - 5 * v);
  canvas.LineTo(X + u - 1, Y - 4 * v + 1);
  Global::Drawing().CurY = Y - 6 * v;
}

void DrawLoopTransformer(Canvas& canvas) {
  const SymbolFrame frame = CurrentFrame();
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  canvas.LineTo(X + 2 * u, Y);
  for (int k = 0; k <= 2; ++k) {
    canvas.Arc(X + u, Y + 2 * k * v, X + 3 * u, Y + (2 * k + 2) * v, X + 2 * u, Y + (2 * k + 2) * v,
               X + 2 * u, Y + 2 * k * v);
  }
  Segment(canvas, X + 2 * u, Y + 6 * v, X, Y + 6 * v);
  Segment(canvas, X + 4 * u, Y, X + 4 * u, Y + 6 * v);
  Segment(canvas, X + 5 * u, Y, X + 5 * u, Y + 6 * v);
  Segment(canvas, X + 9 * u, Y + 6 * v, X + 7 * u, Y + 6 * v);
  for (int k = 2; k >= 0; --k) {
    canvas.Arc(X + 6 * u, Y + 2 * k * v, X + 8 * u, Y + (2 * k + 2) * v, X + 7 * u, Y + 2 * k * v,
               X + 7 * u, Y + (2 * k + 2) * v);
  }
  Segment(canvas, X + 7 * u, Y, X + 9 * u, Y);
  Global::Drawing().CurX = X + 9 * u;
}

}  // namespace timer555
