// Start-up as the user sees it: from the exec of a program to its window
// mapped and viewable on the screen, the moment it appears. Runs the floor
// program and the designer alternately on the X display of $DISPLAY (a
// virtual screen without a window manager, so that nothing stands between a
// map request and the window on the screen), each until the first top-level
// window a client maps appears (a MapNotify on the root window, seen the
// moment the server sends it: no polling), then kills it. Prints the medians
// and their ratio.
//
//   timer555_visible RUNS FLOOR PROGRAM
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

double Now() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The next MapNotify of a top-level window, or a negative time after 10 s.
double AwaitMap(xcb_connection_t* c) {
  const double deadline = Now() + 10000;
  pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
  while (Now() < deadline) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(e, &std::free);
      if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
      const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
      if (!map->override_redirect) return Now();
    }
    if (xcb_connection_has_error(c)) return -1;
    poll(&fd, 1, 50);
  }
  return -1;
}

// One start: the time from just before the exec to the window's appearance.
double Start(xcb_connection_t* c, const char* program) {
  const double start = Now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  const double shown = AwaitMap(c);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  // What the window's end sends (unmap, destroy) is not the next start's.
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  while (xcb_generic_event_t* e = xcb_poll_for_event(c))
    std::free(e);
  return shown < 0 ? -1 : shown - start;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s RUNS FLOOR PROGRAM\n", argv[0]);
    return 2;
  }
  const int runs = std::max(3, std::atoi(argv[1]));
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);
  std::vector<double> floor, program, ratio;
  // Alternated, so that a slow moment of the machine meets both alike; the
  // first pair warms the file cache and is not counted.
  for (int i = 0; i <= runs; ++i) {
    const double f = Start(c, argv[2]), p = Start(c, argv[3]);
    if (f < 0 || p < 0) {
      std::fprintf(stderr, "a window did not appear within 10 s\n");
      return 1;
    }
    if (i == 0) continue;
    floor.push_back(f);
    program.push_back(p);
    ratio.push_back(p / f);
  }
  std::printf(
      "window on the screen, median of %d alternated runs: floor %.1f ms, timer555 %.1f ms, "
      "ratio %.3f (median of the runs' ratios %.3f)\n",
      runs, Median(floor), Median(program), Median(program) / Median(floor), Median(ratio));
  if (std::getenv("TIMER555_VISIBLE_SAMPLES") != nullptr)
    for (size_t i = 0; i < floor.size(); ++i)
      std::printf("%.2f %.2f\n", floor[i], program[i]);
  xcb_disconnect(c);
  return 0;
}
