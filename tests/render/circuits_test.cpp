#include "render/circuits.h"

#include <gtest/gtest.h>

#include "components/holders.h"
#include "render/script_fixture.h"

namespace timer555 {
namespace {

const std::vector<std::string> kBlockNames = {
    "DESIGN1", "DESIGN2", "DESIGN3", "DESIGN4", "APPLIC1", "APPLIC2", "APPLIC3",
    "APPLIC4", "APPLIC5", "APPLIC6", "APPLIC7", "APPLIC8", "APPLIC9", "APPLI10",
    "APPLI11", "APPLI12", "APPLI13", "APPLI14", "APPLI15", "APPLI16"};

bool IsFiller(const std::string& token) {
  return token[0] == 'X';
}

class StoredCircuits : public ::testing::Test {
 protected:
  StringHolders holders = LoadBuiltinHolders();
  const TStringHolder& circuits = holders.SHCircuits;
};

TEST_F(StoredCircuits, TwentyBlocksOfElevenLines) {
  ASSERT_EQ(circuits.Count(), kCircuitBlockCount * kCircuitBlockLines);
  for (int b = 0; b < kCircuitBlockCount; ++b) {
    EXPECT_EQ(circuits.Line(kCircuitBlockLines * b), kBlockNames[static_cast<size_t>(b)]);
    for (int i = 1; i < kCircuitBlockLines; ++i) {
      const std::string& line = circuits.Line(kCircuitBlockLines * b + i);
      ASSERT_EQ(line.size(), static_cast<size_t>(kScriptLineLength)) << b << "/" << i;
      for (size_t sep = 6; sep <= 54; sep += 6)
        EXPECT_EQ(line[sep - 1], ' ') << b << "/" << i;
    }
  }
}

TEST_F(StoredCircuits, FillersAreXAndFourCapitalsAndOnlyTheLastTwoBlocksAreEmpty) {
  for (int b = 0; b < kCircuitBlockCount; ++b) {
    int drawn = 0;
    for (int i = 1; i < kCircuitBlockLines; ++i) {
      const std::string& line = circuits.Line(kCircuitBlockLines * b + i);
      for (int t = 0; t < 10; ++t) {
        const std::string token = line.substr(static_cast<size_t>(6 * t), 5);
        if (!IsFiller(token)) ++drawn;
      }
    }
    EXPECT_EQ(drawn == 0, b >= 18) << kBlockNames[static_cast<size_t>(b)];
  }
  // The trailing fillers of a listed line: design 1, line 2 ends in one.
  const std::string tail = circuits.Line(2).substr(54);
  EXPECT_EQ(tail[0], 'X');
  for (size_t i = 1; i < 5; ++i)
    EXPECT_TRUE(tail[i] >= 'A' && tail[i] <= 'Z') << tail;
}

TEST_F(StoredCircuits, SpotChecksOfTheListing) {
  EXPECT_EQ(circuits.Line(1), "M1620 5551R M1206 RVDL1 D1213 RVDL2 D1224 CVDL1 G1524 M2024");
  EXPECT_EQ(circuits.Line(11 * 11 + 1).substr(0, 47),
            "M1212 D1222 M1217 D1617 M1317 LL3   M1617 xaRFU");
  EXPECT_EQ(circuits.Line(11 * 17 + 10).substr(0, 53),
            "M5706 D5713 CVDR4 D5729 GXXXX XNTOG XWBMB T6206 LRV o");
}

TEST_F(StoredCircuits, BlocksLoadByPositionWithoutTheirName) {
  TStringHolder buffer;
  buffer.Add("left over");
  LoadCircuitBlock(circuits, ApplicationBlock(1), buffer);
  ASSERT_EQ(buffer.Count(), 10);
  EXPECT_EQ(buffer.Line(0), circuits.Line(45));
  EXPECT_EQ(buffer.Line(9), circuits.Line(54));
  LoadCircuitBlock(circuits, DesignBlock(4), buffer);
  EXPECT_EQ(buffer.Line(0), circuits.Line(34));
  // A holder renamed or reordered still loads by position.
  TStringHolder renamed;
  std::vector<std::string> lines = circuits.Strings();
  lines[0] = "SOMETHING";
  renamed.SetStrings(lines);
  LoadCircuitBlock(renamed, 0, buffer);
  EXPECT_EQ(buffer.Line(0), circuits.Line(1));
  LoadCircuitBlock(circuits, 20, buffer);
  EXPECT_EQ(buffer.Count(), 0);
}

struct PageSize {
  int width;
  int height;
};

class EveryBlock : public ::testing::TestWithParam<std::tuple<int, PageSize, bool, int>> {};

TEST_P(EveryBlock, DrawsWithoutError) {
  const auto [block, size, values, variant] = GetParam();
  Global::Reset();
  Global::Page().PageMode = values ? PageMode::Designs : PageMode::Other;
  Global::Drawing().TimerVariant = static_cast<TimerVariant>(variant);
  Global::TimerDesign().R1 = 7213.475;
  Global::TimerDesign().C1 = 1e-6;
  const StringHolders holders = LoadBuiltinHolders();
  TStringHolder buffer;
  LoadCircuitBlock(holders.SHCircuits, block, buffer);
  RecordingCanvas canvas(size.width, size.height);
  EXPECT_NO_THROW(DrawCircuit(buffer, canvas, {0, 0, size.width, size.height}, values));
  if (block < 18) {
    EXPECT_FALSE(canvas.OpsOf(DrawOp::Kind::Line).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(StandardAndDoubleWidth, EveryBlock,
                         ::testing::Combine(::testing::Range(0, kCircuitBlockCount),
                                            ::testing::Values(PageSize{650, 308},
                                                              PageSize{1300, 308}),
                                            ::testing::Bool(), ::testing::Values(0, 2, 3)));

// The design blocks record the hit rectangles of C1, R1 and (but for the
// one-shot) R2 where the design page's hover test looks for them.
TEST(DesignBlocks, StoreTheHitRectangles) {
  const StringHolders holders = LoadBuiltinHolders();
  for (int mode = 1; mode <= 4; ++mode) {
    Global::Reset();
    TStringHolder buffer;
    LoadCircuitBlock(holders.SHCircuits, DesignBlock(mode), buffer);
    RecordingCanvas canvas(650, 308);
    DrawCircuit(buffer, canvas, {0, 0, 650, 308}, true);
    const PageState& page = Global::Page();
    EXPECT_NE(page.CapacitorHitRect, HitArea{}) << mode;
    EXPECT_NE(page.ResistorHitRects[1], HitArea{}) << mode;
    EXPECT_EQ(page.ResistorHitRects[2] != HitArea{}, mode != 4) << mode;
  }
}

}  // namespace
}  // namespace timer555
