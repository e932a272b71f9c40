#include "state/global.h"

#include <cstdlib>

namespace timer555 {

namespace {

TimerDesignState gDesign;
PageState gPage;
DrawingState gDrawing;
AdjustState gAdjust;

// kScaleFactor is exactly this many 2^-52ths.
constexpr std::int64_t kScaleMantissa = 5404319552844595;
static_assert(static_cast<double>(kScaleMantissa) / 4503599627370496.0 == kScaleFactor);

}  // namespace

__extension__ typedef __int128 Int128;

std::int32_t ScaledSize(std::int32_t n) noexcept {
  const Int128 product =
      static_cast<Int128>(n < 0 ? -static_cast<std::int64_t>(n) : n) * kScaleMantissa;
  const auto magnitude = static_cast<std::int64_t>(product >> 52);
  return static_cast<std::int32_t>(n < 0 ? -magnitude : magnitude);
}

TimerDesignState& Global::TimerDesign() noexcept {
  return gDesign;
}
PageState& Global::Page() noexcept {
  return gPage;
}
DrawingState& Global::Drawing() noexcept {
  return gDrawing;
}

AdjustState& Global::Adjust() noexcept {
  return gAdjust;
}

void Global::Reset() noexcept {
  gDesign = {};
  gPage = {};
  gDrawing = {};
  gAdjust = {};
}

}  // namespace timer555
