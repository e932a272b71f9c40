#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/geometry.h"

namespace timer555 {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  constexpr bool operator==(const Color&) const = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kGreen{0, 128, 0};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kNavy{0, 0, 128};
// The light grey of push buttons on a classic desktop.
inline constexpr Color kButtonFace{240, 240, 240};
inline constexpr Color kSilver{192, 192, 192};

struct Pen {
  Color color = kBlack;
  int width = 1;
  constexpr bool operator==(const Pen&) const = default;
};

// A font as the drawing code asks for it. A negative height is the character
// height in pixels, a positive one the cell height (ascent plus descent).
struct Font {
  std::string name = "MS Sans Serif";
  int height = -11;
  bool bold = false;
  bool underline = false;
  Color color = kBlack;
  bool operator==(const Font&) const = default;
};

// Point size and pixel height at 96 dots per inch, rounded halves away from zero.
int FontHeightForSize(int points) noexcept;
int FontSizeForHeight(int height) noexcept;

// A drawing surface with the semantics the pictures are written in: a line
// leaves its end pixel unpainted, closed figures exclude their right and
// bottom edges, text is opaque on the brush colour and placed by its top-left
// corner, arcs run counter-clockwise on the screen.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  const Pen& GetPen() const noexcept { return pen_; }
  void SetPenColor(Color c) noexcept { pen_.color = c; }
  void SetPenWidth(int w) noexcept { pen_.width = w < 1 ? 1 : w; }
  Color BrushColor() const noexcept { return brush_; }
  void SetBrushColor(Color c) noexcept { brush_ = c; }

  const Font& GetFont() const noexcept { return font_; }
  void SetFont(const Font& f) { font_ = f; }
  void SetFontName(const std::string& name) { font_.name = name; }
  void SetFontHeight(int h) noexcept { font_.height = h; }
  int FontHeight() const noexcept { return font_.height; }
  void SetFontSize(int points) noexcept { font_.height = FontHeightForSize(points); }
  int FontSize() const noexcept { return FontSizeForHeight(font_.height); }
  void SetFontBold(bool on) noexcept { font_.bold = on; }
  void SetFontUnderline(bool on) noexcept { font_.underline = on; }
  void SetFontColor(Color c) noexcept { font_.color = c; }

  Point PenPos() const noexcept { return pos_; }
  void MoveTo(int x, int y) noexcept { pos_ = {x, y}; }
  void LineTo(int x, int y);

  virtual void SetPixel(int x, int y, Color c) = 0;
  // Brush only; the pen is not used.
  virtual void FillRect(const Rect& r) = 0;
  // Outlined with the pen, filled with the brush; the pen position stays.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;
  // The outline of the ellipse in the box, from the ray through the start
  // point counter-clockwise to the ray through the end point.
  virtual void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                   int endY) = 0;

  void TextOut(int x, int y, const std::string& text);
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;

 protected:
  virtual void DrawLine(Point from, Point to) = 0;
  virtual void DrawText(int x, int y, const std::string& text) = 0;

 private:
  Pen pen_;
  Color brush_ = kWhite;
  Font font_;
  Point pos_;
};

// An arc's rays as angles seen on the screen (y up) about its box's centre,
// in radians: from the start ray counter-clockwise to the end ray, the end
// above the start (a whole turn where the two rays coincide).
struct ArcSweep {
  double start, end;
};
ArcSweep ArcAngles(int left, int top, int right, int bottom, int startX, int startY, int endX,
                   int endY) noexcept;

// Single pure-blue pixels at the odd coordinates of the range (inclusive).
void DottedVerticalLine(Canvas& canvas, int x, int yFrom, int yTo);
void DottedHorizontalLine(Canvas& canvas, int y, int xFrom, int xTo);
// The whole canvas filled with the white brush.
void FillPageWhite(Canvas& canvas);

}  // namespace timer555
