#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

namespace timer555 {

// One drawing call with the pen, brush and font in force when it was made.
struct DrawOp {
  enum class Kind { Line, Pixel, FillRect, Rectangle, Ellipse, Polygon, Arc, Text };
  Kind kind = Kind::Line;
  std::vector<Point> points;  // line: from, to; arc: box corners, start, end; boxes: corners
  Color color;                // pixel colour
  std::string text;
  Pen pen;
  Color brush;
  Font font;
};

// A canvas for tests: records every primitive instead of painting it, and
// measures text with fixed metrics that depend only on the font's height, so
// geometry can be asserted exactly on any machine. A character is half the
// character height wide; the cell is five quarters of the character height.
class RecordingCanvas final : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

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

  const std::vector<DrawOp>& Ops() const noexcept { return ops_; }
  std::vector<DrawOp> OpsOf(DrawOp::Kind kind) const;
  void Clear() noexcept { ops_.clear(); }

  // The character height the recorded metrics use for a font height.
  static int CharacterHeight(int fontHeight) noexcept;

 protected:
  void DrawLine(Point from, Point to) override;
  void DrawText(int x, int y, const std::string& text) override;

 private:
  DrawOp Make(DrawOp::Kind kind, std::vector<Point> points) const;

  int width_;
  int height_;
  std::vector<DrawOp> ops_;
};

}  // namespace timer555
