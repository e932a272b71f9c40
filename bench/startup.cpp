// Start-up: process start to the end of the first painted frame (reported by
// the child, which then ends without tearing down), and peak memory, of
// the designer window beside a minimal Qt Widgets program showing an empty
// 650 × 350 window (the floor every Qt program pays). Both run as children
// of this program on the offscreen platform; each child exits at its first
// paint. A second floor shows the same window with one label, a third draws
// a line of text in each of the three faces the window uses (what any
// program showing those faces pays for them). Prints medians of many runs
// and the ratios.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "render/qt_canvas.h"
#include "state/global.h"

namespace {

// Quits the application at the first paint event of the watched window.
// Once the first paint is done, writes the monotonic time to standard output
// for the parent and ends at once: the tearing down of a window is not part
// of its start.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() && !seen_) {
      seen_ = true;
      QMetaObject::invokeMethod(
          qApp,
          [] {
            const double ns =
                static_cast<double>(std::chrono::steady_clock::now().time_since_epoch().count());
            std::printf("%.0f\n", ns);
            std::fflush(stdout);
            std::_Exit(0);
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  bool seen_ = false;
};

// The third floor: one line in each face the designer draws with, at the
// sizes its pages use, without antialiasing as its canvas draws.
class ThreeFaces final : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    int y = 30;
    for (const auto& [face, px] :
         {std::pair{"Comic Neue", 19}, {"DejaVu Sans Condensed", 11}, {"DejaVu Sans", 13}}) {
      QFont font(face);
      font.setPixelSize(px);
      font.setStyleStrategy(QFont::NoAntialias);
      p.setFont(font);
      p.drawText(20, y, "Astable, Duty Cycle > 50%  R1 7.214K");
      y += 40;
    }
  }
};

int Child(const char* what, int argc, char** argv) {
  QApplication app(argc, argv);
  FirstPaint watcher;
  // The first paint of any widget of the window ends the run.
  app.installEventFilter(&watcher);
  QTimer::singleShot(10000, [] { std::_Exit(1); });
  QWidget* window = nullptr;
  timer555::TfmMain* designer = nullptr;
  if (std::strcmp(what, "timer555") == 0) {
    // The window starts as main() starts it: shown first, drawn after.
    timer555::InstallFontSubstitutions();
    window = designer = new timer555::TfmMain(nullptr, timer555::TfmMain::StartDrawing::Later);
  } else if (std::strcmp(what, "faces") == 0) {
    window = new ThreeFaces;
    window->setFixedSize(650, 350);
  } else {
    window = new QWidget;
    window->setFixedSize(650, 350);
    // The second floor: the same window with one line of text, the least a
    // program that shows any text pays for fonts.
    if (std::strcmp(what, "label") == 0) new QLabel("Frequency", window);
  }
  window->show();
  if (designer != nullptr) designer->DrawStart();
  return app.exec();
}

struct Sample {
  double ms;
  long rssKb;
};

Sample Run(const char* self, const char* what) {
  int out[2];
  if (pipe(out) != 0) std::abort();
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl(self, self, "--child", what, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char text[64] = {};
  const ssize_t n = read(out[0], text, sizeof text - 1);
  close(out[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::fprintf(stderr, "%s failed\n", what);
  // From the fork to the end of the first paint, on the child's clock.
  const double painted = std::atof(text);
  const double ms = (painted - static_cast<double>(start.time_since_epoch().count())) / 1e6;
  return {ms, usage.ru_maxrss};
}

template <typename T>
T Median(std::vector<T> v) {
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // or the platform given: xcb on a screen
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return Child(argv[2], 1, argv);
  const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
  const char* const kinds[] = {"floor", "label", "faces", "timer555"};
  constexpr int kKinds = 4, kOurs = 3;
  std::vector<double> ms[kKinds];
  std::vector<long> kb[kKinds];
  // Interleaved, so that a slow moment of the machine hits all alike.
  for (int i = 0; i < runs; ++i) {
    for (int k = 0; k < kKinds; ++k) {
      const Sample s = Run(argv[0], kinds[k]);
      ms[k].push_back(s.ms);
      kb[k].push_back(s.rssKb);
    }
  }
  double medMs[kKinds];
  long medKb[kKinds];
  for (int k = 0; k < kKinds; ++k) {
    medMs[k] = Median(ms[k]);
    medKb[k] = Median(kb[k]);
  }
  std::printf("start-up, median of %d runs   %8s %8s %8s %9s %7s %7s %7s\n", runs, "empty", "label",
              "faces", "timer555", "/empty", "/label", "/faces");
  std::printf("%-29s %8.1f %8.1f %8.1f %9.1f %7.3f %7.3f %7.3f\n", "first paint, ms", medMs[0],
              medMs[1], medMs[2], medMs[kOurs], medMs[kOurs] / medMs[0], medMs[kOurs] / medMs[1],
              medMs[kOurs] / medMs[2]);
  const auto ratio = [&](int k) {
    return static_cast<double>(medKb[kOurs]) / static_cast<double>(medKb[k]);
  };
  std::printf("%-29s %8ld %8ld %8ld %9ld %7.3f %7.3f %7.3f\n", "peak memory, KiB", medKb[0],
              medKb[1], medKb[2], medKb[kOurs], ratio(0), ratio(1), ratio(2));
  return 0;
}
