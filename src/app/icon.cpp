#include "app/icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace timer555 {

namespace {

constexpr int kGrid = 256;

struct Shape {
  int left, top, right, bottom;
  unsigned rgb;
};

constexpr unsigned kBody = 0x2b2f33;
constexpr unsigned kPin = 0xb8bec4;
constexpr unsigned kNotch = 0x5c636a;
constexpr unsigned kWave = 0xf5c211;

// Drawn in order; later shapes cover earlier ones.
constexpr std::array<Shape, 17> kShapes = {{
    // Four pins along each long side.
    {48, 32, 72, 64, kPin},
    {96, 32, 120, 64, kPin},
    {144, 32, 168, 64, kPin},
    {192, 32, 216, 64, kPin},
    {48, 192, 72, 224, kPin},
    {96, 192, 120, 224, kPin},
    {144, 192, 168, 224, kPin},
    {192, 192, 216, 224, kPin},
    {28, 64, 228, 192, kBody},
    // The notch at the pin-1 end.
    {28, 112, 44, 144, kNotch},
    // One and a half periods of the output: low, high, low, high.
    {60, 148, 96, 162, kWave},
    {84, 94, 98, 162, kWave},
    {84, 94, 140, 108, kWave},
    {126, 94, 140, 162, kWave},
    {126, 148, 176, 162, kWave},
    {162, 94, 176, 162, kWave},
    {162, 94, 204, 108, kWave},
}};

// A grid coordinate on a picture of the given size.
int Scale(int v, int size) {
  return static_cast<int>(std::lround(static_cast<double>(v) * size / kGrid));
}

}  // namespace

QImage IconImage(int size) {
  size = std::clamp(size, 1, 1024);
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  for (const Shape& s : kShapes) {
    const int left = Scale(s.left, size);
    const int top = Scale(s.top, size);
    // Every shape keeps at least one pixel, so thin strokes survive 16 pixels.
    const int right = std::max(left + 1, Scale(s.right, size));
    const int bottom = std::max(top + 1, Scale(s.bottom, size));
    p.fillRect(left, top, right - left, bottom - top, QColor::fromRgb(s.rgb));
  }
  return image;
}

std::string IconSvg() {
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 256 256\">\n";
  for (const Shape& s : kShapes) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%06x\"/>\n", s.left,
                  s.top, s.right - s.left, s.bottom - s.top, s.rgb);
    svg += line;
  }
  svg += "</svg>\n";
  return svg;
}

namespace {

// Draws the icon at whatever size is asked for, when it is asked for.
class IconEngine final : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    const int size = std::min(rect.width(), rect.height());
    painter->drawImage(
        QPoint(rect.x() + (rect.width() - size) / 2, rect.y() + (rect.height() - size) / 2),
        IconImage(size));
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return QPixmap::fromImage(IconImage(side));
  }
  QIconEngine* clone() const override { return new IconEngine; }
  QString key() const override { return QStringLiteral("timer555"); }
};

}  // namespace

QIcon MainIcon() {
  return QIcon(new IconEngine);
}

}  // namespace timer555
