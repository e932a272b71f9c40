// User flows through the real window: typing, clicking Calculate and the
// arrows, hovering the schematic and the adjustment dialog.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>
#include <sstream>

#include "app/canvas_view.h"
#include "app/check_window.h"
#include "app/export_dialog.h"
#include "app/image_control.h"
#include "app/main_window.h"
#include "app/save_dialog.h"
#include "app/simulation_panel.h"
#include "app/window_fixture.h"
#include "cli/cli.h"
#include "components/num_edit.h"
#include "design/adjust.h"
#include "export/board.h"
#include "format/engineering.h"
#include "state/global.h"
#include "support/scratch.h"

namespace timer555 {
namespace {

class DesignFlowTest : public WindowTest {
 protected:
  // Design selection, then the quadrant of design `mode`.
  void OpenDesign(int mode) {
    ClickMenu(MenuItem::Design);
    const QPoint quadrant[] = {{100, 50}, {500, 50}, {100, 250}, {500, 250}};
    QTest::mouseClick(window->Image2, Qt::LeftButton, Qt::NoModifier, quadrant[mode - 1]);
  }
  void Type(TNumEdit* field, const QString& text) {
    field->SetProgramText("");
    QTest::keyClicks(field, text);
  }

  // Runs `action`; each modal window that opens meanwhile goes to `onModal`,
  // which must close it. Returns the texts of the message boxes that opened.
  std::vector<std::string> WithModals(const std::function<void()>& action,
                                      const std::function<void(TfmAdjust*)>& onDialog = {}) {
    std::vector<std::string> messages;
    std::set<QWidget*> seen;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || seen.count(w) || !w->isVisible()) return;
      seen.insert(w);
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        messages.push_back(box->text().toStdString());
        EXPECT_EQ(box->windowTitle(), "Error");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        QTimer::singleShot(0, box->button(QMessageBox::Ok), &QPushButton::click);
      } else if (auto* dialog = qobject_cast<TfmAdjust*>(w)) {
        if (onDialog) {
          onDialog(dialog);
        } else {
          QTimer::singleShot(0, dialog->BitBtn1, &QPushButton::click);
        }
      }
    });
    timer.start();
    action();
    timer.stop();
    return messages;
  }

  std::vector<std::string> Calculate() {
    return WithModals(
        [&] { QTest::mouseClick(window->Image3, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10)); });
  }
  void ClickArrow(bool up) {
    QTest::mouseClick(window->Image4, Qt::LeftButton, Qt::NoModifier, QPoint(up ? 10 : 50, 10));
  }
  void Hover(QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(window->Image2->mapToGlobal(p)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->Image2, &move);
  }
  // Design 1 at 1 kHz, 75 %, with the mouse over C1: where it is.
  HitArea DesignOneOverC1() {
    OpenDesign(1);
    Type(window->NumEdit1, "1000");
    Type(window->NumEdit2, "75");
    Calculate();
    const HitArea c1 = Global::Page().CapacitorHitRect;
    Hover(Middle(c1));
    return c1;
  }
  static QPoint Middle(const HitArea& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void ClickPage(QPoint p) { QTest::mouseClick(window->Image2, Qt::LeftButton, Qt::NoModifier, p); }
  // Hovers a part and clicks it; the dialog gets `entry` typed and OK pressed.
  std::vector<std::string> Adjust(const HitArea& part, const QString& entry,
                                  std::string* shown = nullptr) {
    Hover(Middle(part));
    return WithModals([&] { ClickPage(Middle(part)); },
                      [&](TfmAdjust* dialog) {
                        if (shown) {
                          *shown = (dialog->Label1->text() + " " + dialog->NumEdit1->text() + " " +
                                    dialog->Label2->text())
                                       .toStdString();
                        }
                        dialog->NumEdit1->SetProgramText("");
                        QTest::keyClicks(dialog->NumEdit1, entry);
                        QTimer::singleShot(0, dialog->BitBtn1, &QPushButton::click);
                      });
  }
};

struct ValidationCase {
  const char* name;
  int mode;
  const char* first;
  const char* second;
  const char* message;  // empty: accepted
};

class ValidationTest : public DesignFlowTest,
                       public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(ValidationTest, CalculateShowsTheFirstProblem) {
  const ValidationCase& c = GetParam();
  OpenDesign(c.mode);
  Type(window->NumEdit1, c.first);
  if (window->NumEdit2->isEnabled()) Type(window->NumEdit2, c.second);
  const auto messages = Calculate();
  if (*c.message) {
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_FALSE(Global::Page().Calculated);
  } else {
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(Global::Page().Calculated);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ValidationTest,
    ::testing::Values(
        ValidationCase{"NoFrequency", 1, "", "75", "Frequency not entered."},
        ValidationCase{"NoPulse", 4, "", "", "Pulse length not entered."},
        ValidationCase{"NoDuty", 3, "1000", "", "Duty cycle not entered."},
        ValidationCase{"LowestFrequency", 1, "0.01", "75", ""},
        ValidationCase{"HighestFrequency", 3, "2000000", "25", ""},
        ValidationCase{"BelowLowest", 1, "0.0099", "75", "Frequency not realistic."},
        ValidationCase{"AboveHighest", 1, "2000000.1", "75", "Frequency not realistic."},
        ValidationCase{"TwoPoints", 1, "10.0.1", "75", "Frequency not realistic."},
        ValidationCase{"PointAlone", 2, ".", "", "Frequency not realistic."},
        ValidationCase{"HalfInModeOne", 1, "1000", "50", "Duty cycle not realistic for this mode."},
        ValidationCase{"FullInModeOne", 1, "1000", "100", "Duty cycle invalid."},
        ValidationCase{"ZeroInModeThree", 3, "1000", "0", "Duty cycle invalid."},
        ValidationCase{"HundredInModeThree", 3, "1000", "100", "Duty cycle invalid."},
        ValidationCase{"AboveHalfInModeThree", 3, "1000", "75", ""},
        ValidationCase{"SquareIgnoresDuty", 2, "1000", "", ""},
        ValidationCase{"ZeroPulse", 4, "0", "", "Invalid pulse length."},
        ValidationCase{"PulseIgnoresSecondField", 4, "1", "", ""}),
    [](const auto& row) { return row.param.name; });

TEST_F(DesignFlowTest, ValuesAreStoredBeforeTheChecks) {
  OpenDesign(1);
  Type(window->NumEdit1, "3000000");
  Type(window->NumEdit2, "80");
  Calculate();
  EXPECT_EQ(Global::TimerDesign().Frequency, 3000000);
  EXPECT_EQ(Global::TimerDesign().DutyCycle, 0.8);
}

// The road of a typical design: 1000 Hz at 75 %, then R1 adjusted to 8.2 K.
TEST_F(DesignFlowTest, TheRoadOfATypicalDesign) {
  OpenDesign(1);
  EXPECT_EQ(window->windowTitle(), "Astable, Duty Cycle > 50%");
  EXPECT_EQ(Global::TimerDesign().C1, 1e-6);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  EXPECT_TRUE(Calculate().empty());
  const TimerDesignState& d = Global::TimerDesign();
  EXPECT_DOUBLE_EQ(d.C1, 1e-7);
  EXPECT_NEAR(d.R1, 7213.475, 1e-3);
  EXPECT_NEAR(d.R2, 3606.738, 1e-3);
  EXPECT_NEAR(d.THigh, 750e-6, 1e-12);

  const HitArea r1 = Global::Page().ResistorHitRects[1];
  Hover(Middle(r1));
  EXPECT_EQ(window->PageCursor(), kCursorResistor);
  std::string shown;
  EXPECT_TRUE(Adjust(r1, "8.2", &shown).empty());
  EXPECT_EQ(shown, "R1 7.214 K");
  EXPECT_EQ(d.R1, 8200);
  EXPECT_EQ(window->NumEdit1->text(), "935.996");
  EXPECT_EQ(window->NumEdit2->text(), "76.6");
  // The dialog shows the calculated value again, not the adjusted one.
  EXPECT_TRUE(Adjust(r1, "7.214", &shown).empty());
  EXPECT_EQ(shown, "R1 7.214 K");
}

TEST_F(DesignFlowTest, AdjustmentOutsideTheBandIsRefusedAndStillRecalculates) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  const HitArea c1 = Global::Page().CapacitorHitRect;
  std::string shown;
  EXPECT_EQ(Adjust(c1, "121", &shown), std::vector<std::string>{"Maximum adjustment is +/- 20%."});
  EXPECT_EQ(shown, "C1 100 nF");
  EXPECT_DOUBLE_EQ(Global::TimerDesign().C1, 1e-7);
  EXPECT_EQ(window->NumEdit1->text(), "1000.000") << "the recalculation ran";
  EXPECT_TRUE(Adjust(c1, "120").empty());
  EXPECT_DOUBLE_EQ(Global::TimerDesign().C1, 1.2e-7);
  EXPECT_EQ(Adjust(c1, "83.33"), std::vector<std::string>{"Maximum adjustment is +/- 20%."});
  EXPECT_TRUE(Adjust(c1, "83.34").empty());
  EXPECT_DOUBLE_EQ(Global::TimerDesign().C1, 83.34e-9);
}

TEST_F(DesignFlowTest, TextsTheProgramWritesStandWhole) {
  // OK without a change recalculates from the calculated parts.
  const auto confirm = [&](const HitArea& part) {
    Hover(Middle(part));
    return WithModals([&] { ClickPage(Middle(part)); });
  };
  OpenDesign(1);
  Type(window->NumEdit1, "1500000");
  Type(window->NumEdit2, "75");
  Calculate();
  EXPECT_TRUE(confirm(Global::Page().ResistorHitRects[1]).empty());
  EXPECT_EQ(window->NumEdit1->text(), "1499997.422") << "as timer555-cli prints it";

  // Each Calculate counts the decimals of the recalculated text, and the next
  // recalculation writes three more: eleven characters.
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  confirm(Global::Page().CapacitorHitRect);
  EXPECT_EQ(window->NumEdit1->text(), "1000.000");
  Calculate();
  confirm(Global::Page().CapacitorHitRect);
  EXPECT_EQ(window->NumEdit1->text(), "1000.000000");

  OpenDesign(4);
  Type(window->NumEdit1, "99999999999");  // typing stops at ten characters
  EXPECT_EQ(window->NumEdit1->text(), "9999999999");
  Calculate();
  EXPECT_TRUE(Adjust(Global::Page().CapacitorHitRect, "0.0012").empty());
  EXPECT_EQ(window->NumEdit1->text(), "11999999998.800");
}

TEST_F(DesignFlowTest, DeleteEditsTheAdjustmentEntry) {
  const HitArea c1 = DesignOneOverC1();
  QString entered;
  WithModals([&] { ClickPage(Middle(c1)); },
             [&](TfmAdjust* dialog) {
               dialog->NumEdit1->SetProgramText("1100");
               dialog->NumEdit1->home(false);
               QTest::keyClick(dialog->NumEdit1, Qt::Key_Delete);
               entered = dialog->NumEdit1->text();
               QTimer::singleShot(0, dialog->BitBtn1, &QPushButton::click);
             });
  EXPECT_EQ(entered, "100");
  EXPECT_DOUBLE_EQ(Global::TimerDesign().C1, 1e-7);
}

// Escape closes the adjustment dialog from its number field, as from its
// buttons, and changes nothing.
TEST_F(DesignFlowTest, EscapeClosesTheAdjustmentFromItsField) {
  const HitArea c1 = DesignOneOverC1();
  bool closed = false;
  WithModals([&] { ClickPage(Middle(c1)); },
             [&](TfmAdjust* dialog) {
               dialog->NumEdit1->setFocus();
               dialog->NumEdit1->SetProgramText("2200");
               QTest::keyClick(dialog->NumEdit1, Qt::Key_Escape);
               closed = !dialog->isVisible() && dialog->result() == QDialog::Rejected;
               if (!closed) dialog->reject();
             });
  EXPECT_TRUE(closed);
  EXPECT_DOUBLE_EQ(Global::TimerDesign().C1, 1e-7);
}

TEST_F(DesignFlowTest, PartsOfAnEarlierDesignAreNotClickable) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  const HitArea oldR2 = Global::Page().ResistorHitRects[2];
  OpenDesign(4);
  Type(window->NumEdit1, "1");
  Calculate();
  Hover(Middle(oldR2));
  EXPECT_EQ(window->PageCursor(), kCursorDefault);
  EXPECT_EQ(Global::Page().ResistorHitRects[2], HitArea{});
  bool opened = false;
  WithModals([&] { ClickPage(Middle(oldR2)); },
             [&](TfmAdjust* dialog) {
               opened = true;
               QTimer::singleShot(0, dialog->BitBtn1, &QPushButton::click);
             });
  EXPECT_FALSE(opened);
}

TEST_F(DesignFlowTest, HoverCursorsFollowTheCalculation) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Hover({96, 180});
  EXPECT_EQ(window->PageCursor(), kCursorDefault) << "nothing to adjust before Calculate";
  Calculate();
  Hover(Middle(Global::Page().CapacitorHitRect));
  EXPECT_EQ(window->PageCursor(), kCursorCapacitor);
  Hover(Middle(Global::Page().ResistorHitRects[2]));
  EXPECT_EQ(window->PageCursor(), kCursorResistor);
  EXPECT_EQ(Global::Page().ResistorUnderCursor, 2);
  Hover({600, 20});
  EXPECT_EQ(window->PageCursor(), kCursorDefault);
  EXPECT_EQ(Global::Page().ResistorUnderCursor, 2) << "kept when the mouse leaves";
  ClickMenu(MenuItem::Help);
  Hover(Middle(Global::Page().CapacitorHitRect));
  EXPECT_EQ(window->PageCursor(), kCursorDefault);
}

TEST_F(DesignFlowTest, CapacitorArrowsStepTheE12SeriesAcrossDecades) {
  OpenDesign(1);
  Type(window->NumEdit1, "1");
  Type(window->NumEdit2, "60");
  Calculate();  // 1 µF, no step: index 0, count 8
  TimerDesignState& d = Global::TimerDesign();
  ClickArrow(false);
  EXPECT_EQ(d.E12Index, 11);
  EXPECT_EQ(d.DecadeCount, 9);
  EXPECT_DOUBLE_EQ(d.C1, 8.2e-7);
  ClickArrow(true);
  EXPECT_EQ(d.E12Index, 0);
  EXPECT_EQ(d.DecadeCount, 8);
  EXPECT_DOUBLE_EQ(d.C1, 1e-6);
  EXPECT_EQ(d.C1Ref, d.C1);
  // An up step that leaves too little resistance is followed by the search.
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();  // 100 nF
  for (int i = 0; i < 12; ++i)
    ClickArrow(true);
  EXPECT_EQ(d.E12Index, 0);
  EXPECT_DOUBLE_EQ(d.C1, 1e-7) << "one decade up, then divided back";
  EXPECT_EQ(d.DecadeCount, 9);
}

// The same parts with new values keep the keyboard's mark where it was.
TEST_F(DesignFlowTest, AStepKeepsTheMarkOnItsPart) {
  OpenDesign(3);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "25");
  Calculate();
  window->Image2->setFocus(Qt::TabFocusReason);
  window->Image2->SetCurrentItem(2);
  const int parts = static_cast<int>(window->Image2->AccessibleItems().size());
  ASSERT_GT(parts, 2);
  const std::string before = window->Image2->AccessibleItems()[2].name;
  ClickArrow(true);
  EXPECT_NE(window->Image2->AccessibleItems()[2].name, before) << "new values";
  EXPECT_EQ(window->Image2->CurrentItem(), 2);
}

TEST_F(DesignFlowTest, ArrowsWithAnInvalidFieldStepNothing) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  const auto messages = WithModals([&] { ClickArrow(true); });
  EXPECT_EQ(messages, std::vector<std::string>{"Duty cycle not entered."});
  EXPECT_EQ(Global::TimerDesign().E12Index, 0);
}

TEST_F(DesignFlowTest, TimerArrowsCycleThePackages) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  QTest::mouseClick(window->RB2, Qt::LeftButton);
  ASSERT_TRUE(window->RB2->isChecked());
  const double c1 = Global::TimerDesign().C1;
  const TimerVariant expectedUp[] = {TimerVariant::Timer556A, TimerVariant::Timer556B,
                                     TimerVariant::Timer555};
  for (TimerVariant v : expectedUp) {
    ClickArrow(true);
    EXPECT_EQ(Global::Drawing().TimerVariant, v);
  }
  ClickArrow(false);
  EXPECT_EQ(Global::Drawing().TimerVariant, TimerVariant::Timer556B);
  ClickArrow(false);
  EXPECT_EQ(Global::Drawing().TimerVariant, TimerVariant::Timer556A);
  EXPECT_EQ(Global::TimerDesign().C1, c1);
  // The gap between the arrows steps nothing.
  QTest::mouseClick(window->Image4, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
  EXPECT_EQ(Global::Drawing().TimerVariant, TimerVariant::Timer556A);
}

// The keyboard's Up and Down step C1 on the pictured arrows only: on the
// window and in the fields they change nothing.
TEST_F(DesignFlowTest, ArrowKeysStepTheCapacitorOnTheArrowsOnly) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  const double c1 = Global::TimerDesign().C1;
  QTest::keyClick(window.get(), Qt::Key_Up);
  QTest::keyClick(window->NumEdit2, Qt::Key_Down);
  EXPECT_EQ(Global::TimerDesign().C1, c1);
  window->Image4->setFocus(Qt::TabFocusReason);
  QTest::keyClick(window->Image4, Qt::Key_Up);
  EXPECT_NEAR(Global::TimerDesign().C1, 1.2e-7, 1e-18);
  EXPECT_EQ(window->Image4->CurrentItem(), 0);
  QTest::keyClick(window->Image4, Qt::Key_Down);
  EXPECT_EQ(Global::TimerDesign().C1, c1);
  EXPECT_EQ(window->Image4->CurrentItem(), 1) << "the mark on the arrow pressed";
}

}  // namespace
}  // namespace timer555

namespace timer555 {
namespace {

// The command line draws the same page area as the window after the same steps.
TEST_F(DesignFlowTest, CommandLineDrawsTheWindowsPixels) {
  struct Steps {
    int mode;
    const char* first;
    const char* second;
    bool timerB;
  };
  for (const Steps s : {Steps{1, "1000", "75", false}, Steps{2, "440", "", true},
                        Steps{3, "2.5", "30", false}, Steps{4, "10", "", false}}) {
    Global::Reset();
    window = std::make_unique<TfmMain>();
    ShowSettled(*window);
    OpenDesign(s.mode);
    Type(window->NumEdit1, s.first);
    if (*s.second) Type(window->NumEdit2, s.second);
    Calculate();
    ClickArrow(false);
    if (s.timerB) {
      QTest::mouseClick(window->RB2, Qt::LeftButton);
      ClickArrow(false);
    }
    const QImage shown = window->Image2->CanvasRef().Image().copy();
    const QString file = QDir::temp().filePath(QString("timer555_same_%1.png").arg(s.mode));
    std::vector<std::string> args = {"render",
                                     "design" + std::to_string(s.mode),
                                     s.mode == 4 ? "-t" : "-f",
                                     s.first,
                                     "--c1-down",
                                     "1",
                                     "-o",
                                     file.toStdString()};
    if (*s.second) args.insert(args.end(), {"-d", s.second});
    if (s.timerB) args.insert(args.end(), {"--timer", "556B"});
    std::ostringstream out, err;
    ASSERT_EQ(RunCli(args, out, err), ExitStatus::Success) << err.str();
    QImage drawn(file);
    QFile::remove(file);
    EXPECT_EQ(drawn.convertToFormat(shown.format()), shown) << "design " << s.mode;
  }
}

// The keyboard alone: F10 to the menu, the arrows and Enter to a design,
// the fields by Tab, Calculate and the parts by the arrows and Enter; the
// focus mark goes with the next mouse press and is never in the picture.
TEST_F(DesignFlowTest, TheKeyboardReachesTheDesign) {
  QTest::keyClick(window.get(), Qt::Key_F10);
  ASSERT_TRUE(window->Image1->hasFocus());
  EXPECT_TRUE(window->Image1->ShowsFocusMark());
  // A screen reader finds the marked part focused; Escape leaves the bar.
  QTest::keyClick(window->Image1, Qt::Key_Right);
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(window->Image1);
  EXPECT_TRUE(bar->child(1)->state().focused);
  EXPECT_FALSE(bar->child(0)->state().focused);
  QTest::keyClick(window->Image1, Qt::Key_Escape);
  EXPECT_FALSE(window->Image1->hasFocus());
  QTest::keyClick(window.get(), Qt::Key_F10);
  ASSERT_TRUE(window->Image1->hasFocus());
  const QImage menuPixels = window->Image1->CanvasRef().Image().copy();
  QTest::keyClick(window->Image1, Qt::Key_Return);  // "Design"
  ASSERT_EQ(Global::Page().PageMode, PageMode::Designs);
  EXPECT_EQ(window->Image1->CanvasRef().Image(), menuPixels) << "the mark is not drawn in";
  window->Image2->setFocus(Qt::TabFocusReason);
  QTest::keyClick(window->Image2, Qt::Key_Right);
  QTest::keyClick(window->Image2, Qt::Key_Right);
  QTest::keyClick(window->Image2, Qt::Key_Space);  // the third design
  ASSERT_EQ(Global::TimerDesign().DesignMode, 3);
  window->NumEdit1->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(window->NumEdit1, "1000");
  QTest::keyClick(window->NumEdit1, Qt::Key_Tab);
  QTest::keyClicks(QApplication::focusWidget(), "25");
  window->Image3->setFocus(Qt::TabFocusReason);
  QTest::keyClick(window->Image3, Qt::Key_Return);
  ASSERT_TRUE(Global::Page().Calculated);
  EXPECT_EQ(window->NumEdit2->text(), "25");
  // The parts of the schematic, each pressed with Enter: R1 opens its dialog.
  window->Image2->setFocus(Qt::TabFocusReason);
  const auto items = window->Image2->AccessibleItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_TRUE(window->Image2->ShowsFocusMark());
  QTest::mousePress(window->Image2, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_FALSE(window->Image2->ShowsFocusMark()) << "a mouse press takes the mark away";
}

// Alt alone goes to the menu bar and back; Alt with a caption's letter
// presses it; the Menu key opens the page's menu where the mark is. A screen
// reader hears the page's title and the fields' units.
TEST_F(DesignFlowTest, AltTheMenuKeyAndWhatIsHeard) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(window->Image2->accessibleName(), "Start page");
  const auto alt = [] {
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt);
  };
  window->Image2->setFocus();
  alt();
  ASSERT_TRUE(window->Image1->hasFocus());
  EXPECT_TRUE(window->Image1->ShowsFocusMark());
  alt();
  EXPECT_TRUE(window->Image2->hasFocus()) << "Alt again: back to the page";
  // Alt held for a letter is the letter's, not the menu bar's.
  QTest::keyPress(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
  QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
  QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt);
  EXPECT_EQ(Global::Page().PageMode, PageMode::Applications);
  EXPECT_TRUE(window->Image2->hasFocus());
  EXPECT_EQ(window->Image2->accessibleName(), "Applications");
  QTest::keyClick(window.get(), Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(Global::Page().PageMode, PageMode::DataList);
  QTest::keyClick(window->Image2, Qt::Key_Right);
  QTest::keyClick(window->Image2, Qt::Key_Return);
  EXPECT_EQ(window->Image2->accessibleName(), "Typical Timer specifications");
  QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
  QTest::keyClick(window->Image2, Qt::Key_End);
  QTest::keyClick(window->Image2, Qt::Key_Return);
  EXPECT_EQ(window->Image2->accessibleName().toStdString(), TraitsOf(DesignKind::OneShot).title);
  EXPECT_EQ(window->NumEdit1->accessibleDescription(), "in seconds");
  QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
  QTest::keyClick(window->Image2, Qt::Key_Return);
  EXPECT_EQ(window->NumEdit1->accessibleDescription(), "in hertz");
  EXPECT_EQ(window->NumEdit2->accessibleDescription(), "in percent");
  // The Menu key: the page's menu at the mark, closed again by Escape.
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0),
                            window->Image2->mapToGlobal(QPoint(0, 0)));
  QApplication::sendEvent(window->Image2, &menuKey);
  QTRY_VERIFY(window->PageMenu()->isVisible());
  QTest::keyClick(window->PageMenu(), Qt::Key_Escape);
  EXPECT_FALSE(window->PageMenu()->isVisible());
}

// The real-world check: a tool window beside the specified window.
class CheckWindowTest : public DesignFlowTest {
 protected:
  void Design3At1kHz() {
    OpenDesign(3);
    Type(window->NumEdit1, "1000");
    Type(window->NumEdit2, "25");
    Calculate();
  }
  TfmCheck* PressF9() {
    QTest::keyClick(window.get(), Qt::Key_F9);
    return window->CheckWindow();
  }
  // A control of the check window by the name a screen reader reads.
  template <typename T>
  static T* Control(TfmCheck* check, const QString& name) {
    for (T* w : check->findChildren<T*>())
      if (w->accessibleName() == name) return w;
    ADD_FAILURE() << "no control " << name.toStdString();
    return nullptr;
  }
  // A label of the check window by what it is: its text is what a screen
  // reader reads, its description says what the text is.
  static QString Cell(TfmCheck* check, const QString& name) {
    for (QLabel* l : check->findChildren<QLabel*>())
      if (l->accessibleDescription() == name) return l->text();
    return "(no " + name + ")";
  }
};

TEST_F(CheckWindowTest, F9OpensItAndItExplainsTheSlowDiodeDesign) {
  TfmCheck* check = PressF9();
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(check->isVisible());
  EXPECT_EQ(check->windowTitle(), "Real-world check");
  EXPECT_TRUE(Cell(check, "Design").startsWith("No calculated design"));
  Design3At1kHz();
  EXPECT_EQ(check->windowTitle(), QString("Real-world check \u2014 Astable, Duty Cycle < 50%"));
  EXPECT_EQ(Cell(check, "Frequency, ideal"), "1.000 kHz");
  EXPECT_EQ(Cell(check, "Frequency, predicted"), "863.6 Hz");
  Control<QDoubleSpinBox>(check, "Supply voltage")->setValue(5);
  EXPECT_EQ(Cell(check, "Frequency, predicted"), "771.7 Hz");
  EXPECT_TRUE(check->WarningsText().contains("diode-drop"));
  EXPECT_TRUE(check->WarningsText().contains("22.8 % slow"));
  // A screen reader reads the figures and the warnings themselves, with what
  // they are as the description.
  int read = 0;
  for (QLabel* l : check->findChildren<QLabel*>()) {
    if (l->accessibleDescription() != "Frequency, predicted" &&
        l->accessibleDescription() != "Warnings")
      continue;
    ++read;
    QAccessibleInterface* label = QAccessible::queryAccessibleInterface(l);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(QAccessible::Description), l->accessibleDescription());
    const QString name = label->text(QAccessible::Name);
    EXPECT_TRUE(name.contains("771.7 Hz") || name.contains("diode-drop")) << name.toStdString();
  }
  EXPECT_EQ(read, 2);
  // An empty cell or status reads "blank", not the title of its group.
  for (const char* empty : {"Frequency, simulated", "Simulation status"}) {
    for (QLabel* l : check->findChildren<QLabel*>()) {
      if (l->accessibleDescription() != empty) continue;
      EXPECT_EQ(QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name), "blank")
          << empty;
    }
  }
  // A combo box says its choice in its description, and follows it.
  auto* family = Control<QComboBox>(check, "Timer family");
  ASSERT_NE(family, nullptr);
  EXPECT_EQ(family->accessibleDescription(), family->currentText());
  family->setCurrentIndex(1);
  EXPECT_EQ(family->accessibleDescription(), "CMOS (7555 class)");
  family->setCurrentIndex(0);
  // Every control has a name a screen reader reads.
  for (QWidget* w : check->findChildren<QWidget*>()) {
    if (qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
        qobject_cast<QPushButton*>(w)) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
    }
  }
}

// The design is announced when it changes and only then: a mouse moving
// over the schematic says nothing, Calculate and an arrow click do.
TEST_F(CheckWindowTest, TheDesignIsAnnouncedOnlyWhenItChanges) {
  QSignalSpy announced(window.get(), &TfmMain::DesignChanged);
  Design3At1kHz();
  ASSERT_EQ(announced.count(), 1);
  EXPECT_TRUE(announced.takeFirst()[0].value<std::optional<DesignSnapshot>>().has_value());
  for (int x = 0; x < window->Image2->width(); x += 7)
    QTest::mouseMove(window->Image2, QPoint(x, window->Image2->height() / 2));
  QApplication::processEvents();
  EXPECT_EQ(announced.count(), 0);
  ClickArrow(false);
  EXPECT_EQ(announced.count(), 1);
  ClickMenu(MenuItem::Help);
  ASSERT_EQ(announced.count(), 2);
  EXPECT_FALSE(announced.last()[0].value<std::optional<DesignSnapshot>>().has_value());
}

TEST_F(CheckWindowTest, FollowsTheDesignAndAppliesPartsForTheBench) {
  Design3At1kHz();
  TfmCheck* check = PressF9();
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() == 5);
  const QString before = check->FiguresText();
  ClickArrow(false);  // C1 one E12 step down: new resistors
  EXPECT_NE(check->FiguresText(), before);
  ClickMenu(MenuItem::Help);
  EXPECT_TRUE(Cell(check, "Design").startsWith("No calculated design"));
  EXPECT_EQ(check->PartsTable()->rowCount(), 0);
  EXPECT_FALSE(check->ApplyPartsButton()->isEnabled());

  Design3At1kHz();
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() == 5);
  EXPECT_TRUE(check->Histogram()->HasPicture());
  EXPECT_TRUE(check->Histogram()->accessibleDescription().startsWith("C1 "));
  // The same answer as the command line's search, and the first choice the
  // window's own paths can reach is entered through them.
  PartsQuestion question;
  question.target = *window->Shell().CheckedDesign();
  const PartsAnswer answer =
      FindParts(question.target, question.bench, Series::E24, CapacitorSeries::E6);
  int reachable = -1;
  for (int row = 0; row < 5 && reachable < 0; ++row) {
    check->PartsTable()->selectRow(row);
    EXPECT_EQ(check->PartsTable()->item(row, 1)->text().toStdString(),
              EngineeringText(answer.choices[static_cast<size_t>(row)].r1, "\u03a9"));
    if (check->ApplyPartsButton()->isEnabled()) {
      reachable = row;
    } else {
      EXPECT_TRUE(check->ApplyPartsButton()->toolTip().startsWith("Not reachable"));
      EXPECT_EQ(check->ApplyPartsButton()->accessibleDescription(),
                check->ApplyPartsButton()->toolTip());
    }
  }
  ASSERT_GE(reachable, 0) << "one of the five is reachable";
  QTest::mouseClick(check->CopyPartsButton(), Qt::LeftButton);
  const QString list = QApplication::clipboard()->text();
  EXPECT_TRUE(list.startsWith("R1\t")) << list.toStdString();
  EXPECT_TRUE(list.contains(" capacitor")) << list.toStdString();
  const PartsChoice& chosen = answer.choices[static_cast<size_t>(reachable)];
  QTest::mouseClick(check->ApplyPartsButton(), Qt::LeftButton);
  const TimerDesignState& d = Global::TimerDesign();
  EXPECT_NEAR(d.C1 / chosen.c1, 1, 1e-9);
  EXPECT_EQ(d.R1, chosen.r1);
  EXPECT_EQ(d.R2, *chosen.r2);
  // The search answers for the applied design; Copy parts list copies the
  // parts just applied, not the new answer's first row.
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() > 0);
  QTest::mouseClick(check->CopyPartsButton(), Qt::LeftButton);
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
      QString::fromStdString("R1\t" + EngineeringText(chosen.r1, "\u03a9"))))
      << QApplication::clipboard()->text().toStdString();
}

TEST_F(CheckWindowTest, TheMainWindowsPixelsStayAsTheyAre) {
  const auto session = [&](bool withCheck) {
    Global::Reset();
    window = std::make_unique<TfmMain>();
    ShowSettled(*window);
    if (withCheck) PressF9();
    Design3At1kHz();
    ClickArrow(true);
    if (withCheck) {
      Control<QDoubleSpinBox>(window->CheckWindow(), "Supply voltage")->setValue(12);
      window->CheckWindow()->close();
    }
    Adjust(Global::Page().CapacitorHitRect, "120");
    QApplication::processEvents();
    std::vector<QImage> images;
    for (ImageControl* image :
         {window->Image1, window->Image2, window->Image3, window->Image4, window->Image5})
      images.push_back(image->CanvasRef().Image().copy());
    images.push_back(window->grab().toImage());
    return images;
  };
  const auto without = session(false);
  const auto with = session(true);
  ASSERT_EQ(without.size(), with.size());
  for (size_t i = 0; i < with.size(); ++i)
    EXPECT_EQ(with[i], without[i]) << i;
}

TEST_F(CheckWindowTest, PageMenuCopiesAndSavesThePicture) {
  QMenu* menu = window->PageMenu();
  QStringList texts;
  for (QAction* a : menu->actions())
    texts << a->text();
  EXPECT_EQ(texts, (QStringList{"Real-world check\u2026", "Copy picture", "Save picture as\u2026",
                                "Export\u2026", "Keyboard\u2026"}));
  EXPECT_FALSE(menu->actions().front()->isEnabled()) << "nothing calculated yet";
  EXPECT_FALSE(menu->actions().at(3)->isEnabled()) << "nothing to export yet";
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  EXPECT_TRUE(window->PageMenu()->actions().front()->isEnabled());
  EXPECT_TRUE(window->PageMenu()->actions().at(3)->isEnabled());
  window->CopyPicture();
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
            window->Image2->CanvasRef().Image());
  const QString dir = QDir::temp().filePath("timer555_save_test");
  QDir().mkpath(dir);
  ASSERT_TRUE(window->SavePicture(dir + "/page.png"));
  EXPECT_EQ(QImage(dir + "/page.png").convertToFormat(QImage::Format_RGB32),
            window->Image2->CanvasRef().Image());
  // The same pixels as timer555-cli render.
  std::ostringstream out, err;
  ASSERT_EQ(RunCli({"render", "design1", "-f", "1000", "-d", "75", "-o",
                    (dir + "/cli.png").toStdString()},
                   out, err),
            ExitStatus::Success);
  EXPECT_EQ(QImage(dir + "/cli.png").convertToFormat(QImage::Format_RGB32),
            window->Image2->CanvasRef().Image());
  ASSERT_TRUE(window->SavePicture(dir + "/page.svg"));
  QFile svg(dir + "/page.svg");
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains(">7.214K</text>"));
  // A file that cannot be written is a message, not a silent failure.
  const auto messages =
      WithModals([&] { EXPECT_FALSE(window->SavePicture(dir + "/missing/dir/page.png")); });
  EXPECT_EQ(messages.size(), 1u);
  QDir(dir).removeRecursively();
}

TEST_F(CheckWindowTest, AFailedSaveSaysWhyAndKeepsTheOldFile) {
  OpenDesign(1);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "75");
  Calculate();
  const QString dir = QDir::temp().filePath("timer555_failed_save");
  QDir().mkpath(dir);
  ASSERT_TRUE(QFile::link("/dev/full", dir + "/full.png"));
  auto messages = WithModals([&] { EXPECT_FALSE(window->SavePicture(dir + "/full.png")); });
  EXPECT_EQ(messages,
            std::vector<std::string>{"cannot write '" + (dir + "/full.png").toStdString() +
                                     "': No space left on device"});
  // A read-only drawing stays whole.
  QFile old(dir + "/old.svg");
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("<svg>the old drawing</svg>");
  old.close();
  old.setPermissions(QFile::ReadOwner);
  messages = WithModals([&] { EXPECT_FALSE(window->SavePicture(dir + "/old.svg")); });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Permission denied"), std::string::npos);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "<svg>the old drawing</svg>");
  old.close();
  old.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  QDir(dir).removeRecursively();
}

// A name typed without an extension gets it before the question whether an
// existing file is replaced, so "page" never silently replaces page.png.
TEST_F(CheckWindowTest, TheExtensionIsSettledBeforeTheOverwriteQuestion) {
  EXPECT_EQ(
      SettledSaveName("/x/page", "PNG picture (*.png);;SVG drawing (*.svg)", "SVG drawing (*.svg)"),
      "/x/page.svg");
  EXPECT_EQ(SettledSaveName("/x/page.PNG", "PNG picture (*.png)", ""), "/x/page.PNG");
  EXPECT_EQ(SettledSaveName("/x/page.txt", "SPICE netlist (*.cir)", ""), "/x/page.txt.cir");
  const QString dir = QDir::temp().filePath("timer555_overwrite");
  QDir().mkpath(dir);
  QFile existing(dir + "/page.png");
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("the old picture");
  existing.close();
  SetSaveNameAsker([&](QWidget*, const QString&, const QString&, const QString&, QString* chosen) {
    *chosen = "PNG picture (*.png)";
    return dir + "/page";
  });
  QAction* save = window->PageMenu()->actions().at(2);
  ASSERT_EQ(save->text(), "Save picture as\u2026");
  for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    QString question;
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      question = box->text();
      box->button(answer)->click();
    });
    save->trigger();
    EXPECT_EQ(question, "'page.png' already exists. Replace it?");
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll() == "the old picture", answer == QMessageBox::No);
    existing.close();
  }
  SetSaveNameAsker({});
  EXPECT_FALSE(QFileInfo::exists(dir + "/page"));
  QDir(dir).removeRecursively();
}

TEST_F(CheckWindowTest, SimulatesInTheBackground) {
  if (FindNgspice().empty()) GTEST_SKIP() << "ngspice is not installed";
  Design3At1kHz();
  TfmCheck* check = PressF9();
  SimulationPanel* panel = check->Simulation();
  ASSERT_TRUE(panel->SimulateButton()->isEnabled());
  QTest::mouseClick(panel->SimulateButton(), Qt::LeftButton);
  EXPECT_EQ(panel->SimulateButton()->text(), "Cancel") << "the window answers while ngspice runs";
  EXPECT_TRUE(panel->Busy()->isVisibleTo(check));
  QTRY_VERIFY_WITH_TIMEOUT(!panel->Running() && panel->SimulateButton()->text() == "Simulate",
                           6000);
  EXPECT_TRUE(panel->Status()->text().startsWith("Simulated by ngspice"))
      << panel->Status()->text().toStdString();
  EXPECT_EQ(Cell(check, "Frequency, simulated"), Cell(check, "Frequency, predicted"))
      << "simulated and predicted agree within 0.05 %";
  EXPECT_EQ(Cell(check, "Frequency, predicted"), "863.6 Hz");
  EXPECT_TRUE(panel->Picture()->HasWave());
  EXPECT_TRUE(panel->Picture()->accessibleDescription().startsWith("Output high "));
  // A change of the design clears what no longer holds.
  ClickArrow(false);
  EXPECT_EQ(Cell(check, "Frequency, simulated"), "");
  const QString file = QDir::temp().filePath("timer555_panel.cir");
  ASSERT_TRUE(panel->SaveNetlist(file));
  QFile netlist(file);
  ASSERT_TRUE(netlist.open(QIODevice::ReadOnly));
  EXPECT_TRUE(netlist.readAll().startsWith("* timer555: astable, duty cycle below 50 %"));
  netlist.remove();
}

TEST_F(CheckWindowTest, CancelEndsTheRunAndAMissingSimulatorSaysWhy) {
  const QString dir = QDir::temp().filePath("timer555_panel_bin");
  QDir().mkpath(dir);
  const QString standIn = dir + "/sleeper";
  {
    QFile script(standIn);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nsleep 30\n");
  }
  QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  Design3At1kHz();
  TfmCheck* check = PressF9();
  SimulationPanel* panel = check->Simulation();
  panel->SetProgram(standIn.toStdString(), 20);
  check->resize(900, 700);
  QApplication::processEvents();
  const QRect simulate = panel->SimulateButton()->geometry();
  const QRect netlist = panel->NetlistButton()->geometry();
  const QSize size = check->size();
  QTest::mouseClick(panel->SimulateButton(), Qt::LeftButton);
  ASSERT_TRUE(panel->Running());
  QApplication::processEvents();
  // The buttons stay where they were: a second click on the same spot cancels.
  EXPECT_EQ(panel->SimulateButton()->geometry(), simulate);
  EXPECT_EQ(panel->NetlistButton()->geometry(), netlist);
  EXPECT_EQ(panel->SimulateButton()->accessibleName(), "Cancel");
  EXPECT_EQ(check->size(), size);
  QTest::mouseClick(panel->SimulateButton(), Qt::LeftButton);  // Cancel
  QTRY_VERIFY_WITH_TIMEOUT(!panel->Running(), 3000);
  EXPECT_EQ(panel->Status()->text(), "the simulation was cancelled");
  EXPECT_EQ(panel->SimulateButton()->accessibleName(), "Simulate");

  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", dir.toUtf8());
  panel->SetProgram("ngspice", kSimulationSeconds);
  qputenv("PATH", path);
  EXPECT_FALSE(panel->SimulateButton()->isEnabled());
  EXPECT_EQ(panel->SimulateButton()->toolTip().toStdString(), kNgspiceMissing);
  EXPECT_EQ(panel->Status()->text().toStdString(), kNgspiceMissing);
  QDir(dir).removeRecursively();
}

// The tool window resizes, keeps its size when results come, closes on
// Escape and presses the focused button on Return.
TEST_F(CheckWindowTest, AResizableToolWindowThatAnswersTheKeys) {
  Design3At1kHz();
  TfmCheck* check = PressF9();
  ASSERT_TRUE(check->isVisible());
  EXPECT_LT(check->minimumSizeHint().width(), check->sizeHint().width());
  check->resize(500, 400);
  QApplication::processEvents();
  EXPECT_EQ(check->size(), QSize(500, 400)) << "resizable";
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() == 5);
  const double r1 = Global::TimerDesign().R1;
  int row = 0;
  for (; row < 5; ++row) {
    check->PartsTable()->selectRow(row);
    if (check->ApplyPartsButton()->isEnabled()) break;
  }
  ASSERT_LT(row, 5);
  check->ApplyPartsButton()->setFocus();
  QTest::keyClick(check, Qt::Key_Return);
  QTRY_VERIFY(Global::TimerDesign().R1 != r1);
  QTest::keyClick(check, Qt::Key_Escape);
  EXPECT_FALSE(check->isVisible());
}

// Narrower than its two columns at their least the window stacks them, so
// that nothing scrolls sideways; wide enough, they stand side by side again.
TEST_F(CheckWindowTest, ANarrowWindowStacksItsColumns) {
  Design3At1kHz();
  TfmCheck* check = PressF9();
  const auto box = [check](const QString& title) {
    for (auto* group : check->findChildren<QGroupBox*>())
      if (group->title() == title) return group->mapTo(check, QPoint(0, 0));
    ADD_FAILURE() << "no group " << title.toStdString();
    return QPoint();
  };
  auto* scroll = check->findChild<QScrollArea*>();
  ASSERT_NE(scroll, nullptr);
  const QSize least = check->minimumSizeHint();
  ASSERT_LT(least.width(), check->sizeHint().width());
  check->resize(least.width(), 600);
  QApplication::processEvents();
  EXPECT_GT(box("Warnings").y(), box("Worst case").y()) << "stacked";
  EXPECT_EQ(box("Warnings").x(), box("Built with").x());
  EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
  // A little narrower than wanted, the columns still stand side by side.
  for (int width : {check->sizeHint().width(), check->sizeHint().width() - 40}) {
    check->resize(width, 600);
    QApplication::processEvents();
    EXPECT_GT(box("Warnings").x(), box("Built with").x()) << width << ": side by side";
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << width;
  }
}

// Tab walks the check window's controls round, each with a name a reader
// says; no stop is a bare container.
TEST_F(CheckWindowTest, EveryTabStopIsANamedControl) {
  Design3At1kHz();
  TfmCheck* check = PressF9();
  QTRY_VERIFY(!check->Searching());
  QApplication::setActiveWindow(check);
  check->ApplyPartsButton()->setFocus(Qt::TabFocusReason);
  QWidget* first = QApplication::focusWidget();
  ASSERT_NE(first, nullptr);
  int stops = 0;
  QWidget* at = first;
  do {
    ASSERT_EQ(at->window(), check);
    EXPECT_EQ(qobject_cast<QScrollArea*>(at), nullptr) << "a scroll area";
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name).isEmpty())
        << at->metaObject()->className();
    QTest::keyClick(at, Qt::Key_Tab);
    at = QApplication::focusWidget();
    ASSERT_NE(at, nullptr);
  } while (at != first && ++stops < 40);
  EXPECT_LT(stops, 40) << "Tab comes round";
}

// F9 brings the closed window back, the same window with its settings.
TEST_F(CheckWindowTest, F9ReopensTheClosedWindow) {
  TfmCheck* check = PressF9();
  Control<QDoubleSpinBox>(check, "Supply voltage")->setValue(12);
  check->close();
  EXPECT_FALSE(check->isVisible());
  EXPECT_EQ(PressF9(), check);
  EXPECT_TRUE(check->isVisible());
  EXPECT_EQ(check->Settings().conditions.vcc, 12);
}

// The check of a design is the same in the window and on the command line,
// whatever the timer arrows did to the reference values after an adjustment.
TEST_F(CheckWindowTest, TheTimerArrowsLeaveTheCheckAsTheCommandLineHasIt) {
  Design3At1kHz();
  ClickArrow(false);
  ASSERT_TRUE(Adjust(Global::Page().ResistorHitRects[1], "4.7").empty());
  TfmCheck* check = window->OpenCheck();
  const QString before = Cell(check, "Frequency, predicted");
  const QString band = Cell(check, "Worst case");
  QTest::mouseClick(window->RB2, Qt::LeftButton);
  ClickArrow(true);  // 555 -> 556 A
  EXPECT_EQ(Cell(check, "Frequency, predicted"), before);
  EXPECT_EQ(Cell(check, "Worst case"), band);
  std::ostringstream out, err;
  ASSERT_EQ(RunCli({"check", "3", "-f", "1000", "-d", "25", "--c1-down", "1", "--set", "R1=4.7",
                    "--timer", "556A"},
                   out, err),
            ExitStatus::Success);
  const std::string text = out.str();
  const size_t row = text.find("\nFrequency ");
  ASSERT_NE(row, std::string::npos) << text;
  const std::string line = text.substr(row + 1, text.find('\n', row + 1) - row - 1);
  EXPECT_NE(line.find("  " + before.toStdString()), std::string::npos) << line;
  const std::string worst = band.mid(band.indexOf(": ") + 2).toStdString();
  EXPECT_NE(out.str().find(worst), std::string::npos) << worst << "\n" << out.str();
}

}  // namespace
}  // namespace timer555

namespace timer555 {
namespace {

// The whole road with the keyboard alone and with the mouse: design 3 at
// 1000 Hz and 25 %, C1 one step up, R1 adjusted, parts for the bench applied
// from the check window, the page saved. Both end in the same pixels.
class RoadTest : public CheckWindowTest {
 protected:
  void SetUp() override {
    CheckWindowTest::SetUp();
    // A folder of its own: the road tests run side by side.
    dir = QString::fromStdString(ScratchFolder("timer555_road").string());
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
  }
  void TearDown() override {
    SetSaveNameAsker({});
    QDir(dir).removeRecursively();
    CheckWindowTest::TearDown();
  }
  // A key to whatever has the keyboard: an open menu, a dialog, the window.
  static void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = QApplication::activePopupWidget();
    if (to == nullptr) to = QApplication::focusWidget();
    if (to == nullptr) to = QApplication::activeWindow();
    ASSERT_NE(to, nullptr) << "nothing has the keyboard for key " << std::hex << key;
    QTest::keyClick(to, static_cast<Qt::Key>(key), modifiers);
  }
  static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  // Presses `key`; the modal window it opens gets `inside` typed, which must close it.
  static void KeyIntoModal(int key, const std::function<void()>& inside,
                           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    bool done = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (done || modal == nullptr || !modal->isVisible()) return;
      // A window manager gives a new dialog the keyboard; the offscreen
      // platform now and then leaves it with the window below.
      if (!modal->isActiveWindow()) modal->activateWindow();
      // Keys go to the dialog once it has the keyboard.
      if (QApplication::focusWidget() == nullptr || QApplication::focusWidget()->window() != modal)
        return;
      done = true;
      inside();
    });
    timer.start();
    Key(key, modifiers);
    timer.stop();
    EXPECT_TRUE(done) << "no dialog opened";
  }
  // The offscreen platform activates no window when another closes; a window
  // manager gives the keyboard back to the window below.
  static void Reactivate(QWidget* below) {
    if (QApplication::activeWindow() != nullptr) return;
    below->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(below));
  }
  // Tab until `target` has the focus; at most `limit` presses.
  static void TabTo(QWidget* target, int limit = 20) {
    for (int i = 0; i < limit && !target->hasFocus(); ++i)
      Key(Qt::Key_Tab);
    ASSERT_TRUE(target->hasFocus()) << target->objectName().toStdString() << " not reached by Tab";
  }
  // The text typed into the adjustment dialog: R1 a tenth up, in kilohms.
  static QString R1Entry() { return "3.3"; }
  // The first of the bench choices the window can enter.
  static int ReachableChoice(TfmCheck* check) {
    for (int row = 0; row < check->PartsTable()->rowCount(); ++row) {
      check->PartsTable()->selectRow(row);
      if (check->ApplyPartsButton()->isEnabled()) return row;
    }
    return -1;
  }
  std::vector<QImage> Pictures() const {
    std::vector<QImage> images;
    for (ImageControl* image :
         {window->Image1, window->Image2, window->Image3, window->Image4, window->Image5})
      images.push_back(image->CanvasRef().Image().copy());
    return images;
  }

  QString dir;
};

TEST_F(RoadTest, TheKeyboardAloneEndsWhereTheMouseDoes) {
  // The mouse.
  OpenDesign(3);
  Type(window->NumEdit1, "1000");
  Type(window->NumEdit2, "25");
  Calculate();
  ClickArrow(true);
  ASSERT_TRUE(Adjust(Global::Page().ResistorHitRects[1], R1Entry()).empty());
  window->PageMenu()->actions().at(0)->trigger();
  TfmCheck* check = window->CheckWindow();
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() == 5);
  const int choice = ReachableChoice(check);
  ASSERT_GE(choice, 0);
  check->PartsTable()->clearSelection();
  QTableWidget* table = check->PartsTable();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                    table->visualItemRect(table->item(choice, 0)).center());
  EXPECT_TRUE(
      WithModals([&] { QTest::mouseClick(check->ApplyPartsButton(), Qt::LeftButton); }).empty())
      << "what the window offers it can enter";
  check->close();
  SetSaveNameAsker([&](QWidget*, const QString&, const QString&, const QString&, QString*) {
    return dir + "/mouse.png";
  });
  window->PageMenu()->actions().at(2)->trigger();
  const std::vector<QImage> mouse = Pictures();
  const TimerDesignState byMouse = Global::TimerDesign();
  SetSaveNameAsker({});

  // The keyboard, from a new window.
  delete check;
  Global::Reset();
  window = std::make_unique<TfmMain>();
  ShowSettled(*window);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  Key(Qt::Key_F10);
  Key(Qt::Key_Return);  // Design
  ASSERT_EQ(Global::Page().PageMode, PageMode::Designs);
  Key(Qt::Key_Tab);
  ASSERT_TRUE(window->Image2->ShowsFocusMark());
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  Key(Qt::Key_Space);  // the third design
  ASSERT_EQ(Global::TimerDesign().DesignMode, 3);
  Key(Qt::Key_Tab);
  ASSERT_TRUE(window->NumEdit1->hasFocus());
  Keys("1000");
  Key(Qt::Key_Return);  // on to the second field
  Keys("25");
  Key(Qt::Key_Tab);
  ASSERT_TRUE(window->Image3->hasFocus());
  Key(Qt::Key_Return);  // Calculate
  ASSERT_TRUE(Global::Page().Calculated);
  TabTo(window->Image4);  // past C1 (chosen) to the arrows
  ASSERT_TRUE(window->RB1->isChecked());
  Key(Qt::Key_Space);  // up
  TabTo(window->Image2);
  Key(Qt::Key_Right);  // C1, then R1
  ASSERT_EQ(window->Image2->CurrentItem(), 1);
  ASSERT_EQ(window->Image2->AccessibleItems().at(1).name.substr(0, 4), "R1, ");
  const QString entry = R1Entry();
  KeyIntoModal(Qt::Key_Return, [&] {
    // A reader hears the field as the part with its unit and the range it
    // takes, the value as typed.
    QAccessibleInterface* field =
        QAccessible::queryAccessibleInterface(QApplication::focusWidget());
    EXPECT_EQ(field->text(QAccessible::Name), "R1");
    EXPECT_TRUE(field->text(QAccessible::Description).startsWith("in kilohms, from "))
        << field->text(QAccessible::Description).toStdString();
    Keys(entry);

    Key(Qt::Key_Return);  // to OK
    Key(Qt::Key_Return);
  });
  Reactivate(window.get());
  Key(Qt::Key_F9);
  check = window->CheckWindow();
  QTRY_VERIFY(check->isActiveWindow());
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() == 5);
  TabTo(check->PartsTable());
  Key(Qt::Key_Home, Qt::ControlModifier);
  for (int i = 0; i < choice; ++i)
    Key(Qt::Key_Down);
  ASSERT_EQ(check->PartsTable()->currentRow(), choice);
  TabTo(check->ApplyPartsButton());
  Key(Qt::Key_Space);
  Key(Qt::Key_Escape);
  ASSERT_FALSE(check->isVisible());
  Reactivate(window.get());
  ASSERT_TRUE(window->Image2->hasFocus());
  Key(Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the page's menu";
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // Save picture as
  KeyIntoModal(Qt::Key_Return, [&] {
    Key(Qt::Key_A, Qt::ControlModifier);
    Keys(dir + "/keyboard.png");
    Key(Qt::Key_Return);
  });
  Reactivate(window.get());
  const std::vector<QImage> keyboard = Pictures();
  EXPECT_EQ(Global::TimerDesign().R1, byMouse.R1);
  EXPECT_EQ(Global::TimerDesign().R2, byMouse.R2);
  EXPECT_EQ(Global::TimerDesign().C1, byMouse.C1);
  for (size_t i = 0; i < mouse.size(); ++i)
    EXPECT_EQ(keyboard[i], mouse[i]) << "Image" << i + 1;
  QFile a(dir + "/mouse.png"), b(dir + "/keyboard.png");
  ASSERT_TRUE(a.open(QIODevice::ReadOnly));
  ASSERT_TRUE(b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());
}

// The message boxes that open while it lives are read and answered: Yes to
// a question where `replace`, else No; OK to the rest.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(bool replace = true) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, replace] {
      // Marked, not remembered by address: one box on the stack may take
      // the place of the last.
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || box->property("answered").toBool() || !box->isVisible()) return;
      box->setProperty("answered", true);
      texts.push_back(box->text());
      QAbstractButton* answer = box->button(QMessageBox::Ok);
      if (answer == nullptr) answer = box->button(replace ? QMessageBox::Yes : QMessageBox::No);
      QTimer::singleShot(0, answer, &QAbstractButton::click);
    });
    timer_.start();
  }
  QStringList texts;

 private:
  QTimer timer_;
};

// The chosen row of the bench parts goes on to the board by keyboard alone:
// Export… in the check window, the name and folder typed, Enter; three
// files with the chosen parts, the dialog's last word what it wrote, and the
// keyboard back in the check window.
TEST_F(RoadTest, ExportWritesTheChosenPartsByKeyboard) {
  Design3At1kHz();
  Key(Qt::Key_F9);
  TfmCheck* check = window->CheckWindow();
  QTRY_VERIFY(check->isActiveWindow());
  QTRY_VERIFY(!check->Searching() && check->PartsTable()->rowCount() == 5);
  PartsQuestion question;
  question.target = *window->Shell().CheckedDesign();
  const PartsAnswer answer =
      FindParts(question.target, question.bench, Series::E24, CapacitorSeries::E6);
  TabTo(check->PartsTable());
  Key(Qt::Key_Home, Qt::ControlModifier);
  Key(Qt::Key_Down);  // the second choice
  ASSERT_EQ(check->PartsTable()->currentRow(), 1);
  TabTo(check->ExportPartsButton());
  BoxAnswerer boxes;
  KeyIntoModal(Qt::Key_Space, [&] {
    auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->accessibleName(), "Export");
    EXPECT_TRUE(dialog->accessibleDescription().startsWith("Export C1 ")) << "what it exports";
    Key(Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(dialog->NameField()->hasFocus());
    Key(Qt::Key_A, Qt::ControlModifier);
    Keys("board");
    Key(Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(dialog->FolderField()->hasFocus());
    Key(Qt::Key_A, Qt::ControlModifier);
    Keys(dir);
    Key(Qt::Key_Return);
  });
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(boxes.texts.front(), "Wrote board.kicad_sch, board.csv, board.pdf in " + dir + ".");
  Reactivate(check);
  EXPECT_TRUE(check->isActiveWindow()) << "the keyboard back where it was";
  const PartsChoice& chosen = answer.choices.at(1);
  const std::string csv = FileText((dir + "/board.csv").toStdString());
  EXPECT_NE(csv.find("R1,1," + BoardValueText(chosen.r1) + ","), std::string::npos) << csv;
  EXPECT_NE(csv.find("R2,1," + BoardValueText(*chosen.r2) + ","), std::string::npos) << csv;
  EXPECT_NE(csv.find("C1,1," + BoardValueText(chosen.c1) + ","), std::string::npos) << csv;
  EXPECT_EQ(FileText((dir + "/board.kicad_sch").toStdString()).rfind("(kicad_sch ", 0), 0u);
  EXPECT_EQ(FileText((dir + "/board.pdf").toStdString()).rfind("%PDF-", 0), 0u);
}

// The design page's menu exports the designed parts; a folder that is not
// there, or a disk that is full, says why, writes nothing and keeps the
// dialog open; replacing files is asked once, and No keeps them.
TEST_F(RoadTest, ExportFromThePageMenuSaysWhyItCannotWrite) {
  Design3At1kHz();
  QFile old(dir + "/design.csv");
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("the old list");
  old.close();
  QFile::link("/dev/full", dir + "/full.pdf");
  const auto exportWith = [&](const QString& name, const QString& folder, bool replace) {
    BoxAnswerer boxes(replace);
    bool closed = false, done = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
      if (done || dialog == nullptr || !dialog->isVisible()) return;
      done = true;
      dialog->NameField()->setText(name);
      dialog->FolderField()->setText(folder);
      dialog->KicadBox()->setChecked(false);
      dialog->SheetBox()->setChecked(name == "full");
      dialog->BomBox()->setChecked(name != "full");
      QTest::keyClick(dialog->NameField(), Qt::Key_Return);
      closed = !dialog->isVisible();
      if (!closed) dialog->reject();
    });
    timer.start();
    window->PageMenu()->actions().at(3)->trigger();
    EXPECT_TRUE(done) << "no export dialog";
    return std::pair{boxes.texts, closed};
  };
  auto [texts, closed] = exportWith("design", dir + "/nowhere", true);
  EXPECT_EQ(texts, QStringList{"The folder '" + dir + "/nowhere' does not exist."});
  EXPECT_FALSE(closed);
  std::tie(texts, closed) = exportWith("full", dir, true);
  ASSERT_EQ(texts.size(), 2);  // the replace question, then the reason
  EXPECT_TRUE(texts.back().contains("No space left on device")) << texts.back().toStdString();
  EXPECT_FALSE(closed);
  std::tie(texts, closed) = exportWith("design", dir, false);
  EXPECT_EQ(texts, QStringList{"design.csv already exists. Replace?"});
  EXPECT_EQ(FileText((dir + "/design.csv").toStdString()), "the old list");
  std::tie(texts, closed) = exportWith("design", dir, true);
  EXPECT_TRUE(closed);
  const std::string csv = FileText((dir + "/design.csv").toStdString());
  EXPECT_NE(csv.find("R1,1," + BoardValueText(Global::TimerDesign().R1) + ","), std::string::npos)
      << csv;
}

}  // namespace
}  // namespace timer555
