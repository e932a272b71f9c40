// Exact pixels of schematic drawing on the Qt canvas.
#include <gtest/gtest.h>

#include "render/draw555.h"
#include "render/qt_canvas.h"
#include "state/global.h"

namespace timer555 {
namespace {

QRgb Rgb(Color c) {
  return qRgb(c.r, c.g, c.b);
}

TEST(QtSchematic, BlueWiresHaveBlackEndPixels) {
  Global::Reset();
  QtCanvas canvas(650, 308);
  TStringHolder holder;
  holder.SetStrings({"M0101 HBLUE D0501 M0103 D0503 HBLCK M0105 D0505 XFILL XFILL"});
  DrawCircuit(holder, canvas, {0, 0, 650, 308}, false);
  const QImage& img = canvas.Image();
  // Wires from (8, y) to (40, y) at y = 24 and 40 in blue, at 56 in black.
  for (int y : {24, 40}) {
    EXPECT_EQ(img.pixel(8, y), Rgb(kBlue));
    EXPECT_EQ(img.pixel(39, y), Rgb(kBlue));
    EXPECT_EQ(img.pixel(40, y), Rgb(kBlack)) << "the end pixel is set black";
    EXPECT_EQ(img.pixel(41, y), qRgb(255, 255, 255));
  }
  EXPECT_EQ(img.pixel(8, 56), Rgb(kBlack));
  EXPECT_EQ(img.pixel(40, 56), Rgb(kBlack));
}

TEST(QtSchematic, JunctionIsAFiveByFiveDotWithoutCorners) {
  Global::Reset();
  QtCanvas canvas(650, 308);
  TStringHolder holder;
  holder.SetStrings({"J1010 XFILL XFILL XFILL XFILL XFILL XFILL XFILL XFILL XFILL"});
  DrawCircuit(holder, canvas, {0, 0, 650, 308}, false);
  int painted = 0;
  for (int y = 92; y <= 100; ++y)
    for (int x = 76; x <= 84; ++x)
      painted += canvas.Image().pixel(x, y) != qRgb(255, 255, 255);
  // Rows of 2, 4, 4, 4, 2 pixels: each short line leaves its end pixel.
  EXPECT_EQ(painted, 16);
  EXPECT_EQ(canvas.Image().pixel(80, 96), Rgb(kBlack));
  EXPECT_EQ(canvas.Image().pixel(82, 96), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace timer555
