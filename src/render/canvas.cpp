#include "render/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace timer555 {

namespace {

// a * b / c rounded half away from zero, as the desktop's MulDiv does.
int MulDiv(int a, int b, int c) noexcept {
  const std::int64_t num = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = c / 2;
  const std::int64_t q = num >= 0 ? (num + half) / c : (num - half) / c;
  return static_cast<int>(q);
}

std::int32_t Clamp32(std::int64_t v) noexcept {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

int FontHeightForSize(int points) noexcept {
  return -MulDiv(points, 96, 72);
}

int FontSizeForHeight(int height) noexcept {
  return -MulDiv(height, 72, 96);
}

void Canvas::LineTo(int x, int y) {
  DrawLine(pos_, {x, y});
  pos_ = {x, y};
}

void Canvas::TextOut(int x, int y, const std::string& text) {
  DrawText(x, y, text);
  pos_ = {Clamp32(static_cast<std::int64_t>(x) + TextWidth(text)), y};
}

void DottedVerticalLine(Canvas& canvas, int x, int yFrom, int yTo) {
  for (int y = yFrom | 1; y <= yTo; y += 2)
    canvas.SetPixel(x, y, kBlue);
}

void DottedHorizontalLine(Canvas& canvas, int y, int xFrom, int xTo) {
  for (int x = xFrom | 1; x <= xTo; x += 2)
    canvas.SetPixel(x, y, kBlue);
}

void FillPageWhite(Canvas& canvas) {
  canvas.SetBrushColor(kWhite);
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
}

ArcSweep ArcAngles(int left, int top, int right, int bottom, int startX, int startY, int endX,
                   int endY) noexcept {
  const double mx = (left + right) / 2.0, my = (top + bottom) / 2.0;
  const double a0 = std::atan2(my - startY, startX - mx);
  double a1 = std::atan2(my - endY, endX - mx);
  if (a1 <= a0) a1 += 2 * std::numbers::pi;
  return {a0, a1};
}

}  // namespace timer555
