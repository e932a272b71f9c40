#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

#include "render/canvas.h"

namespace timer555 {

// A picture drawn through the Canvas at the widget's size and the screen's
// device pixel ratio, once for each size; a blank area with `placeholder`
// until there is one, so the window keeps its size.
class CanvasView : public QWidget {
 public:
  using Drawing = std::function<void(Canvas& canvas, double scale)>;
  CanvasView(int width, int height, const QString& name, const QString& placeholder,
             QWidget* parent = nullptr);
  // The picture and what a screen reader says of it.
  void Show(Drawing drawing, const QString& description);
  void Clear();
  bool HasPicture() const noexcept { return static_cast<bool>(drawing_); }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int width_, height_;
  QString placeholder_;
  Drawing drawing_;
  QImage drawn_;  // the picture at the last size and pixel ratio painted
};

}  // namespace timer555
