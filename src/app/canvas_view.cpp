#include "app/canvas_view.h"

#include <QPainter>
#include <cmath>

#include "render/qt_canvas.h"

namespace timer555 {

CanvasView::CanvasView(int width, int height, const QString& name, const QString& placeholder,
                       QWidget* parent)
    : QWidget(parent), width_(width), height_(height), placeholder_(placeholder) {
  setMinimumSize(width / 2, height / 2);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAccessibleName(name);
}

QSize CanvasView::sizeHint() const {
  return {width_ * 4 / 5, height_ * 4 / 5};
}

void CanvasView::Show(Drawing drawing, const QString& description) {
  drawing_ = std::move(drawing);
  drawn_ = QImage();
  setAccessibleDescription(description);
  update();
}

void CanvasView::Clear() {
  drawing_ = nullptr;
  drawn_ = QImage();
  setAccessibleDescription("");
  update();
}

void CanvasView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!drawing_) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter, placeholder_);
    return;
  }
  // Drawn with the screen's pixels (sharp on a scaled screen), once for each
  // size and pixel ratio, not on every repaint.
  const double ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::lround(width() * ratio)),
                     static_cast<int>(std::lround(height() * ratio)));
  if (drawn_.size() != pixels || drawn_.devicePixelRatio() != ratio) {
    QtCanvas canvas(pixels.width(), pixels.height());
    drawing_(canvas, ratio);
    drawn_ = canvas.Image();
    drawn_.setDevicePixelRatio(ratio);
  }
  painter.drawImage(QPoint(0, 0), drawn_);
}

}  // namespace timer555
