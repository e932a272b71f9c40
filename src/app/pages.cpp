#include "app/pages.h"

#include "components/holders.h"
#include "state/global.h"

namespace timer555 {

const std::array<std::string, kMenuItemCount>& MenuCaptions() {
  static const std::array<std::string, kMenuItemCount> captions = {
      "Design", "Applications", "Data", "Quit", "Help", "Quellbox"};
  return captions;
}

int MenuBarHeight(int clientHeight) noexcept {
  return static_cast<int>(static_cast<long double>(clientHeight) * 0.12L);
}

MenuLayout LayoutMenuBar(const std::array<int, kMenuItemCount>& widths, int barHeight) {
  MenuLayout m;
  m.barHeight = barHeight;
  m.widths = widths;
  const int g = widths[0] / 6;
  m.gap = g;
  m.items[0] = {g, 0, widths[0] + 2 * g, barHeight};
  for (int i = 1; i < kMenuItemCount; ++i) {
    const int prev = m.items[static_cast<size_t>(i - 1)].right;
    // The companion item starts one gap further out than the others.
    const int lead = i == kMenuItemCount - 1 ? 2 * g : g;
    m.items[static_cast<size_t>(i)] = {prev + lead + 1, 0,
                                       prev + 2 * g + widths[static_cast<size_t>(i)], barHeight};
  }
  const int y = barHeight / 8;
  m.captions[0] = {2 * g, y};
  for (int i = 1; i < kMenuItemCount; ++i) {
    const int lead = i == kMenuItemCount - 1 ? 2 * g : g;
    m.captions[static_cast<size_t>(i)] = {m.items[static_cast<size_t>(i)].left + lead, y};
  }
  return m;
}

MenuLayout DrawMenuBar(Canvas& canvas, int barHeight) {
  canvas.MoveTo(0, barHeight - 1);
  canvas.LineTo(canvas.Width(), barHeight - 1);
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(barHeight / 2 - 5);
  canvas.SetFontBold(true);
  canvas.SetFontColor(kBlack);
  canvas.SetBrushColor(kWhite);
  std::array<int, kMenuItemCount> widths{};
  for (size_t i = 0; i < widths.size(); ++i)
    widths[i] = canvas.TextWidth(MenuCaptions()[i]);
  MenuLayout m = LayoutMenuBar(widths, barHeight);
  for (size_t i = 0; i < widths.size(); ++i)
    canvas.TextOut(m.captions[i].x, m.captions[i].y, MenuCaptions()[i]);
  return m;
}

MenuItem MenuItemAt(const MenuLayout& layout, int x) noexcept {
  for (size_t i = 0; i < layout.items.size(); ++i) {
    if (x >= layout.items[i].left && x <= layout.items[i].right) return static_cast<MenuItem>(i);
  }
  return MenuItem::None;
}

int DesignAt(int x, int y, int width, int height) noexcept {
  return 1 + (x > width / 2 ? 1 : 0) + (y > height / 2 ? 2 : 0);
}

int ApplicationAt(int x, int y, int width, int height) noexcept {
  return (7 * y) / height + (x > width / 2 ? 7 : 0) + 1;
}

DataPage DataPageAt(int x, int width) noexcept {
  return x < width / 2 ? DataPage::Components : DataPage::Specifications;
}

void DrawStartPage(Canvas& canvas) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  canvas.SetFontName(kFontName);
  canvas.SetFontHeight(h / 5);
  canvas.SetFontColor(kNavy);
  canvas.SetFontBold(false);
  canvas.TextOut(w / 4, (2 * h) / 16, "555");
  canvas.TextOut((3 * w) / 8, (5 * h) / 16, "Timer");
  canvas.TextOut((2 * w) / 4, (8 * h) / 16, "Design");
  canvas.SetFontColor(kBlack);
  canvas.SetFontHeight(h / 12 - 1);
  const int lineHeight = canvas.FontHeight();
  const int y = h - (3 * lineHeight) / 2;
  canvas.TextOut(w / 30, y, MakerCopyright());
  canvas.TextOut(w - w / 30 - canvas.TextWidth(MakerWebAddress()), y, MakerWebAddress());
}

namespace {

void DrawPulseTrain(Canvas& canvas, const std::string& code, int xo, int yHigh, int yLow,
                    double unit) {
  int sum = 0;
  for (char d : code)
    sum += d - '0';
  // The half of the spare units is a whole number, as drawn on the page.
  int x = xo + static_cast<int>(((60 - sum) / 2) * unit);  // NOLINT(bugprone-integer-division)
  for (size_t j = 0; j < code.size(); ++j) {
    const int step = static_cast<int>((code[j] - '0') * unit);
    // Odd positions (counted from 1) rise and stay high; even ones fall.
    const bool rising = j % 2 == 0;
    const int from = rising ? yLow : yHigh;
    const int to = rising ? yHigh : yLow;
    canvas.MoveTo(x, from);
    canvas.LineTo(x, to);
    x += step;
    canvas.LineTo(x, to);
  }
}

void PageFont(Canvas& canvas, int height, bool bold) {
  canvas.SetFontName(kFontName);
  canvas.SetFontHeight(height);
  canvas.SetFontColor(kBlack);
  canvas.SetFontBold(bold);
}

}  // namespace

void DrawDesignSelection(Canvas& canvas, const TStringHolder& shDesign) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  FillPageWhite(canvas);
  DottedVerticalLine(canvas, w / 2, 1, h - 1);
  DottedHorizontalLine(canvas, h / 2, 1, w - 1);
  PageFont(canvas, h / 12, false);
  const double unit = w / 120.0;
  for (int i = 1; i <= 4; ++i) {
    const int xo = i % 2 == 1 ? 0 : w / 2;
    const int yo = i <= 2 ? 0 : h / 2;
    const int base = yo + h / 8;
    const std::string title = shDesign.LineOrEmpty(3 * (i - 1));
    const std::string subtitle = shDesign.LineOrEmpty(3 * (i - 1) + 1);
    const std::string code = shDesign.LineOrEmpty(3 * (i - 1) + 2);
    canvas.SetFontBold(true);
    const int tw = canvas.TextWidth(title);
    const int th = canvas.TextHeight(title);
    canvas.TextOut(xo + (w / 2 - tw) / 2, base, title);
    canvas.SetFontBold(false);
    const int sw = canvas.TextWidth(subtitle);
    canvas.TextOut(xo + (w / 2 - sw) / 2, base + th, subtitle);
    canvas.SetPenColor(kGreen);
    canvas.SetPenWidth(2);
    DrawPulseTrain(canvas, code, xo, base + (7 * th) / 3, base + 3 * th, unit);
  }
}

void DrawApplicationList(Canvas& canvas, const TStringHolder& shApps) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  FillPageWhite(canvas);
  PageFont(canvas, h / 12, false);
  const int xm = w / 2;
  const int r = h / 7;
  DottedVerticalLine(canvas, xm, 1, h - 1);
  for (int k = 1; k <= 6; ++k)
    DottedHorizontalLine(canvas, k * r, 1, w - 1);
  for (int k = 1; k <= 7; ++k) {
    for (int column = 0; column < 2; ++column) {
      const std::string title = shApps.LineOrEmpty(k - 1 + 7 * column);
      const int tw = canvas.TextWidth(title);
      const int th = canvas.TextHeight(title);
      canvas.TextOut((xm - tw) / 2 + column * xm, (k - 1) * r + (r - th) / 2, title);
    }
  }
}

void DrawDataList(Canvas& canvas) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  FillPageWhite(canvas);
  PageFont(canvas, h / 12, true);
  DottedVerticalLine(canvas, w / 2, 1, h - 1);
  const std::string left = "Selecting components";
  const std::string right = "Typical Timer specifications";
  canvas.TextOut((w / 2 - canvas.TextWidth(left)) / 2, h / 3, left);
  canvas.TextOut((w / 2 - canvas.TextWidth(right)) / 2 + w / 2, h / 3, right);
  canvas.SetFontBold(false);
}

void DrawTextPage(Canvas& canvas, const TStringHolder& holder) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  FillPageWhite(canvas);
  const int margin = w / 20;
  PageFont(canvas, h / 13, false);
  const int lineHeight = canvas.FontHeight();
  for (int i = 1; i <= holder.Count(); ++i) {
    canvas.SetFontUnderline(i == 1 || i == 12);
    canvas.TextOut(margin, (i - 1) * lineHeight, holder.Line(i - 1));
  }
  const std::string& web = MakerWebAddress();
  canvas.TextOut(w - 2 * margin - canvas.TextWidth(web), 12 * lineHeight, web);
}

void DrawCalculateButton(Canvas& canvas) {
  const int wb = canvas.Width();
  const int hb = canvas.Height();
  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kWhite);
  canvas.Rectangle(0, 0, wb, hb);
  canvas.SetBrushColor(kButtonFace);
  canvas.FillRect({1, 1, wb - 1, hb - 1});
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(ScaledSize(10));
  canvas.SetFontBold(false);
  const std::string caption = "Calculate";
  const int tw = canvas.TextWidth(caption);
  const int th = canvas.TextHeight(caption);
  canvas.SetFontColor(kBlack);
  canvas.TextOut((wb - tw) / 2, (hb - th) / 2, caption);
}

void DrawArrowsPicture(Canvas& canvas) {
  FillPageWhite(canvas);
  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kSilver);
  canvas.Rectangle(0, 0, 26, kArrowsPictureHeight);
  canvas.Rectangle(31, 0, kArrowsPictureWidth, kArrowsPictureHeight);
  canvas.SetBrushColor(kBlack);
  canvas.Polygon({{12, 5}, {18, 14}, {6, 14}});
  canvas.Polygon({{37, 6}, {49, 6}, {43, 15}});
}

}  // namespace timer555
