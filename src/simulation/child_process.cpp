#include "simulation/child_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

extern char** environ;

namespace timer555 {

namespace {

using Clock = std::chrono::steady_clock;

// Output beyond this is not read: a runaway child cannot fill the memory.
constexpr size_t kMaxOutput = 16 * 1024 * 1024;
// How often the run looks at the cancel flag and the clock.
constexpr int kPollMilliseconds = 50;

// One run at a time: the orphans found afterwards are that run's.
std::mutex gRunning;

// The processes whose parent is this process, from every thread's list.
std::set<pid_t> OwnChildren() {
  std::set<pid_t> children;
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return children;
  // The stream is this call's own; readdir is unsafe only on a shared one.
  while (const dirent* task = readdir(tasks)) {  // NOLINT(concurrency-mt-unsafe)
    if (task->d_name[0] == '.') continue;
    std::ifstream list(std::string("/proc/self/task/") + task->d_name + "/children");
    pid_t pid = 0;
    while (list >> pid)
      children.insert(pid);
  }
  closedir(tasks);
  return children;
}

// Ends the processes that became ours when the child's own tree came apart
// (this process is their subreaper): each is killed and reaped, and its
// children, orphaned in turn, are found on the next round.
void EndOrphans(const std::set<pid_t>& before) {
  for (int round = 0; round < 100; ++round) {
    bool found = false;
    for (const pid_t pid : OwnChildren()) {
      if (before.count(pid) != 0) continue;
      found = true;
      kill(pid, SIGKILL);
      while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    if (!found) return;
  }
}

// The forked child's end where it could not become the program: its errno
// to the parent, then out.
[[noreturn]] void ReportAndExit(int report) {
  const int error = errno;
  while (write(report, &error, sizeof error) < 0 && errno == EINTR) {
  }
  _exit(127);
}

// In the forked child, before it becomes the program: it dies with the
// thread that started it (should this process be killed, even by SIGKILL,
// the child goes too; a parent already gone before the request took is
// caught by the parent's pid no longer being its parent's), leads a group of
// its own, writes into `output`, reads nothing, starts in `directory` with
// default signal handling and nothing blocked. Async-signal-safe calls only;
// on any failure the child ends with its errno as the status it reports
// through `report`.
[[noreturn]] void BecomeChild(const char* program, char* const* args, int output, int report,
                              const char* directory, pid_t parent) {
  const auto fail = [report] { ReportAndExit(report); };
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) fail();
  if (getppid() != parent) _exit(127);
  if (setpgid(0, 0) != 0) fail();
  if (dup2(output, 1) < 0 || dup2(output, 2) < 0) fail();
  const int nothing = open("/dev/null", O_RDONLY);
  if (nothing < 0 || dup2(nothing, 0) < 0) fail();
  if (*directory != '\0' && chdir(directory) != 0) fail();
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  for (int signal = 1; signal < NSIG; ++signal)
    sigaction(signal, &byDefault, nullptr);
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);  // the forked child has one thread
  execve(program, args, environ);
  ReportAndExit(report);
}

// Starts `argv` writing into `output`: its pid, or the errno that kept it
// from starting.
pid_t StartChild(const std::vector<std::string>& argv, int output, const std::string& directory,
                 int& error) {
  const std::string program = ProgramPath(argv[0]);
  if (program.empty()) {
    error = ENOENT;
    return -1;
  }
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // The child reports a failure to start through this pipe; exec closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = errno;
    return -1;
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0)
    BecomeChild(program.c_str(), args.data(), output, report[1], directory.c_str(), parent);
  close(report[1]);
  error = pid < 0 ? errno : 0;
  if (pid > 0) {
    int childError = 0;
    ssize_t n = 0;
    while ((n = read(report[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
    if (n == static_cast<ssize_t>(sizeof childError)) {
      error = childError;
      while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
  }
  close(report[0]);
  return error == 0 ? pid : -1;
}

// Reads the child's output until it closes, the limit passes or the run is
// cancelled.
void ReadOutput(int fd, Clock::time_point deadline, const std::atomic<bool>* cancel,
                ChildRun& run) {
  char buffer[65536];
  for (;;) {
    if (cancel != nullptr && cancel->load()) {
      run.cancelled = true;
      return;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      return;
    }
    pollfd p{fd, POLLIN, 0};
    const int ready =
        poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), kPollMilliseconds)));
    if (ready < 0 && errno != EINTR) return;
    if (ready <= 0) continue;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      if (run.output.size() < kMaxOutput) run.output.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return;
    }
  }
}

// Waits for the child; it has the rest of the limit to exit after its output
// ended, and is killed with its group when the limit passes or on cancel.
void Reap(pid_t pid, Clock::time_point deadline, const std::atomic<bool>* cancel, ChildRun& run) {
  if (run.timedOut || run.cancelled) kill(-pid, SIGKILL);
  // The child is waited for without being reaped, so its group cannot be
  // reused before whatever it left running there is killed.
  for (;;) {
    siginfo_t info{};
    const int waited = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    if (waited == 0 && info.si_pid == pid) break;
    if (waited < 0 && errno != EINTR) return;
    const bool cancelled = cancel != nullptr && cancel->load();
    if (!run.timedOut && !run.cancelled && (cancelled || Clock::now() >= deadline)) {
      (cancelled ? run.cancelled : run.timedOut) = true;
      kill(-pid, SIGKILL);
    }
    usleep(2000);
  }
  kill(-pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
}

// This process as the subreaper of its descendants' orphans for as long as
// it lives, then what it was before.
class SubreaperDuringRun {
 public:
  SubreaperDuringRun() {
    int was = 0;
    if (prctl(PR_GET_CHILD_SUBREAPER, &was) == 0) was_ = was;
    prctl(PR_SET_CHILD_SUBREAPER, 1);
  }
  ~SubreaperDuringRun() { prctl(PR_SET_CHILD_SUBREAPER, was_); }
  SubreaperDuringRun(const SubreaperDuringRun&) = delete;
  SubreaperDuringRun& operator=(const SubreaperDuringRun&) = delete;

 private:
  int was_ = 0;
};

}  // namespace

std::string ProgramPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  // The program never changes PATH, so any thread may read it.
  const char* path = std::getenv("PATH");  // NOLINT(concurrency-mt-unsafe)
  std::istringstream folders(path != nullptr ? path : "/bin:/usr/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;  // never the current folder
    std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

ChildRun RunChild(const std::vector<std::string>& argv, const std::string& directory,
                  double seconds, const std::atomic<bool>* cancel) {
  ChildRun run;
  if (argv.empty()) {
    run.startError = EINVAL;
    return run;
  }
  const std::lock_guard<std::mutex> one(gRunning);
  // Orphans of the child's tree come to this process, not to init, while the
  // run lasts (and are ended with it); afterwards as before.
  const SubreaperDuringRun subreaper;
  const std::set<pid_t> before = OwnChildren();
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    run.startError = errno;
    return run;
  }
  const pid_t pid = StartChild(argv, fds[1], directory, run.startError);
  close(fds[1]);
  if (run.startError != 0) {
    close(fds[0]);
    return run;
  }
  run.started = true;
  const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                        std::chrono::duration<double>(seconds));
  ReadOutput(fds[0], deadline, cancel, run);
  close(fds[0]);
  Reap(pid, deadline, cancel, run);
  EndOrphans(before);
  return run;
}

}  // namespace timer555
