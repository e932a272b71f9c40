// Start-up: process start to the first painted frame, and peak memory, of
// the designer window beside a minimal Qt Widgets program showing an empty
// 650 × 350 window (the floor every Qt program pays). Both run as children
// of this program on the offscreen platform; each child exits at its first
// paint. Prints medians of many runs and the ratios.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/global.h"
#include "app/main_window.h"
#include "render/qt_canvas.h"

namespace {

// Quits the application at the first paint event of the watched window.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return false;
  }
};

int Child(const char* what, int argc, char** argv) {
  QApplication app(argc, argv);
  FirstPaint watcher;
  // The first paint of any widget of the window ends the run.
  app.installEventFilter(&watcher);
  QTimer::singleShot(10000, [] { std::_Exit(1); });
  QWidget* window = nullptr;
  if (std::strcmp(what, "timer555") == 0) {
    timer555::InstallFontSubstitutions();
    window = new timer555::TfmMain;
  } else {
    window = new QWidget;
    window->setFixedSize(650, 350);
  }
  window->show();
  return app.exec();
}

struct Sample {
  double ms;
  long rssKb;
};

Sample Run(const char* self, const char* what) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(self, self, "--child", what, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "%s failed\n", what);
  return {ms, usage.ru_maxrss};
}

template <typename T>
T Median(std::vector<T> v) {
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return Child(argv[2], 1, argv);
  const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
  std::vector<double> floorMs, appMs;
  std::vector<long> floorKb, appKb;
  for (int i = 0; i < runs; ++i) {
    const Sample f = Run(argv[0], "floor");
    const Sample a = Run(argv[0], "timer555");
    floorMs.push_back(f.ms);
    floorKb.push_back(f.rssKb);
    appMs.push_back(a.ms);
    appKb.push_back(a.rssKb);
  }
  const double fm = Median(floorMs), am = Median(appMs);
  const long fk = Median(floorKb), ak = Median(appKb);
  std::printf("%-28s %10s %10s %8s\n", "start-up (median of runs)", "floor", "timer555", "ratio");
  std::printf("%-28s %10.1f %10.1f %8.3f\n", "first paint, ms", fm, am, am / fm);
  std::printf("%-28s %10ld %10ld %8.3f\n", "peak memory, KiB", fk, ak,
              static_cast<double>(ak) / static_cast<double>(fk));
  return 0;
}
