#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/pages.h"
#include "components/holders.h"
#include "design/application_pages.h"
#include "design/data_pages.h"
#include "state/global.h"
#include "support/recording_canvas.h"

namespace timer555 {
namespace {

using Kind = DrawOp::Kind;

// Recorded metrics at 10 points: 6 pixels a character, 16 high (the line step).
constexpr int kStep = 16;

class ReferencePageTest : public ::testing::Test {
 protected:
  void SetUp() override { Global::Reset(); }

  // As in the window: the list is drawn, then the picked page over it.
  void ShowApplication(int k) {
    DrawApplicationList(canvas, holders.SHApps);
    canvas.Clear();
    Global::Page().ApplicationIndex = k;
    ShowApplicationPage(canvas, holders);
  }
  std::vector<DrawOp> Texts() const { return canvas.OpsOf(Kind::Text); }
  // Index in the recording of the first text op with this text.
  size_t IndexOf(const std::string& text) const {
    const auto& ops = canvas.Ops();
    for (size_t i = 0; i < ops.size(); ++i)
      if (ops[i].kind == Kind::Text && ops[i].text == text) return i;
    ADD_FAILURE() << "no text " << text;
    return 0;
  }
  const DrawOp& Op(const std::string& text) const { return canvas.Ops()[IndexOf(text)]; }
  int Count(const std::string& text) const {
    const auto t = Texts();
    return static_cast<int>(
        std::count_if(t.begin(), t.end(), [&](const DrawOp& op) { return op.text == text; }));
  }

  StringHolders holders = LoadBuiltinHolders();
  RecordingCanvas canvas{650, 308};
};

TEST_F(ReferencePageTest, NotesThenTitleThenTheCircuitWithoutAClear) {
  ShowApplication(2);
  const auto& ops = canvas.Ops();
  EXPECT_EQ(ops[0].kind, Kind::FillRect);
  EXPECT_EQ(canvas.OpsOf(Kind::FillRect).size(), 1u) << "the circuit is drawn over the notes";
  const size_t title = IndexOf("Missing pulse detector");
  EXPECT_LT(IndexOf("T1: 2N3906"), title);
  EXPECT_GT(IndexOf("555"), title);
  const DrawOp& t = ops[title];
  EXPECT_EQ(t.points[0], (Point{16, 8}));
  EXPECT_TRUE(t.font.underline);
  EXPECT_EQ(t.font.height, -17) << "13 points";
  EXPECT_EQ(Op("555").font.height, -15) << "the circuit's own fonts";
  EXPECT_FALSE(Op("R1").font.underline);
  EXPECT_EQ(holders.SHBuffer.Line(0), holders.SHCircuits.Line(11 * 5 + 1));
}

TEST_F(ReferencePageTest, PartNoteEightLineStepsBelowTheFirst) {
  ShowApplication(2);
  EXPECT_EQ(Op("Set monostable pulse length").points[0], (Point{392, 48}));
  EXPECT_EQ(Op("T1: 2N3906").points[0], (Point{392, 48 + 8 * kStep}));
  EXPECT_EQ(Op("to be slightly longer than").font.height, -13);
}

TEST_F(ReferencePageTest, PulseWidthModulatorLabelsEndAtColumn18) {
  ShowApplication(10);
  for (const char* label : {"clock input", "modulation input"}) {
    const DrawOp& op = Op(label);
    EXPECT_EQ(op.points[0].x + 6 * static_cast<int>(std::string(label).size()), 144) << label;
  }
  EXPECT_EQ(Op("clock input").points[0].y, 164);
  EXPECT_EQ(Op("modulation input").points[0].y, 196);
}

TEST_F(ReferencePageTest, DcConverterAsterisksAreTallAndGreen) {
  ShowApplication(13);
  const auto texts = Texts();
  std::vector<DrawOp> stars;
  for (const DrawOp& op : texts)
    if (op.text == "*") stars.push_back(op);
  ASSERT_EQ(stars.size(), 2u);
  for (const DrawOp& s : stars) {
    EXPECT_EQ(s.font.height, -26);
    EXPECT_EQ(s.font.color, kGreen);
  }
  EXPECT_EQ(stars[0].points[0], (Point{256, 224}));
  EXPECT_EQ(stars[1].points[0], (Point{280, 248}));
  const DrawOp& note = Op("for CMOS timer, connect to Vcc.");
  EXPECT_EQ(note.font.height, -13);
  EXPECT_EQ(note.font.color, kGreen);
  EXPECT_EQ(note.points[0], (Point{296, 252}));
  EXPECT_EQ(Op("DC to DC converter").font.color, kBlack);
}

TEST_F(ReferencePageTest, ValuesOnlyOnApplicationsOneAndTwelve) {
  for (int k = 1; k <= 14; ++k) {
    Global::Reset();
    ShowApplication(k);
    int values = 0;
    for (const DrawOp& op : Texts()) {
      const bool chipName = op.text == "555" || op.text == "4020/4040";
      if (op.font.color == kRed && !chipName && !op.text.empty()) ++values;
    }
    EXPECT_EQ(values > 0, k == 1 || k == 12) << k;
  }
  ShowApplication(1);
  EXPECT_EQ(Count("10K"), 3);
  EXPECT_EQ(Count("1nF"), 2);
  EXPECT_EQ(Global::TimerDesign().C1, 1e-9);
  ShowApplication(12);
  EXPECT_EQ(Count("100uF"), 2);
  EXPECT_EQ(Count("1.5nF"), 1);
}

TEST_F(ReferencePageTest, TimerChipsPerApplication) {
  const int chips[] = {0, 1, 1, 1, 2, 2, 2, 0, 1, 1, 1, 1, 1, 1};
  for (int k = 1; k <= 14; ++k) {
    ShowApplication(k);
    EXPECT_EQ(Count("555"), chips[k - 1]) << k;
  }
  Global::Drawing().TimerVariant = TimerVariant::Timer556A;
  ShowApplication(6);
  EXPECT_EQ(Count("556A"), 2) << "a chosen 556 half shows on application pages";
  EXPECT_EQ(Count("555"), 0);
}

TEST_F(ReferencePageTest, VariantMarkers) {
  ShowApplication(8);
  const auto circles = canvas.OpsOf(Kind::Ellipse);
  ASSERT_GE(circles.size(), 2u);
  EXPECT_EQ(circles[0].points, (std::vector<Point>{{66, 50}, {94, 78}}));
  EXPECT_EQ(circles[1].points, (std::vector<Point>{{346, 50}, {374, 78}}));
  EXPECT_EQ(Op("1").points[0], (Point{80 - 3, 64 - 8}));
}

TEST_F(ReferencePageTest, ComponentPageFourteenLinesAtElevenPoints) {
  ShowComponentPage(canvas, holders);
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 14u);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].font.height, -15);
    EXPECT_EQ(texts[i].font.underline, i == 0 || i == 3 || i == 10) << i;
    EXPECT_EQ(texts[i].points[0], (Point{32, static_cast<int>(i) * 22}));
  }
  EXPECT_EQ(texts[13].text, "parasitics, which typically are in the 5 - 20 pF range.");
  EXPECT_FALSE(canvas.GetFont().underline);
}

TEST_F(ReferencePageTest, SpecificationTableColumnsRowsAndGrid) {
  ShowSpecificationPage(canvas, holders);
  // Column unit 9: X4 36, X20 180, X28 252, X43 387, X58 522, X62 558.
  const int lh = 16;
  const int row1 = 44 + (24 - lh) / 2;
  EXPECT_EQ(Op("Vcc").points[0], (Point{36, row1}));
  const DrawOp& condition = Op("5V");
  EXPECT_EQ(condition.points[0].x + 12, 238);
  EXPECT_EQ(condition.points[0].y, row1 + 24);
  EXPECT_EQ(Op("V").points[0].x + 6, 558);
  EXPECT_EQ(Op("MHz").points[0], (Point{558 - 18, 10 * 24 + row1}));
  EXPECT_EQ(Op("Bipolar 555").points[0], (Point{252 + (135 - 66) / 2, (44 - lh) / 2}));
  EXPECT_EQ(Op("CMOS 555").points[0].x, 387 + (135 - 48) / 2);
  EXPECT_EQ(Op("Threshhold current").points[0].y, row1 + 5 * 24);
  EXPECT_EQ(Op("0.01").points[0].x, 387 + (135 - 24) / 2);

  std::set<std::pair<int, int>> blue;
  for (const DrawOp& p : canvas.OpsOf(Kind::Pixel)) {
    EXPECT_EQ(p.color, kBlue);
    blue.insert({p.points[0].x, p.points[0].y});
  }
  EXPECT_TRUE(blue.count({180, 45}));
  EXPECT_FALSE(blue.count({180, 43})) << "the condition column starts under the header";
  EXPECT_TRUE(blue.count({252, 1}));
  EXPECT_TRUE(blue.count({522, 307}));
  EXPECT_TRUE(blue.count({37, 44}));
  EXPECT_TRUE(blue.count({557, 284}));
  EXPECT_FALSE(blue.count({38, 44})) << "odd coordinates only";
  for (int y = 0; y < 308; ++y) {
    EXPECT_FALSE(blue.count({36, y})) << "no line at X4";
    EXPECT_FALSE(blue.count({558, y})) << "no line at X62";
  }
  for (int x = 0; x < 650; ++x)
    EXPECT_FALSE(blue.count({x, 308})) << "none below row 11";
  EXPECT_EQ(Texts().size(), 2u + 55u);
}

TEST_F(ReferencePageTest, NarrowPagesDrawWhiteInsteadOfDividingByZero) {
  // Only white fills over the page: no text, no line, no division by zero.
  const auto expectOnlyWhite = [](const RecordingCanvas& c) {
    ASSERT_FALSE(c.Ops().empty());
    for (const DrawOp& op : c.Ops()) {
      EXPECT_EQ(op.kind, DrawOp::Kind::FillRect);
      EXPECT_EQ(op.brush, kWhite);
    }
    EXPECT_EQ(c.Ops().front().points[0], (Point{0, 0}));
    EXPECT_EQ(c.Ops().front().points[1], (Point{c.Width(), c.Height()}));
  };
  RecordingCanvas narrow(60, 30);
  EXPECT_NO_THROW(ShowSpecificationPage(narrow, holders));
  expectOnlyWhite(narrow);
  Global::Page().ApplicationIndex = 15;
  canvas.Clear();
  EXPECT_NO_THROW(ShowApplicationPage(canvas, holders));
  expectOnlyWhite(canvas);
}

}  // namespace
}  // namespace timer555
