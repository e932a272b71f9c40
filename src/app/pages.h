#pragma once

#include <array>
#include <string>
#include <vector>

#include "components/string_holder.h"
#include "render/canvas.h"

namespace timer555 {

inline constexpr int kMenuItemCount = 6;
enum class MenuItem { Design, Applications, Data, Quit, Help, Companion, None };

// The captions in bar order; the last names the companion product.
const std::array<std::string, kMenuItemCount>& MenuCaptions();

// Item rectangles (top 0 to bottom at the bar height) and caption positions.
struct MenuLayout {
  int barHeight = 0;
  int gap = 0;
  std::array<int, kMenuItemCount> widths{};
  std::array<HitArea, kMenuItemCount> items{};
  std::array<Point, kMenuItemCount> captions{};
};

// The bar's height for a client height: trunc(client height × 0.12).
int MenuBarHeight(int clientHeight) noexcept;
MenuLayout LayoutMenuBar(const std::array<int, kMenuItemCount>& widths, int barHeight);
// Measures the captions in the menu font, draws the bottom line and the
// captions, and returns the layout the clicks are tested against.
MenuLayout DrawMenuBar(Canvas& canvas, int barHeight);
// The first item whose left..right (inclusive) holds x.
MenuItem MenuItemAt(const MenuLayout& layout, int x) noexcept;

// What a click at (x, y) picks on the selection pages of a width × height
// page area; the click handler and the screen readers' items both ask these.
// The design selection: 1 top left, 2 top right, 3 bottom left, 4 bottom right
// (the middle column and row belong to the left and upper designs).
int DesignAt(int x, int y, int width, int height) noexcept;
// The applications list: seven rows in two columns, 1 to 14.
int ApplicationAt(int x, int y, int width, int height) noexcept;
// The data list: the left half opens the component advice, the right half
// the specifications.
enum class DataPage { Components, Specifications };
DataPage DataPageAt(int x, int width) noexcept;
// The pixels of a width × height page that pick each of `count` items: item
// i (1-based) is the area of the pixels for which `at` gives i.
template <typename At>
std::vector<HitArea> PickAreas(int count, int width, int height, At at) {
  std::vector<HitArea> areas(static_cast<size_t>(count));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int item = at(x, y);
      if (item >= 1 && item <= count)
        areas[static_cast<size_t>(item - 1)] = areas[static_cast<size_t>(item - 1)].Including(x, y);
    }
  return areas;
}

void DrawStartPage(Canvas& canvas);
void DrawDesignSelection(Canvas& canvas, const TStringHolder& shDesign);
void DrawApplicationList(Canvas& canvas, const TStringHolder& shApps);
void DrawDataList(Canvas& canvas);
// The help and companion pages: one holder line a row, rows 1 and 12
// underlined, the web address right-aligned on row 13.
void DrawTextPage(Canvas& canvas, const TStringHolder& holder);

void DrawCalculateButton(Canvas& canvas);
// The 57 × 21 picture of the up and down arrows beside the "C1" and "Timer" buttons.
void DrawArrowsPicture(Canvas& canvas);
inline constexpr int kArrowsPictureWidth = 57;
inline constexpr int kArrowsPictureHeight = 21;

}  // namespace timer555
