#include "render/measuring_canvas.h"

#include <QFontMetrics>

#include "render/qt_canvas.h"

namespace timer555 {

void MeasuringCanvas::FillRect(const Rect& r) {
  if (r.left <= 0 && r.top <= 0 && r.right >= width_ && r.bottom >= height_) texts_.clear();
}

int MeasuringCanvas::TextWidth(const std::string& text) {
  return QFontMetrics(ResolveFont(GetFont())).horizontalAdvance(ToQString(text));
}

int MeasuringCanvas::TextHeight(const std::string&) {
  CellMetrics m;
  ResolveFont(GetFont(), &m);
  return m.Height();
}

}  // namespace timer555
