#include "support/recording_canvas.h"

#include <utility>

namespace timer555 {

DrawOp RecordingCanvas::Make(DrawOp::Kind kind, std::vector<Point> points) const {
  DrawOp op;
  op.kind = kind;
  op.points = std::move(points);
  op.pen = GetPen();
  op.brush = BrushColor();
  op.font = GetFont();
  return op;
}

void RecordingCanvas::SetPixel(int x, int y, Color c) {
  DrawOp op = Make(DrawOp::Kind::Pixel, {{x, y}});
  op.color = c;
  ops_.push_back(std::move(op));
}

void RecordingCanvas::FillRect(const Rect& r) {
  ops_.push_back(Make(DrawOp::Kind::FillRect, {{r.left, r.top}, {r.right, r.bottom}}));
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  ops_.push_back(Make(DrawOp::Kind::Rectangle, {{left, top}, {right, bottom}}));
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
  ops_.push_back(Make(DrawOp::Kind::Ellipse, {{left, top}, {right, bottom}}));
}

void RecordingCanvas::Polygon(const std::vector<Point>& points) {
  ops_.push_back(Make(DrawOp::Kind::Polygon, points));
}

void RecordingCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY,
                          int endX, int endY) {
  ops_.push_back(
      Make(DrawOp::Kind::Arc, {{left, top}, {right, bottom}, {startX, startY}, {endX, endY}}));
}

int RecordingCanvas::CharacterHeight(int fontHeight) noexcept {
  if (fontHeight < 0) return -fontHeight;
  if (fontHeight > 0) return fontHeight * 4 / 5;
  return 13;
}

int RecordingCanvas::TextWidth(const std::string& text) {
  return static_cast<int>(text.size()) * (CharacterHeight(GetFont().height) / 2);
}

int RecordingCanvas::TextHeight(const std::string&) {
  const int h = GetFont().height;
  return h > 0 ? h : CharacterHeight(h) * 5 / 4;
}

void RecordingCanvas::DrawLine(Point from, Point to) {
  ops_.push_back(Make(DrawOp::Kind::Line, {from, to}));
}

void RecordingCanvas::DrawText(int x, int y, const std::string& text) {
  DrawOp op = Make(DrawOp::Kind::Text, {{x, y}});
  op.text = text;
  ops_.push_back(std::move(op));
}

std::vector<DrawOp> RecordingCanvas::OpsOf(DrawOp::Kind kind) const {
  std::vector<DrawOp> out;
  for (const DrawOp& op : ops_)
    if (op.kind == kind) out.push_back(op);
  return out;
}

}  // namespace timer555
