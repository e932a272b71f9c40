#pragma once

#include <QWidget>
#include <functional>

#include "render/qt_canvas.h"

namespace timer555 {

// An image control: keeps what was drawn on it, offers a canvas over its
// pixels, reports mouse events in its own pixels and carries its own cursor.
class ImageControl final : public QWidget {
  Q_OBJECT

 public:
  using MouseHandler = std::function<void(int x, int y)>;

  ImageControl(const QString& name, QWidget* parent);

  // Replaces the picture with a white one of the control's size.
  void Resize(int width, int height);
  QtCanvas& CanvasRef() noexcept { return canvas_; }

  void SetMouseDown(MouseHandler h) { mouseDown_ = std::move(h); }
  void SetMouseMove(MouseHandler h) { mouseMove_ = std::move(h); }
  void SetClick(MouseHandler h) { click_ = std::move(h); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QtCanvas canvas_;
  MouseHandler mouseDown_;
  MouseHandler mouseMove_;
  MouseHandler click_;
  bool pressed_ = false;
};

}  // namespace timer555
