// Timings of what a user waits for, each beside its floor:
//   DrawCircuit of every stored block and the Calculate click of every design
//   on the window's Qt canvases (goal: the slowest under 1 ms median), and
//   timer555-cli render of every page beside encoding a blank page as PNG.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <sstream>
#include <vector>

#include "analysis/check.h"
#include "analysis/parts.h"
#include "cli/cli.h"
#include "components/holders.h"
#include "design/design_pages.h"
#include "design/input_panel.h"
#include "design/plain_view.h"
#include "design/timer_equations.h"
#include "render/circuits.h"
#include "render/draw555.h"
#include "render/qt_canvas.h"
#include "simulation/ngspice.h"
#include "state/global.h"

using namespace timer555;

namespace {

void DrawBlock(benchmark::State& state) {
  const StringHolders holders = LoadBuiltinHolders();
  TStringHolder buffer;
  LoadCircuitBlock(holders.SHCircuits, static_cast<int>(state.range(0)), buffer);
  QtCanvas canvas(650, 308);
  Global::Reset();
  Global::Page().PageMode = PageMode::Designs;
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
  Global::Page().PageMode = PageMode::Designs;
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

// The standard-value search for each design over each series (goal: under
// 1 ms for E96) and the whole real-world check.
void StandardValueSearch(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  const auto series = static_cast<Series>(state.range(1));
  DesignSnapshot s;
  s.kind = static_cast<DesignKind>(mode);
  s.c1 = mode == 4 ? 1e-4 : 1e-7;
  s.frequency = 1000;
  s.dutyCycle = mode == 1 ? 0.75 : mode == 2 ? 0.5 : 0.25;
  s.pulseLength = 1;
  s.r1 = 3606.7;
  s.r2 = mode == 2 ? 4700 : 10820.2;
  for (auto _ : state)
    benchmark::DoNotOptimize(StandardChoices(s, {}, series));
}
BENCHMARK(StandardValueSearch)
    ->ArgsProduct({{1, 2, 3, 4}, {0, 2, 4}})
    ->Unit(benchmark::kMicrosecond);

void RealWorldCheck(benchmark::State& state) {
  DesignSnapshot s{DesignKind::AstableBelow, 3606.7, 10820.2, 1e-7, 1000, 0.25, 0, {}};
  for (auto _ : state)
    benchmark::DoNotOptimize(RunCheck(s, {}));
}
BENCHMARK(RealWorldCheck)->Unit(benchmark::kMicrosecond);

// One ngspice run, from the slowest design (0.01 Hz) to the fastest (2 MHz,
// CMOS); goal: under 2 s for the slowest.
void SimulateDesign(benchmark::State& state) {
  const double f = state.range(0) == 0 ? 0.01 : state.range(0) == 1 ? 1000 : 2e6;
  DesignSnapshot s{
      DesignKind::AstableAbove, 0, 0, f < 1 ? 1e-4 : f > 1e5 ? 1e-10 : 1e-7, f, 0.6, 0, {}};
  const double k = 1 / (std::log(2.0) * f * s.c1);
  s.r1 = 0.2 * k;
  s.r2 = 0.4 * k;
  Conditions c;
  if (f > 1e5) c.family = TimerFamily::Cmos;
  for (auto _ : state) {
    const SimulationResult r = Simulate(s, c);
    if (r.error) state.SkipWithError(r.error->c_str());
  }
}
BENCHMARK(SimulateDesign)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The hardest designs of the window's range, alone and four at once (four
// processes, as four users' runs on the two cores); goal: each within 1 s.
void SimulateHardest(benchmark::State& state) {
  Conditions c;
  DesignSnapshot s;
  const auto astable = [&](int mode, double f, double duty, double c1) {
    const double k = 1 / (std::log(2.0) * f * c1);
    s = {static_cast<DesignKind>(mode),
         mode == 1 ? (2 * duty - 1) * k : duty * k,
         (1 - duty) * k,
         c1,
         f,
         duty,
         0,
         {}};
  };
  switch (state.range(0)) {
    case 0:
      astable(1, 1000, 0.9999, 1e-7);  // a 0.01 % low time
      break;
    case 1:
      astable(3, 1000, 0.01, 1e-7);  // a 1 % high time through the diodes
      break;
    case 2:
      s = {DesignKind::OneShot,
           3600 / (std::log(3.0) * 1e-3),
           0,
           1e-3,
           0,
           0,
           3600,
           {}};  // a one-hour pulse
      c.family = TimerFamily::Cmos;
      break;
    default:
      astable(1, 2e6, 0.6, 1e-10);  // the CMOS timer's highest frequency
      c.family = TimerFamily::Cmos;
      break;
  }
  const int parallel = static_cast<int>(state.range(1));
  for (auto _ : state) {
    std::vector<pid_t> runs;
    for (int k = 0; k < parallel; ++k) {
      const pid_t pid = fork();
      if (pid == 0) _exit(Simulate(s, c).error ? 1 : 0);
      runs.push_back(pid);
    }
    bool failed = false;
    for (const pid_t pid : runs) {
      int status = 0;
      waitpid(pid, &status, 0);
      failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    if (failed) state.SkipWithError("a simulation failed");
  }
}
BENCHMARK(SimulateHardest)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole `parts` answer: the search and the yield of five choices at
// 10 000 boards, for each design at 5 V; range(0) the design, range(1) 0 for
// E24 x E6 and 1 for E96 x E12.
void PartsAnswerTime(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  DesignSnapshot target;
  target.kind = static_cast<DesignKind>(mode);
  target.frequency = 1000;
  target.dutyCycle = mode == 1 ? 0.75 : mode == 3 ? 0.25 : 0.5;
  target.pulseLength = 0.01;
  BenchSpec bench;
  bench.conditions.vcc = 5;
  const bool fine = state.range(1) == 1;
  for (auto _ : state) {
    const PartsAnswer answer = FindParts(target, bench, fine ? Series::E96 : Series::E24,
                                         fine ? CapacitorSeries::E12 : CapacitorSeries::E6);
    benchmark::DoNotOptimize(answer.choices.data());
  }
}
BENCHMARK(PartsAnswerTime)
    ->ArgsProduct({{1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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
