#include "render/svg_canvas.h"

#include <gtest/gtest.h>

#include "render/qt_canvas.h"

namespace timer555 {
namespace {

bool Contains(const std::string& doc, const std::string& part) {
  return doc.find(part) != std::string::npos;
}

TEST(SvgCanvas, PrimitivesKeepTheirIntegerCoordinates) {
  SvgCanvas c(650, 308);
  c.SetPenColor(kBlue);
  c.MoveTo(8, 24);
  c.LineTo(40, 24);
  c.SetPixel(40, 24, kBlack);
  c.SetBrushColor(kWhite);
  c.SetPenColor(kBlack);
  c.Rectangle(136, 88, 216, 200);
  c.Ellipse(156, 36, 164, 44);
  c.Arc(136, 152, 152, 168, 144, 168, 144, 152);
  c.SetBrushColor(kBlack);
  c.Polygon({{96, 176}, {92, 168}, {100, 168}});
  const std::string doc = c.Document();
  EXPECT_TRUE(Contains(doc, "width=\"650\" height=\"308\""));
  EXPECT_TRUE(Contains(doc, "<line x1=\"8\" y1=\"24\" x2=\"40\" y2=\"24\" stroke=\"#0000ff\""));
  EXPECT_TRUE(Contains(doc, "<rect x=\"40\" y=\"24\" width=\"1\" height=\"1\" fill=\"#000000\"/>"));
  EXPECT_TRUE(Contains(doc, "<rect x=\"136\" y=\"88\" width=\"79\" height=\"111\""));
  EXPECT_TRUE(Contains(doc, "data-box=\"156 36 164 44\" cx=\"159.5\" cy=\"39.5\" rx=\"3.5\""));
  EXPECT_TRUE(Contains(doc, "data-arc=\"136 152 152 168 144 168 144 152\""));
  EXPECT_TRUE(Contains(doc, "points=\"96,176 92,168 100,168\" fill=\"#000000\""));
}

TEST(SvgCanvas, ArcRunsCounterClockwiseOnTheScreen) {
  SvgCanvas c(32, 32);
  // From the bottom to the top of the box: the half that bulges to the right.
  c.Arc(8, 0, 24, 16, 16, 16, 16, 0);
  const std::string doc = c.Document();
  EXPECT_TRUE(Contains(doc, "d=\"M 15.5 15 A 7.5 7.5 0 0 0 15.5 0\"")) << doc;
}

TEST(SvgCanvas, TextKeepsItsTopLeftCornerColourFaceAndSize) {
  SvgCanvas c(200, 100);
  QtCanvas q(200, 100);
  for (Canvas* canvas : {static_cast<Canvas*>(&c), static_cast<Canvas*>(&q)}) {
    canvas->SetFontName("Comic Sans MS");
    canvas->SetFontSize(11);
    canvas->SetFontColor(kGreen);
  }
  c.TextOut(170, 31, "V<o>&");
  EXPECT_EQ(c.PenPos().x, 170 + q.TextWidth("V<o>&")) << "measured as the Qt canvas measures";
  EXPECT_EQ(c.TextHeight("V"), q.TextHeight("V"));
  const std::string doc = c.Document();
  EXPECT_TRUE(Contains(doc, "<g transform=\"translate(170 31)\">"));
  EXPECT_TRUE(Contains(doc, "font-family=\"'Comic Sans MS'"));
  EXPECT_TRUE(Contains(doc, "fill=\"#008000\""));
  EXPECT_TRUE(Contains(doc, ">V&lt;o&gt;&amp;</text>"));
}

}  // namespace
}  // namespace timer555
