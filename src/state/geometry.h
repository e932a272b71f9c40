#pragma once

#include <cstdint>

namespace timer555 {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  constexpr bool operator==(const Point&) const = default;
};

// A drawing box: left, top, right, bottom, the right and bottom edges
// excluded, as every drawing primitive takes it.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  constexpr bool operator==(const Rect&) const = default;

  constexpr bool IsEmpty() const noexcept { return right <= left || bottom <= top; }
  constexpr bool Contains(std::int64_t x, std::int64_t y) const noexcept {
    return left <= x && x < right && top <= y && y < bottom;
  }
};

// A clickable area: the pixels from left to right and top to bottom, every
// edge included. The default area holds no pixel.
struct HitArea {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = -1;
  std::int32_t bottom = -1;
  constexpr bool operator==(const HitArea&) const = default;

  constexpr bool IsEmpty() const noexcept { return right < left || bottom < top; }
  constexpr bool Contains(std::int64_t x, std::int64_t y) const noexcept {
    return left <= x && x <= right && top <= y && y <= bottom;
  }
  // The smallest area holding this one and the pixel (x, y).
  constexpr HitArea Including(std::int32_t x, std::int32_t y) const noexcept {
    if (IsEmpty()) return {x, y, x, y};
    return {x < left ? x : left, y < top ? y : top, x > right ? x : right, y > bottom ? y : bottom};
  }
};

}  // namespace timer555
