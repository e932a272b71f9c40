#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "app/image_control.h"
#include "app/main_window.h"
#include "state/global.h"

namespace timer555 {

// Shows the window and waits for what it makes after its first frame (the
// input panel), as a user's first click would find it.
inline void ShowSettled(TfmMain& window) {
  window.show();
  QApplication::processEvents();
  for (int i = 0; i < 400 && window.GB1 == nullptr; ++i)
    QTest::qWait(5);
  ASSERT_NE(window.GB1, nullptr) << "the input panel was not made after the first frame";
}

// A fresh main window, shown, for each test; clicks on its menu bar.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Global::Reset();
    window = std::make_unique<TfmMain>();
    ShowSettled(*window);
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
