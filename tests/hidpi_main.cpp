#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "render/qt_canvas.h"

// The window on a screen scaled by two: its own process, since the scale is
// read when the application starts.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "2");
  std::setlocale(LC_ALL, "C");
  QApplication app(argc, argv);
  timer555::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
