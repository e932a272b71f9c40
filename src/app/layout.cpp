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

Box PlaceBeside(const Box& main, const Box& available, int wantedWidth, int wantedHeight,
                int minimumWidth, int minimumHeight) noexcept {
  constexpr int kGap = 8;
  const int areaRight = available.left + available.width;
  const int areaBottom = available.top + available.height;
  const int rightRoom = areaRight - (main.left + main.width) - kGap;
  const int leftRoom = main.left - available.left - kGap;
  const int belowRoom = areaBottom - (main.top + main.height) - kGap;
  const auto fit = [](int wanted, int room, int least) {
    return std::max(least, std::min(wanted, room));
  };
  const int height = fit(wantedHeight, available.height, minimumHeight);
  const int top = std::clamp(main.top, available.top, std::max(available.top, areaBottom - height));
  const int rightWidth = fit(wantedWidth, rightRoom, minimumWidth);
  const int leftWidth = fit(wantedWidth, leftRoom, minimumWidth);
  const int belowWidth = fit(wantedWidth, available.width, minimumWidth);
  const int belowHeight = fit(wantedHeight, belowRoom, minimumHeight);
  const Box right{std::min(main.left + main.width + kGap, areaRight - rightWidth), top, rightWidth,
                  height};
  const Box left{std::max(available.left, main.left - kGap - leftWidth), top, leftWidth, height};
  const Box below{
      std::clamp(main.left, available.left, std::max(available.left, areaRight - belowWidth)),
      main.top + main.height + kGap, belowWidth, belowHeight};
  // Of the places with room for the window's minimum, the one that shows
  // the most of it; where none has, the side with the most room.
  const auto shown = [](const Box& b, int room, int least) {
    return room >= least ? static_cast<long long>(b.width) * b.height : -1;
  };
  const long long scores[] = {shown(right, rightRoom, minimumWidth),
                              shown(left, leftRoom, minimumWidth),
                              shown(below, belowRoom, minimumHeight)};
  const Box places[] = {right, left, below};
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (scores[i] > scores[best]) best = i;
  if (scores[best] < 0) return rightRoom >= leftRoom ? right : left;
  return places[best];
}

}  // namespace timer555
