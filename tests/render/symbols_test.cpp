#include <string>

#include "format/pmisc.h"
#include "render/script_fixture.h"
#include "render/symbols_active.h"

namespace timer555 {
namespace {

using Kind = DrawOp::Kind;

class SymbolTest : public ScriptTest {
 protected:
  std::vector<DrawOp> Of(Kind k) const { return canvas.OpsOf(k); }
  static std::vector<Point> Box(Point a, Point b) { return {a, b}; }
};

// Capacitor "CVDL1" at (96, 160): plates 7 each side at 16 and 19 pixels down.
TEST_F(SymbolTest, VerticalCapacitorWithoutValues) {
  RunTokens({"M1218", "CVDL1"});
  EXPECT_TRUE(HasLine({96, 160}, {96, 176}));
  EXPECT_TRUE(HasLine({89, 176}, {103, 176}));
  EXPECT_TRUE(HasLine({89, 179}, {103, 179}));
  EXPECT_TRUE(HasLine({96, 179}, {96, 196}));
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(TextOp("C1").points[0], (Point{86 - Tw("C1"), 174}));
  EXPECT_EQ(TextOp("C1").font.color, kBlack);
  EXPECT_EQ(Global::Page().CapacitorHitRect, (HitArea{87, 172, 105, 196}));
  EXPECT_EQ(Current(), (Point{96, 196}));
  EXPECT_EQ(canvas.PenPos(), (Point{96, 196}));
}

TEST_F(SymbolTest, VerticalCapacitorWithValues) {
  Global::TimerDesign().C1 = 4.7e-7;
  RunTokens({"M1218", "CVDL1"}, true);
  const std::string value = FormatCapacitance(4.7e-7);
  EXPECT_EQ(TextOp(value).points[0], (Point{86 - Tw(value), 176}));
  EXPECT_EQ(TextOp(value).font.color, kRed);
  EXPECT_EQ(TextOp("C1").points[0], (Point{86 - Tw("C1"), 157}));
  EXPECT_EQ(Global::Page().CapacitorHitRect, (HitArea{87, 172, 105, 196}));
}

TEST_F(SymbolTest, LeftCapacitorWithValuesAbove) {
  Global::TimerDesign().C1 = 1e-6;
  RunTokens({"M2010", "CHLU1"}, true);  // (160, 96)
  const std::string value = FormatCapacitance(1e-6);
  EXPECT_EQ(TextOp(value).points[0], (Point{160 - 18 - Tw(value) / 2, 96 - 23}));
  EXPECT_EQ(TextOp("C1").points[0], (Point{160 - 18 - 7, 96 - 23 - 19}));
  EXPECT_TRUE(HasLine({141, 96}, {124, 96}));
  EXPECT_EQ(Global::Page().CapacitorHitRect, (HitArea{160 - 27, 96 - 9, 160 - 12, 96 + 9}));
  EXPECT_EQ(Current(), (Point{124, 96}));
}

TEST_F(SymbolTest, SecondCapacitorPrintsC2AndStoresNoHitRectangle) {
  Global::TimerDesign().C2 = 1e-8;
  RunTokens({"M1218", "CVDL2"}, true);
  EXPECT_EQ(TextOp(FormatCapacitance(1e-8)).font.color, kRed);
  EXPECT_EQ(TextOp("C2").font.color, kBlack);
  EXPECT_EQ(Global::Page().CapacitorHitRect, HitArea{});
}

TEST_F(SymbolTest, CapacitorBeyondFourPrintsNoValue) {
  RunTokens({"M1218", "CVDR5", "M1218", "CVDR0"}, true);
  std::vector<std::string> shown;
  for (const DrawOp& t : Texts())
    if (!t.text.empty()) shown.push_back(t.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"C5", "C10"}));
}

TEST_F(SymbolTest, MismatchedOrientationDrawsNothing) {
  for (const char* token : {"CVRL1", "CHUL1", "dVLL1", "dHDL1", "RVRL1", "lHUL1", "lVLL1"}) {
    Global::Reset();
    canvas.Clear();
    RunTokens({"M1218", token}, true);
    EXPECT_TRUE(Lines().empty()) << token;
    EXPECT_EQ(Current(), (Point{96, 160})) << token;
  }
}

TEST_F(SymbolTest, DiodeDownwardsLabelledLeft) {
  RunTokens({"M1218", "dVDL1"});
  EXPECT_TRUE(HasLine({96, 160}, {96, 176}));
  const auto polygons = Of(Kind::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].points, (std::vector<Point>{{96, 176}, {92, 168}, {100, 168}}));
  EXPECT_EQ(polygons[0].brush, kBlack);
  EXPECT_TRUE(HasLine({92, 176}, {100, 176}));
  EXPECT_TRUE(HasLine({96, 176}, {96, 184}));
  EXPECT_EQ(TextOp("D1").points[0], (Point{96 - 6 - 14, 170}));
  EXPECT_EQ(canvas.BrushColor(), kWhite);
  EXPECT_EQ(Current(), (Point{96, 184}));
}

TEST_F(SymbolTest, HorizontalDiodeLabels) {
  RunTokens({"M1218", "dHRL1"});
  EXPECT_TRUE(Texts().empty()) << "side L on a horizontal diode is unlabelled";
  EXPECT_EQ(Current(), (Point{120, 160}));
  RunTokens({"M1218", "dHRU2", "M1218", "dHLU3"});
  EXPECT_EQ(TextOp("D2").points[0], (Point{96 + 12 - 7, 160 - 24}));
  EXPECT_EQ(TextOp("D3").points[0], (Point{96 - 12 - 7, 160 - 20}));
}

TEST_F(SymbolTest, JunctionThenWire) {
  RunTokens({"J1212", "D1612"});
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{95, 110}, {97, 110}}));
  EXPECT_EQ(lines[2].points, (std::vector<Point>{{94, 112}, {98, 112}}));
  EXPECT_EQ(lines[4].points, (std::vector<Point>{{95, 114}, {97, 114}}));
  EXPECT_EQ(lines[5].points, (std::vector<Point>{{96, 112}, {128, 112}}));
}

TEST_F(SymbolTest, CounterChip) {
  RunTokens({"M2916", "cLFSV"});  // (232, 144)
  EXPECT_TRUE(HasLine({232, 144}, {240, 144}));
  ASSERT_EQ(Of(Kind::Rectangle).size(), 1u);
  EXPECT_EQ(Of(Kind::Rectangle)[0].points, Box({240, 112}, {304, 176}));
  EXPECT_TRUE(HasLine({304, 144}, {312, 144}));
  EXPECT_TRUE(HasLine({272, 176}, {272, 184}));
  EXPECT_EQ(TextOp("CLK").points[0], (Point{243, 144 - 9}));
  EXPECT_EQ(TextOp("Qx").points[0], (Point{304 - 14 - 3, 144 - 9}));
  EXPECT_EQ(TextOp("RST").points[0], (Point{272 - 10, 176 - 18 - 3}));
  EXPECT_EQ(TextOp("RST").font.color, kNavy);
  const DrawOp title = TextOp("4020/4040");
  EXPECT_EQ(title.points[0], (Point{272 - Tw("4020/4040") / 2, 88}));
  EXPECT_EQ(title.font.color, kRed);
  EXPECT_EQ(Current(), (Point{312, 144}));
  EXPECT_EQ(canvas.GetFont().color, kRed);
}

TEST_F(SymbolTest, FlipFlopAfterAWire) {
  RunTokens({"M3012", "D3712", "jXNIL"});  // (296, 112), grid point (37, 14)
  EXPECT_EQ(Of(Kind::Rectangle)[0].points, Box({304, 88}, {352, 200}));
  EXPECT_TRUE(HasLine({296, 144}, {304, 144})) << "J on grid row 18";
  EXPECT_TRUE(HasLine({296, 176}, {304, 176})) << "K on grid row 22";
  EXPECT_TRUE(HasLine({328, 88}, {328, 80})) << "clear up to grid row 10";
  EXPECT_TRUE(HasLine({352, 144}, {360, 144})) << "Q at grid point (45, 18)";
  const auto bubbles = Of(Kind::Ellipse);
  ASSERT_EQ(bubbles.size(), 2u);
  EXPECT_EQ(bubbles[0].points, Box({298, 109}, {304, 115}));
  EXPECT_EQ(bubbles[1].points, Box({325, 82}, {331, 88}));
  EXPECT_EQ(TextOp("Q").points[0], (Point{352 - 3 - 7, 144 - 9}));
  EXPECT_EQ(TextOp("CLR").points[0], (Point{328 - 10, 91}));
  EXPECT_EQ(Current(), (Point{296, 112}));
  EXPECT_EQ(canvas.GetFont().color, kNavy);
}

TEST_F(SymbolTest, LoopTransformerMeetsTheStoredContinuation) {
  std::vector<std::string> script = {"M1212 D1222 M1217 D1617 M1317 LL3   M1617 xaRFU XFILL XPADS"};
  for (const auto& l : ScriptLines({"M1623", "D1629", "GTXEU"}))
    script.push_back(l);
  for (const auto& l : ScriptLines({"M2723", "spIUR", "M2517", "D2717", "M2523", "D2723"}))
    script.push_back(l);
  Run(script);
  // Lead ends (128, 152), (128, 200), (200, 152), (200, 200).
  EXPECT_TRUE(HasLine({144, 200}, {128, 200}));
  EXPECT_TRUE(HasLine({200, 200}, {184, 200}));
  EXPECT_TRUE(HasLine({184, 152}, {200, 152}));
  EXPECT_TRUE(HasLine({128, 200}, {128, 248})) << "M1623 D1629 starts on the first winding";
  EXPECT_TRUE(HasLine({200, 152}, {216, 152})) << "M2517 D2717 starts on the second";
  EXPECT_TRUE(HasLine({200, 200}, {216, 200}));
  const auto arcs = Of(Kind::Arc);
  ASSERT_EQ(arcs.size(), 6u);
  EXPECT_EQ(arcs[0].points, (std::vector<Point>{{136, 152}, {152, 168}, {144, 168}, {144, 152}}));
  EXPECT_EQ(arcs[3].points, (std::vector<Point>{{176, 184}, {192, 200}, {184, 184}, {184, 200}}));
}

TEST_F(SymbolTest, SpeakerRunsUpSixRows) {
  RunTokens({"M2723", "spIUR"});  // (216, 200)
  EXPECT_TRUE(HasLine({216, 200}, {216, 152}));
  EXPECT_EQ(Of(Kind::Rectangle)[0].points, Box({208, 168}, {224, 184}));
  EXPECT_TRUE(HasLine({224, 184}, {232, 192}));
  EXPECT_TRUE(HasLine({232, 160}, {223, 169}));
  EXPECT_EQ(Current(), (Point{216, 152}));
}

TEST_F(SymbolTest, Switch) {
  RunTokens({"M1020", "swXXX"});  // (80, 176)
  const auto contacts = Of(Kind::Ellipse);
  ASSERT_EQ(contacts.size(), 2u);
  EXPECT_EQ(contacts[0].points, Box({77, 163}, {83, 157}));
  EXPECT_EQ(contacts[1].points, Box({77, 139}, {83, 133}));
  EXPECT_TRUE(HasLine({81, 158}, {88, 140}));
  EXPECT_TRUE(HasLine({80, 133}, {80, 120}));
  EXPECT_EQ(Current(), (Point{80, 120}));
}

TEST(TimerPinNumbers, EveryVariantAndPosition) {
  const std::vector<std::vector<std::string>> expected = {
      {"2", "6", "7", "4", "8", "3", "1", "5"},
      {"6", "2", "1", "4", "14", "5", "7", "3"},
      {"8", "12", "13", "10", "14", "9", "7", "11"}};
  const int variants[] = {0, 2, 3};
  for (size_t v = 0; v < 3; ++v)
    for (size_t p = 1; p <= 8; ++p)
      EXPECT_EQ(TimerPinNumber(variants[v], static_cast<int>(p)), expected[v][p - 1])
          << variants[v] << "/" << p;
}

TEST_F(SymbolTest, TimerChipBodyPinsAndName) {
  RunTokens({"M1620", "5551R"});  // anchor (128, 176)
  EXPECT_EQ(Of(Kind::Rectangle)[0].points, Box({136, 88}, {216, 200}));
  EXPECT_TRUE(HasLine({136, 176}, {128, 176})) << "trigger lead back to the anchor";
  EXPECT_TRUE(HasLine({160, 88}, {160, 80}));
  EXPECT_TRUE(HasLine({216, 144}, {224, 144}));
  EXPECT_TRUE(HasLine({192, 200}, {192, 208}));
  // Pin numbers in 9 points (6 × 15 recorded), h = 18 from the font on entry.
  EXPECT_EQ(TextOp("2").points[0], (Point{142, 167}));
  EXPECT_EQ(TextOp("3").points[0], (Point{216 - 9, 135}));
  EXPECT_EQ(TextOp("4").points[0], (Point{157, 92}));
  EXPECT_EQ(TextOp("1").points[0], (Point{189, 178}));
  EXPECT_EQ(TextOp("2").font.color, kNavy);
  EXPECT_EQ(TextOp("2").font.height, -12);
  const DrawOp name = TextOp("555");
  EXPECT_EQ(name.points[0], (Point{128 + 48 - 10, 128}));
  EXPECT_EQ(name.font.color, kRed);
  EXPECT_EQ(name.font.height, -15);
  EXPECT_EQ(Current(), (Point{128, 176}));
}

TEST_F(SymbolTest, UnitBPrintsItsTwoDigitLeftNumbersCloserToTheEdge) {
  State().TimerVariant = TimerVariant::Timer556B;
  RunTokens({"M1620", "5551R"});
  EXPECT_EQ(TextOp("8").points[0].x, 136 + 6);
  EXPECT_EQ(TextOp("12").points[0].x, 136 + 4);
  EXPECT_EQ(TextOp("13").points[0].x, 136 + 4);
  EXPECT_EQ(TextOp("556B").points[0], (Point{128 + 48 - 14, 128}));
  canvas.Clear();
  State().TimerVariant = TimerVariant::Timer556A;
  RunTokens({"M1620", "5551R"});
  EXPECT_EQ(TextOp("14").points[0], (Point{192 - 6, 92}));
  EXPECT_EQ(TextOp("556A").font.color, kRed);
}

TEST_F(SymbolTest, NpnTransistor) {
  RunTokens({"M2020", "tRN1x"});  // (160, 176)
  EXPECT_TRUE(HasLine({160, 176}, {176, 176}));
  EXPECT_TRUE(HasLine({176, 160}, {176, 192}));
  EXPECT_TRUE(HasLine({192, 192}, {192, 208}));
  EXPECT_TRUE(HasLine({192, 160}, {192, 144}));
  EXPECT_EQ(Of(Kind::Polygon)[0].points, (std::vector<Point>{{192, 192}, {180, 192}, {192, 180}}));
  EXPECT_EQ(TextOp("T1").points[0], (Point{161, 155}));
  EXPECT_EQ(Current(), (Point{192, 208}));
  EXPECT_EQ(canvas.BrushColor(), kWhite);
}

TEST_F(SymbolTest, PnpTransistorToTheLeft) {
  RunTokens({"M2020", "tLP2x"});
  EXPECT_EQ(Of(Kind::Polygon)[0].points, (std::vector<Point>{{144, 176}, {144, 164}, {132, 176}}));
  EXPECT_EQ(TextOp("T2").points[0], (Point{160 - 4 - 7, 155}));
  EXPECT_EQ(Current(), (Point{128, 208}));
}

TEST_F(SymbolTest, OpAmpSignsAndColours) {
  RunTokens({"M2020", "HBLUE", "OULL "});  // anchor (160, 176) is the lower input
  EXPECT_TRUE(HasLine({160, 176}, {160, 155}));
  EXPECT_TRUE(HasLine({160, 155}, {129, 170}));
  EXPECT_TRUE(HasLine({129, 170}, {124, 170}));
  for (const DrawOp& l : Lines()) {
    if (l.points[0] == Point{156, 176}) {
      EXPECT_EQ(l.pen.color, kBlue) << "minus drawn first";
    }
    if (l.points[0] == Point{156, 164}) {
      EXPECT_EQ(l.pen.color, kRed) << "plus on the upper input";
    }
    if (l.points[0] == Point{154, 162}) {
      EXPECT_EQ(l.pen.color, kRed);
    }
  }
  EXPECT_EQ(canvas.GetPen().color, kBlack);
  EXPECT_EQ(Current(), (Point{124, 170}));
}

TEST_F(SymbolTest, RelayExtents) {
  RunTokens({"M2020", "rXNIL"});  // (160, 176)
  EXPECT_EQ(Of(Kind::Rectangle)[0].points, Box({176, 168}, {192, 232}));
  const auto circles = Of(Kind::Ellipse);
  ASSERT_EQ(circles.size(), 3u);
  EXPECT_EQ(circles[0].points, Box({200, 109}, {206, 115}));
  EXPECT_EQ(Of(Kind::Arc).size(), 3u);
  EXPECT_EQ(Current(), (Point{160, 224}));
  EXPECT_EQ(canvas.PenPos(), (Point{160, 224}));
}

TEST_F(SymbolTest, TransformerEndsOnTheSecondaryUpperTerminal) {
  RunTokens({"M2020", "xp116"});
  EXPECT_EQ(Of(Kind::Arc).size(), 8u);
  EXPECT_TRUE(HasLine({232, 240}, {216, 240}));
  EXPECT_TRUE(HasLine({216, 160}, {232, 160}));
  EXPECT_EQ(Current(), (Point{232, 160}));
}

TEST_F(SymbolTest, LedLabelsAndSize) {
  RunTokens({"M2020", "lHRU1"});
  EXPECT_EQ(Of(Kind::Ellipse)[0].points, Box({164, 168}, {180, 184}));
  EXPECT_EQ(TextOp("LED1").points[0], (Point{160 + 12 - 14, 154}));
  EXPECT_EQ(Current(), (Point{184, 176}));
  canvas.Clear();
  RunTokens({"M2020", "lHRL1", "M2020", "lVUD1"});
  EXPECT_TRUE(Texts().empty());
  canvas.Clear();
  RunTokens({"M2020", "lVDR2"});
  EXPECT_EQ(Of(Kind::Ellipse)[0].points, Box({152, 180}, {168, 196}));
  EXPECT_EQ(TextOp("LED2").points[0], (Point{170, 186}));
  EXPECT_EQ(Current(), (Point{160, 200}));
}

TEST_F(SymbolTest, GridSymbolsDoubleOnAWidePageButPixelSymbolsDoNot) {
  canvas = RecordingCanvas(1200, 306);  // 16 × 8 grid
  RunTokens({"M1620", "5551R", "M2020", "OUR  ", "M0101", "lHRU1"});
  EXPECT_EQ(Of(Kind::Rectangle)[0].points, Box({272, 88}, {432, 200}));
  EXPECT_TRUE(HasLine({320, 176}, {320, 167})) << "op-amp still 31 × 30";
  EXPECT_TRUE(HasLine({320, 167}, {351, 182}));
  EXPECT_EQ(Current(), (Point{16 + 24, 24}));
}

}  // namespace
}  // namespace timer555
