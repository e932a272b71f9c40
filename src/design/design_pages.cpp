#include "design/design_pages.h"

#include <algorithm>
#include <cmath>

#include "format/pmisc.h"
#include "render/circuits.h"
#include "render/draw555.h"
#include "state/design_kind.h"
#include "state/global.h"

namespace timer555 {

namespace {

struct CapacitorStart {
  double c1;
  int decadeCount;
};

// C1 = E12 mantissa 100 / 10^DecadeCount: 1 µF, 10 nF, 1 µF, 1 mF.
constexpr CapacitorStart kCapacitorStart[] = {{1e-6, 8}, {1e-8, 10}, {1e-6, 8}, {1e-3, 5}};

}  // namespace

const char* DesignTitle(int designMode) noexcept {
  const auto kind = DesignKindOf(designMode);
  return kind ? TraitsOf(*kind).title : "";
}

void OpenDesignPage(ShellView& view, StringHolders& holders) {
  TimerDesignState& design = Global::TimerDesign();
  const auto kind = DesignKindOf(design.DesignMode);
  if (!kind) return;
  const int mode = design.DesignMode;
  ShowInputPanel(view, Panel::Shown);
  view.SetCaption(TraitsOf(*kind).title);
  switch (*kind) {
    case DesignKind::AstableAbove:
      view.SetEnabled(Control::NumEdit2, true);
      break;
    case DesignKind::AstableSquare:
      design.DutyCycle = 0.5;
      view.SetText(Control::NumEdit2, FloatToFixed(50, 2, 0));
      view.SetEnabled(Control::NumEdit2, false);
      break;
    case DesignKind::OneShot:
      view.SetText(Control::Label1, "Pulse length");
      view.SetText(Control::Label4, "sec");
      view.SetEnabled(Control::Label2, false);
      view.SetEnabled(Control::Label3, false);
      view.SetEnabled(Control::NumEdit2, false);
      break;
    case DesignKind::AstableBelow:
      break;
  }
  // Cleared here and again by DrawCircuit (the page mode is the designs'):
  // the first clear is the page's own, the second the schematic's.
  Canvas& page = view.PageCanvas();
  page.SetBrushColor(kWhite);
  page.FillRect({0, 0, page.Width(), page.Height()});
  LoadCircuitBlock(holders.SHCircuits, DesignBlock(mode), holders.SHBuffer);
  Global::Page().ClearHitRects();
  Global::Page().SchematicRect = {0, 0, page.Width(), page.Height()};
  DrawCircuit(holders.SHBuffer, page, Global::Page().SchematicRect, false);
  const CapacitorStart start = kCapacitorStart[mode - 1];
  design.C1 = start.c1;
  design.E12Index = 0;
  design.DecadeCount = start.decadeCount;
  design.C2 = 1e-8;
}

std::vector<std::string> WaveformLabels(const ShellView& view, WaveformKind kind) {
  if (kind == WaveformKind::OneShot) return {"tH = " + view.Text(Control::NumEdit1) + " sec"};
  TimerDesignState& d = Global::TimerDesign();
  d.THigh = d.DutyCycle / d.Frequency;
  d.TLow = (1 - d.DutyCycle) / d.Frequency;
  const double m = std::min(d.THigh, d.TLow);
  const char* unit = "us";
  long double scale = 1e6L;
  int decimals = 4;
  // The scaled times are formed in extended precision: 0.1 s × 1000 is then
  // 100.0000000000000055 and takes one decimal, where a double product would
  // round to exactly 100 and take two.
  const long double v = m * (m < 0.001 ? scale : 1000.0L);
  if (m < 0.001) {
    decimals = v > 100 ? 1 : v > 10 ? 2 : v > 1 ? 3 : 4;
  } else {
    unit = "ms";
    scale = 1000.0L;
    // Never three decimals in milliseconds: below 10 ms there are four.
    decimals = v > 1000 ? 0 : v > 100 ? 1 : v > 10 ? 2 : 4;
  }
  return {"tH = " + FloatToFixed(d.THigh * scale, 4, decimals) + unit,
          "tL = " + FloatToFixed(d.TLow * scale, 4, decimals) + unit};
}

void DrawOutputWaveform(ShellView& view, WaveformKind kind) {
  Canvas& c = view.WaveformCanvas();
  const int W = c.Width(), H = c.Height();
  c.SetBrushColor(kWhite);
  c.FillRect({0, 0, W, H});
  c.SetFontName(kFontName);
  // 10 points as they are: the waveform's font is not scaled like the schematic's.
  c.SetFontSize(10);
  const int b = W / 20, h = H / 2, w = W - 2 * b;
  c.MoveTo(b, h);
  if (kind == WaveformKind::Astable) {
    const int half = w / 2;
    const int x1 = static_cast<int>(std::trunc(half * Global::TimerDesign().DutyCycle));
    for (const Point p :
         {Point{b, 0}, Point{b + x1, 0}, Point{b + x1, h}, Point{b + half, h}, Point{b + half, 0},
          Point{b + half + x1, 0}, Point{b + half + x1, h}, Point{b + w, h}})
      c.LineTo(p.x, p.y);
  } else {
    for (const Point p :
         {Point{b, 0}, Point{b + (3 * w) / 4, 0}, Point{b + (3 * w) / 4, h}, Point{b + w, h}})
      c.LineTo(p.x, p.y);
  }
  const std::vector<std::string> labels = WaveformLabels(view, kind);
  c.TextOut(0, (5 * h) / 4, labels[0]);
  if (labels.size() > 1) c.TextOut(W / 2, (5 * h) / 4, labels[1]);
  view.DescribeWaveform(WaveformDescription(labels));
}

std::string WaveformDescription(const std::vector<std::string>& labels) {
  // "tH = 250.0us" → "250.0 microseconds": the label's number and its unit in words.
  const auto spoken = [](const std::string& label) {
    const size_t eq = label.find("= ");
    std::string value = eq == std::string::npos ? label : label.substr(eq + 2);
    static const std::pair<const char*, const char*> kUnits[] = {
        {" sec", " seconds"}, {"us", " microseconds"}, {"ms", " milliseconds"}};
    for (const auto& [unit, words] : kUnits) {
      const std::string u = unit;
      if (value.size() > u.size() && value.compare(value.size() - u.size(), u.size(), u) == 0)
        return value.substr(0, value.size() - u.size()) + words;
    }
    return value;
  };
  if (labels.empty()) return "";
  if (labels.size() == 1) return "output high for " + spoken(labels[0]) + ", once triggered";
  return "output high for " + spoken(labels[0]) + ", low for " + spoken(labels[1]);
}

}  // namespace timer555
