// On a screen scaled by two the layout stays in logical pixels and every
// drawn picture is enlarged by pixel duplication: no smoothing, no blur.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPixmap>
#include <QTest>

#include "app/global.h"
#include "app/image_control.h"
#include "app/main_window.h"
#include "app/window_fixture.h"
#include "components/num_edit.h"

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

}  // namespace
}  // namespace timer555
