#include "app/layout.h"

#include <algorithm>

#include "app/pages.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr std::array<ControlLayout, kLayoutControlCount> kDesigned = {{
    {"Image1", {0, 0, 542, 37}, {}},
    {"Image2", {0, 37, 542, 255}, {}},
    {"GB1", {326, 47, 194, 111}, {}},
    {"Label1", {14, 23, 61, 16}, {}},
    {"Label2", {14, 52, 64, 16}, {}},
    {"Label3", {161, 52, 12, 16}, {}},
    {"GB2", {326, 161, 194, 47}, {}},
    {"RB1", {14, 21, 35, 19}, {}},
    {"RB2", {54, 21, 59, 19}, {}},
    {"Label4", {161, 23, 16, 16}, {}},
    {"Image3", {75, 79, 80, 19}, {}},
    {"Image4", {122, 18, 51, 19}, {}},
    {"GB3", {326, 211, 194, 73}, {}},
    {"Image5", {11, 21, 169, 48}, {}},
    {"NumEdit1", {93, 19, 62, 24}, {}},
    {"NumEdit2", {93, 48, 62, 24}, {}},
    {"ListBox1", {218, 233, 48, 26}, {}},
}};

}  // namespace

int ScaleEdge(int edge) noexcept {
  // edge × 6 / 5 rounded half away from zero, in integers.
  const long long twelve = static_cast<long long>(edge) * 12;
  return static_cast<int>(twelve >= 0 ? (twelve + 5) / 10 : -((-twelve + 5) / 10));
}

Box ScaleBox(const Box& d) noexcept {
  const int left = ScaleEdge(d.left);
  const int top = ScaleEdge(d.top);
  return {left, top, ScaleEdge(d.left + d.width) - left, ScaleEdge(d.top + d.height) - top};
}

WindowLayout MainWindowLayout() {
  WindowLayout w;
  w.clientWidth = ScaleEdge(kDesignedClientWidth);
  w.clientHeight = ScaleEdge(kDesignedClientHeight);
  w.controls = kDesigned;
  for (ControlLayout& c : w.controls)
    c.scaled = ScaleBox(c.designed);
  auto at = [&](LayoutControl c) -> Box& { return w.controls[static_cast<size_t>(c)].scaled; };
  at(LayoutControl::NumEdit1).height = ScaledSize(21);
  at(LayoutControl::NumEdit2).height = ScaledSize(21);
  at(LayoutControl::Image3).height = ScaledSize(at(LayoutControl::Image3).height);
  // The menu bar is aligned to the top and the page area fills the rest.
  w.menuBarHeight = MenuBarHeight(w.clientHeight);
  at(LayoutControl::Image1) = {0, 0, w.clientWidth, w.menuBarHeight};
  at(LayoutControl::Image2) = {0, w.menuBarHeight, w.clientWidth, w.clientHeight - w.menuBarHeight};
  return w;
}

Box FitWindowPosition(int width, int height, const Box& available) noexcept {
  const auto fit = [](int designed, int size, int start, int room) {
    return std::max(start, std::min(designed, start + room - size));
  };
  return {fit(kDesignedWindowPlace.left, width, available.left, available.width),
          fit(kDesignedWindowPlace.top, height, available.top, available.height), width, height};
}

}  // namespace timer555
