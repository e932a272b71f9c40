#include "render/qt_canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <random>

#include "render/raster.h"

namespace timer555 {
namespace {

QRgb Rgb(Color c) {
  return qRgb(c.r, c.g, c.b);
}

bool IsWhite(const QImage& img, int x, int y) {
  return img.pixel(x, y) == qRgb(255, 255, 255);
}

// What is written stays readable until something covers its corner.
TEST(QtCanvas, RemembersWhatIsWrittenUntilItIsCovered) {
  QtCanvas c(200, 100);
  c.SetFontName("DejaVu Sans");
  c.TextOut(10, 10, "R1");
  c.TextOut(10, 40, "old");
  c.TextOut(10, 40, "new");  // opaque text over the old
  c.TextOut(150, 70, "gone");
  c.SetBrushColor(kWhite);
  c.FillRect({140, 60, 200, 100});
  c.TextOut(100, 70, "boxed");
  c.Rectangle(90, 65, 160, 90);
  ASSERT_EQ(c.Written().size(), 2u);
  EXPECT_EQ(ReadingOrder(c.Written()), "R1\nnew");
}

TEST(ReadingOrder, LinesFromTheTopWordsFromTheLeft) {
  struct Case {
    std::vector<WrittenText> texts;
    const char* read;
  } const cases[] = {
      {{}, ""},
      {{{5, 0, "only"}}, "only"},
      {{{50, 10, "right"}, {5, 12, "left"}, {5, 30, "below"}}, "left right\nbelow"},
      {{{5, 30, "  padded  "}, {5, 0, "   "}}, "padded"},
      {{{5, 0, "a"}, {9, 4, "b"}, {9, 9, "c"}}, "a b\nc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadingOrder(c.texts), c.read);
}

// Blocks read whole where their first text stands: a column of prose beside
// a circuit's labels, and what lies inside one part (in the parts' order).
TEST(ReadingOrder, ProseAndPartsReadAsBlocks) {
  struct Case {
    std::vector<WrittenText> texts;
    std::vector<HitArea> parts;
    const char* read;
  } const cases[] = {
      // Notes beside a circuit: the labels no longer break the sentence.
      {{{300, 60, "Input pulse cannot retrigger", 16},
        {300, 78, "timer until the output", 16},
        {300, 96, "is low.", 16},
        {100, 78, "R1", 16},
        {140, 96, "555", 16}},
       {},
       "Input pulse cannot retrigger timer until the output is low.\nR1\n555"},
      // A table's columns stay in their rows, numbers of three words too.
      {{{36, 47, "Vcc", 16},
        {300, 47, "4.5 - 18", 16},
        {36, 71, "Supply current", 16},
        {300, 71, "3", 16}},
       {},
       "Vcc 4.5 - 18\nSupply current 3"},
      // Lines further apart than a line are no column.
      {{{10, 0, "one two three", 16}, {10, 40, "four", 16}}, {}, "one two three\nfour"},
      // A 2 x 2 grid of parts: each part's name and line together, part by part.
      {{{134, 38, "Astable", 16},
        {85, 63, "(Duty cycle > 50%)", 16},
        {459, 38, "Astable", 16},
        {410, 63, "(Duty cycle = 50%)", 16},
        {441, 192, "Monostable", 16},
        {443, 217, "(One-shot)", 16}},
       {{0, 0, 324, 153}, {326, 0, 650, 153}, {326, 155, 650, 308}},
       "Astable (Duty cycle > 50%)\nAstable (Duty cycle = 50%)\nMonostable (One-shot)"},
      // Parts read in their own order in the places they take, around the rest.
      {{{10, 0, "second", 16}, {10, 20, "first", 16}, {200, 0, "title", 16}},
       {{0, 20, 100, 39}, {0, 0, 100, 19}},
       "first\ntitle\nsecond"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadingOrder(c.texts, c.parts), c.read);
}

TEST(QtCanvas, LineToLeavesTheEndPixelAndMovesThePen) {
  QtCanvas c(8, 8);
  c.MoveTo(0, 0);
  c.LineTo(7, 7);
  EXPECT_EQ(c.Image().pixel(0, 0), Rgb(kBlack));
  EXPECT_EQ(c.Image().pixel(6, 6), Rgb(kBlack));
  EXPECT_TRUE(IsWhite(c.Image(), 7, 7));
  EXPECT_EQ(c.PenPos(), (Point{7, 7}));
}

TEST(QtCanvas, RectangleFillAndEllipseExcludeRightAndBottom) {
  QtCanvas c(10, 10);
  c.SetBrushColor(kBlue);
  c.FillRect({0, 0, 1, 1});
  EXPECT_EQ(c.Image().pixel(0, 0), Rgb(kBlue));
  EXPECT_TRUE(IsWhite(c.Image(), 1, 0));
  EXPECT_TRUE(IsWhite(c.Image(), 0, 1));
  c.FillRect({9, 9, 10, 10});
  EXPECT_EQ(c.Image().pixel(9, 9), Rgb(kBlue));

  QtCanvas r(10, 10);
  r.SetBrushColor(kRed);
  r.Rectangle(2, 2, 6, 5);
  EXPECT_EQ(r.Image().pixel(5, 4), Rgb(kBlack));
  EXPECT_EQ(r.Image().pixel(3, 3), Rgb(kRed));
  EXPECT_TRUE(IsWhite(r.Image(), 6, 4));
  EXPECT_TRUE(IsWhite(r.Image(), 5, 5));
  r.Rectangle(0, 0, 1, 1);
  EXPECT_EQ(r.Image().pixel(0, 0), Rgb(kBlack));
  EXPECT_EQ(r.PenPos(), (Point{0, 0}));

  QtCanvas e(10, 10);
  e.Ellipse(1, 1, 8, 6);
  EXPECT_EQ(e.Image().pixel(4, 1), Rgb(kBlack));
  EXPECT_EQ(e.Image().pixel(4, 5), Rgb(kBlack));
  EXPECT_EQ(e.Image().pixel(7, 3), Rgb(kBlack));
  for (int y = 0; y < 10; ++y)
    EXPECT_TRUE(IsWhite(e.Image(), 8, y));
  for (int x = 0; x < 10; ++x)
    EXPECT_TRUE(IsWhite(e.Image(), x, 6));
}

// QPainter's rectangle with the measured mapping paints exactly the pixels
// of the rule, for every small box.
TEST(QtCanvas, RectangleMatchesTheRuleForManyBoxes) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> coord(-3, 20);
  for (int i = 0; i < 300; ++i) {
    const int l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
    QtCanvas c(18, 18);
    c.SetBrushColor(kBlue);
    c.Rectangle(l, t, r, b);
    QImage expected(18, 18, QImage::Format_RGB32);
    expected.fill(Qt::white);
    RasterTarget target(reinterpret_cast<std::uint32_t*>(expected.bits()), 18, 18,
                        static_cast<int>(expected.bytesPerLine() / 4));
    RasterRectangle(target, {l, t, r, b}, kBlack, kBlue);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x)
        ASSERT_EQ(c.Image().pixel(x, y), expected.pixel(x, y))
            << "box " << l << "," << t << "," << r << "," << b << " pixel " << x << "," << y;
  }
}

TEST(QtCanvas, ArcBulgesToTheRight) {
  QtCanvas c(32, 20);
  c.Arc(8, 0, 24, 16, 16, 16, 16, 0);
  int minX = 99, maxX = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 32; ++x)
      if (!IsWhite(c.Image(), x, y)) minX = std::min(minX, x), maxX = std::max(maxX, x);
  EXPECT_EQ(minX, 16);
  EXPECT_EQ(maxX, 23);
}

TEST(QtCanvas, PenWidthTwoPaintsTheBand) {
  QtCanvas c(10, 10);
  c.SetPenWidth(2);
  c.MoveTo(2, 5);
  c.LineTo(6, 5);
  for (int x = 1; x <= 6; ++x) {
    EXPECT_EQ(c.Image().pixel(x, 4), Rgb(kBlack)) << x;
    EXPECT_EQ(c.Image().pixel(x, 5), Rgb(kBlack)) << x;
  }
  EXPECT_TRUE(IsWhite(c.Image(), 7, 5));
  EXPECT_TRUE(IsWhite(c.Image(), 3, 6));
}

TEST(QtCanvas, FontSizesAndHeightsAt96Dpi) {
  const std::pair<int, int> rows[] = {{10, -13}, {11, -15}, {12, -16}, {13, -17}, {16, -21}};
  for (auto [size, height] : rows) {
    EXPECT_EQ(FontHeightForSize(size), height);
    EXPECT_EQ(FontSizeForHeight(height), size);
  }
  // A cell height reads back as a negative size.
  EXPECT_EQ(FontSizeForHeight(13), -10);
}

TEST(QtCanvas, ComicSansResolvesToComicNeue) {
  Font f;
  f.name = "Comic Sans MS";
  f.height = -13;
  EXPECT_EQ(QFontInfo(ResolveFont(f)).family(), "Comic Neue");
}

TEST(QtCanvas, CellHeightsFromTheWindowsMetrics) {
  QtCanvas c(10, 10);
  c.SetFontName("Comic Sans MS");
  const std::pair<int, int> rows[] = {{-13, 18}, {-15, 20}, {-17, 23}, {-21, 28}};
  for (auto [height, cell] : rows) {
    c.SetFontHeight(height);
    EXPECT_EQ(c.TextHeight("Ag"), cell) << height;
  }
  for (int cell : {12, 14, 16, 18, 20, 23, 24, 25, 26, 61}) {
    c.SetFontHeight(cell);
    EXPECT_EQ(c.TextHeight("Ag"), cell) << cell;
  }
  c.SetFontBold(true);
  for (int cell : {23, 25, 61}) {
    c.SetFontHeight(cell);
    EXPECT_EQ(c.TextHeight("Ag"), cell) << "bold " << cell;
  }
}

TEST(QtCanvas, TextIsOpaqueTopLeftAndMovesThePen) {
  QtCanvas c(120, 40);
  c.SetFontName("Comic Sans MS");
  c.SetFontSize(10);
  c.SetBrushColor(kBlue);
  c.SetFontColor(kRed);
  const int w = c.TextWidth("Hi");
  const int h = c.TextHeight("Hi");
  ASSERT_GT(w, 0);
  c.TextOut(10, 5, "Hi");
  EXPECT_EQ(c.PenPos(), (Point{10 + w, 5}));
  // The cell is filled with the brush; nothing outside it is touched.
  EXPECT_EQ(c.Image().pixel(10, 5), Rgb(kBlue));
  EXPECT_EQ(c.Image().pixel(10 + w - 1, 5 + h - 1), Rgb(kBlue));
  EXPECT_TRUE(IsWhite(c.Image(), 9, 5));
  EXPECT_TRUE(IsWhite(c.Image(), 10 + w, 5));
  EXPECT_TRUE(IsWhite(c.Image(), 10, 5 + h));
  EXPECT_TRUE(IsWhite(c.Image(), 10, 4));
  int ink = 0;
  for (int y = 5; y < 5 + h; ++y)
    for (int x = 10; x < 10 + w; ++x) {
      const QRgb p = c.Image().pixel(x, y);
      // Without antialiasing only the ink and the background occur.
      EXPECT_TRUE(p == Rgb(kRed) || p == Rgb(kBlue));
      if (p == Rgb(kRed)) ++ink;
    }
  EXPECT_GT(ink, 10);
}

TEST(QtCanvas, TextFarOutsideDrawsNothing) {
  QtCanvas c(20, 20);
  c.SetFontName("Comic Sans MS");
  c.TextOut(2147483000, -2147483000, "far");
  c.TextOut(-100000, 5, "far");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_TRUE(IsWhite(c.Image(), x, y));
}

}  // namespace
}  // namespace timer555
