// A long random session through the real window: menu and page clicks,
// typing and pasting, Calculate, both arrow modes, hovering, and adjustment
// dialogs answered with random texts. The window's state is checked after
// every event. TIMER555_SOAK_SEED and TIMER555_SOAK_EVENTS change the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <random>

#include "app/image_control.h"
#include "app/main_window.h"
#include "app/window_fixture.h"
#include "components/num_edit.h"
#include "design/adjust.h"
#include "design/design_pages.h"
#include "state/global.h"

namespace timer555 {
namespace {

unsigned EnvOr(const char* name, unsigned fallback) {
  const QByteArray v = qgetenv(name);
  bool ok = false;
  const unsigned n = v.toUInt(&ok);
  return ok ? n : fallback;
}

class Soak {
 public:
  explicit Soak(unsigned seed) : rng_(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string RandomText() {
    // Half the time a value a user would type, so designs get calculated.
    static const char* plausible[] = {"1000", "75", "60", "1", "0.5", "25", "440", "10", "90"};
    if (Pick(2)) return plausible[Pick(9)];
    static const char alphabet[] = "0123456789....e+-x ,";
    std::string s;
    const int n = Pick(9);
    for (int i = 0; i < n; ++i)
      s += alphabet[Pick(sizeof alphabet - 1)];
    return s;
  }

  std::mt19937 rng_;
};

TEST(GuiSoak, RandomSessionKeepsTheWindowConsistent) {
  const unsigned seed = EnvOr("TIMER555_SOAK_SEED", 555);
  const unsigned events = EnvOr("TIMER555_SOAK_EVENTS", 5000);
  Soak soak(seed);
  Global::Reset();
  TNumEdit::SetBeepHandler([] {});
  TfmMain window;
  ShowSettled(window);

  // Every modal window is answered: message boxes with OK, the adjustment
  // dialog with a random text (sometimes the shown one) and OK.
  int dialogs = 0, messages = 0;
  QTimer answer;
  answer.setInterval(1);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || w->property("answered").toBool()) return;
    w->setProperty("answered", true);
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      ++messages;
      QTimer::singleShot(0, box->button(QMessageBox::Ok), &QPushButton::click);
    } else if (auto* dialog = qobject_cast<TfmAdjust*>(w)) {
      ++dialogs;
      if (soak.Pick(3) != 0) {
        dialog->NumEdit1->SetProgramText("");
        QTest::keyClicks(dialog->NumEdit1, QString::fromStdString(soak.RandomText()));
      }
      QTimer::singleShot(0, dialog->BitBtn1, &QPushButton::click);
    }
  });
  answer.start();

  const auto move = [&](QPoint p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(window.Image2->mapToGlobal(p)),
                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.Image2, &e);
  };
  const QPoint pagePoint[] = {{100, 50}, {500, 50}, {100, 250}, {500, 250}};
  // Only what a user can reach: QTest would deliver events to hidden or
  // disabled controls too.
  const auto usable = [](QWidget* w) { return w->isVisible() && w->isEnabled(); };
  for (unsigned i = 0; i < events; ++i) {
    bool hovered = false;
    const int kind = soak.Pick(12);
    switch (kind) {
      case 0: {
        // Any point of the bar but Quit, which would end the session.
        const int x = soak.Pick(650);
        if (MenuItemAt(window.Shell().Menu(), x) == MenuItem::Quit) break;
        QTest::mouseClick(window.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(x, 20));
        break;
      }
      case 1:
        QTest::mouseClick(window.Image2, Qt::LeftButton, Qt::NoModifier, pagePoint[soak.Pick(4)]);
        break;
      case 2:
        QTest::mouseClick(window.Image2, Qt::LeftButton, Qt::NoModifier,
                          QPoint(soak.Pick(650), soak.Pick(308)));
        break;
      case 3:
      case 4: {
        TNumEdit* field = soak.Pick(2) ? window.NumEdit1 : window.NumEdit2;
        if (!usable(field)) break;
        if (soak.Pick(4) == 0) field->SetProgramText("");
        QTest::keyClicks(field, QString::fromStdString(soak.RandomText()));
        break;
      }
      case 5: {
        QApplication::clipboard()->setText(QString::fromStdString(soak.RandomText()));
        TNumEdit* field = soak.Pick(2) ? window.NumEdit1 : window.NumEdit2;
        if (!usable(field)) break;
        if (soak.Pick(2)) {
          QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else {
          QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        }
        break;
      }
      case 6:
        if (!usable(window.Image3)) break;
        QTest::mouseClick(window.Image3, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
        break;
      case 7:
        if (!usable(window.Image4)) break;
        QTest::mouseClick(window.Image4, Qt::LeftButton, Qt::NoModifier, QPoint(soak.Pick(62), 10));
        break;
      case 8: {
        QRadioButton* radio = soak.Pick(2) ? window.RB1 : window.RB2;
        if (usable(radio)) QTest::mouseClick(radio, Qt::LeftButton);
        break;
      }
      case 9: {
        // Over a part's hit rectangle when there is one, or anywhere.
        const PageState& p = Global::Page();
        const HitArea r = soak.Pick(2) ? p.CapacitorHitRect
                                       : p.ResistorHitRects[static_cast<size_t>(1 + soak.Pick(2))];
        move(soak.Pick(3) ? QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2)
                          : QPoint(soak.Pick(650), soak.Pick(308)));
        hovered = true;
        break;
      }
      case 10: {
        const PageState& p = Global::Page();
        const HitArea r = soak.Pick(2) ? p.CapacitorHitRect : p.ResistorHitRects[1];
        const QPoint c((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        move(c);
        QTest::mouseClick(window.Image2, Qt::LeftButton, Qt::NoModifier, c);
        break;
      }
      default:
        if (usable(window.NumEdit1)) {
          QTest::keyClick(window.NumEdit1, soak.Pick(2) ? Qt::Key_Up : Qt::Key_Return);
        }
        break;
    }
    QApplication::processEvents();

    const PageState& page = Global::Page();
    ASSERT_EQ(QApplication::activeModalWidget(), nullptr) << "event " << i;
    ASSERT_LE(page.PageMode, PageMode::TextPage) << "event " << i;
    // A click between the menu items clears the flags and the caption but
    // leaves the design page and its panel showing; so the panel shows
    // whenever a design page was picked, and only on the design page.
    const bool panel = window.GB1->isVisible();
    ASSERT_EQ(window.GB3->isVisible(), panel) << "event " << i;
    if (page.DesignPageShown) {
      ASSERT_TRUE(panel) << "event " << i;
      ASSERT_EQ(window.windowTitle().toStdString(), DesignTitle(Global::TimerDesign().DesignMode))
          << "event " << i;
    } else {
      ASSERT_EQ(window.windowTitle(), "Version 1.4") << "event " << i;
    }
    if (panel || page.Calculated) {
      ASSERT_EQ(page.PageMode, PageMode::Designs) << "event " << i;
    }
    if (page.Calculated) {
      ASSERT_TRUE(panel) << "event " << i;
    }
    if (hovered && window.PageCursor() != kCursorDefault) {
      ASSERT_TRUE(page.DesignPageShown && page.Calculated) << "event " << i;
    }
    for (TNumEdit* field : {window.NumEdit1, window.NumEdit2}) {
      for (QChar c : field->text())
        ASSERT_TRUE(c.isDigit() || c == '.') << "event " << i;
    }
  }
  answer.stop();
  TNumEdit::SetBeepHandler(nullptr);
  RecordProperty("events", static_cast<int>(events));
  std::printf("soak: seed %u, %u events, %d dialogs, %d message boxes\n", seed, events, dialogs,
              messages);
}

}  // namespace
}  // namespace timer555
