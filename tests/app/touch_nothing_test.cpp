// A whole session that tests/scripts/no_files.sh runs under strace: every
// page, every application, both data pages and a design with an adjustment.
// On its own it only checks that the session ends with the window intact.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/image_control.h"
#include "app/main_window.h"
#include "app/window_fixture.h"
#include "components/num_edit.h"
#include "design/adjust.h"
#include "state/global.h"

namespace timer555 {
namespace {

TEST(TouchNothing, EveryPageAndADesign) {
  Global::Reset();
  TfmMain window;
  ShowSettled(window);
  const auto menu = [&](MenuItem item) {
    const HitArea& r = window.Shell().Menu().items[static_cast<size_t>(item)];
    QTest::mouseClick(window.Image1, Qt::LeftButton, Qt::NoModifier,
                      QPoint((r.left + r.right) / 2, 20));
  };
  const auto page = [&](int x, int y) {
    QTest::mouseClick(window.Image2, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  };
  for (MenuItem item : {MenuItem::Help, MenuItem::Companion})
    menu(item);
  for (int k = 0; k < 14; ++k) {
    menu(MenuItem::Applications);
    page(k < 7 ? 100 : 500, (k % 7) * 44 + 20);
  }
  for (int x : {100, 500}) {
    menu(MenuItem::Data);
    page(x, 100);
  }
  for (int mode = 0; mode < 4; ++mode) {
    menu(MenuItem::Design);
    page(mode % 2 ? 500 : 100, mode < 2 ? 50 : 250);
    window.NumEdit1->SetProgramText("");
    QTest::keyClicks(window.NumEdit1, "1000");
    if (window.NumEdit2->isEnabled()) {
      window.NumEdit2->SetProgramText("");
      QTest::keyClicks(window.NumEdit2, "75");
    }
    QTimer closer;
    closer.setInterval(2);
    QObject::connect(&closer, &QTimer::timeout, [] {
      QWidget* w = QApplication::activeModalWidget();
      if (auto* dialog = qobject_cast<TfmAdjust*>(w)) {
        QTimer::singleShot(0, dialog->BitBtn1, &QPushButton::click);
      } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
        QTimer::singleShot(0, box->button(QMessageBox::Ok), &QPushButton::click);
      }
    });
    closer.start();
    QTest::mouseClick(window.Image3, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    const HitArea r = Global::Page().ResistorHitRects[1];
    const QPoint p((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(window.Image2->mapToGlobal(p)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.Image2, &move);
    page(p.x(), p.y());
    closer.stop();
  }
  EXPECT_TRUE(Global::Page().Calculated);
  menu(MenuItem::Quit);
  QApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace timer555
