#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/canvas.h"

namespace timer555 {

// The display scale: the double nearest 1.2, which lies just below it.
inline constexpr double kScaleFactor = 1.2;
inline constexpr const char* kFontName = "Comic Sans MS";
inline constexpr const char* kDefaultCaption = "Version 1.4";

// trunc(n × ScaleFactor) with the product formed exactly: trunc(1.2 n) where
// 1.2 n is not a whole number and 1.2 n − 1 where it is (10 → 11, 20 → 23).
std::int32_t ScaledSize(std::int32_t n) noexcept;

// The shared values of the design on show. Reals are in hertz, seconds,
// farads and ohms; the duty cycle is a fraction.
struct TimerDesignState {
  int DesignMode = 0;
  double Frequency = 0;
  double DutyCycle = 0;
  double PulseLength = 0;
  double C1 = 0;
  double C2 = 0;
  double C3 = 0;
  double C4 = 0;
  double R1 = 0;
  double R2 = 0;
  double R3 = 0;
  double C1Ref = 0;
  double R1Ref = 0;
  double R2Ref = 0;
  int E12Index = 0;
  int DecadeCount = 0;
  double THigh = 0;
  double TLow = 0;
  int FreqDecimals = 0;
  int DutyDecimals = 0;
};

// Which page shows and what a click on it may do.
struct PageState {
  // 0 start, application or data page; 1 design selection and the design
  // picked from it; 2 applications list; 3 data list; 4 help or companion page.
  std::uint8_t PageMode = 0;
  bool DesignPageShown = false;
  bool Calculated = false;
  int ApplicationIndex = 0;
  // Inclusive page-area pixel bounds, valid while Calculated is true.
  Rect CapacitorHitRect;
  std::array<Rect, 5> ResistorHitRects{};  // indexed 1 to 4
  int ResistorUnderCursor = 1;
  Rect SchematicRect;

  // A page or design that opens starts with no clickable parts: the next
  // drawing with values records those it has.
  void ClearHitRects() noexcept {
    CapacitorHitRect = {};
    ResistorHitRects = {};
  }
};

// The schematic renderer's settings, carried across tokens and across drawings.
struct DrawingState {
  std::int32_t GridUnitX = 0;
  std::int32_t GridUnitY = 0;
  std::int32_t OriginX = 0;
  std::int32_t OriginY = 0;
  std::int32_t CurX = 0;
  std::int32_t CurY = 0;
  std::uint8_t Orientation = 0;
  std::uint8_t Direction = 0;
  std::uint8_t LabelSide = 0;
  std::int32_t PartIndex = 0;
  std::int32_t FeedbackIndex = 0;
  std::uint8_t OpAmpPlusSide = 0;
  std::uint8_t OpAmpFacing = 0;
  std::uint8_t OpAmpAnchor = 0;
  std::uint8_t TransistorType = 0;
  std::uint8_t TimerVariant = 0;
};

// What the component adjustment dialog shows and compares against.
struct AdjustState {
  bool AdjustIsCapacitor = false;
  std::string AdjustNumber;
  std::string AdjustUnit;
  double AdjustReference = 0;
};

// The one instance of each process-wide state. Tests call Reset between cases.
class Global {
 public:
  static TimerDesignState& TimerDesign() noexcept;
  static PageState& Page() noexcept;
  static DrawingState& Drawing() noexcept;
  static AdjustState& Adjust() noexcept;
  static void Reset() noexcept;
};

}  // namespace timer555
