#pragma once

#include <array>
#include <string>

namespace timer555 {

// A control's place relative to its parent: left, top, width, height.
struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  constexpr bool operator==(const Box&) const = default;
};

// The start-up scaling by 120/100: edges become round(edge × 1.2), the far
// edges likewise, halves rounded away from zero.
int ScaleEdge(int edge) noexcept;
Box ScaleBox(const Box& designed) noexcept;

// The controls of the main window in declaration order.
enum class LayoutControl {
  Image1,
  Image2,
  GB1,
  Label1,
  Label2,
  Label3,
  GB2,
  RB1,
  RB2,
  Label4,
  Image3,
  Image4,
  GB3,
  Image5,
  NumEdit1,
  NumEdit2,
  ListBox1,
  Count
};
inline constexpr int kLayoutControlCount = static_cast<int>(LayoutControl::Count);

struct ControlLayout {
  const char* name;
  Box designed;
  Box scaled;  // after scaling and the creation adjustments
};

inline constexpr int kDesignedClientWidth = 542;
inline constexpr int kDesignedClientHeight = 292;

struct WindowLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  int menuBarHeight = 0;
  std::array<ControlLayout, kLayoutControlCount> controls{};
  const ControlLayout& operator[](LayoutControl c) const {
    return controls[static_cast<size_t>(c)];
  }
};

// The whole window as it stands after creation: scaled geometry, the entry
// fields 25 pixels high, the Calculate image enlarged once more, the menu bar
// trunc(0.12 × client height) high and the page area below it.
WindowLayout MainWindowLayout();

// The window's designed screen position, and where it goes on a screen whose
// available area is `available`: the designed position where the window fits,
// otherwise as near it as the area allows (its top-left corner when the
// window is larger than the area).
inline constexpr Box kDesignedWindowPlace = {323, 125, 0, 0};
Box FitWindowPosition(int width, int height, const Box& available) noexcept;

// Where a tool window goes beside the main window (`main`, its frame) within
// the screen's available area: to the right where its wanted size fits,
// else to the left, else below, else into the side with the most room; as
// wide and tall as that room allows down to its minimum, so it never covers
// the main window where the screen has any room beside it.
Box PlaceBeside(const Box& main, const Box& available, int wantedWidth, int wantedHeight,
                int minimumWidth, int minimumHeight) noexcept;

}  // namespace timer555
