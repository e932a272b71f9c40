#include "app/image_control.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace timer555 {

QPoint ImageControl::PixelAt(const QPointF& position) noexcept {
  // A scaled screen reports positions between pixels; a pixel position is
  // truncated, never rounded: 9.5 is pixel 9, -0.5 is pixel -1.
  return QPoint(static_cast<int>(std::floor(position.x())),
                static_cast<int>(std::floor(position.y())));
}

ImageControl::ImageControl(const QString& name, QWidget* parent) : QWidget(parent), canvas_(1, 1) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void ImageControl::Resize(int width, int height) {
  setFixedSize(width, height);
  canvas_ = QtCanvas(width, height);
}

void ImageControl::SetAccessibleParts(QAccessible::Role role, QAccessible::Role itemRole,
                                      ItemSource items) {
  role_ = role;
  itemRole_ = itemRole;
  items_ = std::move(items);
}

void ImageControl::PressAt(int x, int y) {
  if (mouseMove_) mouseMove_(x, y);
  if (mouseDown_) mouseDown_(x, y);
  if (click_) click_(x, y);
}

void ImageControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // Pixels are drawn one to one; on a scaled display they are enlarged
  // without smoothing so that the drawing keeps its exact pixels.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(rect(), canvas_.Image());
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  const QPoint pos = PixelAt(event->position());
  if (mouseDown_) mouseDown_(pos.x(), pos.y());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const QPoint pos = PixelAt(event->position());
  if (click_ && rect().contains(pos)) click_(pos.x(), pos.y());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = PixelAt(event->position());
  if (mouseMove_) mouseMove_(pos.x(), pos.y());
}

void ImageControl::contextMenuEvent(QContextMenuEvent* event) {
  if (!contextMenu_) {
    event->ignore();
    return;
  }
  contextMenu_(event->pos().x(), event->pos().y());
  event->accept();
}

}  // namespace timer555
