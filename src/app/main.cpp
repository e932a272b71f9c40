#include <QApplication>
#include <iostream>

#include "app/arguments.h"
#include "app/icon.h"
#include "app/main_window.h"
#include "render/qt_canvas.h"

int main(int argc, char** argv) {
  // --help and --version answer before Qt looks for a display.
  if (argc == 2) {
    if (const auto status = timer555::HandleWindowArguments({argv[1]}, std::cout, std::cerr);
        status && *status == 0)
      return *status;
  }
  timer555::FontConfigurationLoader fonts;
  QApplication app(argc, argv);
  QApplication::setApplicationName("timer555");
  QApplication::setApplicationVersion(TIMER555_VERSION);
  QGuiApplication::setDesktopFileName("org.timer555.timer555");
  QGuiApplication::setWindowIcon(timer555::MainIcon());
  // What Qt did not take as its own options is ours, and none is left to take.
  std::vector<std::string> rest;
  for (const QString& a : QApplication::arguments().mid(1))
    rest.push_back(a.toStdString());
  if (const auto status = timer555::HandleWindowArguments(rest, std::cout, std::cerr)) {
    return *status;
  }
  timer555::InstallFontSubstitutions();
  fonts.Wait();
  timer555::TfmMain window;
  window.show();
  return QApplication::exec();
}
