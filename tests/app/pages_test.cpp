#include "app/pages.h"

#include <gtest/gtest.h>

#include "components/holders.h"
#include "support/recording_canvas.h"

namespace timer555 {
namespace {

using Kind = DrawOp::Kind;

std::vector<DrawOp> Texts(const RecordingCanvas& c) {
  return c.OpsOf(Kind::Text);
}

TEST(MenuLayout, RectanglesFromCaptionWidths) {
  // Widths of Design, Applications, Data, Quit, Help and the companion item.
  const MenuLayout m = LayoutMenuBar({60, 120, 45, 40, 44, 90}, 42);
  EXPECT_EQ(m.gap, 10);
  EXPECT_EQ(m.items[0], (HitArea{10, 0, 80, 42}));
  EXPECT_EQ(m.items[1], (HitArea{91, 0, 220, 42}));
  EXPECT_EQ(m.items[2], (HitArea{231, 0, 285, 42}));
  EXPECT_EQ(m.items[3], (HitArea{296, 0, 345, 42}));
  EXPECT_EQ(m.items[4], (HitArea{356, 0, 409, 42}));
  EXPECT_EQ(m.items[5], (HitArea{430, 0, 519, 42}));
  EXPECT_EQ(m.captions[0], (Point{20, 5}));
  EXPECT_EQ(m.captions[1], (Point{101, 5}));
  EXPECT_EQ(m.captions[4], (Point{366, 5}));
  EXPECT_EQ(m.captions[5], (Point{450, 5}));
  // Design ends at its caption's end; the next four one pixel before theirs;
  // the companion item 2g + 1 before its caption's end.
  EXPECT_EQ(m.items[0].right, m.captions[0].x + 60);
  EXPECT_EQ(m.items[1].right, m.captions[1].x + 120 - 1);
  EXPECT_EQ(m.items[5].right, m.captions[5].x + 90 - (2 * m.gap + 1));
}

TEST(MenuLayout, ClicksHitTheFirstItemWithInclusiveBounds) {
  const MenuLayout m = LayoutMenuBar({60, 120, 45, 40, 44, 90}, 42);
  EXPECT_EQ(MenuItemAt(m, 9), MenuItem::None);
  EXPECT_EQ(MenuItemAt(m, 10), MenuItem::Design);
  EXPECT_EQ(MenuItemAt(m, 80), MenuItem::Design);
  EXPECT_EQ(MenuItemAt(m, 85), MenuItem::None);  // between two items
  EXPECT_EQ(MenuItemAt(m, 91), MenuItem::Applications);
  EXPECT_EQ(MenuItemAt(m, 300), MenuItem::Quit);
  EXPECT_EQ(MenuItemAt(m, 519), MenuItem::Companion);
  EXPECT_EQ(MenuItemAt(m, 520), MenuItem::None);  // the last part of the caption
}

TEST(MenuBar, DrawsLineAndCaptionsInTheMenuFont) {
  RecordingCanvas c(650, 42);
  const MenuLayout m = DrawMenuBar(c, 42);
  const auto lines = c.OpsOf(Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points[0], (Point{0, 41}));
  EXPECT_EQ(lines[0].points[1], (Point{650, 41}));
  EXPECT_EQ(lines[0].pen, (Pen{kBlack, 1}));
  const auto texts = Texts(c);
  ASSERT_EQ(texts.size(), 6u);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].text, MenuCaptions()[i]);
    EXPECT_EQ(texts[i].points[0], m.captions[i]);
    EXPECT_EQ(texts[i].font.height, -21);  // 16 pt
    EXPECT_TRUE(texts[i].font.bold);
    EXPECT_EQ(texts[i].font.name, "Comic Sans MS");
    EXPECT_EQ(texts[i].brush, kWhite);
  }
  // The recording metrics: 21-pixel characters are 10 pixels wide.
  EXPECT_EQ(m.widths[0], 60);
  EXPECT_EQ(m.gap, 10);
}

TEST(DottedLines, PureBlueAtOddCoordinatesOnly) {
  RecordingCanvas c(650, 308);
  DottedVerticalLine(c, 325, 1, 307);
  DottedHorizontalLine(c, 154, 1, 649);
  const auto pixels = c.OpsOf(Kind::Pixel);
  EXPECT_EQ(pixels.size(), 154u + 325u);
  for (const DrawOp& p : pixels) {
    EXPECT_EQ(p.color, (Color{0, 0, 255}));
    if (p.points[0].x == 325 && p.points[0].y != 154)
      EXPECT_EQ(p.points[0].y % 2, 1);
    else
      EXPECT_EQ(p.points[0].x % 2, 1);
  }
}

TEST(StartPage, TitleWordsStepDownAndRight) {
  RecordingCanvas c(650, 308);
  DrawStartPage(c);
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].text, "555");
  EXPECT_EQ(t[0].points[0], (Point{162, 38}));
  EXPECT_EQ(t[1].points[0], (Point{243, 96}));
  EXPECT_EQ(t[2].points[0], (Point{325, 154}));
  EXPECT_EQ(t[0].font.height, 61);
  EXPECT_EQ(t[0].font.color, kNavy);
  EXPECT_EQ(t[3].font.height, 24);
  EXPECT_EQ(t[3].font.color, kBlack);
  EXPECT_EQ(t[3].points[0], (Point{21, 272}));
  EXPECT_EQ(t[4].points[0].y, 272);
  c.SetFont(t[4].font);
  EXPECT_EQ(t[4].points[0].x + c.TextWidth(t[4].text), 650 - 21);
}

TEST(DesignSelection, TitlesSubtitlesAndGreenPulseTrains) {
  const StringHolders h = LoadBuiltinHolders();
  RecordingCanvas c(650, 308);
  DrawDesignSelection(c, h.SHDesign);
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 8u);
  // Font height 25 gives 20-pixel characters, 10 pixels wide, in the recording metrics.
  EXPECT_EQ(t[0].text, "Astable");
  EXPECT_TRUE(t[0].font.bold);
  EXPECT_EQ(t[0].points[0], (Point{(325 - 70) / 2, 38}));
  EXPECT_EQ(t[1].text, "(Duty cycle > 50%)");
  EXPECT_FALSE(t[1].font.bold);
  EXPECT_EQ(t[1].points[0], (Point{(325 - 180) / 2, 38 + 25}));
  EXPECT_EQ(t[6].text, "Monostable");
  EXPECT_EQ(t[6].points[0], (Point{325 + (325 - 100) / 2, 154 + 38}));
  const auto lines = c.OpsOf(Kind::Line);
  ASSERT_EQ(lines.size(), 2u * (6 + 4 + 6 + 2));
  for (const DrawOp& l : lines)
    EXPECT_EQ(l.pen, (Pen{kGreen, 2}));
  // Design 1, "424242": S = 18, x starts at trunc(21 × 650/120) = 113; rising
  // from the low level B + 3·th to the high level B + (7·th) div 3.
  EXPECT_EQ(lines[0].points[0], (Point{113, 38 + 75}));
  EXPECT_EQ(lines[0].points[1], (Point{113, 38 + 58}));
  EXPECT_EQ(lines[1].points[1], (Point{113 + 21, 38 + 58}));
  EXPECT_EQ(lines[2].points[0], (Point{134, 96}));
  EXPECT_EQ(lines[2].points[1], (Point{134, 113}));
  EXPECT_EQ(lines[3].points[1], (Point{134 + 10, 113}));
}

TEST(ApplicationList, TitlesCentredInTwoColumnsOfSeven) {
  const StringHolders h = LoadBuiltinHolders();
  RecordingCanvas c(650, 308);
  DrawApplicationList(c, h.SHApps);
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 14u);
  EXPECT_EQ(t[0].text, "Triggering in monostable mode");
  EXPECT_EQ(t[0].points[0], (Point{(325 - 29 * 10) / 2, (44 - 25) / 2}));
  EXPECT_EQ(t[1].text, "Driving a speaker");
  EXPECT_EQ(t[1].points[0], (Point{(325 - 17 * 10) / 2 + 325, (44 - 25) / 2}));
  EXPECT_EQ(t[13].text, "DC voltage doubler");
  EXPECT_EQ(t[13].points[0].y, 6 * 44 + 9);
  // The column's pixels sit on odd rows; the six row lines lie on multiples of 44.
  size_t rowPixels = 0;
  for (const DrawOp& p : c.OpsOf(Kind::Pixel)) {
    if (p.points[0].y % 2 == 1) continue;
    ++rowPixels;
    EXPECT_EQ(p.points[0].y % 44, 0);
    EXPECT_EQ(p.points[0].x % 2, 1);
  }
  EXPECT_EQ(rowPixels, 6u * 325u);
}

TEST(DataList, BoldHeadingsThenRegular) {
  RecordingCanvas c(650, 308);
  DrawDataList(c);
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].text, "Selecting components");
  EXPECT_EQ(t[0].points[0], (Point{(325 - 200) / 2, 102}));
  EXPECT_EQ(t[1].points[0], (Point{(325 - 280) / 2 + 325, 102}));
  EXPECT_TRUE(t[1].font.bold);
  EXPECT_FALSE(c.GetFont().bold);
}

TEST(TextPages, HelpRowsOneAndTwelveUnderlinedAddressOnRowThirteen) {
  const StringHolders h = LoadBuiltinHolders();
  RecordingCanvas c(650, 308);
  DrawTextPage(c, h.SHHelp);
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 14u);
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(t[static_cast<size_t>(i)].points[0], (Point{32, i * 23}));
    EXPECT_EQ(t[static_cast<size_t>(i)].font.underline, i == 0 || i == 11) << i;
  }
  const DrawOp& web = t[13];
  EXPECT_FALSE(web.font.underline);
  EXPECT_EQ(web.points[0].y, 12 * 23);
  c.SetFont(web.font);
  EXPECT_EQ(web.points[0].x + c.TextWidth(web.text), 650 - 64);
}

TEST(TextPages, CompanionPageUnderlinesOnlyItsEmptyFirstRow) {
  const StringHolders h = LoadBuiltinHolders();
  RecordingCanvas c(650, 308);
  DrawTextPage(c, h.SH_Quellbox);
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 12u);
  EXPECT_TRUE(t[0].font.underline);
  EXPECT_EQ(t[0].text, "");
  for (size_t i = 1; i < t.size(); ++i)
    EXPECT_FALSE(t[i].font.underline) << i;
  EXPECT_EQ(t[11].points[0].y, 12 * 23);
}

TEST(CalculateButton, FramedFaceAndCentredCaption) {
  RecordingCanvas c(96, 27);
  DrawCalculateButton(c);
  const auto rects = c.OpsOf(Kind::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].points[1], (Point{96, 27}));
  EXPECT_EQ(rects[0].brush, kWhite);
  const auto fills = c.OpsOf(Kind::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].points[0], (Point{1, 1}));
  EXPECT_EQ(fills[0].points[1], (Point{95, 26}));
  const auto t = Texts(c);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].font.height, -15);  // 11 pt, not 12
  EXPECT_EQ(t[0].brush, kButtonFace);
  // 15-pixel characters: 9 × 7 wide, 18 high.
  EXPECT_EQ(t[0].points[0], (Point{(96 - 63) / 2, (27 - 18) / 2}));
}

}  // namespace
}  // namespace timer555
