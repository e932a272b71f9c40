#include "render/draw555.h"

#include <string>

#include "format/pmisc.h"

#include "render/symbol_resistor.h"
#include "render/symbols_active.h"
#include "render/symbols_logic.h"
#include "render/symbols_passive.h"

namespace timer555 {

namespace {

constexpr int kGridColumns = 75;
constexpr int kGridRows = 35;
constexpr int kTokensPerLine = 10;
constexpr int kTokenLength = 5;

DrawingState& State() noexcept {
  return Global::Drawing();
}

// Orientation letter: V vertical, H horizontal; anything else keeps it.
void ReadOrientation(char c) {
  if (c == 'V') State().Orientation = Orientation::Vertical;
  if (c == 'H') State().Orientation = Orientation::Horizontal;
}

// Side letters L, R, U, D give left, right, up and down (the bytes 0 to 3)
// for a direction or a label side; anything else keeps the setting.
template <typename Side>
void ReadSide(char c, Side& setting) {
  switch (c) {
    case 'L':
      setting = Side::Left;
      break;
    case 'R':
      setting = Side::Right;
      break;
    case 'U':
      setting = Side::Up;
      break;
    case 'D':
      setting = Side::Down;
      break;
    default:
      break;
  }
}

// Orientation, direction, label side and index of "d", "C", "R" and "l".
// The index digit 0 stands for 10.
void ReadComponentFields(const std::string& token) {
  DrawingState& st = State();
  ReadOrientation(CharAt(token, 2));
  ReadSide(CharAt(token, 3), st.Direction);
  ReadSide(CharAt(token, 4), st.LabelSide);
  const std::int32_t index = IntField(token, 5, 1);
  st.PartIndex = index == 0 ? 10 : index;
}

class Interpreter {
 public:
  Interpreter(Canvas& canvas, bool showValues) : canvas_(canvas), showValues_(showValues) {}

  void SetGrid(const Rect& rect) {
    DrawingState& st = State();
    st.GridUnitY = Int(rect.bottom) - rect.top;
    st.GridUnitY = Int(st.GridUnitY) / kGridRows;
    st.GridUnitX = Int(rect.right) - rect.left;
    st.GridUnitX = Int(st.GridUnitX) / kGridColumns;
    st.OriginX = rect.left;
    st.OriginY = rect.top;
    topMargin_ = Int(st.GridUnitY) * 2;
  }

  void Execute(const std::string& token) {
    DrawingState& st = State();
    switch (CharAt(token, 1)) {
      case 'H': {
        const std::string colour = Copy(token, 2, 4);
        if (colour == "BLCK") {
          canvas_.SetPenColor(kBlack);
        } else if (colour == "BLUE") {
          canvas_.SetPenColor(kBlue);
        }
        break;
      }
      case 'M':
        MoveToGridPoint(token, topMargin_);
        break;
      case 'D':
        SetToGridPoint(token, topMargin_);
        canvas_.LineTo(st.CurX, st.CurY);
        canvas_.SetPixel(st.CurX, st.CurY, kBlack);
        break;
      case 'P':
        st.FeedbackIndex = IntField(token, 2, 2);
        break;
      case 'Q':
        InvertingStage(token);
        break;
      case 'Z':
        MoveToGridPoint(token, Int(0));
        DrawGroundLead(canvas_);
        break;
      case 'L':
        Label(token);
        break;
      case 'J':
        SetToGridPoint(token, topMargin_);
        DrawJunction(canvas_);
        break;
      case 'T': {
        MoveToGridPoint(token, topMargin_);
        const Int x(st.CurX), y(st.CurY);
        const Int hx = Int(st.GridUnitX) / 2, hy = Int(st.GridUnitY) / 2;
        canvas_.Ellipse(x - hx, y - hy, x + hx, y + hy);
        break;
      }
      default:
        DrawPart(token);
        break;
    }
  }

 private:
  // The tokens that draw a part where the pen stands.
  void DrawPart(const std::string& token) {
    DrawingState& st = State();
    switch (CharAt(token, 1)) {
      case 'd':
        ReadComponentFields(token);
        DrawDiode(canvas_);
        break;
      case 's':
        if (CharAt(token, 2) == 'w') DrawSwitch(canvas_);
        if (CharAt(token, 2) == 'p') DrawSpeaker(canvas_);
        break;
      case 'C':
        ReadComponentFields(token);
        DrawCapacitor(canvas_, showValues_);
        break;
      case 'c':
        DrawCounterChip(canvas_);
        break;
      case 'R':
        ReadComponentFields(token);
        DrawResistor(canvas_, showValues_);
        break;
      case 'r':
        DrawRelay(canvas_);
        break;
      case '5':
        st.PartIndex = IntField(token, 4, 1);
        DrawTimerChip(canvas_);
        break;
      case 'O':
        OpAmp(token);
        break;
      case 'G':
        DrawGround(canvas_);
        break;
      case 'l':
        ReadComponentFields(token);
        DrawLed(canvas_);
        break;
      case 'j':
        DrawFlipFlop(canvas_);
        break;
      case 't':
        Transistor(token);
        break;
      case 'x':
        if (CharAt(token, 2) == 'p') DrawTransformer(canvas_);
        if (CharAt(token, 2) == 'a') DrawLoopTransformer(canvas_);
        break;
      default:  // "X" fillers and every other letter do nothing
        break;
    }
  }

  // "O": the op-amp, its plus input's side, its facing and its anchor.
  void OpAmp(const std::string& token) {
    DrawingState& st = State();
    const char plus = CharAt(token, 2);
    if (plus == 'U') st.OpAmpPlusSide = OpAmpPlusSide::Upper;
    if (plus == 'D') st.OpAmpPlusSide = OpAmpPlusSide::Lower;
    const char facing = CharAt(token, 3);
    if (facing == 'L') st.OpAmpFacing = OpAmpFacing::Left;
    if (facing == 'R') st.OpAmpFacing = OpAmpFacing::Right;
    const char anchor = CharAt(token, 4);
    if (anchor == 'U') st.OpAmpAnchor = OpAmpAnchor::UpperInput;
    if (anchor == 'L') st.OpAmpAnchor = OpAmpAnchor::LowerInput;
    DrawOpAmp(canvas_);
  }

  // "t": a transistor, its direction, its type and its number.
  void Transistor(const std::string& token) {
    DrawingState& st = State();
    const char direction = CharAt(token, 2);
    if (direction == 'L') st.Direction = Direction::Left;
    if (direction == 'R') st.Direction = Direction::Right;
    const char type = CharAt(token, 3);
    if (type == 'N') st.TransistorType = TransistorType::Npn;
    if (type == 'P') st.TransistorType = TransistorType::Pnp;
    st.PartIndex = IntField(token, 4, 1);
    DrawTransistor(canvas_);
  }

  // The pixel of the token's grid point; `margin` is the top margin for
  // "M", "D", "J" and "T", and 0 for "Q" and "Z".
  void SetToGridPoint(const std::string& token, Int margin) {
    DrawingState& st = State();
    const std::int32_t col = IntField(token, 2, 2);
    const std::int32_t row = IntField(token, 4, 2);
    st.CurX = Int(st.OriginX) + Int(col) * st.GridUnitX;
    st.CurY = Int(st.OriginY) + Int(row) * st.GridUnitY + margin;
  }

  void MoveToGridPoint(const std::string& token, Int margin) {
    SetToGridPoint(token, margin);
    canvas_.MoveTo(State().CurX, State().CurY);
  }

  void Label(const std::string& token) {
    DrawingState& st = State();
    canvas_.SetFontColor(kGreen);
    ReadSide(CharAt(token, 2), st.LabelSide);
    const std::string text = Copy(token, 3, 3);
    const Int tw(canvas_.TextWidth(text)), th(canvas_.TextHeight(text));
    const Int x(st.CurX), y(st.CurY);
    // A left label stands a whole text width clear of the point, a right one
    // half a width: the scripts' labels are placed by these distances.
    switch (st.LabelSide) {
      case LabelSide::Left:
        canvas_.TextOut(x - 2 * tw, y - th / 2, text);
        break;
      case LabelSide::Right:
        canvas_.TextOut(x + tw / 2, y - th / 2, text);
        break;
      case LabelSide::Up:
        canvas_.TextOut(x - tw / 2, y - th, text);
        break;
      default:
        canvas_.TextOut(x - tw / 2, y + th / 2, text);
        break;
    }
    canvas_.SetFontColor(kBlack);
  }

  // A grounded-plus inverting amplifier anchored at the token's point (its
  // upper input), with the feedback resistor above and the output terminal.
  void InvertingStage(const std::string& token) {
    DrawingState& st = State();
    SetToGridPoint(token, Int(0));
    const Int x0(st.CurX), y0(st.CurY);
    const Int gx(st.GridUnitX), gy(st.GridUnitY);
    canvas_.MoveTo(x0, y0 + 2 * gy);
    canvas_.LineTo(x0 - 2 * gx, y0 + 2 * gy);
    canvas_.LineTo(x0 - 2 * gx, y0 + 5 * gy);
    st.CurX = x0 - 2 * gx;
    st.CurY = y0 + 5 * gy;
    DrawGround(canvas_);
    SetCurrent(canvas_, x0, y0);
    st.OpAmpPlusSide = OpAmpPlusSide::Lower;
    st.OpAmpFacing = OpAmpFacing::Right;
    st.OpAmpAnchor = OpAmpAnchor::UpperInput;
    DrawOpAmp(canvas_);
    DrawJunction(canvas_);
    Int x(st.CurX), y(st.CurY);
    canvas_.LineTo(x + 2 * gx, y);
    const Int hx = gx / 2, hy = gy / 2;
    canvas_.Ellipse(x + 2 * gx - hx, y - hy, x + 2 * gx + hx, y + hy);
    canvas_.SetFontColor(kGreen);
    canvas_.TextOut(x + gx, y + gy, "V o");
    SetCurrent(canvas_, x0 - 2 * gx, y0);
    DrawJunction(canvas_);
    x = Int(st.CurX);
    y = Int(st.CurY);
    canvas_.LineTo(x, y - 4 * gy);
    canvas_.LineTo(x + gx, y - 4 * gy);
    st.CurX = x + gx;
    st.CurY = y - 4 * gy;
    st.Direction = Direction::Right;
    st.Orientation = Orientation::Horizontal;
    st.LabelSide = LabelSide::Up;
    st.PartIndex = st.FeedbackIndex;
    DrawResistor(canvas_, showValues_);
    x = Int(st.CurX);
    y = Int(st.CurY);
    canvas_.LineTo(x + gx, y);
    canvas_.LineTo(x + gx, y + 5 * gy);
    canvas_.SetFontColor(kBlack);
  }

  Canvas& canvas_;
  bool showValues_;
  Int topMargin_;
};

}  // namespace

std::optional<SymbolAxis> TwoTerminalAxis(Canvas& canvas) {
  const DrawingState& st = State();
  const Int X(st.CurX), Y(st.CurY);
  const bool sideways = st.Direction == Direction::Left || st.Direction == Direction::Right;
  if (st.Orientation == Orientation::Horizontal && sideways)
    return SymbolAxis{X, Y, true, st.Direction == Direction::Right ? 1 : -1};
  if (st.Orientation == Orientation::Vertical && !sideways)
    return SymbolAxis{X, Y, false, st.Direction == Direction::Down ? 1 : -1};
  canvas.MoveTo(st.CurX, st.CurY);
  return std::nullopt;
}

std::string PartValue(char kind, bool showValues, std::int32_t index) {
  if (!showValues) return {};
  const TimerDesignState& d = Global::TimerDesign();
  if (kind == 'R') {
    const double* values[] = {&d.R1, &d.R2, &d.R3};
    return index >= 1 && index <= 3 ? FormatResistance(*values[index - 1]) : std::string();
  }
  const double* values[] = {&d.C1, &d.C2, &d.C3, &d.C4};
  return index >= 1 && index <= 4 ? FormatCapacitance(*values[index - 1]) : std::string();
}

std::optional<SymbolAxis> TwoTerminalAxis(Canvas& canvas, Color brush) {
  canvas.SetBrushColor(brush);
  return TwoTerminalAxis(canvas);
}

PartTexts PartTextsOf(char kind, bool showValues) {
  const std::int32_t index = State().PartIndex;
  return {std::string(1, kind) + std::to_string(index), PartValue(kind, showValues, index),
          showValues ? 1 : 0};
}

HitArea PartHitArea(const SymbolFrame& frame, const SymbolAxis& axis, int across) {
  const Int X = frame.X, Y = frame.Y, u = frame.u, v = frame.v;
  const int d = axis.sign;
  if (axis.horizontal) {
    // 27 * (u / 6), not (27 * u) / 6: the far edge of the horizontal part's
    // hit area keeps the truncation of its own grid unit.
    const Int near = (9 * u) / 6, far = 27 * (u / 6);
    const Int top = Y - (across * v) / 6, bottom = Y + (across * v) / 6;
    return d == 1 ? HitArea{X + near, top, X + far, bottom}
                  : HitArea{X - far, top, X - near, bottom};
  }
  const Int near = (9 * v) / 6, far = (27 * v) / 6;
  const Int left = X - (across * u) / 6, right = X + (across * u) / 6;
  return d == 1 ? HitArea{left, Y + near, right, Y + far} : HitArea{left, Y - far, right, Y - near};
}

SymbolFrame CurrentFrame() noexcept {
  const DrawingState& st = State();
  return {Int(st.CurX), Int(st.CurY), Int(st.GridUnitX), Int(st.GridUnitY)};
}

void SetCurrent(Canvas& canvas, Int x, Int y) {
  State().CurX = x;
  State().CurY = y;
  canvas.MoveTo(x, y);
}

void ValueAndName(Canvas& canvas, bool showValues, Int vx, Int vy, const std::string& value, Int nx,
                  Int ny, const std::string& name) {
  if (showValues) {
    canvas.SetFontColor(kRed);
    canvas.TextOut(vx, vy, value);
  }
  canvas.SetFontColor(kBlack);
  canvas.TextOut(nx, ny, name);
}

void DrawCircuit(const TStringHolder& holder, Canvas& canvas, const Rect& rect, bool showValues,
                 ScriptPosition* position) {
  canvas.SetPenColor(kWhite);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kWhite);
  // Only the design pages clear first; an application page has drawn its notes.
  if (Global::Page().PageMode == PageMode::Designs) canvas.FillRect(rect);
  canvas.SetPenColor(kBlack);
  canvas.SetFontName(kFontName);
  canvas.SetFontBold(false);
  canvas.SetFontUnderline(false);
  canvas.SetFontSize(10);
  // Read back and scaled: 10 points become 11, the product lying just below 12.
  canvas.SetFontSize(ScaledSize(canvas.FontSize()));

  Interpreter interpreter(canvas, showValues);
  interpreter.SetGrid(rect);
  int lineNumber = 0;
  for (const std::string& line : holder.Strings()) {
    ++lineNumber;
    for (int i = 1; i <= kTokensPerLine; ++i) {
      if (position != nullptr) *position = {lineNumber, i};
      interpreter.Execute(Copy(line, 6 * i - 5, kTokenLength));
    }
  }
}

}  // namespace timer555
