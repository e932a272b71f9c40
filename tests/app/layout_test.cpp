#include "app/layout.h"

#include <gtest/gtest.h>

#include "state/global.h"

namespace timer555 {
namespace {

TEST(ScaledSize, TruncatesBelowWholeProducts) {
  const std::pair<int, int> rows[] = {{8, 9},   {10, 11}, {16, 19}, {20, 23}, {21, 25},
                                      {23, 27}, {5, 5},   {0, 0},   {1, 1},   {-10, -11}};
  for (auto [n, expected] : rows)
    EXPECT_EQ(ScaledSize(n), expected) << n;
}

TEST(ScaleEdge, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(ScaleEdge(326), 391);  // 391.2
  EXPECT_EQ(ScaleEdge(47), 56);    // 56.4
  EXPECT_EQ(ScaleEdge(98), 118);   // 117.6
  EXPECT_EQ(ScaleEdge(-98), -118);
  EXPECT_EQ(ScaleEdge(0), 0);
}

TEST(MainWindowLayout, MatchesTheScaledTable) {
  const WindowLayout w = MainWindowLayout();
  EXPECT_EQ(w.clientWidth, 650);
  EXPECT_EQ(w.clientHeight, 350);
  EXPECT_EQ(w.menuBarHeight, 42);
  const std::pair<LayoutControl, Box> rows[] = {
      {LayoutControl::GB1, {391, 56, 233, 134}},    {LayoutControl::GB2, {391, 193, 233, 57}},
      {LayoutControl::NumEdit1, {112, 23, 74, 25}}, {LayoutControl::RB1, {17, 25, 42, 23}},
      {LayoutControl::NumEdit2, {112, 58, 74, 25}}, {LayoutControl::RB2, {65, 25, 71, 23}},
      {LayoutControl::Image3, {90, 95, 96, 27}},    {LayoutControl::Image4, {146, 22, 62, 22}},
      {LayoutControl::GB3, {391, 253, 233, 88}},    {LayoutControl::Image5, {13, 25, 203, 58}},
      {LayoutControl::Image1, {0, 0, 650, 42}},     {LayoutControl::Image2, {0, 42, 650, 308}},
  };
  for (const auto& [control, box] : rows)
    EXPECT_EQ(w[control].scaled, box) << w[control].name;
  EXPECT_EQ(w[LayoutControl::Label1].scaled.left, 17);
  EXPECT_EQ(w[LayoutControl::Label4].scaled.left, 193);
  EXPECT_EQ(w[LayoutControl::Label2].scaled.top, 62);
}

TEST(FitWindowPosition, KeepsTheDesignedPlaceWhereTheWindowFits) {
  struct Row {
    Box available;
    int left, top;
  } rows[] = {
      {{0, 0, 1920, 1080}, 323, 125},  // fits: the designed place
      {{0, 0, 960, 540}, 310, 125},    // a 1920-wide screen scaled by two
      {{0, 0, 800, 400}, 150, 50},     // moved up and left just enough
      {{100, 30, 600, 300}, 100, 30},  // too small: the area's corner
      {{-1920, 0, 1920, 1080}, -650, 125},
  };
  for (const Row& r : rows) {
    const Box place = FitWindowPosition(650, 350, r.available);
    EXPECT_EQ(place.left, r.left) << r.available.left << " " << r.available.width;
    EXPECT_EQ(place.top, r.top) << r.available.top << " " << r.available.height;
  }
}

// The tool window beside the main window (frame 652 x 370 at 323, 125):
// right where it fits, else where most of it shows, never over the main
// window while any side has room for its minimum.
TEST(PlaceBeside, RightWhereItFitsElseWhereMostShows) {
  const Box main{323, 125, 652, 370};
  const struct {
    Box available;
    Box place;
  } rows[] = {
      // 2560 x 1440: the whole wanted window to the right.
      {{0, 0, 2560, 1440}, {983, 125, 930, 700}},
      // 1920 x 1080: narrower to the right beats shorter below.
      {{0, 0, 1920, 1080}, {983, 125, 930, 700}},
      // 1280 x 900: below, as wide as wanted, as tall as the room.
      {{0, 0, 1280, 900}, {323, 503, 930, 397}},
      // 1280 x 720 (a doubled 2560 x 1440): the left side shows the most.
      {{0, 0, 1280, 720}, {0, 20, 315, 700}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(PlaceBeside(main, row.available, 930, 700, 300, 200), row.place)
        << row.available.width << " x " << row.available.height;
  // No side with room for the minimum: the larger side, inside the screen.
  const Box cramped = PlaceBeside(main, {0, 0, 1100, 500}, 930, 700, 300, 200);
  EXPECT_GE(cramped.left, 0);
  EXPECT_LE(cramped.left + cramped.width, 1100);
  EXPECT_LE(cramped.top + cramped.height, 500);
}

}  // namespace
}  // namespace timer555
