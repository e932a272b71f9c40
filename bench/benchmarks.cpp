// Timings of what a user waits for, each beside its floor:
//   DrawCircuit of every stored block and the Calculate click of every design
//   on the window's Qt canvases (goal: the slowest under 1 ms median), and
//   timer555-cli render of every page beside encoding a blank page as PNG.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <sstream>

#include "cli/cli.h"
#include "components/holders.h"
#include "design/design_pages.h"
#include "design/input_panel.h"
#include "design/plain_view.h"
#include "design/timer_equations.h"
#include "render/circuits.h"
#include "render/draw555.h"
#include "render/qt_canvas.h"
#include "state/global.h"

using namespace timer555;

namespace {

void DrawBlock(benchmark::State& state) {
  const StringHolders holders = LoadBuiltinHolders();
  TStringHolder buffer;
  LoadCircuitBlock(holders.SHCircuits, static_cast<int>(state.range(0)), buffer);
  QtCanvas canvas(650, 308);
  Global::Reset();
  Global::Page().PageMode = 1;
  Global::TimerDesign().R1 = 7213.475;
  Global::TimerDesign().C1 = 1e-7;
  for (auto _ : state)
    DrawCircuit(buffer, canvas, {0, 0, 650, 308}, true);
}
BENCHMARK(DrawBlock)->DenseRange(0, 17)->Unit(benchmark::kMicrosecond);

// From the Calculate click to the finished redraw: validation, the decade
// search, the schematic with values and the waveform.
void Calculate(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  QtCanvas page(650, 308), wave(203, 58);
  PlainView view(page, wave);
  StringHolders holders = LoadBuiltinHolders();
  Global::Reset();
  Global::Page().PageMode = 1;
  Global::TimerDesign().DesignMode = mode;
  OpenDesignPage(view, holders);
  view.text[Control::NumEdit1] = mode == 4 ? "1" : "1000";
  view.text[Control::NumEdit2] = mode == 2 ? "50" : mode == 3 ? "25" : "75";
  for (auto _ : state) {
    Global::TimerDesign().C1 = 1e-6;
    if (ValidateInput(view)) CalculateDesign(view, holders.SHBuffer);
  }
}
BENCHMARK(Calculate)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

const char* const kPages[] = {"start",      "designs",       "applications", "data",
                              "help",       "companion",     "design1",      "app7",
                              "components", "specifications"};

void RenderPage(benchmark::State& state) {
  const std::string file = "/tmp/timer555_bench_page.png";
  const std::string page = kPages[state.range(0)];
  state.SetLabel(page);
  std::ostringstream out, err;
  for (auto _ : state)
    RunCli({"render", page, "-o", file}, out, err);
}
BENCHMARK(RenderPage)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

// The floor of writing a page: a blank 650 × 308 picture encoded as PNG.
void EncodeBlankPng(benchmark::State& state) {
  QImage blank(650, 308, QImage::Format_RGB32);
  blank.fill(Qt::white);
  for (auto _ : state)
    blank.save("/tmp/timer555_bench_blank.png", "PNG");
}
BENCHMARK(EncodeBlankPng)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
