#include "design/data_pages.h"

#include "state/global.h"

namespace timer555 {

namespace {

constexpr int kComponentLines = 14;
constexpr int kSpecRows = 11;
constexpr int kSpecColumns = 5;

// x of a text of width `width` centred between a and b.
int Centred(int a, int b, int width) noexcept {
  return a + ((b - a) - width) / 2;
}

}  // namespace

void ShowComponentPage(Canvas& canvas, const StringHolders& holders) {
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(10);
  canvas.SetFontSize(ScaledSize(canvas.FontSize()));
  FillPageWhite(canvas);
  const int lh = canvas.Height() / 14;
  const int m = canvas.Width() / 20;
  for (int i = 1; i <= kComponentLines; ++i) {
    canvas.SetFontUnderline(i == 1 || i == 4 || i == 11);
    canvas.TextOut(m, (i - 1) * lh, holders.SHComponent.LineOrEmpty(i - 1));
  }
  canvas.SetFontUnderline(false);
}

void ShowSpecificationPage(Canvas& canvas, const StringHolders& holders) {
  const int W = canvas.Width(), H = canvas.Height();
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(10);
  FillPageWhite(canvas);
  const int g = W / 70;
  if (g == 0) return;  // a page too narrow for a column unit shows white
  const int n = W / g;
  const int cw = (g * n) / 66;
  const int x4 = 4 * cw, x20 = 20 * cw, x28 = 28 * cw, x43 = 43 * cw, x58 = 58 * cw, x62 = 62 * cw;
  const int lh = canvas.TextHeight("Ably");
  const int t = H / 7;
  const int r = (H - t) / 11;
  DottedHorizontalLine(canvas, t, x4, x62);
  for (int k = 1; k <= 10; ++k)
    DottedHorizontalLine(canvas, t + k * r, x4, x62);
  DottedVerticalLine(canvas, x20, t, H);
  for (int x : {x28, x43, x58})
    DottedVerticalLine(canvas, x, 1, H);
  const int headY = (t - lh) / 2;
  canvas.TextOut(Centred(x28, x43, canvas.TextWidth("Bipolar 555")), headY, "Bipolar 555");
  canvas.TextOut(Centred(x43, x58, canvas.TextWidth("CMOS 555")), headY, "CMOS 555");
  for (int k = 1; k <= kSpecRows; ++k) {
    const int y = (k - 1) * r + t + (r - lh) / 2;
    for (int j = 1; j <= kSpecColumns; ++j) {
      const std::string text = holders.SHSpecs.LineOrEmpty((k - 1) * kSpecColumns + j - 1);
      const int tw = canvas.TextWidth(text);
      int x = 0;
      switch (j) {
        case 1:
          x = x4;
          break;
        case 2:
          x = x28 - (x28 - x20) / 5 - tw;
          break;
        case 3:
          x = Centred(x28, x43, tw);
          break;
        case 4:
          x = Centred(x43, x58, tw);
          break;
        default:
          x = x62 - tw;
          break;
      }
      canvas.TextOut(x, y, text);
    }
  }
}

}  // namespace timer555
