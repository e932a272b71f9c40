#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis/real_world.h"
#include "simulation/netlist.h"

namespace timer555 {

// One run of a child program with a wall-clock limit: its output, or why it
// gave none. The child runs in a process group of its own and is killed with
// all it started when the limit passes or the run is cancelled.
struct ChildRun {
  bool started = false;
  bool timedOut = false;
  bool cancelled = false;
  int exitCode = -1;   // when it exited
  int signal = 0;      // when a signal ended it
  std::string output;  // standard output and standard error together
};
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& directory,
                  double seconds, const std::atomic<bool>* cancel = nullptr);

// Where ngspice is found on the PATH; empty when it is not installed.
std::string FindNgspice();

inline constexpr double kSimulationSeconds = 5;
inline constexpr const char* kNgspiceMissing =
    "ngspice is not installed \u2014 install the ngspice package to simulate";

// A sample of the simulated waveform.
struct WavePoint {
  double t = 0;
  double out = 0;  // pin 3
  double cap = 0;  // the timing capacitor
};

struct SimulationResult {
  std::optional<std::string> error;  // set when there are no figures
  Timing simulated;
  std::vector<WavePoint> wave;
  double triggerAt = 0;  // the one-shot's trigger
  double seconds = 0;    // how long ngspice ran
};

// The measurements ngspice printed: "name = value" lines.
std::map<std::string, double> ParseMeasurements(const std::string& output);
// The figures from the crossings: the steady periods after the first two,
// averaged; the first high time from power-up; the one-shot's pulse.
std::optional<Timing> TimingFromMeasurements(const DesignSnapshot& design,
                                             const SimulationPlan& plan,
                                             const std::map<std::string, double>& measured);

// Simulates the design with ngspice (`program`, found on the PATH by
// default) in a private temporary directory removed afterwards, within
// `seconds`. Every failure is a clear message in `error`, never a hang.
SimulationResult Simulate(const DesignSnapshot& design, const Conditions& conditions,
                          const std::string& program = "ngspice",
                          double seconds = kSimulationSeconds,
                          const std::atomic<bool>* cancel = nullptr);

}  // namespace timer555
