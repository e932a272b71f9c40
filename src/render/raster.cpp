#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace timer555 {

namespace {

using i64 = std::int64_t;
__extension__ typedef __int128 i128;

i128 FloorDiv(i128 a, i128 b) noexcept {
  // b > 0
  i128 q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}

i128 CeilDiv(i128 a, i128 b) noexcept {
  return -FloorDiv(-a, b);
}

// Rounds p / q (q > 0) to the nearest integer, halves going down.
i64 RoundHalfDown(i128 p, i128 q) noexcept {
  return static_cast<i64>(FloorDiv(2 * p + q - 1, 2 * q));
}

Rect Normalized(Rect r) noexcept {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

// Largest integer whose square is at most v.
i64 ISqrt(long double v) noexcept {
  if (v <= 0) return 0;
  i64 s = static_cast<i64>(std::sqrt(v));
  while (s > 0 && static_cast<long double>(s) * s > v)
    --s;
  while (static_cast<long double>(s + 1) * (s + 1) <= v)
    ++s;
  return s;
}

// Horizontal extent of the inscribed ellipse on one row of its box, in pixels.
struct RowSpan {
  i64 left = 0;
  i64 right = -1;
  bool Empty() const noexcept { return right < left; }
};

// The largest doubled offset, of the parity of a pixel centre along an axis
// of doubled length `along`, inside the ellipse at doubled offset `across` on
// the other axis (of doubled length `other`); at least the middle pixel.
i64 HalfExtent(i64 along, i64 other, i64 across) noexcept {
  const long double q =
      static_cast<long double>(along) * along *
      (static_cast<long double>(other) * other - static_cast<long double>(across) * across) /
      (static_cast<long double>(other) * other);
  i64 e = ISqrt(q);
  if (((e ^ (along + 1)) & 1) != 0) --e;
  return std::max(e, (along + 1) & 1);
}

class EllipseRows {
 public:
  explicit EllipseRows(Rect box) noexcept
      : box_(box), w_(i64{box.right} - box.left), h_(i64{box.bottom} - box.top) {}

  bool Empty() const noexcept { return w_ <= 0 || h_ <= 0; }

  RowSpan Row(i64 y) const noexcept {
    if (y < box_.top || y >= box_.bottom) return {};
    // Doubled coordinates relative to the centre of the box: the pixel centre
    // of row y is Y, the semi-axes are w and h. A pixel belongs to the
    // ellipse when its centre lies inside it, or when it is the row's or the
    // column's middle pixel, so that thin ellipses still touch all four
    // sides of their box.
    const i64 absY = std::llabs(2 * y + 1 - box_.top - box_.bottom);
    i64 xmax = HalfExtent(w_, h_, absY);
    // The widest column pair whose own extent still reaches this row.
    const i64 parity = (w_ + 1) & 1;
    i64 lo = 0;
    i64 hi = (w_ - 1 - parity) / 2;
    while (lo < hi) {
      const i64 mid = (lo + hi + 1) / 2;
      if (HalfExtent(h_, w_, parity + 2 * mid) >= absY)
        lo = mid;
      else
        hi = mid - 1;
    }
    xmax = std::max(xmax, parity + 2 * lo);
    const i64 sum = i64{box_.left} + box_.right - 1;
    return {(sum - xmax) / 2, (sum + xmax) / 2};
  }

  // The neighbouring row on the side of the nearer top or bottom edge.
  i64 OuterNeighbour(i64 y) const noexcept {
    return 2 * y + 1 <= i64{box_.top} + box_.bottom ? y - 1 : y + 1;
  }

  // The outline pixels of rows yFrom..yTo whose x lies in xFrom..xTo: only
  // what is visible is walked, so a box of any size costs what it shows.
  template <typename F>
  void ForEachOutlinePixel(i64 yFrom, i64 yTo, i64 xFrom, i64 xTo, F&& f) const {
    const auto run = [&](i64 from, i64 to, i64 y) {
      for (i64 x = std::max(from, xFrom); x <= std::min(to, xTo); ++x)
        f(x, y);
    };
    for (i64 y = yFrom; y <= yTo; ++y) {
      const RowSpan s = Row(y);
      if (s.Empty()) continue;
      const RowSpan n = Row(OuterNeighbour(y));
      if (n.Empty()) {
        run(s.left, s.right, y);
        continue;
      }
      const i64 leftEnd = std::max(s.left, n.left - 1);
      const i64 rightStart = std::min(s.right, n.right + 1);
      run(s.left, leftEnd, y);
      run(std::max(rightStart, leftEnd + 1), s.right, y);
    }
  }

  i64 Top() const noexcept { return box_.top; }
  i64 Bottom() const noexcept { return box_.bottom; }

 private:
  Rect box_;
  i64 w_;
  i64 h_;
};

}  // namespace

void RasterTarget::Plot(i64 x, i64 y, Color c) noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  bits_[y * stride_ + x] = PackColor(c);
}

void RasterTarget::Span(i64 y, i64 x0, i64 x1, Color c) noexcept {
  if (y < 0 || y >= height_) return;
  x0 = std::max<i64>(x0, 0);
  x1 = std::min<i64>(x1, width_ - 1);
  const std::uint32_t v = PackColor(c);
  for (i64 x = x0; x <= x1; ++x)
    bits_[y * stride_ + x] = v;
}

void RasterLine(RasterTarget& t, Point from, Point to, Color c, int width) {
  const i64 dx = i64{to.x} - from.x;
  const i64 dy = i64{to.y} - from.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const i64 n = xMajor ? std::llabs(dx) : std::llabs(dy);
  const i64 dMinor = xMajor ? dy : dx;
  const i64 step = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const i64 startMajor = xMajor ? from.x : from.y;
  const i64 startMinor = xMajor ? from.y : from.x;
  const i64 lastI = width > 1 ? n : n - 1;  // wide pens paint both ends
  if (lastI < 0) return;

  // Only the steps whose major coordinate can touch the target are walked, so
  // a line of any length costs at most one pass over the image.
  const i64 reach = width > 1 ? width : 1;
  const i64 limit = (xMajor ? t.Width() : t.Height()) + reach;
  i64 iFrom = 0;
  i64 iTo = lastI;
  if (step > 0) {
    iFrom = std::max<i64>(iFrom, -reach - startMajor);
    iTo = std::min<i64>(iTo, limit - startMajor);
  } else {
    iFrom = std::max<i64>(iFrom, startMajor - limit);
    iTo = std::min<i64>(iTo, startMajor + reach);
  }
  const i64 offset = width > 1 ? width / 2 : 0;
  for (i64 i = iFrom; i <= iTo; ++i) {
    const i64 major = startMajor + step * i;
    const i64 minor = n == 0 ? startMinor : startMinor + RoundHalfDown(i128{dMinor} * i, n);
    const i64 x = xMajor ? major : minor;
    const i64 y = xMajor ? minor : major;
    if (width <= 1) {
      t.Plot(x, y, c);
      continue;
    }
    for (i64 k = 0; k < width; ++k)
      t.Span(y - offset + k, x - offset, x - offset + width - 1, c);
  }
}

void RasterEllipse(RasterTarget& t, Rect box, Color pen, Color brush) {
  box = Normalized(box);
  const EllipseRows rows(box);
  if (rows.Empty()) return;
  const i64 yFrom = std::max<i64>(rows.Top(), 0);
  const i64 yTo = std::min<i64>(rows.Bottom() - 1, t.Height() - 1);
  for (i64 y = yFrom; y <= yTo; ++y) {
    const RowSpan s = rows.Row(y);
    if (!s.Empty()) t.Span(y, s.left, s.right, brush);
  }
  rows.ForEachOutlinePixel(yFrom, yTo, 0, t.Width() - 1, [&](i64 x, i64 y) { t.Plot(x, y, pen); });
}

void RasterArc(RasterTarget& t, Rect box, Point start, Point end, Color pen) {
  box = Normalized(box);
  const EllipseRows rows(box);
  if (rows.Empty()) return;
  // Doubled coordinates around the box centre with y pointing up, so that a
  // positive cross product means counter-clockwise on the screen.
  const i64 cx2 = i64{box.left} + box.right;
  const i64 cy2 = i64{box.top} + box.bottom;
  const i128 su = 2 * i64{start.x} - cx2;
  const i128 sv = cy2 - 2 * i64{start.y};
  const i128 eu = 2 * i64{end.x} - cx2;
  const i128 ev = cy2 - 2 * i64{end.y};
  const i128 spanCross = su * ev - sv * eu;
  const bool sameRay = spanCross == 0 && (su * eu + sv * ev) > 0;
  const bool degenerate = (su == 0 && sv == 0) || (eu == 0 && ev == 0);
  auto inSweep = [&](i64 x, i64 y) {
    if (sameRay || degenerate) return true;
    const i128 pu = 2 * x + 1 - cx2;
    const i128 pv = cy2 - (2 * y + 1);
    const i128 sp = su * pv - sv * pu;  // start → pixel
    const i128 pe = pu * ev - pv * eu;  // pixel → end
    if (spanCross > 0) return sp >= 0 && pe >= 0;
    const i128 ep = eu * pv - ev * pu;  // end → pixel
    const i128 ps = pu * sv - pv * su;  // pixel → start
    return !(ep > 0 && ps > 0);
  };
  const i64 yFrom = std::max<i64>(rows.Top(), 0);
  const i64 yTo = std::min<i64>(rows.Bottom() - 1, t.Height() - 1);
  rows.ForEachOutlinePixel(yFrom, yTo, 0, t.Width() - 1, [&](i64 x, i64 y) {
    if (inSweep(x, y)) t.Plot(x, y, pen);
  });
}

void RasterPolygon(RasterTarget& t, const std::vector<Point>& points, Color pen, int penWidth,
                   Color brush) {
  if (points.empty()) return;
  i64 yMin = points.front().y;
  i64 yMax = points.front().y;
  for (const Point& p : points) {
    yMin = std::min<i64>(yMin, p.y);
    yMax = std::max<i64>(yMax, p.y);
  }
  yMin = std::max<i64>(yMin, 0);
  yMax = std::min<i64>(yMax, t.Height());
  std::vector<i64> crossings;
  const size_t n = points.size();
  for (i64 y = yMin; y < yMax; ++y) {
    crossings.clear();
    for (size_t i = 0; i < n; ++i) {
      const Point a = points[i];
      const Point b = points[(i + 1) % n];
      if (a.y == b.y) continue;
      const Point lo = a.y < b.y ? a : b;
      const Point hi = a.y < b.y ? b : a;
      if (y < lo.y || y >= hi.y) continue;
      const i128 den = i64{hi.y} - lo.y;
      const i128 num = i128{lo.x} * den + i128{y - lo.y} * (i64{hi.x} - lo.x);
      crossings.push_back(static_cast<i64>(CeilDiv(num, den)));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      if (crossings[k] < crossings[k + 1]) t.Span(y, crossings[k], crossings[k + 1] - 1, brush);
    }
  }
  for (size_t i = 0; i < n; ++i)
    RasterLine(t, points[i], points[(i + 1) % n], pen, penWidth);
}

void RasterRectangle(RasterTarget& t, Rect box, Color pen, Color brush) {
  box = Normalized(box);
  if (box.right <= box.left || box.bottom <= box.top) return;
  const i64 r = i64{box.right} - 1;
  const i64 b = i64{box.bottom} - 1;
  for (i64 y = std::max<i64>(box.top, 0); y <= std::min<i64>(b, t.Height() - 1); ++y) {
    const bool edgeRow = y == box.top || y == b;
    if (edgeRow) {
      t.Span(y, box.left, r, pen);
    } else {
      t.Plot(box.left, y, pen);
      t.Span(y, i64{box.left} + 1, r - 1, brush);
      t.Plot(r, y, pen);
    }
  }
}

}  // namespace timer555
