#include <QApplication>
#include <iostream>
#ifdef TIMER555_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

#include "app/arguments.h"
#include "app/icon.h"
#include "app/main_window.h"
#include "components/standard_output.h"
#include "render/qt_canvas.h"

namespace {

// Sends what the window system has been asked so far (the window's map) to
// the display now, handling no event: on X11 a flush of the connection,
// which the event loop would otherwise do only once it starts.
void SendToScreen() {
#ifdef TIMER555_XCB
  if (const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
    xcb_flush(x11->connection());
#endif
}

// The answer to --help or --version, with a failure to write it said.
int Answered(int status) {
  if (const auto failure = timer555::StandardOutputFailure()) {
    std::cerr << "timer555: " << *failure << "\n";
    return status == 0 ? 1 : status;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version answer before Qt looks for a display.
  if (argc == 2) {
    if (const auto status = timer555::HandleWindowArguments({argv[1]}, std::cout, std::cerr);
        status && *status == 0)
      return Answered(*status);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("timer555");
  QApplication::setApplicationVersion(TIMER555_VERSION);
  QGuiApplication::setDesktopFileName("org.timer555.timer555");
  // What Qt did not take as its own options is ours, and none is left to take.
  std::vector<std::string> rest;
  for (const QString& a : QApplication::arguments().mid(1))
    rest.push_back(a.toStdString());
  if (const auto status = timer555::HandleWindowArguments(rest, std::cout, std::cerr)) {
    return Answered(*status);
  }
  timer555::InstallFontSubstitutions();
  // The window goes to the screen before anything it draws needs a font or
  // wakes the screen reader's bridge: the font configuration loads and the
  // start page is drawn while the server maps it, and the first frame shows
  // them (the event loop paints only after DrawStart). No second thread
  // competes with the first frame.
  timer555::TfmMain window(nullptr, timer555::TfmMain::StartDrawing::Later);
  window.show();
  SendToScreen();
  window.DrawStart();
  QGuiApplication::setWindowIcon(timer555::MainIcon());  // for the dialogs and the check window
  return QApplication::exec();
}
