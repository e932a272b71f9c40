#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/geometry.h"

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

// Which page shows, with the byte values the page state has always had.
enum class PageMode : std::uint8_t {
  Other = 0,         // the start page, an application or a data page
  Designs = 1,       // the design selection and the design picked from it
  Applications = 2,  // the applications list
  DataList = 3,      // the list of the two data pages
  TextPage = 4,      // the help or the companion page
};

// Which page shows and what a click on it may do.
struct PageState {
  timer555::PageMode PageMode = timer555::PageMode::Other;
  bool DesignPageShown = false;
  bool Calculated = false;
  int ApplicationIndex = 0;
  // Page-area pixels of the parts, valid while Calculated is true.
  HitArea CapacitorHitRect;
  std::array<HitArea, 5> ResistorHitRects{};  // indexed 1 to 4
  int ResistorUnderCursor = 1;
  Rect SchematicRect;

  // A page or design that opens starts with no clickable parts: the next
  // drawing with values records those it has.
  void ClearHitRects() noexcept {
    CapacitorHitRect = {};
    ResistorHitRects = {};
  }
};

// The renderer's settings, each with the byte values the script letters give.
enum class Orientation : std::uint8_t { Vertical = 0, Horizontal = 1 };
enum class Direction : std::uint8_t { Left = 0, Right = 1, Up = 2, Down = 3 };
enum class LabelSide : std::uint8_t { Left = 0, Right = 1, Up = 2, Down = 3 };
enum class OpAmpPlusSide : std::uint8_t { Upper = 0, Lower = 1 };
enum class OpAmpFacing : std::uint8_t { Left = 0, Right = 1 };
enum class OpAmpAnchor : std::uint8_t { UpperInput = 0, LowerInput = 1 };
enum class TransistorType : std::uint8_t { Npn = 0, Pnp = 1 };
// How the chip is drawn: a 555, or unit A or B of a 556. Any other byte draws a 555.
enum class TimerVariant : std::uint8_t { Timer555 = 0, Timer556A = 2, Timer556B = 3 };

// The schematic renderer's settings, carried across tokens and across drawings.
struct DrawingState {
  std::int32_t GridUnitX = 0;
  std::int32_t GridUnitY = 0;
  std::int32_t OriginX = 0;
  std::int32_t OriginY = 0;
  std::int32_t CurX = 0;
  std::int32_t CurY = 0;
  timer555::Orientation Orientation = timer555::Orientation::Vertical;
  timer555::Direction Direction = timer555::Direction::Left;
  timer555::LabelSide LabelSide = timer555::LabelSide::Left;
  std::int32_t PartIndex = 0;
  std::int32_t FeedbackIndex = 0;
  timer555::OpAmpPlusSide OpAmpPlusSide = timer555::OpAmpPlusSide::Upper;
  timer555::OpAmpFacing OpAmpFacing = timer555::OpAmpFacing::Left;
  timer555::OpAmpAnchor OpAmpAnchor = timer555::OpAmpAnchor::UpperInput;
  timer555::TransistorType TransistorType = timer555::TransistorType::Npn;
  timer555::TimerVariant TimerVariant = timer555::TimerVariant::Timer555;
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

// Keeps the process-wide state as it was when made and puts it back when it
// ends: a drawing for a file runs the window's routines without touching the
// window's own design.
class SavedGlobal {
 public:
  SavedGlobal()
      : design_(Global::TimerDesign()),
        page_(Global::Page()),
        drawing_(Global::Drawing()),
        adjust_(Global::Adjust()) {}
  ~SavedGlobal() {
    Global::TimerDesign() = design_;
    Global::Page() = page_;
    Global::Drawing() = drawing_;
    Global::Adjust() = adjust_;
  }
  SavedGlobal(const SavedGlobal&) = delete;
  SavedGlobal& operator=(const SavedGlobal&) = delete;

 private:
  TimerDesignState design_;
  PageState page_;
  DrawingState drawing_;
  AdjustState adjust_;
};

}  // namespace timer555
