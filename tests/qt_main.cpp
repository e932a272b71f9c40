#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "render/qt_canvas.h"

// Widget and canvas tests share one QApplication on the offscreen platform.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  std::setlocale(LC_ALL, "C");
  QApplication app(argc, argv);
  timer555::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
