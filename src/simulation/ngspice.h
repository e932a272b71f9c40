#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis/real_world.h"
#include "simulation/child_process.h"
#include "simulation/netlist.h"

namespace timer555 {

// Where ngspice is found on the PATH; empty when it is not installed.
std::string FindNgspice();

inline constexpr double kSimulationSeconds = 5;
inline constexpr const char* kNgspiceMissing =
    "ngspice is not installed \u2014 install the ngspice package to simulate";
// A circuit the prediction shows never switching is not run: it would spend
// the whole limit to measure nothing.
inline constexpr const char* kNeverSwitchesMessage =
    "the built circuit does not oscillate: the capacitor never reaches the chip's threshold "
    "(the check's threshold-never-reached), so there is nothing to simulate";
inline constexpr const char* kNeverEndsMessage =
    "the built circuit's pulse never ends: the capacitor never reaches the chip's threshold "
    "(the check's threshold-never-reached), so there is nothing to simulate";
// Why a program could not be started: kNgspiceMissing for ngspice not found
// on the PATH, else the system's reason ("cannot start 'ngspice': Permission denied").
std::string StartFailure(const std::string& program, int error);

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
