#include "simulation/child_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
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

// The spawn's setup: every call checked, its error returned.
struct SpawnSetup {
  posix_spawn_file_actions_t actions{};
  posix_spawnattr_t attributes{};
  int error = 0;
  SpawnSetup(int output, const std::string& directory) {
    error = posix_spawn_file_actions_init(&actions);
    if (error != 0) return;
    error = posix_spawnattr_init(&attributes);
    if (error != 0) return;
    const int steps[] = {
        posix_spawn_file_actions_adddup2(&actions, output, 1),
        posix_spawn_file_actions_adddup2(&actions, output, 2),
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0),
        directory.empty() ? 0 : posix_spawn_file_actions_addchdir_np(&actions, directory.c_str()),
        posix_spawnattr_setflags(
            &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK),
        posix_spawnattr_setpgroup(&attributes, 0),
    };
    for (const int e : steps)
      if (e != 0 && error == 0) error = e;
    // The child starts with default signal handling and nothing blocked.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    if (error == 0) error = posix_spawnattr_setsigdefault(&attributes, &all);
    if (error == 0) error = posix_spawnattr_setsigmask(&attributes, &none);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

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
  pid_t pid = 0;
  {
    SpawnSetup setup(fds[1], directory);
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    run.startError = setup.error != 0 ? setup.error
                                      : posix_spawnp(&pid, args[0], &setup.actions,
                                                     &setup.attributes, args.data(), environ);
  }
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
