#include "simulation/ngspice.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

extern char** environ;

namespace timer555 {

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Output beyond this is not read: a runaway child cannot fill the memory.
constexpr size_t kMaxOutput = 16 * 1024 * 1024;

// A private directory (mode 0700) removed with all it holds when it goes.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/timer555-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TemporaryDirectory() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  const std::string& Path() const noexcept { return path_; }

 private:
  std::string path_;
};

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

std::vector<WavePoint> ReadWave(const std::string& file) {
  std::vector<WavePoint> wave;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
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

ChildRun RunChild(const std::vector<std::string>& argv, const std::string& directory,
                  double seconds, const std::atomic<bool>* cancel) {
  ChildRun run;
  if (argv.empty()) return run;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return run;
  }
  run.started = true;
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  char buffer[65536];
  bool open = true;
  while (open) {
    if (cancel != nullptr && cancel->load()) {
      run.cancelled = true;
      break;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      if (run.output.size() < kMaxOutput) run.output.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      open = false;
    }
  }
  close(fds[0]);
  if (run.timedOut || run.cancelled) kill(-pid, SIGKILL);
  // The output has ended; the child has the rest of the limit to exit.
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return run;
    if (Clock::now() >= deadline && !run.timedOut && !run.cancelled) {
      run.timedOut = true;
      kill(-pid, SIGKILL);
    }
    usleep(2000);
  }
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

std::string FindNgspice() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    std::string candidate = dir + "/ngspice";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
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
  const int count = design.mode == 4 ? 1 : plan.lastRise;
  const std::vector<double> rises = Crossings(measured, "rise", count);
  const std::vector<double> falls = Crossings(measured, "fall", count);
  Timing t;
  if (design.mode == 4) {
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

SimulationResult Simulate(const DesignSnapshot& design, const Conditions& conditions,
                          const std::string& program, double seconds,
                          const std::atomic<bool>* cancel) {
  SimulationResult result;
  TemporaryDirectory dir;
  if (dir.Path().empty()) {
    result.error = "cannot make a temporary directory for the simulation";
    return result;
  }
  const SimulationPlan plan = PlanSimulation(design, conditions);
  const std::string netlist = dir.Path() + "/circuit.cir";
  const std::string wave = dir.Path() + "/wave.txt";
  {
    std::ofstream f(netlist, std::ios::binary);
    f << Netlist(design, conditions, plan, wave);
    if (!f) {
      result.error = "cannot write the netlist for the simulation";
      return result;
    }
  }
  const auto start = Clock::now();
  const ChildRun run = RunChild({program, "-b", netlist}, dir.Path(), seconds, cancel);
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!run.started) {
    result.error = kNgspiceMissing;
    return result;
  }
  if (run.cancelled) {
    result.error = "the simulation was cancelled";
    return result;
  }
  if (run.timedOut) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << "the simulation did not finish within " << seconds << " s";
    result.error = s.str();
    return result;
  }
  if (run.signal != 0) {
    result.error = "ngspice was ended by signal " + std::to_string(run.signal);
    return result;
  }
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
  result.wave = ReadWave(wave);
  result.triggerAt = plan.triggerAt;
  return result;
}

}  // namespace timer555
