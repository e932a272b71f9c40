// Writes the program's icon into a hicolor tree: the SVG and the PNG sizes
// a desktop looks for. Run at build time; the install step copies the tree.
#include <QDir>
#include <QImage>
#include <cstdio>
#include <fstream>

#include "app/icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons OUTDIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString scalable = out + "/scalable/apps";
  if (!QDir().mkpath(scalable)) return 1;
  std::ofstream svg((scalable + "/timer555.svg").toStdString(), std::ios::binary);
  svg << timer555::IconSvg();
  if (!svg.flush()) return 1;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString dir = QString("%1/%2x%2/apps").arg(out).arg(size);
    if (!QDir().mkpath(dir) || !timer555::IconImage(size).save(dir + "/timer555.png", "PNG"))
      return 1;
  }
  return 0;
}
