#include "simulation/ngspice.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "components/error_text.h"
#include "components/temporary_directory.h"
#include "simulation/child_process.h"

namespace timer555 {

namespace {

using Clock = std::chrono::steady_clock;

bool ParseDouble(const std::string& text, double& v) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(begin, end, v);
  return r.ec == std::errc() && r.ptr == end && std::isfinite(v);
}

std::vector<double> Crossings(const std::map<std::string, double>& m, const std::string& prefix,
                              int count) {
  std::vector<double> times;
  for (int k = 1; k <= count; ++k) {
    const auto it = m.find(prefix + std::to_string(k));
    if (it == m.end()) break;
    times.push_back(it->second);
  }
  return times;
}

// The largest waveform read: a run's steps follow its period, so a real one
// holds a few thousand lines (well under 1 MB); as ngspice's printed output,
// anything beyond is refused, not read.
constexpr std::uintmax_t kMaxWave = 16 * 1024 * 1024;

// The waveform's points, read before `deadline`: none where it passes.
std::vector<WavePoint> ReadWave(const std::string& file, Clock::time_point deadline, bool& late) {
  std::vector<WavePoint> wave;
  std::ifstream in(file);
  std::string line;
  late = false;
  for (size_t n = 0; std::getline(in, line); ++n) {
    if (n % 1024 == 0 && Clock::now() > deadline) {
      late = true;
      return {};
    }
    std::istringstream fields(line);
    fields.imbue(std::locale::classic());
    std::string t1, out, t2, cap;
    if (!(fields >> t1 >> out >> t2 >> cap)) continue;
    WavePoint p;
    if (ParseDouble(t1, p.t) && ParseDouble(out, p.out) && ParseDouble(cap, p.cap))
      wave.push_back(p);
  }
  return wave;
}

}  // namespace

std::string StartFailure(const std::string& program, int error) {
  if (error == ENOENT && program.find('/') == std::string::npos)
    return std::string(kNgspiceMissing) + " (not found on the PATH)";
  return "cannot start '" + program + "': " + ErrorText(error);
}

std::string FindNgspice() {
  return ProgramPath("ngspice");
}

std::map<std::string, double> ParseMeasurements(const std::string& output) {
  std::map<std::string, double> m;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::istringstream name(line.substr(0, eq)), value(line.substr(eq + 1));
    std::string n, v, rest;
    if (!(name >> n) || (name >> rest) || !(value >> v)) continue;
    double x = 0;
    if (ParseDouble(v, x)) m[n] = x;
  }
  return m;
}

std::optional<Timing> TimingFromMeasurements(const DesignSnapshot& design,
                                             const SimulationPlan& plan,
                                             const std::map<std::string, double>& measured) {
  const int count = TraitsOf(design.kind).oneShot ? 1 : plan.lastRise;
  const std::vector<double> rises = Crossings(measured, "rise", count);
  const std::vector<double> falls = Crossings(measured, "fall", count);
  Timing t;
  if (TraitsOf(design.kind).oneShot) {
    if (rises.empty() || falls.empty() || falls[0] <= rises[0]) return std::nullopt;
    t.tHigh = t.firstTHigh = falls[0] - rises[0];
    return t;
  }
  if (static_cast<int>(rises.size()) < plan.lastRise || falls.empty()) return std::nullopt;
  const double period = (rises[static_cast<size_t>(plan.lastRise - 1)] -
                         rises[static_cast<size_t>(plan.firstRise - 1)]) /
                        (plan.lastRise - plan.firstRise);
  double high = 0;
  int highs = 0;
  for (int k = plan.firstRise; k < plan.lastRise; ++k) {
    const double rise = rises[static_cast<size_t>(k - 1)];
    const auto fall = std::upper_bound(falls.begin(), falls.end(), rise);
    if (fall == falls.end()) break;
    high += *fall - rise;
    ++highs;
  }
  if (highs == 0 || !(period > 0)) return std::nullopt;
  t.tHigh = high / highs;
  t.tLow = period - t.tHigh;
  t.frequency = 1 / period;
  t.dutyCycle = t.tHigh / period;
  // The output is high from power-up until the first fall.
  t.firstTHigh = falls.front();
  return t;
}

namespace {

// Why a run gave nothing to read: it did not start, was cancelled, ran out
// of time or was killed; none where it ended by itself.
std::optional<std::string> RunFailure(const ChildRun& run, const std::string& program,
                                      double seconds) {
  if (!run.started) return StartFailure(program, run.startError);
  if (run.cancelled) return "the simulation was cancelled";
  if (run.timedOut) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << "the simulation did not finish within " << seconds << " s";
    return s.str();
  }
  if (run.signal != 0) return "ngspice was ended by signal " + std::to_string(run.signal);
  return std::nullopt;
}

// The waveform ngspice wrote into `result`: reading it counts in the time
// limit, and a file larger than any run writes is not read at all.
std::optional<std::string> ReadWaveform(const std::string& path, Clock::time_point start,
                                        const std::string& program, double seconds,
                                        SimulationResult& result) {
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
  if (!ec && bytes > kMaxWave)
    return "ngspice wrote a waveform of " + std::to_string(bytes / (1024 * 1024)) +
           " MB, more than the " + std::to_string(kMaxWave / (1024 * 1024)) + " MB a run writes";
  bool late = false;
  result.wave = ReadWave(
      path,
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)),
      late);
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (late) {
    ChildRun timedOut;
    timedOut.started = true;
    timedOut.timedOut = true;
    return RunFailure(timedOut, program, seconds);
  }
  if (result.wave.empty()) return "ngspice measured the circuit but wrote no waveform";
  return std::nullopt;
}

}  // namespace

SimulationResult Simulate(const DesignSnapshot& design, const Conditions& conditions,
                          const std::string& program, double seconds,
                          const std::atomic<bool>* cancel) {
  SimulationResult result;
  // A circuit the model knows never switches has nothing to measure.
  if (!Switches(PredictTiming(design, conditions))) {
    result.error = TraitsOf(design.kind).oneShot ? kNeverEndsMessage : kNeverSwitchesMessage;
    return result;
  }
  TemporaryDirectory dir;
  if (dir.Path().empty()) {
    result.error = dir.Failure("the simulation");
    return result;
  }
  const SimulationPlan plan = PlanSimulation(design, conditions);
  // The files go by their names in the run's own folder, so no path (with
  // its spaces) ever stands in the netlist.
  const std::string netlist = "circuit.cir";
  const std::string wave = "wave.txt";
  {
    std::ofstream f(dir.Path() + "/" + netlist, std::ios::binary);
    f << Netlist(design, conditions, plan, wave);
    if (!f) {
      result.error = "cannot write the netlist for the simulation";
      return result;
    }
  }
  const auto start = Clock::now();
  const ChildRun run = RunChild({program, "-b", netlist}, dir.Path(), seconds, cancel);
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  result.error = RunFailure(run, program, seconds);
  if (result.error) return result;
  const auto timing = TimingFromMeasurements(design, plan, ParseMeasurements(run.output));
  if (!timing) {
    result.error = run.exitCode == 0
                       ? "the simulation printed no measurement: the circuit "
                         "does not switch as designed"
                       : "ngspice failed (exit status " + std::to_string(run.exitCode) +
                             ") and printed no measurement";
    return result;
  }
  result.simulated = *timing;
  result.error = ReadWaveform(dir.Path() + "/" + wave, start, program, seconds, result);
  if (result.error) return result;
  result.triggerAt = plan.triggerAt;
  return result;
}

}  // namespace timer555
