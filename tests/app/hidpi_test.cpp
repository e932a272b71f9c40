// On a screen scaled by two the layout stays in logical pixels and every
// drawn picture is enlarged by pixel duplication: no smoothing, no blur.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include "app/image_control.h"
#include "app/main_window.h"
#include "app/window_fixture.h"
#include "components/num_edit.h"
#include "state/global.h"

namespace timer555 {
namespace {

class HiDpiTest : public WindowTest {
 protected:
  // The control as the screen shows it, against its own picture with every
  // pixel made a 2 × 2 block.
  static void ExpectDuplicated(ImageControl* image) {
    const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& picture = image->CanvasRef().Image();
    ASSERT_EQ(shown.size(), picture.size() * 2) << image->objectName().toStdString();
    const QImage doubled =
        picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (shown.pixel(x, y) != doubled.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0) << image->objectName().toStdString();
  }
};

TEST_F(HiDpiTest, ScreenIsScaledByTwo) {
  EXPECT_EQ(window->devicePixelRatio(), 2.0);
  EXPECT_EQ(window->grab().size(), QSize(1300, 700));
}

TEST_F(HiDpiTest, LayoutStaysInLogicalPixels) {
  EXPECT_EQ(window->size(), QSize(650, 350));
  EXPECT_EQ(window->Image1->geometry(), QRect(0, 0, 650, 42));
  EXPECT_EQ(window->Image2->geometry(), QRect(0, 42, 650, 308));
  EXPECT_EQ(window->GB1->geometry(), QRect(391, 56, 233, 134));
  EXPECT_EQ(window->NumEdit1->geometry(), QRect(112, 23, 74, 25));
  EXPECT_EQ(window->Image3->geometry(), QRect(90, 95, 96, 27));
  EXPECT_EQ(window->Image5->geometry(), QRect(13, 25, 203, 58));
  // Pictures keep their logical size too: PNG export and clicks see 650 × 308.
  EXPECT_EQ(window->Image2->CanvasRef().Image().size(), QSize(650, 308));
}

TEST_F(HiDpiTest, StartPageIsPixelDuplicated) {
  ExpectDuplicated(window->Image1);
  ExpectDuplicated(window->Image2);
}

TEST_F(HiDpiTest, CalculatedDesignIsPixelDuplicated) {
  ClickMenu(MenuItem::Design);
  QTest::mouseClick(window->Image2, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
  window->NumEdit1->SetProgramText("1000");
  window->NumEdit2->SetProgramText("60");
  QTest::mouseClick(window->Image3, Qt::LeftButton, Qt::NoModifier, QPoint(40, 12));
  QApplication::processEvents();
  ASSERT_TRUE(Global::Page().Calculated);
  for (ImageControl* image :
       {window->Image1, window->Image2, window->Image3, window->Image4, window->Image5})
    ExpectDuplicated(image);
}

TEST_F(HiDpiTest, HalfPixelClicksAreTruncated) {
  // Logical 325.5 is pixel 325, the last column of the left-hand designs.
  ClickMenu(MenuItem::Design);
  const QPointF at(325.5, 100.5);
  QMouseEvent press(QEvent::MouseButtonPress, at, window->Image2->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window->Image2, &press);
  EXPECT_EQ(Global::TimerDesign().DesignMode, 1);
  EXPECT_EQ(ImageControl::PixelAt({9.5, -0.5}), QPoint(9, -1));
  EXPECT_EQ(ImageControl::PixelAt({0.99, 307.999}), QPoint(0, 307));
}

TEST_F(HiDpiTest, WindowStaysInsideTheScreen) {
  const QRect area = window->screen()->availableGeometry();
  EXPECT_GE(window->x(), area.left());
  EXPECT_GE(window->y(), area.top());
  if (area.width() >= 650 + 323 && area.height() >= 350 + 125) {
    EXPECT_EQ(window->pos(), QPoint(323, 125));
  } else {
    EXPECT_LE(window->x() + 650, std::max(area.right() + 1, area.left() + 650));
  }
}

}  // namespace
}  // namespace timer555
