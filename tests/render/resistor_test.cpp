#include "render/symbol_resistor.h"

#include "format/pmisc.h"
#include "render/script_fixture.h"

namespace timer555 {
namespace {

class ResistorTest : public ScriptTest {};

// "RVDL1" at (96, 64) after a calculation with R1 = 7213.475 Ω.
TEST_F(ResistorTest, DownwardsWithValues) {
  Global::TimerDesign().R1 = 7213.475;
  RunTokens({"M1206", "RVDL1"}, true);
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{96, 64}, {96, 70}}));
  EXPECT_EQ(lines[1].points[1], (Point{99, 72}));
  EXPECT_EQ(lines[2].points[1], (Point{93, 76}));
  EXPECT_EQ(lines[8].points[1], (Point{96, 100}));
  const DrawOp value = TextOp("7.214K");
  EXPECT_EQ(value.points[0], (Point{96 - 6 - Tw("7.214K"), 84}));
  EXPECT_EQ(value.font.color, kRed);
  EXPECT_EQ(TextOp("R1").points[0], (Point{96 - 6 - 14, 64}));
  EXPECT_EQ(TextOp("R1").font.color, kBlack);
  EXPECT_EQ(Global::Page().ResistorHitRects[1], (HitArea{92, 76, 100, 100}));
  EXPECT_EQ(Current(), (Point{96, 100}));
  EXPECT_EQ(canvas.PenPos(), (Point{96, 100}));
}

TEST_F(ResistorTest, DownwardsWithoutValues) {
  RunTokens({"M1206", "RVDL1"});
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(TextOp("R1").points[0], (Point{76, 78}));
}

TEST_F(ResistorTest, UpwardsLabels) {
  Global::TimerDesign().R2 = 1500;
  RunTokens({"M1216", "RVUR2"}, true);  // (96, 144)
  EXPECT_EQ(TextOp(FormatResistance(1500)).points[0], (Point{102, 128}));
  EXPECT_EQ(TextOp("R2").points[0], (Point{102, 144 - 46}));
  EXPECT_EQ(Global::Page().ResistorHitRects[2], (HitArea{92, 108, 100, 132}));
  EXPECT_EQ(Current(), (Point{96, 108}));
  canvas.Clear();
  RunTokens({"M1216", "RVUR2"});
  EXPECT_EQ(TextOp("R2").points[0], (Point{102, 122}));
}

TEST_F(ResistorTest, RightwardsLabelsAbove) {
  Global::TimerDesign().R1 = 1000;
  RunTokens({"M1010", "RHRU1"}, true);  // (80, 96)
  const std::string value = FormatResistance(1000);
  EXPECT_EQ(TextOp(value).points[0], (Point{80 + 23 - Tw(value) / 2, 76}));
  EXPECT_EQ(TextOp("R1").points[0], (Point{80 + 18 - 7, 96 - 46}));
  EXPECT_EQ(Global::Page().ResistorHitRects[1], (HitArea{92, 92, 107, 100}));
  EXPECT_EQ(Current(), (Point{116, 96}));
  canvas.Clear();
  RunTokens({"M1010", "RHRU1"});
  EXPECT_EQ(TextOp("R1").points[0], (Point{80 + 18 - 7, 96 - 23}));
}

TEST_F(ResistorTest, LeftwardsLabelsBelow) {
  RunTokens({"M1010", "RHLD2"}, true);
  EXPECT_EQ(TextOp("R2").points[0], (Point{80 - 23 - 7, 101}));
  EXPECT_EQ(Global::Page().ResistorHitRects[2], (HitArea{80 - 27, 92, 80 - 12, 100}));
  EXPECT_EQ(Current(), (Point{44, 96}));
}

TEST_F(ResistorTest, ThirdResistorShowsNotAvailable) {
  RunTokens({"M1010", "RVDL3"}, true);
  EXPECT_EQ(TextOp("  N/A").font.color, kRed);
  EXPECT_EQ(TextOp("R3").font.color, kBlack);
}

TEST_F(ResistorTest, FourthResistorHasNameAndNoValue) {
  RunTokens({"M1010", "RVDR4"}, true);
  std::vector<std::string> shown;
  for (const DrawOp& t : Texts())
    if (!t.text.empty()) shown.push_back(t.text);
  EXPECT_EQ(shown, std::vector<std::string>{"R4"});
  EXPECT_NE(Global::Page().ResistorHitRects[4], HitArea{});
}

TEST_F(ResistorTest, UpSideOnAVerticalResistorDrawsNoLabels) {
  RunTokens({"M1010", "RVDU1"}, true);
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(Lines().size(), 9u);
  EXPECT_EQ(Global::Page().ResistorHitRects[1], (HitArea{76, 108, 84, 132}));
}

// An index without a slot (0 means 10, or 5 to 9) is drawn like any other
// and leaves every stored rectangle as it was.
TEST_F(ResistorTest, IndexOutsideOneToFourStoresNoRectangle) {
  for (const char* token : {"RVDL0", "RVDL5", "RVDL9"}) {
    Global::Reset();
    canvas.Clear();
    RunTokens({"M1010", token});
    EXPECT_EQ(Lines().size(), 9u) << token;
    for (const HitArea& r : Global::Page().ResistorHitRects)
      EXPECT_EQ(r, HitArea{}) << token;
  }
}

TEST_F(ResistorTest, FollowingWireStartsAtTheFarEnd) {
  RunTokens({"M1010", "RVDL1", "D1020"});
  EXPECT_EQ(Lines().back().points[0], (Point{80, 132}));
}

}  // namespace
}  // namespace timer555
