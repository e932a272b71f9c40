#include "render/painter_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/qt_canvas.h"

namespace timer555 {

namespace {

QColor ToQColor(Color c) {
  return {c.r, c.g, c.b};
}

// The box a closed figure's outline runs through: the centres of its first
// and last pixels.
QRectF OutlineBox(int left, int top, int right, int bottom) {
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  return {l + 0.5, t + 0.5, r - l - 1, b - t - 1};
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height)
    : painter_(painter),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      device_(1, 1, QImage::Format_RGB32) {}

void PainterCanvas::UsePen() {
  QPen pen(ToQColor(GetPen().color));
  pen.setWidthF(GetPen().width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
}

void PainterCanvas::UseBrush() {
  painter_.setBrush(ToQColor(BrushColor()));
}

void PainterCanvas::SetPixel(int x, int y, Color c) {
  painter_.fillRect(QRectF(x, y, 1, 1), ToQColor(c));
}

void PainterCanvas::FillRect(const Rect& r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  painter_.fillRect(QRectF(r.left, r.top, static_cast<double>(r.right) - r.left,
                           static_cast<double>(r.bottom) - r.top),
                    ToQColor(BrushColor()));
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  const QRectF box = OutlineBox(left, top, right, bottom);
  if (box.width() < 0 || box.height() < 0) return;
  UsePen();
  UseBrush();
  painter_.drawRect(box);
}

void PainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  const QRectF box = OutlineBox(left, top, right, bottom);
  if (box.width() < 0 || box.height() < 0) return;
  UsePen();
  UseBrush();
  painter_.drawEllipse(box);
}

void PainterCanvas::Polygon(const std::vector<Point>& points) {
  if (points.empty()) return;
  QPolygonF polygon;
  for (const Point& p : points)
    polygon << QPointF(p.x + 0.5, p.y + 0.5);
  UsePen();
  UseBrush();
  painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

void PainterCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                        int endY) {
  const QRectF box = OutlineBox(left, top, right, bottom);
  if (box.width() < 0 || box.height() < 0) return;
  const auto [a0, a1] = ArcAngles(left, top, right, bottom, startX, startY, endX, endY);
  constexpr double kDegrees = 180 / std::numbers::pi;
  QPainterPath path;
  path.arcMoveTo(box, a0 * kDegrees);
  path.arcTo(box, a0 * kDegrees, (a1 - a0) * kDegrees);
  UsePen();
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
}

void PainterCanvas::DrawLine(Point from, Point to) {
  UsePen();
  if (from == to) return;
  painter_.drawLine(QPointF(from.x + 0.5, from.y + 0.5), QPointF(to.x + 0.5, to.y + 0.5));
}

int PainterCanvas::TextWidth(const std::string& text) {
  return MeasuredTextWidth(&device_, GetFont(), text);
}

int PainterCanvas::TextHeight(const std::string&) {
  return CellHeight(GetFont());
}

void PainterCanvas::DrawText(int x, int y, const std::string& text) {
  CellMetrics m;
  QFont font = ResolveFont(GetFont(), &m);
  font.setStyleStrategy(QFont::PreferDefault);  // smooth outlines on paper
  painter_.fillRect(QRectF(x, y, TextWidth(text), m.Height()), ToQColor(BrushColor()));
  painter_.setFont(font);
  painter_.setPen(ToQColor(GetFont().color));
  painter_.drawText(QPointF(x, y + m.ascent), ToQString(text));
}

}  // namespace timer555
