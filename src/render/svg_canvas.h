#pragma once

#include <QImage>
#include <string>

#include "render/canvas.h"

namespace timer555 {

// A canvas that writes every primitive as an SVG element at the integer
// coordinates it was given. Strokes sit on pixel centres (a half-pixel shift
// per element), so the picture lines up with the raster one; texts keep their
// top-left corner, with their opaque background, and are measured exactly as
// the Qt canvas measures them.
class SvgCanvas final : public Canvas {
 public:
  SvgCanvas(int width, int height);

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

  // The whole document.
  std::string Document() const;

 protected:
  void DrawLine(Point from, Point to) override;
  void DrawText(int x, int y, const std::string& text) override;

 private:
  int width_;
  int height_;
  QImage device_;  // the paint device text is measured against
  std::string body_;
};

}  // namespace timer555
