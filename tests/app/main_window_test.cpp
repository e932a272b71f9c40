#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/image_control.h"
#include "app/window_fixture.h"
#include "components/num_edit.h"
#include "state/global.h"

namespace timer555 {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, OpensFixedSizeWithCaptionAndHiddenPanel) {
  EXPECT_EQ(window->size(), QSize(650, 350));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->windowTitle(), "Version 1.4");
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(window->Image1->geometry(), QRect(0, 0, 650, 42));
  EXPECT_EQ(window->Image2->geometry(), QRect(0, 42, 650, 308));
  EXPECT_EQ(window->GB1->geometry(), QRect(391, 56, 233, 134));
  EXPECT_EQ(window->NumEdit1->geometry(), QRect(112, 23, 74, 25));
  EXPECT_EQ(window->Image3->geometry(), QRect(90, 95, 96, 27));
  EXPECT_EQ(window->Image4->geometry(), QRect(146, 22, 62, 22));
  EXPECT_EQ(window->Image5->geometry(), QRect(13, 25, 203, 58));
  EXPECT_FALSE(window->GB1->isVisible());
  EXPECT_FALSE(window->GB2->isVisible());
  EXPECT_FALSE(window->GB3->isVisible());
  EXPECT_FALSE(window->ListBox1->isVisible());
  EXPECT_EQ(window->ListBox1->count(), 12);
  EXPECT_EQ(window->ListBox1->item(11)->text(), "820");
  EXPECT_TRUE(window->RB1->isChecked());
  EXPECT_EQ(window->NumEdit1->TypingLimit(), 10);
  EXPECT_EQ(window->GB1->title(), "Enter:");
  EXPECT_EQ(window->Label3->text(), "%");
}

TEST_F(MainWindowTest, MenuBarAndStartPageAreDrawn) {
  const QImage& bar = window->Image1->CanvasRef().Image();
  for (int x = 0; x < 650; ++x)
    ASSERT_EQ(bar.pixel(x, 41), qRgb(0, 0, 0)) << x;
  const QImage& page = window->Image2->CanvasRef().Image();
  int navy = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      navy += page.pixel(x, y) == qRgb(0, 0, 128);
  EXPECT_GT(navy, 1000);
}

TEST_F(MainWindowTest, CalculateButtonIsDrawnWhenShown) {
  const QImage& b = window->Image3->CanvasRef().Image();
  EXPECT_EQ(b.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(b.pixel(95, 26), qRgb(0, 0, 0));
  EXPECT_EQ(b.pixel(2, 2), qRgb(240, 240, 240));
}

TEST_F(MainWindowTest, MenuClicksDrawPagesAndPickADesign) {
  ClickMenu(MenuItem::Design);
  EXPECT_EQ(Global::Page().PageMode, PageMode::Designs);
  const QImage& page = window->Image2->CanvasRef().Image();
  EXPECT_EQ(page.pixel(325, 1), qRgb(0, 0, 255));
  EXPECT_EQ(page.pixel(325, 2), qRgb(255, 255, 255));
  QTest::mouseClick(window->Image2, Qt::LeftButton, Qt::NoModifier, QPoint(500, 250));
  EXPECT_EQ(window->windowTitle(), "Monostable  (one-shot)");
  EXPECT_TRUE(window->GB1->isVisible());
  EXPECT_EQ(window->Label1->text(), "Pulse length");
  EXPECT_FALSE(window->NumEdit2->isEnabled());
  ClickMenu(MenuItem::Help);
  EXPECT_EQ(window->windowTitle(), "Version 1.4");
  EXPECT_FALSE(window->GB1->isVisible());
  EXPECT_EQ(Global::Page().PageMode, PageMode::TextPage);
}

TEST_F(MainWindowTest, EnterMovesFromTheFirstFieldToTheSecond) {
  ClickMenu(MenuItem::Design);
  QTest::mouseClick(window->Image2, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  window->activateWindow();
  window->NumEdit1->setFocus();
  QApplication::processEvents();
  QTest::keyClicks(window->NumEdit1, "1000");
  QTest::keyClick(window->NumEdit1, Qt::Key_Return);
  EXPECT_TRUE(window->NumEdit2->hasFocus());
  EXPECT_EQ(window->NumEdit1->text(), "1000");
}

TEST_F(MainWindowTest, KeysOnTheWindowChangeNothing) {
  const QImage before = window->Image2->CanvasRef().Image();
  QTest::keyClick(window.get(), Qt::Key_Down);
  QTest::keyClick(window.get(), Qt::Key_Q);
  EXPECT_EQ(window->Image2->CanvasRef().Image(), before);
  EXPECT_EQ(Global::Page().PageMode, PageMode::Other);
}

TEST_F(MainWindowTest, ErrorsInHandlersEndInAMessageBox) {
  std::string shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text().toStdString();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  window->ShowError("Range check error");
  EXPECT_EQ(shown, "Range check error");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, QuitClosesTheWindowAndDeletesNoFile) {
  const auto dir = std::filesystem::temp_directory_path() / "timer555-quit-test";
  std::filesystem::create_directories(dir);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  { std::ofstream("TECHNCLN.TTF") << "a file of the user's"; }
  ClickMenu(MenuItem::Quit);
  QApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
  window.reset();
  EXPECT_TRUE(std::filesystem::exists(dir / "TECHNCLN.TTF"));
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
}

TEST_F(MainWindowTest, CloseBoxBehavesLikeQuit) {
  // The close box: the window system asks the window to close. As with Quit,
  // the window accepts and no window of the program is left on the screen,
  // which ends a program that quits on its last window.
  const auto anyWindowShown = [] {
    const auto windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(), [](QWindow* w) { return w->isVisible(); });
  };
  ASSERT_TRUE(anyWindowShown());
  EXPECT_TRUE(QGuiApplication::quitOnLastWindowClosed());
  QCloseEvent closeBox;
  QApplication::sendEvent(window->windowHandle(), &closeBox);
  EXPECT_TRUE(closeBox.isAccepted());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(anyWindowShown());
  window = std::make_unique<TfmMain>();
  ShowSettled(*window);
  ClickMenu(MenuItem::Quit);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(anyWindowShown());
}

}  // namespace
}  // namespace timer555
