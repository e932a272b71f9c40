#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

namespace timer555 {

// A canvas that draws nothing: it measures text with the fonts the pictures
// are drawn in and keeps the texts written since it was last cleared (a fill
// of its whole area), which is all the command line reads of a drawing.
class MeasuringCanvas final : public Canvas {
 public:
  MeasuringCanvas(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPixel(int, int, Color) override {}
  void FillRect(const Rect& r) override;
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Polygon(const std::vector<Point>&) override {}
  void Arc(int, int, int, int, int, int, int, int) override {}
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  const std::vector<std::string>& Texts() const noexcept { return texts_; }

 protected:
  void DrawLine(Point, Point) override {}
  void DrawText(int, int, const std::string& text) override { texts_.push_back(text); }

 private:
  int width_;
  int height_;
  std::vector<std::string> texts_;
};

}  // namespace timer555
