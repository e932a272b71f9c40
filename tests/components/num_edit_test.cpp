#include "components/num_edit.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QWidget>

namespace timer555 {
namespace {

class NumEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TNumEdit::SetBeepHandler([this] { ++beeps; });
    first = new TNumEdit(&window);
    second = new TNumEdit(&window);
    QWidget::setTabOrder(first, second);
    window.show();
    first->setFocus();
    QApplication::processEvents();
  }
  void TearDown() override { TNumEdit::SetBeepHandler(nullptr); }

  // Drags `text` over the first field and drops it there, as another program would.
  struct DropResult {
    bool accepted;
    Qt::DropAction action;
  };
  DropResult Drop(const QString& text, Qt::DropAction proposed) {
    QMimeData mime;
    mime.setText(text);
    const QPoint at = first->rect().center();
    QDragEnterEvent enter(at, proposed, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &enter);
    QDropEvent drop(QPointF(at), proposed, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &drop);
    return {drop.isAccepted(), drop.dropAction()};
  }

  QWidget window;
  TNumEdit* first = nullptr;
  TNumEdit* second = nullptr;
  int beeps = 0;
};

TEST_F(NumEditTest, DigitsPointAndBackspaceAreTaken) {
  QTest::keyClicks(first, "12.5");
  EXPECT_EQ(first->text(), "12.5");
  QTest::keyClick(first, Qt::Key_Backspace);
  EXPECT_EQ(first->text(), "12.");
  // The field does not check the form of the number.
  QTest::keyClicks(first, "..");
  EXPECT_EQ(first->text(), "12...");
  EXPECT_EQ(beeps, 0);
}

TEST_F(NumEditTest, OtherCharactersBeepAndChangeNothing) {
  first->setText("7");
  first->setCursorPosition(1);
  const char* refused[] = {"-", ",", "e", " ", "a", "Z", "+", "\x1b"};
  int expected = 0;
  for (const char* key : refused) {
    QTest::keyClicks(first, key);
    EXPECT_EQ(first->text(), "7") << key;
    EXPECT_EQ(beeps, ++expected) << key;
  }
}

TEST_F(NumEditTest, CtrlCharactersAreRefused) {
  first->setText("42");
  QApplication::clipboard()->setText("99");
  for (Qt::Key key : {Qt::Key_V, Qt::Key_C, Qt::Key_X, Qt::Key_A, Qt::Key_Z}) {
    QTest::keyClick(first, key, Qt::ControlModifier);
    EXPECT_EQ(first->text(), "42");
  }
  EXPECT_EQ(beeps, 5);
}

TEST_F(NumEditTest, PasteOfNonNumericTextIsRefused) {
  first->setText("1");
  first->setCursorPosition(1);
  QApplication::clipboard()->setText("2x");
  QTest::keyClick(first, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(first->text(), "1");
  EXPECT_EQ(beeps, 1);
  first->paste();  // the context menu's Paste
  EXPECT_EQ(first->text(), "1");
  EXPECT_EQ(beeps, 2);
  // Digits pass the filter and arrive.
  QApplication::clipboard()->setText("25");
  first->paste();
  EXPECT_EQ(first->text(), "125");
  EXPECT_EQ(beeps, 2);
}

TEST_F(NumEditTest, DropOfNonNumericTextIsRefused) {
  first->setText("3");
  const DropResult drop = Drop("abc", Qt::MoveAction);
  EXPECT_EQ(first->text(), "3");
  EXPECT_GE(beeps, 1);
  // The drag source must not hear "moved": it would delete its text.
  EXPECT_FALSE(drop.accepted);
  EXPECT_EQ(drop.action, Qt::IgnoreAction);
}

TEST_F(NumEditTest, AcceptedDropIsReported) {
  first->setText("3");
  const DropResult drop = Drop("45", Qt::CopyAction);
  EXPECT_TRUE(first->text().contains("45"));
  EXPECT_TRUE(drop.accepted);
  EXPECT_EQ(drop.action, Qt::CopyAction);
}

// In a dialog Escape is not refused with a beep: it goes on to the dialog,
// which closes.
TEST_F(NumEditTest, EscapeGoesToTheDialog) {
  QDialog dialog;
  TNumEdit field(&dialog);
  bool rejected = false;
  QObject::connect(&dialog, &QDialog::rejected, [&rejected] { rejected = true; });
  QTest::keyClick(&field, Qt::Key_Escape);
  EXPECT_TRUE(rejected);
  EXPECT_EQ(beeps, 0);
}

TEST_F(NumEditTest, EnterMovesTheFocusToTheNextControl) {
  ASSERT_TRUE(first->hasFocus());
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(second->hasFocus());
  EXPECT_EQ(first->text(), "");
  EXPECT_EQ(beeps, 0);
}

TEST_F(NumEditTest, ProgramTextStaysDeletable) {
  first->SetProgramText("INF");
  first->end(false);
  QTest::keyClick(first, Qt::Key_Backspace);
  EXPECT_EQ(first->text(), "IN");
  EXPECT_EQ(beeps, 0);
}

// A number set by the program shows from its start, as an edit control
// shows a text set for it: 2032.537392 in a narrow field is not "2.537392".
TEST_F(NumEditTest, ProgramTextShowsItsStart) {
  first->resize(first->fontMetrics().horizontalAdvance("2032.5") + 8, first->height());
  first->SetProgramText("2032.537392");
  EXPECT_EQ(first->cursorPosition(), 0);
  EXPECT_LT(first->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(),
            first->fontMetrics().horizontalAdvance("2"))
      << "scrolled to the end";
}

}  // namespace
}  // namespace timer555
