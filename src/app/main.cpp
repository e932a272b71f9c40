#include <QApplication>

#include "app/main_window.h"
#include "render/qt_canvas.h"

int main(int argc, char** argv) {
  timer555::FontConfigurationLoader fonts;
  QApplication app(argc, argv);
  QApplication::setApplicationName("timer555");
  QApplication::setApplicationVersion(TIMER555_VERSION);
  timer555::InstallFontSubstitutions();
  fonts.Wait();
  timer555::TfmMain window;
  window.show();
  return QApplication::exec();
}
