#include "export/sheet.h"

#include <algorithm>

#include "analysis/check.h"
#include "components/holders.h"
#include "export/board.h"
#include "format/engineering.h"
#include "render/circuits.h"
#include "render/draw555.h"
#include "report/figures.h"
#include "simulation/wave_picture.h"

namespace timer555 {

namespace {

const char* VariantText(TimerVariant variant) {
  switch (variant) {
    case TimerVariant::Timer556A:
      return "half A of a 556";
    case TimerVariant::Timer556B:
      return "half B of a 556";
    case TimerVariant::Timer555:
      break;
  }
  return "a 555";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// One part to buy: "R1  1.2k  Resistor, metal film, ±5 %".
std::vector<std::string> PartLines(const Board& board) {
  std::vector<std::string> lines;
  for (const BoardPart& p : board.parts) {
    if (p.unit > 1) continue;  // the 556's other half is the same chip
    std::string line = p.reference + "  " + p.value;
    if (!p.description.empty()) line += "  " + p.description;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

const char* SheetTitle(DesignKind kind) noexcept {
  switch (kind) {
    case DesignKind::AstableAbove:
      return "Astable, duty cycle above 50 %";
    case DesignKind::AstableSquare:
      return "Astable, 50 % square wave";
    case DesignKind::AstableBelow:
      return "Astable, duty cycle below 50 %";
    case DesignKind::OneShot:
      break;
  }
  return "Monostable (one-shot)";
}

BoardOptions BoardOptionsOf(const SheetRequest& r, bool smd) {
  BoardOptions options;
  options.family = r.question.bench.conditions.family;
  options.variant = r.variant;
  options.capacitor = r.built.capacitor;
  options.resistorTolerance = r.question.bench.tolerance.resistor;
  options.vcc = r.question.bench.conditions.vcc;
  options.smd = smd;
  return options;
}

SheetContent ComposeSheet(const SheetRequest& r) {
  const PartsQuestion& q = r.question;
  const DesignKind kind = q.target.kind;
  const bool oneShot = TraitsOf(kind).oneShot;
  const CapacitorType c1Type = BuiltCapacitor(r.built.capacitor, r.built.c1);
  SheetContent s;
  s.title = SheetTitle(kind);
  s.target = "Target " + TargetText(q.target) + " at " + ConditionsText(q.bench.conditions) +
             ", built with " + VariantText(r.variant);
  s.parts = PartLines(BuildBoard(r.built, BoardOptionsOf(r)));
  const CheckReport check = RunCheck(r.built, {q.bench.conditions, q.resistors, q.bench.tolerance});
  std::vector<std::pair<TimingColumn, Timing>> columns{{kIdealColumn, check.ideal},
                                                       {kPredictedColumn, check.predicted}};
  if (r.simulation && !r.simulation->error)
    columns.emplace_back(kSimulatedColumn, r.simulation->simulated);
  s.timing = TimingTable(kind, columns, false);
  s.assessed = AssessParts(q.target, r.built.c1, r.built.r1, r.built.r2, c1Type, q.bench);
  s.figures.push_back("Built: " + PartsChoiceText(kind, q.bench.conditions.family, s.assessed) +
                      ".");
  if (const std::string band = BandText(kind, q.bench.conditions.family, check.range);
      !band.empty())
    s.figures.push_back("Predicted band: " + band + ".");
  s.figures.push_back("Worst case with " + ToleranceText(q.bench.tolerance) + ": " +
                      WorstCaseText(check.band, oneShot) + ".");
  s.figures.push_back(Lines(YieldAssumptionsText(kind, q.bench)).front());
  for (const Warning& w : check.warnings)
    s.warnings.push_back(WarningText(w));
  const Conditions& at = q.bench.conditions;
  s.conditions.push_back(
      "Supply " + ConditionsText(at) + ", " + FixedText(at.celsius, 0) + " \u00b0C; " +
      ToleranceText(q.bench.tolerance) + "; " + SeriesName(q.resistors) + " resistors, " +
      CapacitorSeriesName(q.capacitors) + " capacitors, C1 " + TechnologyText(c1Type) + "; seed " +
      std::to_string(q.bench.seed) + ", " + std::to_string(q.bench.samples) + " boards.");
  s.footer = "timer555 " + r.version + ", " + r.date;
  return s;
}

void DrawBuiltSchematic(Canvas& canvas, const DesignSnapshot& built, TimerVariant variant) {
  const SavedGlobal saved;
  Global::Reset();
  const int mode = DesignNumber(built.kind);
  TimerDesignState& d = Global::TimerDesign();
  d.DesignMode = mode;
  d.R1 = built.r1;
  d.R2 = built.r2;
  d.C1 = built.c1;
  d.C2 = 1e-8;
  Global::Drawing().TimerVariant = variant;
  Global::Page().PageMode = PageMode::Designs;
  const StringHolders holders = LoadBuiltinHolders();
  TStringHolder script("SHBuffer");
  LoadCircuitBlock(holders.SHCircuits, DesignBlock(mode), script);
  FillPageWhite(canvas);
  DrawCircuit(script, canvas, {0, 0, canvas.Width(), canvas.Height()}, true);
}

namespace {

// A time's span between two ticks with its text beneath, kept on the canvas.
void Span(Canvas& c, int left, int right, int y, int textY, const std::string& text) {
  c.SetPenColor(kNavy);
  Segment(c, left, y - 3, left, y + 4);
  Segment(c, right, y - 3, right, y + 4);
  Segment(c, left, y, right, y);
  c.SetFontColor(kNavy);
  const int width = c.TextWidth(text);
  c.TextOut(std::clamp((left + right - width) / 2, 0, std::max(0, c.Width() - width)), textY, text);
}

}  // namespace

void DrawPredictedWave(Canvas& c, DesignKind kind, const Timing& timing) {
  const int w = c.Width(), h = c.Height();
  FillPageWhite(c);
  c.SetFont({"DejaVu Sans", -11, false, false, kBlack});
  c.SetBrushColor(kWhite);
  const bool oneShot = TraitsOf(kind).oneShot;
  c.TextOut(0, 0, oneShot ? "Output (pin 3), predicted pulse" : "Output (pin 3), predicted");
  const int high = 24, low = h - 52, left = 8, right = w - 8;
  c.SetPenWidth(2);
  c.SetPenColor(kBlue);
  const auto step = [&](int x, int fromY, int toY) {
    c.LineTo(x, fromY);
    c.LineTo(x, toY);
  };
  std::vector<std::pair<int, int>> spans;  // the first high and the first low
  if (oneShot || !timing.tLow || !(timing.tHigh + *timing.tLow > 0)) {
    const int start = left + (right - left) / 4, end = right - (right - left) / 4;
    c.MoveTo(left, low);
    step(start, low, high);
    step(end, high, low);
    c.LineTo(right, low);
    spans.emplace_back(start, end);
  } else {
    const double period = timing.tHigh + *timing.tLow;
    const int periodPx = (right - left) / 2;
    const int highPx =
        std::clamp(static_cast<int>(periodPx * timing.tHigh / period), 2, periodPx - 2);
    c.MoveTo(left, low);
    for (int k = 0; k < 2; ++k) {
      const int x0 = left + k * periodPx;
      step(x0, low, high);
      step(x0 + highPx, high, low);
    }
    c.LineTo(right, low);
    spans.emplace_back(left, left + highPx);
    spans.emplace_back(left + highPx, left + periodPx);
  }
  c.SetPenWidth(1);
  // The two times on rows of their own: a short high time leaves no room
  // for both on one.
  Span(c, spans[0].first, spans[0].second, low + 10, low + 14,
       (oneShot ? "t = " : "tH = ") + TimeText(timing.tHigh, 4, kLatin1Micro));
  if (spans.size() > 1)
    Span(c, spans[1].first, spans[1].second, low + 10, low + 30,
         "tL = " + TimeText(timing.tLow.value_or(0), 4, kLatin1Micro));
}

}  // namespace timer555
