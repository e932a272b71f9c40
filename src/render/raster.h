#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"

namespace timer555 {

// A view of 32-bit pixels 0xffRRGGBB, rows `stride` pixels apart. The
// rasterisers below clip to it themselves; callers may pass any coordinates.
class RasterTarget {
 public:
  RasterTarget(std::uint32_t* bits, int width, int height, int stride) noexcept
      : bits_(bits), width_(width), height_(height), stride_(stride) {}

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  void Plot(std::int64_t x, std::int64_t y, Color c) noexcept;
  void Span(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) noexcept;  // [x0, x1]
  std::uint32_t At(int x, int y) const noexcept { return bits_[y * stride_ + x]; }

 private:
  std::uint32_t* bits_;
  int width_;
  int height_;
  int stride_;
};

constexpr std::uint32_t PackColor(Color c) noexcept {
  return 0xff000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// A line from `from` to `to`. Width 1 paints the start pixel and leaves the end
// pixel; on an exact tie the pixel with the smaller minor coordinate wins, so a
// line and its reverse paint the same pixels apart from their ends. Wider pens
// stamp a width × width block (offset up and left) on every pixel, both ends
// included, which gives the 2-pixel band with square ends of a 2-pixel pen.
void RasterLine(RasterTarget& t, Point from, Point to, Color c, int width);

// The ellipse inscribed in the box: a pixel is inside when its centre lies in
// the ellipse. The inside is filled with `brush`, then a thin 8-connected
// outline is painted with `pen`.
void RasterEllipse(RasterTarget& t, Rect box, Color pen, Color brush);

// The outline pixels of the same ellipse whose centre direction lies on the
// counter-clockwise sweep from the ray through `start` to the ray through `end`.
// The same ray twice means the whole ellipse.
void RasterArc(RasterTarget& t, Rect box, Point start, Point end, Color pen);

// Even-odd scanline fill sampled at whole-number points (an edge covers rows
// [ymin, ymax), a span covers [ceil(xl), ceil(xr))), then the closed outline.
void RasterPolygon(RasterTarget& t, const std::vector<Point>& points, Color pen, int penWidth,
                   Color brush);

// A rectangle's 1-pixel outline and fill, the box's right and bottom edges
// excluded.
void RasterRectangle(RasterTarget& t, Rect box, Color pen, Color brush);

}  // namespace timer555
