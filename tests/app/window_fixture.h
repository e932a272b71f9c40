#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "app/image_control.h"
#include "app/main_window.h"
#include "state/global.h"

namespace timer555 {

// A fresh main window, shown, for each test; clicks on its menu bar.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Global::Reset();
    window = std::make_unique<TfmMain>();
    window->show();
    QApplication::processEvents();
  }

  // The middle of a menu item, in the menu bar's pixels.
  QPoint MenuPoint(MenuItem item) const {
    const HitArea& r = window->Shell().Menu().items[static_cast<size_t>(item)];
    return {(r.left + r.right) / 2, 20};
  }
  void ClickMenu(MenuItem item) {
    QTest::mouseClick(window->Image1, Qt::LeftButton, Qt::NoModifier, MenuPoint(item));
  }

  std::unique_ptr<TfmMain> window;
};

}  // namespace timer555
