#include "render/raster.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace timer555 {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

constexpr std::uint32_t kWhitePixel = 0xffffffffu;

// A small white image with the set of non-white pixels as the view of a test.
class Image {
 public:
  Image(int w, int h) : w_(w), h_(h), bits_(static_cast<size_t>(w * h), kWhitePixel) {}
  RasterTarget Target() { return RasterTarget(bits_.data(), w_, h_, w_); }
  PixelSet Painted() const {
    PixelSet s;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (bits_[static_cast<size_t>(y * w_ + x)] != kWhitePixel) s.insert({x, y});
    return s;
  }
  std::uint32_t At(int x, int y) const { return bits_[static_cast<size_t>(y * w_ + x)]; }

 private:
  int w_;
  int h_;
  std::vector<std::uint32_t> bits_;
};

PixelSet LinePixels(Point a, Point b, int width = 1) {
  Image img(64, 64);
  RasterTarget t = img.Target();
  RasterLine(t, a, b, kBlack, width);
  return img.Painted();
}

TEST(RasterLine, PaintsStartLeavesEnd) {
  EXPECT_EQ(LinePixels({1, 1}, {4, 1}), (PixelSet{{1, 1}, {2, 1}, {3, 1}}));
  EXPECT_EQ(LinePixels({4, 1}, {1, 1}), (PixelSet{{4, 1}, {3, 1}, {2, 1}}));
  EXPECT_EQ(LinePixels({2, 5}, {2, 2}), (PixelSet{{2, 5}, {2, 4}, {2, 3}}));
  EXPECT_TRUE(LinePixels({3, 3}, {3, 3}).empty());
}

TEST(RasterLine, IntoTheLastCornerLeavesIt) {
  Image img(4, 4);
  RasterTarget t = img.Target();
  RasterLine(t, {0, 0}, {3, 3}, kBlack, 1);
  EXPECT_EQ(img.Painted(), (PixelSet{{0, 0}, {1, 1}, {2, 2}}));
}

TEST(RasterLine, TieTakesTheSmallerMinorCoordinate) {
  // From (0,0) to (4,2) the ideal y at x = 1 and x = 3 lies exactly halfway.
  EXPECT_EQ(LinePixels({0, 0}, {4, 2}), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(LinePixels({4, 2}, {0, 0}), (PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
}

TEST(RasterLine, ReverseLinePaintsTheSamePixelsApartFromTheEnds) {
  std::mt19937 rng(555);
  std::uniform_int_distribution<int> coord(0, 63);
  for (int i = 0; i < 2000; ++i) {
    const Point a{coord(rng), coord(rng)};
    const Point b{coord(rng), coord(rng)};
    PixelSet forward = LinePixels(a, b);
    PixelSet backward = LinePixels(b, a);
    forward.insert({b.x, b.y});
    backward.insert({a.x, a.y});
    ASSERT_EQ(forward, backward) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
}

TEST(RasterLine, WidthTwoPaintsABandWithSquareEnds) {
  PixelSet expected;
  for (int x = 1; x <= 5; ++x)
    expected.insert({x, 2}), expected.insert({x, 3});
  EXPECT_EQ(LinePixels({2, 3}, {5, 3}, 2), expected);
  EXPECT_EQ(LinePixels({5, 3}, {2, 3}, 2), expected);
  PixelSet vertical;
  for (int y = 1; y <= 4; ++y)
    vertical.insert({6, y}), vertical.insert({7, y});
  EXPECT_EQ(LinePixels({7, 2}, {7, 4}, 2), vertical);
}

TEST(RasterLine, HugeCoordinatesAreClippedNotWalked) {
  Image img(8, 8);
  RasterTarget t = img.Target();
  RasterLine(t, {-2000000000, 3}, {2000000000, 3}, kBlack, 1);
  RasterLine(t, {5, -2147483647 - 1}, {5, 2147483647}, kBlack, 2);
  const PixelSet p = img.Painted();
  for (int x = 0; x < 8; ++x)
    EXPECT_TRUE(p.count({x, 3})) << x;
  for (int y = 0; y < 8; ++y)
    EXPECT_TRUE(p.count({4, y}) && p.count({5, y})) << y;
}

TEST(RasterEllipse, StaysInsideTheBoxExcludingRightAndBottom) {
  for (int w = 1; w <= 12; ++w) {
    for (int h = 1; h <= 12; ++h) {
      Image img(20, 20);
      RasterTarget t = img.Target();
      RasterEllipse(t, {3, 4, 3 + w, 4 + h}, kBlack, kBlue);
      const PixelSet p = img.Painted();
      int minX = 99, maxX = -1, minY = 99, maxY = -1;
      for (auto [x, y] : p) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
      EXPECT_EQ(minX, 3) << w << "x" << h;
      EXPECT_EQ(maxX, 3 + w - 1) << w << "x" << h;
      EXPECT_EQ(minY, 4) << w << "x" << h;
      EXPECT_EQ(maxY, 4 + h - 1) << w << "x" << h;
    }
  }
}

TEST(RasterEllipse, OutlineWithPenFillWithBrush) {
  Image img(16, 16);
  RasterTarget t = img.Target();
  RasterEllipse(t, {0, 0, 9, 9}, kBlack, kBlue);
  EXPECT_EQ(img.At(4, 0), PackColor(kBlack));
  EXPECT_EQ(img.At(0, 4), PackColor(kBlack));
  EXPECT_EQ(img.At(8, 4), PackColor(kBlack));
  EXPECT_EQ(img.At(4, 8), PackColor(kBlack));
  EXPECT_EQ(img.At(4, 4), PackColor(kBlue));
  EXPECT_EQ(img.At(0, 0), kWhitePixel);
  // A 1 × 1 box is one pixel of outline.
  Image one(3, 3);
  RasterTarget t1 = one.Target();
  RasterEllipse(t1, {1, 1, 2, 2}, kBlack, kBlue);
  EXPECT_EQ(one.Painted(), (PixelSet{{1, 1}}));
  EXPECT_EQ(one.At(1, 1), PackColor(kBlack));
}

TEST(RasterEllipse, HugeBoxesAreClippedNotWalked) {
  // Four thousand million pixels wide: only the ten visible columns are walked.
  Image img(10, 10);
  RasterTarget t = img.Target();
  RasterEllipse(t, {-2000000000, 0, 2000000000, 10}, kBlack, kBlue);
  RasterArc(t, {-2000000000, 0, 2000000000, 10}, {0, 0}, {0, 0}, kBlack);
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(img.At(x, 0), PackColor(kBlack)) << x;  // the flat top of the outline
    EXPECT_EQ(img.At(x, 5), PackColor(kBlue)) << x;
    EXPECT_EQ(img.At(x, 9), PackColor(kBlack)) << x;
  }
}

TEST(RasterArc, RunsCounterClockwise) {
  Image img(32, 20);
  RasterTarget t = img.Target();
  RasterArc(t, {8, 0, 24, 16}, {16, 16}, {16, 0}, kBlack);
  const PixelSet p = img.Painted();
  ASSERT_FALSE(p.empty());
  std::set<int> columns;
  for (auto [x, y] : p)
    columns.insert(x);
  EXPECT_EQ(*columns.begin(), 16);
  EXPECT_EQ(*columns.rbegin(), 23);
  EXPECT_EQ(columns.size(), 8u);
}

TEST(RasterArc, SameRayTwiceIsTheWholeOutline) {
  Image a(20, 20), e(20, 20);
  RasterTarget ta = a.Target(), te = e.Target();
  RasterArc(ta, {2, 2, 14, 12}, {20, 7}, {20, 7}, kBlack);
  RasterEllipse(te, {2, 2, 14, 12}, kBlack, kWhite);
  EXPECT_EQ(a.Painted(), e.Painted());
}

TEST(RasterPolygon, FillsSampledPointsAndOutlines) {
  Image img(12, 12);
  RasterTarget t = img.Target();
  RasterPolygon(t, {{1, 1}, {8, 1}, {8, 6}, {1, 6}}, kBlack, 1, kBlue);
  EXPECT_EQ(img.At(1, 1), PackColor(kBlack));
  EXPECT_EQ(img.At(8, 6), PackColor(kBlack));
  EXPECT_EQ(img.At(4, 3), PackColor(kBlue));
  EXPECT_EQ(img.At(9, 3), kWhitePixel);
  EXPECT_EQ(img.At(4, 7), kWhitePixel);
}

TEST(RasterRectangle, ExcludesRightAndBottomEdges) {
  Image img(6, 6);
  RasterTarget t = img.Target();
  RasterRectangle(t, {0, 0, 1, 1}, kBlack, kBlue);
  EXPECT_EQ(img.Painted(), (PixelSet{{0, 0}}));
  RasterRectangle(t, {5, 5, 6, 6}, kBlack, kBlue);
  EXPECT_EQ(img.Painted(), (PixelSet{{0, 0}, {5, 5}}));
  Image box(6, 6);
  RasterTarget tb = box.Target();
  RasterRectangle(tb, {1, 1, 5, 4}, kBlack, kBlue);
  EXPECT_EQ(box.At(4, 3), PackColor(kBlack));
  EXPECT_EQ(box.At(5, 3), kWhitePixel);
  EXPECT_EQ(box.At(2, 2), PackColor(kBlue));
}

}  // namespace
}  // namespace timer555
