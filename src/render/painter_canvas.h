#pragma once

#include <QImage>
#include <QPainter>
#include <string>

#include "render/canvas.h"

namespace timer555 {

// A canvas over any QPainter, each primitive drawn as a vector shape at the
// integer coordinates it was given (a printer or PDF page keeps them as
// shapes and its texts as text). Strokes sit on pixel centres, texts keep
// their top-left corner and opaque background and are measured as the Qt
// canvas measures them, so a page drawn here lines up with its raster.
class PainterCanvas final : public Canvas {
 public:
  PainterCanvas(QPainter& painter, int width, int height);

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetPixel(int x, int y, Color c) override;
  void FillRect(const Rect& r) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<Point>& points) override;
  void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
           int endY) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

 protected:
  void DrawLine(Point from, Point to) override;
  void DrawText(int x, int y, const std::string& text) override;

 private:
  void UsePen();
  void UseBrush();

  QPainter& painter_;
  int width_;
  int height_;
  QImage device_;  // the paint device text is measured against
};

}  // namespace timer555
