// Times a whole schematic redraw on the Qt canvas: every stored block, with
// values, at the window's page size. Prints the median of many runs per block.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/global.h"
#include "components/holders.h"
#include "design/design_pages.h"
#include "design/input_panel.h"
#include "design/plain_view.h"
#include "design/timer_equations.h"
#include "render/circuits.h"
#include "render/draw555.h"
#include "render/qt_canvas.h"

using namespace timer555;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  InstallFontSubstitutions();
  const StringHolders holders = LoadBuiltinHolders();
  constexpr int kRuns = 300;
  QtCanvas canvas(650, 308);
  Global::Page().PageMode = 1;
  Global::TimerDesign().R1 = 7213.475;
  Global::TimerDesign().R2 = 1500;
  Global::TimerDesign().C1 = 1e-6;
  Global::TimerDesign().C2 = 1e-8;
  for (int block = 0; block < 18; ++block) {
    TStringHolder buffer;
    LoadCircuitBlock(holders.SHCircuits, block, buffer);
    int tokens = 0;
    for (const std::string& line : buffer.Strings())
      for (size_t i = 0; i + 5 <= line.size(); i += 6)
        tokens += line[i] != 'X';
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
      const auto start = std::chrono::steady_clock::now();
      DrawCircuit(buffer, canvas, {0, 0, 650, 308}, true);
      times.push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    std::printf("block %2d  %3d tokens  median %8.1f us\n", block, tokens, times[kRuns / 2]);
  }
  // From the Calculate click to the finished redraw: validation, the decade
  // search, the schematic with values and the waveform, on the window's canvases.
  for (int mode = 1; mode <= 4; ++mode) {
    QtCanvas page(650, 308), wave(203, 58);
    PlainView view(page, wave);
    StringHolders h = LoadBuiltinHolders();
    Global::Reset();
    Global::Page().PageMode = 1;
    Global::TimerDesign().DesignMode = mode;
    OpenDesignPage(view, h);
    view.text[Control::NumEdit1] = mode == 4 ? "1" : "1000";
    view.text[Control::NumEdit2] = mode == 2 ? "50" : mode == 3 ? "25" : "75";
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
      Global::TimerDesign().C1 = 1e-6;
      const auto start = std::chrono::steady_clock::now();
      if (ValidateInput(view)) CalculateDesign(view, h.SHBuffer);
      times.push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    std::printf("calculate, design %d  median %8.1f us\n", mode, times[kRuns / 2]);
  }
  return 0;
}
