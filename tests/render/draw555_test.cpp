#include "render/draw555.h"

#include <climits>

#include "render/checked.h"
#include "render/script_fixture.h"

namespace timer555 {
namespace {

using Kind = DrawOp::Kind;

class DrawCircuitTest : public ScriptTest {};

TEST_F(DrawCircuitTest, SetUpSelectsTheSchematicFontAndGrid) {
  Run({});
  EXPECT_EQ(canvas.GetFont().name, "Comic Sans MS");
  EXPECT_EQ(canvas.FontSize(), 11);  // 10 points scaled by 1.2, truncated
  EXPECT_FALSE(canvas.GetFont().bold);
  EXPECT_EQ(canvas.GetPen().color, kBlack);
  EXPECT_EQ(canvas.BrushColor(), kWhite);
  EXPECT_EQ(State().GridUnitX, 8);
  EXPECT_EQ(State().GridUnitY, 8);
  EXPECT_TRUE(canvas.Ops().empty()) << "outside the design pages nothing is cleared";
}

TEST_F(DrawCircuitTest, EmptyHolderStillClearsTheRectangleOnDesignPages) {
  Global::Page().PageMode = PageMode::Designs;
  Run({});
  ASSERT_EQ(canvas.Ops().size(), 1u);
  const DrawOp& fill = canvas.Ops()[0];
  EXPECT_EQ(fill.kind, Kind::FillRect);
  EXPECT_EQ(fill.points[0], (Point{0, 0}));
  EXPECT_EQ(fill.points[1], (Point{650, 306}));
  EXPECT_EQ(fill.brush, kWhite);
}

TEST_F(DrawCircuitTest, NarrowRectangleCollapsesTheGrid) {
  TStringHolder holder;
  holder.SetStrings(ScriptLines({"M1620"}));
  DrawCircuit(holder, canvas, {5, 7, 79, 41}, false);
  EXPECT_EQ(State().GridUnitX, 0);
  EXPECT_EQ(State().GridUnitY, 0);
  EXPECT_EQ(Current(), (Point{5, 7}));
}

TEST_F(DrawCircuitTest, GridPointsOfMoveAndGroundLead) {
  RunTokens({"M1620"});
  EXPECT_EQ(Current(), (Point{128, 176}));
  EXPECT_EQ(canvas.PenPos(), (Point{128, 176}));
  RunTokens({"Z1620"});
  EXPECT_EQ(Current(), (Point{128 + 16, 160 + 8})) << "Z leaves the point on its ground";
  EXPECT_TRUE(HasLine({128, 160}, {144, 160}));
}

TEST_F(DrawCircuitTest, WiresFormAPolylineWithBlackEndPixels) {
  RunTokens({"M1206", "D1213", "D1613"});
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points[0], (Point{96, 64}));
  EXPECT_EQ(lines[0].points[1], (Point{96, 120}));
  EXPECT_EQ(lines[1].points[0], (Point{96, 120}));
  EXPECT_EQ(lines[1].points[1], (Point{128, 120}));
  const auto pixels = canvas.OpsOf(Kind::Pixel);
  ASSERT_EQ(pixels.size(), 2u);
  EXPECT_EQ(pixels[1].points[0], (Point{128, 120}));
  EXPECT_EQ(pixels[1].color, kBlack);
}

TEST_F(DrawCircuitTest, PenColourTokens) {
  RunTokens({"M0101", "HBLUE", "D0201", "Hblck", "D0301", "HBLCK", "D0401", "HXXXX", "D0501"});
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].pen.color, kBlue);
  EXPECT_EQ(lines[1].pen.color, kBlue) << "lower case changes nothing";
  EXPECT_EQ(lines[2].pen.color, kBlack);
  EXPECT_EQ(lines[3].pen.color, kBlack);
  for (const DrawOp& p : canvas.OpsOf(Kind::Pixel))
    EXPECT_EQ(p.color, kBlack);
  RunTokens({"HBLUE"});
  RunTokens({"M0101", "D0201"});
  EXPECT_EQ(Lines().back().pen.color, kBlack) << "every call starts black";
}

TEST_F(DrawCircuitTest, TerminalIsAnOpenCircleOnThePoint) {
  RunTokens({"T2003"});
  const auto e = canvas.OpsOf(Kind::Ellipse);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].points[0], (Point{156, 36}));
  EXPECT_EQ(e[0].points[1], (Point{164, 44}));
  EXPECT_EQ(e[0].brush, kWhite);
  EXPECT_EQ(canvas.PenPos(), (Point{160, 40}));
}

struct LabelCase {
  const char* token;
  Point at;
};

class LabelTest : public ScriptTest, public ::testing::WithParamInterface<LabelCase> {};

// Around the terminal at (160, 40): "Vcc" is 21 × 18 in the recorded metrics.
TEST_P(LabelTest, PlacesTheTextBySide) {
  RunTokens({"T2003", GetParam().token});
  const DrawOp text = Texts().at(0);
  EXPECT_EQ(text.points[0], GetParam().at);
  EXPECT_EQ(text.font.color, kGreen);
  EXPECT_EQ(canvas.GetFont().color, kBlack);
  EXPECT_EQ(Current(), (Point{160, 40})) << "a label does not move the point";
  EXPECT_EQ(canvas.PenPos(), (Point{GetParam().at.x + 21, GetParam().at.y}));
}

INSTANTIATE_TEST_SUITE_P(Sides, LabelTest,
                         ::testing::Values(LabelCase{"LLVcc", {160 - 42, 40 - 9}},
                                           LabelCase{"LRVcc", {160 + 10, 40 - 9}},
                                           LabelCase{"LUVcc", {160 - 10, 40 - 18}},
                                           LabelCase{"LDVcc", {160 - 10, 40 + 9}}));

TEST_F(DrawCircuitTest, LabelWithUnknownSideKeepsThePreviousSide) {
  RunTokens({"T2003", "LUVcc", "LxV o"});
  EXPECT_EQ(Texts().at(1).text, "V o");
  EXPECT_EQ(Texts().at(1).points[0], (Point{160 - 10, 40 - 18}));
  EXPECT_EQ(State().LabelSide, LabelSide::Up);
}

TEST_F(DrawCircuitTest, LabelTextKeepsItsBlanks) {
  RunTokens({"M0101", "LR2  "});
  EXPECT_EQ(Texts().at(0).text, "2  ");
}

TEST_F(DrawCircuitTest, SettingsPersistAcrossCalls) {
  RunTokens({"RHRU3", "P0700", "OUR L", "tLP5x"});
  Global::Page().ResistorHitRects = {};
  Run({});
  const DrawingState& st = State();
  EXPECT_EQ(st.Orientation, Orientation::Horizontal);
  EXPECT_EQ(st.Direction, Direction::Left);  // from "t"
  EXPECT_EQ(st.LabelSide, LabelSide::Up);
  EXPECT_EQ(st.PartIndex, 5);
  EXPECT_EQ(st.FeedbackIndex, 7);
  EXPECT_EQ(st.OpAmpPlusSide, OpAmpPlusSide::Upper);
  EXPECT_EQ(st.OpAmpFacing, OpAmpFacing::Right);
  EXPECT_EQ(st.OpAmpAnchor, OpAmpAnchor::UpperInput) << "a blank anchor letter keeps the setting";
  EXPECT_EQ(st.TransistorType, TransistorType::Pnp);
  // A resistor token whose letters are unknown draws with the kept settings:
  // horizontal from "RHRU3", towards the left from "tLP5x".
  RunTokens({"M1010", "R???3"});
  EXPECT_TRUE(HasLine({80, 96}, {74, 96}));
}

struct IndexCase {
  const char* token;
  int index;
};

class IndexDigitTest : public ScriptTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(IndexDigitTest, ZeroMeansTenOnlyForTwoTerminalParts) {
  RunTokens({"M1010", GetParam().token});
  EXPECT_EQ(State().PartIndex, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Tokens, IndexDigitTest,
                         ::testing::Values(IndexCase{"dVDL0", 10}, IndexCase{"CVDL0", 10},
                                           IndexCase{"RVDL0", 10}, IndexCase{"lVDL0", 10},
                                           IndexCase{"tRN0x", 0}, IndexCase{"5550R", 0},
                                           IndexCase{"dVDL7", 7}, IndexCase{"tRN7x", 7}));

TEST_F(DrawCircuitTest, FillerLineDrawsNothingAndChangesNothing) {
  RunTokens({"RVDL3"});
  canvas.Clear();
  const DrawingState before = State();
  RunTokens(
      {"XVDL2", "X1213", "XLV i", "XXXXX", "XFILL", "XPADS", "XNOOP", "XVOID", "XREST", "XSKIP"});
  EXPECT_TRUE(canvas.Ops().empty());
  EXPECT_EQ(State().PartIndex, before.PartIndex);
  EXPECT_EQ(State().CurY, before.CurY);
}

TEST_F(DrawCircuitTest, GroundIgnoresItsCharactersAndLeavesThePenOnTheLowestBar) {
  RunTokens({"M1629", "G1524"});
  const auto first = Lines();
  canvas.Clear();
  RunTokens({"M1629", "GTXEU", "D2029"});
  const auto second = Lines();
  ASSERT_EQ(second.size(), first.size() + 1);
  for (size_t i = 0; i < first.size(); ++i)
    EXPECT_EQ(first[i].points, second[i].points);
  EXPECT_EQ(second[0].points[0], (Point{120, 248}));
  EXPECT_EQ(second[0].points[1], (Point{136, 248}));
  EXPECT_EQ(second.back().points[0], (Point{129, 254})) << "the wire starts on the lowest bar";
}

TEST_F(DrawCircuitTest, InvertingStage) {
  RunTokens({"P0300", "Q2010"}, true);
  // Anchor (160, 80): the grounded plus input, the op-amp, its output terminal.
  EXPECT_TRUE(HasLine({160, 96}, {144, 96}));
  EXPECT_TRUE(HasLine({144, 96}, {144, 120}));
  EXPECT_TRUE(HasLine({136, 120}, {152, 120})) << "ground at (144, 120)";
  EXPECT_TRUE(HasLine({196, 86}, {212, 86})) << "output line to the terminal";
  const auto e = canvas.OpsOf(Kind::Ellipse);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].points[0], (Point{208, 82}));
  EXPECT_EQ(e[0].points[1], (Point{216, 90}));
  EXPECT_EQ(TextOp("V o").points[0], (Point{204, 94}));
  EXPECT_EQ(TextOp("V o").font.color, kGreen);
  // Feedback: up four rows from (144, 80), right one column, the resistor R3, back down.
  EXPECT_TRUE(HasLine({144, 80}, {144, 48}));
  EXPECT_TRUE(HasLine({144, 48}, {152, 48}));
  EXPECT_TRUE(HasLine({152, 48}, {158, 48}));
  EXPECT_EQ(TextOp("R3").points[0], (Point{152 + 18 - 7, 48 - 46}));
  EXPECT_TRUE(HasLine({188, 48}, {196, 48}));
  EXPECT_TRUE(HasLine({196, 48}, {196, 88}));
  EXPECT_EQ(Current(), (Point{188, 48}));
  EXPECT_EQ(canvas.GetFont().color, kBlack);
}

struct ErrorCase {
  const char* name;
  std::string line;
  std::string message;
  size_t linesBefore;  // wires drawn before the failing token
};

class ScriptErrorTest : public ScriptTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ScriptErrorTest, EndsTheDrawingAtTheToken) {
  const ErrorCase& c = GetParam();
  try {
    Run({c.line, "M0101 D0202"});
    FAIL() << "no error raised";
  } catch (const TimerError& e) {
    EXPECT_EQ(std::string(e.what()), c.message);
  }
  EXPECT_EQ(Lines().size(), c.linesBefore) << "what was drawn stays, nothing after it";
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ScriptErrorTest,
    ::testing::Values(
        ErrorCase{"ShortLine", "M0101 D0501", "Range check error", 1},
        ErrorCase{"ShortFieldLetter", "M0101 D0501 dVD", "Range check error", 1},
        ErrorCase{"LetterInColumn", "M0101 D0501 D1x20", "'1x' is not a valid integer value", 1},
        ErrorCase{"LetterInRow", "M0101 D0501 M12AB", "'AB' is not a valid integer value", 1},
        // A digit field cut short by the line's end is a range error, before any conversion.
        ErrorCase{"MissingIndexDigit", "M0101 D0501 RVDL", "Range check error", 1},
        ErrorCase{"RowCutShort", "M1206 D1213 D30", "Range check error", 1},
        ErrorCase{"ColumnCutShort", "M0101 D0501 M1", "Range check error", 1},
        ErrorCase{"StageCutShort", "M0101 D0501 Q12", "Range check error", 1},
        ErrorCase{"GroundLeadCutShort", "M0101 D0501 Z1", "Range check error", 1},
        ErrorCase{"FeedbackIndexMissing", "M0101 D0501 P", "Range check error", 1},
        ErrorCase{"ChipIndexMissing", "M0101 D0501 555", "Range check error", 1},
        ErrorCase{"TransistorIndexMissing", "M0101 D0501 tRN", "Range check error", 1},
        // The tenth token of a 58-character line is "M120": its row is cut short.
        ErrorCase{"TenthTokenCutShort",
                  "M0101 D0501 XFILL XFILL XFILL XFILL XFILL XFILL XFILL M120", "Range check error",
                  1},
        ErrorCase{"BlankInFeedbackIndex", "P 7", "' 7' is not a valid integer value", 0}),
    [](const auto& row) { return row.param.name; });

TEST_F(DrawCircuitTest, ShortLineRaisesAfterItsLastToken) {
  EXPECT_THROW(Run({"M0101 D0501 D0502", "M0101 D0202"}), TimerError);
  EXPECT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Current(), (Point{40, 32}));
}

TEST_F(DrawCircuitTest, HugeCoordinatesOverflow) {
  TStringHolder holder;
  holder.SetStrings({"M0101 RVDL2 M9999 D0101"});
  try {
    DrawCircuit(holder, canvas, {0, 0, INT_MAX, INT_MAX}, false);
    FAIL() << "no error raised";
  } catch (const TimerError& e) {
    EXPECT_EQ(std::string(e.what()), "Integer overflow");
  }
  EXPECT_EQ(State().PartIndex, 2) << "settings changed before the error stay";
  EXPECT_EQ(State().CurY, 3 * 61356675 + 36);  // the resistor's end, under the margin
  EXPECT_FALSE(Lines().empty());
}

TEST_F(DrawCircuitTest, NegativeRectangleWidthOverflowsInsteadOfWrapping) {
  TStringHolder holder;
  EXPECT_THROW(DrawCircuit(holder, canvas, {INT_MIN, 0, INT_MAX, 10}, false), TimerError);
}

TEST_F(DrawCircuitTest, MismatchedPartsLeaveThePenOnThePoint) {
  // A label moves the pen to the end of its text; a part that draws nothing
  // puts it back on the current point, so the next wire starts there.
  for (const char* part : {"RVRL1", "CVRL1", "RHUL1", "CHUL1"}) {
    Global::Reset();
    canvas.Clear();
    RunTokens({"M3015", "LRVcc", part, "D3030"});
    EXPECT_TRUE(HasLine({240, 136}, {240, 256})) << part;
  }
}

TEST_F(DrawCircuitTest, MismatchedDiodeOrTransistorLeavesTheBrushWhite) {
  for (const char* part : {"dVRL1", "tUN1x"}) {
    Global::Reset();
    canvas.Clear();
    RunTokens({"M3015", part, "T2003", "LRVcc"});
    for (const DrawOp& op : canvas.Ops()) {
      if (op.kind == DrawOp::Kind::Ellipse || op.kind == DrawOp::Kind::Text) {
        EXPECT_EQ(op.brush, kWhite) << part;
      }
    }
  }
}

}  // namespace
}  // namespace timer555
