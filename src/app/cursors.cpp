#include "app/cursors.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <map>
#include <sstream>

#include "components/resource_data.h"

namespace timer555 {

namespace {

std::map<int, QCursor>& Registry() {
  static std::map<int, QCursor> registry;
  return registry;
}

}  // namespace

// A picture is a line "hotspot X Y" and 32 rows of 32 characters: "X" black,
// "." white, anything else transparent.
QCursor LoadCursor(const std::string& name) {
  const std::vector<std::string> lines = ResourceLines("cursor_" + name);
  if (lines.empty()) return QCursor(Qt::ArrowCursor);
  int hotX = 0;
  int hotY = 0;
  std::istringstream head(lines.front());
  std::string word;
  head >> word >> hotX >> hotY;
  QImage picture(32, 32, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  for (int y = 0; y < 32 && y + 1 < static_cast<int>(lines.size()); ++y) {
    const std::string& row = lines[static_cast<size_t>(y) + 1];
    for (int x = 0; x < 32 && x < static_cast<int>(row.size()); ++x) {
      if (row[static_cast<size_t>(x)] == 'X') picture.setPixelColor(x, y, Qt::black);
      if (row[static_cast<size_t>(x)] == '.') picture.setPixelColor(x, y, Qt::white);
    }
  }
  return QCursor(QPixmap::fromImage(picture), hotX, hotY);
}

void RegisterScreenCursor(int number, const QCursor& cursor) {
  Registry()[number] = cursor;
}

QCursor ScreenCursor(int number) {
  const auto it = Registry().find(number);
  return it == Registry().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

}  // namespace timer555
