#include "cli/cli_simulate.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <csignal>
#include <iterator>
#include <optional>

#include "cli/cli_check.h"
#include "cli/cli_design.h"
#include "cli/output.h"
#include "format/engineering.h"
#include "report/figures.h"
#include "report/json.h"
#include "simulation/ngspice.h"
#include "simulation/wave_picture.h"

namespace timer555 {

namespace {

// Ctrl+C, SIGTERM and SIGHUP during a run cancel it: the child's group is
// killed and its folder removed; main then ends as the signal asked.
std::atomic<bool> gInterrupted{false};
volatile std::sig_atomic_t gSignal = 0;

extern "C" void OnSignal(int signal) {
  gSignal = signal;
  gInterrupted = true;
}

class InterruptGuard {
 public:
  InterruptGuard() {
    for (size_t i = 0; i < std::size(kSignals); ++i) {
      // A signal ignored on entry (a background job's SIGINT) stays ignored.
      sigaction(kSignals[i], nullptr, &old_[i]);
      if (old_[i].sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = OnSignal;
      sigemptyset(&action.sa_mask);
      sigaction(kSignals[i], &action, nullptr);
    }
  }
  ~InterruptGuard() {
    for (size_t i = 0; i < std::size(kSignals); ++i)
      sigaction(kSignals[i], &old_[i], nullptr);
  }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
  struct sigaction old_[std::size(kSignals)]{};
};

double Seconds(const std::string& text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(v > 0) || v > 3600)
    throw UsageError("--time-limit wants seconds above 0 and at most 3600, not '" + text + "'");
  return v;
}

// The three timings side by side, as text or as one JSON object.
void PrintSimulation(const std::string& title, const DesignSnapshot& snapshot,
                     const Conditions& conditions, const SimulationResult& result, bool json,
                     std::ostream& out) {
  const Timing ideal = IdealTiming(snapshot);
  const Timing predicted = PredictTiming(snapshot, conditions);
  if (json) {
    PrintJsonLine(
        SimulationJson(snapshot, conditions, ideal, predicted, result.simulated, result.seconds),
        out);
    return;
  }
  out << title << " at " << ConditionsText(conditions) << ", simulated by ngspice in "
      << FixedText(result.seconds, 2) << " s\n\n";
  out << TimingTable(
      snapshot.kind,
      {{kIdealColumn, ideal}, {kPredictedColumn, predicted}, {kSimulatedColumn, result.simulated}},
      false);
}

}  // namespace

int InterruptingSignal() {
  return gInterrupted ? static_cast<int>(gSignal) : 0;
}

SimulationResult SimulateInterruptibly(const DesignSnapshot& design, const Conditions& conditions,
                                       double seconds) {
  const InterruptGuard interrupts;
  return Simulate(design, conditions, "ngspice", seconds, &gInterrupted);
}

std::vector<Option> SimulateOptions(std::optional<std::string>& netlist,
                                    std::optional<std::string>& picture, double& seconds) {
  return {{{"--netlist"},
           "FILE",
           "write the netlist and do not run (it runs in ngspice -b)",
           [&netlist](const std::string& v) { netlist = v; }},
          {{"-o"},
           "FILE",
           "draw the simulated waveform (.png or .svg)",
           [&picture](const std::string& v) { picture = v; },
           {"--output"}},
          {{"--time-limit"},
           "SECONDS",
           "end ngspice after this long (default 5)",
           [&seconds](const std::string& v) { seconds = Seconds(v); }}};
}

ExitStatus RunSimulateCommand(const std::vector<std::string>& args, std::ostream& out,
                              std::ostream& err) {
  DesignRequest request;
  Conditions conditions;
  bool json = false;
  double seconds = kSimulationSeconds;
  std::optional<std::string> netlistFile, picture;
  BenchParts bench;
  ParseOptions(args,
               Joined(Joined(Joined(DesignOptions(request), ConditionOptions(conditions)),
                             BenchPartOptions(bench)),
                      Joined(SimulateOptions(netlistFile, picture, seconds), {JsonOption(json)})),
               ModeArgument(request.kind));
  if (picture) PictureFormatOf(*picture);
  DesignReport design;
  const auto calculated = CalculatedDesign("simulate", request, design, err);
  if (!calculated) return ExitStatus::Failed;
  const DesignSnapshot snapshot = WithBenchParts(*calculated, bench);
  if (netlistFile) {
    const std::string text = Netlist(snapshot, conditions, PlanSimulation(snapshot, conditions));
    return WriteOutput(*netlistFile, text, err) ? ExitStatus::Success : ExitStatus::Failed;
  }
  const SimulationResult result = SimulateInterruptibly(snapshot, conditions, seconds);
  if (result.error) {
    PrintError(err, *result.error);
    return ExitStatus::Failed;
  }
  if (picture &&
      !DrawAndWrite([&](Canvas& c) { DrawSimulatedWave(c, snapshot, conditions, result); },
                    *picture, kWavePictureWidth, kWavePictureHeight, err))
    return ExitStatus::Failed;
  PrintSimulation(design.title, snapshot, conditions, result, json, out);
  return ExitStatus::Success;
}

}  // namespace timer555
