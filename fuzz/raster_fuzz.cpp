// The Qt canvas's rasterisers on arbitrary 32-bit coordinates over a small
// image: every primitive stays inside the image's memory and costs time in
// proportion to what it shows, whatever its coordinates (libFuzzer's timeout
// catches a walk over an unclipped box).
#include <cstdint>
#include <cstring>
#include <vector>

#include "render/raster.h"

using namespace timer555;

namespace {

std::int32_t Take(const std::uint8_t*& data, size_t& size) {
  std::int32_t v = 0;
  const size_t n = size < sizeof v ? size : sizeof v;
  std::memcpy(&v, data, n);
  data += n;
  size -= n;
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int w = 1 + data[0] % 64;
  const int h = 1 + data[1] % 64;
  const std::uint8_t kind = data[2];
  data += 3;
  size -= 3;
  std::vector<std::uint32_t> bits(static_cast<size_t>(w * h), 0xffffffffu);
  RasterTarget target(bits.data(), w, h, w);
  const Color pen{0, 0, 0};
  const Color brush{0, 0, 255};
  switch (kind % 5) {
    case 0: {
      const Point a{Take(data, size), Take(data, size)};
      const Point b{Take(data, size), Take(data, size)};
      RasterLine(target, a, b, pen, 1 + (kind >> 3) % 3);
      break;
    }
    case 1: {
      const Rect box{Take(data, size), Take(data, size), Take(data, size), Take(data, size)};
      RasterEllipse(target, box, pen, brush);
      break;
    }
    case 2: {
      const Rect box{Take(data, size), Take(data, size), Take(data, size), Take(data, size)};
      const Point start{Take(data, size), Take(data, size)};
      const Point end{Take(data, size), Take(data, size)};
      RasterArc(target, box, start, end, pen);
      break;
    }
    case 3: {
      std::vector<Point> points;
      while (size >= 8 && points.size() < 16)
        points.push_back({Take(data, size), Take(data, size)});
      RasterPolygon(target, points, pen, 1 + (kind >> 3) % 2, brush);
      break;
    }
    default: {
      const Rect box{Take(data, size), Take(data, size), Take(data, size), Take(data, size)};
      RasterRectangle(target, box, pen, brush);
      break;
    }
  }
  return 0;
}
