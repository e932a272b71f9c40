#pragma once

#include <QFont>
#include <QImage>
#include <string>
#include <thread>
#include <vector>

#include "render/canvas.h"

namespace timer555 {

// The program's texts are byte strings; every byte becomes one character.
QString ToQString(const std::string& text);

// The controls' face: "Technical" at 16 pixels (10 points scaled), regular.
QFont ControlFont();

// Maps "Comic Sans MS" and "Technical" onto faces Debian ships. Call once
// after the QGuiApplication exists.
void InstallFontSubstitutions();

// Reads the desktop's font configuration (fontconfig's XML files and caches,
// a few milliseconds) on a second thread while the application object is
// being built. Construct it first thing in main; Wait() before the first font
// is used. Qt then finds the configuration already loaded.
class FontConfigurationLoader {
 public:
  FontConfigurationLoader();
  ~FontConfigurationLoader();
  FontConfigurationLoader(const FontConfigurationLoader&) = delete;
  FontConfigurationLoader& operator=(const FontConfigurationLoader&) = delete;
  void Wait();

 private:
  std::thread thread_;
};

// A font's cell metrics taken, as the desktop the pictures were drawn for
// takes them, from the OS/2 table's usWinAscent and usWinDescent.
struct CellMetrics {
  int pixelSize = 0;
  int ascent = 0;
  int descent = 0;
  int Height() const noexcept { return ascent + descent; }
};

// The QFont for a canvas font (pixel size, no antialiasing, full hinting) and
// its cell metrics.
QFont ResolveFont(const Font& font, CellMetrics* metrics = nullptr);

// How wide a canvas text is in `font` on `device`, and the font's cell
// height: every Qt-based canvas measures its texts so.
int MeasuredTextWidth(const QPaintDevice* device, const Font& font, const std::string& text);
int CellHeight(const Font& font);

// The image encoded as a PNG file's bytes.
std::string PngBytes(const QImage& image);

// A text written on a canvas, by its top-left corner, and its cell's height.
struct WrittenText {
  int x = 0;
  int y = 0;
  std::string text;
  int height = 0;
};
// The texts as a reader takes them in: line by line from the top (texts whose
// tops lie within a few pixels make one line), left to right within a line.
// Some texts are read as one block where its first text stands: those
// inside one of `parts` (a design's name and its duty cycle), and a column
// of prose (lines starting at one x, a line apart, one of them of three
// words or more: the notes beside a circuit), so that a circuit's labels do
// not break into its sentences.
std::string ReadingOrder(std::vector<WrittenText> texts, const std::vector<HitArea>& parts = {});

// The canvas the window shows and PNG export writes: a QImage of RGB32 pixels.
// Lines, ellipses, polygons and arcs go through our own integer rasterisers;
// rectangles, fills and text through QPainter with mappings measured to match.
class QtCanvas final : public Canvas {
 public:
  QtCanvas(int width, int height);

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  const QImage& Image() const noexcept { return image_; }
  QImage& Image() noexcept { return image_; }

  void SetPixel(int x, int y, Color c) override;
  void FillRect(const Rect& r) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<Point>& points) override;
  void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
           int endY) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  // What is written on the picture now, for screen readers: a fill, a box
  // or another text over a text's corner takes that text away.
  const std::vector<WrittenText>& Written() const noexcept { return written_; }

 protected:
  void DrawLine(Point from, Point to) override;
  void DrawText(int x, int y, const std::string& text) override;

 private:
  QImage image_;
  std::vector<WrittenText> written_;
  // Forgets the texts whose corner lies in [left, right) x [top, bottom).
  void Unwrite(int left, int top, int right, int bottom);
};

}  // namespace timer555
