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
#include "simulation/ngspice.h"
#include "simulation/wave_picture.h"

namespace timer555 {

namespace {

std::string Hertz(double v) {
  if (!std::isfinite(v)) return "-";
  if (v >= 1e6) return FixedText(v / 1e6, 4) + " MHz";
  if (v >= 1e3) return FixedText(v / 1e3, 4) + " kHz";
  return FixedText(v, 3) + " Hz";
}

std::string Cell(const std::string& text, size_t width = 16) {
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

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

}  // namespace

int InterruptingSignal() {
  return gInterrupted ? static_cast<int>(gSignal) : 0;
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

int RunSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DesignRequest request;
  Conditions conditions;
  bool json = false;
  double seconds = kSimulationSeconds;
  std::optional<std::string> netlistFile, picture;
  std::vector<Option> options = DesignOptions(request);
  for (Option& o : ConditionOptions(conditions))
    options.push_back(std::move(o));
  for (Option& o : SimulateOptions(netlistFile, picture, seconds))
    options.push_back(std::move(o));
  options.push_back(JsonOption(json));
  ParseOptions(args, options, [&](const std::string& a) {
    if (request.mode != 0) throw UsageError("unexpected argument '" + a + "'");
    request.mode = ParseDesignMode(a);
  });
  if (picture) PictureFormatOf(*picture);
  DesignReport design;
  const auto calculated = CalculatedDesign("simulate", request, design, err);
  if (!calculated) return 1;
  const DesignSnapshot& snapshot = *calculated;
  if (netlistFile) {
    const std::string text = Netlist(snapshot, conditions, PlanSimulation(snapshot, conditions));
    return WriteOutput(*netlistFile, text, err) ? 0 : 1;
  }
  SimulationResult result;
  {
    const InterruptGuard interrupts;
    result = Simulate(snapshot, conditions, "ngspice", seconds, &gInterrupted);
  }
  if (result.error) {
    PrintError(err, *result.error);
    return 1;
  }
  const Timing ideal = IdealTiming(snapshot);
  const Timing predicted = PredictTiming(snapshot, conditions);
  if (picture &&
      !DrawAndWrite([&](Canvas& c) { DrawSimulatedWave(c, snapshot, conditions, result); },
                    *picture, kWavePictureWidth, kWavePictureHeight, err))
    return 1;
  if (json) {
    PrintJsonLine(QJsonObject{{"mode", snapshot.mode},
                              {"vcc", JsonNumber(conditions.vcc)},
                              {"family", Parameters(conditions.family).name},
                              {"ideal", TimingJson(ideal)},
                              {"predicted", TimingJson(predicted)},
                              {"simulated", TimingJson(result.simulated)},
                              {"seconds", JsonNumber(result.seconds)}},
                  out);
    return 0;
  }
  out << design.title << " at " << FixedText(conditions.vcc, 1) << " V, "
      << Parameters(conditions.family).name << " timer, simulated by ngspice in "
      << FixedText(result.seconds, 2) << " s\n\n";
  out << Cell("") << Cell("ideal") << Cell("predicted") << "simulated\n";
  const auto times = [&](const char* name, double a, double b, double c) {
    out << Cell(name) << Cell(TimeText(a, 5)) << Cell(TimeText(b, 5)) << TimeText(c, 5) << "\n";
  };
  if (snapshot.mode == 4) {
    times("Pulse", ideal.tHigh, predicted.tHigh, result.simulated.tHigh);
    return 0;
  }
  out << Cell("Frequency") << Cell(Hertz(*ideal.frequency))
      << Cell(Hertz(predicted.frequency.value_or(NAN))) << Hertz(*result.simulated.frequency)
      << "\n";
  out << Cell("Duty cycle") << Cell(FixedText(*ideal.dutyCycle * 100, 2) + " %")
      << Cell(FixedText(predicted.dutyCycle.value_or(NAN) * 100, 2) + " %")
      << FixedText(*result.simulated.dutyCycle * 100, 2) << " %\n";
  times("High time", ideal.tHigh, predicted.tHigh, result.simulated.tHigh);
  times("Low time", *ideal.tLow, predicted.tLow.value_or(NAN), *result.simulated.tLow);
  times("First high", ideal.firstTHigh, predicted.firstTHigh, result.simulated.firstTHigh);
  return 0;
}

}  // namespace timer555
