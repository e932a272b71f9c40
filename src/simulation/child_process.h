#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace timer555 {

// One run of a child program with a wall-clock limit: its output, or why it
// gave none. The child runs in a process group of its own and is killed with
// all it started when the limit passes or the run is cancelled; a process
// that left the group (setsid) is found as an orphan of ours and ended too.
// Should this process die, even by SIGKILL, the child dies with it.
struct ChildRun {
  bool started = false;
  int startError = 0;  // errno when the child could not be started
  bool timedOut = false;
  bool cancelled = false;
  int exitCode = -1;   // when it exited
  int signal = 0;      // when a signal ended it
  std::string output;  // standard output and standard error together
};
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& directory,
                  double seconds, const std::atomic<bool>* cancel = nullptr);

// Where a program runs from: `name` itself where it holds a '/', else the
// first executable of that name along PATH (empty entries, the current
// folder, skipped); empty where there is none.
std::string ProgramPath(const std::string& name);

}  // namespace timer555
