#include "render/svg_canvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "render/qt_canvas.h"

namespace timer555 {

namespace {

std::string Hex(Color c) {
  static const char* digits = "0123456789abcdef";
  std::string s = "#";
  for (std::uint8_t part : {c.r, c.g, c.b}) {
    s += digits[part >> 4];
    s += digits[part & 15];
  }
  return s;
}

// A coordinate with at most three decimals and a point as the separator,
// whatever the desktop's language (to_chars never follows the locale).
std::string Num(double v) {
  char buf[400];
  const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
  std::string s(buf, result.ptr);
  while (s.back() == '0')
    s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string N(long long v) {
  return std::to_string(v);
}

// Text for an XML document: markup characters escaped, and the control
// characters XML cannot hold at all shown as "?" (script labels are bytes).
std::string Escaped(const std::string& text) {
  std::string clean = text;
  for (char& c : clean) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || (u >= 0x7f && u < 0xa0)) c = '?';
  }
  return ToQString(clean).toHtmlEscaped().toStdString();
}

constexpr const char* kOnPixelCentres = " transform=\"translate(0.5 0.5)\"";

}  // namespace

SvgCanvas::SvgCanvas(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      device_(1, 1, QImage::Format_RGB32) {}

void SvgCanvas::SetPixel(int x, int y, Color c) {
  body_ += "<rect x=\"" + N(x) + "\" y=\"" + N(y) + "\" width=\"1\" height=\"1\" fill=\"" + Hex(c) +
           "\"/>\n";
}

void SvgCanvas::FillRect(const Rect& r) {
  const long long w = static_cast<long long>(r.right) - r.left;
  const long long h = static_cast<long long>(r.bottom) - r.top;
  if (w <= 0 || h <= 0) return;
  body_ += "<rect x=\"" + N(r.left) + "\" y=\"" + N(r.top) + "\" width=\"" + N(w) + "\" height=\"" +
           N(h) + "\" fill=\"" + Hex(BrushColor()) + "\"/>\n";
}

void SvgCanvas::Rectangle(int left, int top, int right, int bottom) {
  const long long l = std::min(left, right), r = std::max(left, right);
  const long long t = std::min(top, bottom), b = std::max(top, bottom);
  if (r - l < 1 || b - t < 1) return;
  // The outline runs through the centres of the first and the last pixel.
  body_ += "<rect x=\"" + N(l) + "\" y=\"" + N(t) + "\" width=\"" + N(r - l - 1) + "\" height=\"" +
           N(b - t - 1) + "\" fill=\"" + Hex(BrushColor()) + "\" stroke=\"" + Hex(GetPen().color) +
           "\"" + kOnPixelCentres + "/>\n";
}

void SvgCanvas::Ellipse(int left, int top, int right, int bottom) {
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  if (r - l < 1 || b - t < 1) return;
  body_ += "<ellipse data-box=\"" + N(left) + " " + N(top) + " " + N(right) + " " + N(bottom) +
           "\" cx=\"" + Num((l + r - 1) / 2) + "\" cy=\"" + Num((t + b - 1) / 2) + "\" rx=\"" +
           Num((r - l - 1) / 2) + "\" ry=\"" + Num((b - t - 1) / 2) + "\" fill=\"" +
           Hex(BrushColor()) + "\" stroke=\"" + Hex(GetPen().color) + "\"" + kOnPixelCentres +
           "/>\n";
}

void SvgCanvas::Polygon(const std::vector<Point>& points) {
  if (points.empty()) return;
  std::string list;
  for (const Point& p : points)
    list += (list.empty() ? "" : " ") + N(p.x) + "," + N(p.y);
  body_ += "<polygon points=\"" + list + "\" fill=\"" + Hex(BrushColor()) +
           "\" fill-rule=\"evenodd\" stroke=\"" + Hex(GetPen().color) + "\" stroke-width=\"" +
           N(GetPen().width) + "\"" + kOnPixelCentres + "/>\n";
}

void SvgCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                    int endY) {
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  if (r - l < 1 || b - t < 1) return;
  const double cx = (l + r - 1) / 2, cy = (t + b - 1) / 2;
  const double rx = (r - l - 1) / 2, ry = (b - t - 1) / 2;
  // About the box's centre, as the raster arc takes them.
  const auto [a0, a1] = ArcAngles(left, top, right, bottom, startX, startY, endX, endY);
  const auto onEllipse = [&](double a) {
    return Num(cx + rx * std::cos(a)) + " " + Num(cy - ry * std::sin(a));
  };
  const std::string data = "data-arc=\"" + N(left) + " " + N(top) + " " + N(right) + " " +
                           N(bottom) + " " + N(startX) + " " + N(startY) + " " + N(endX) + " " +
                           N(endY) + "\"";
  std::string d = "M " + onEllipse(a0);
  const double sweep = a1 - a0;
  if (sweep >= 2 * std::numbers::pi - 1e-12) {
    // The same ray twice: the whole ellipse, drawn as two halves.
    d += " A " + Num(rx) + " " + Num(ry) + " 0 1 0 " + onEllipse(a0 + std::numbers::pi);
    d += " A " + Num(rx) + " " + Num(ry) + " 0 1 0 " + onEllipse(a0);
  } else {
    // Counter-clockwise on a y-down screen is SVG's negative sweep.
    d += " A " + Num(rx) + " " + Num(ry) + " 0 " + (sweep > std::numbers::pi ? "1" : "0") + " 0 " +
         onEllipse(a1);
  }
  body_ += "<path " + data + " d=\"" + d + "\" fill=\"none\" stroke=\"" + Hex(GetPen().color) +
           "\"" + kOnPixelCentres + "/>\n";
}

void SvgCanvas::DrawLine(Point from, Point to) {
  body_ += "<line x1=\"" + N(from.x) + "\" y1=\"" + N(from.y) + "\" x2=\"" + N(to.x) + "\" y2=\"" +
           N(to.y) + "\" stroke=\"" + Hex(GetPen().color) + "\" stroke-width=\"" +
           N(GetPen().width) + "\"" + kOnPixelCentres + "/>\n";
}

int SvgCanvas::TextWidth(const std::string& text) {
  return MeasuredTextWidth(&device_, GetFont(), text);
}

int SvgCanvas::TextHeight(const std::string&) {
  return CellHeight(GetFont());
}

void SvgCanvas::DrawText(int x, int y, const std::string& text) {
  CellMetrics m;
  const QFont f = ResolveFont(GetFont(), &m);
  const Font& font = GetFont();
  const int width = TextWidth(text);
  std::string family = "'" + Escaped(font.name) + "'";
  // The face the raster canvas actually used, for viewers that lack the requested one.
  const QString used = QFontInfo(f).family();
  if (used != ToQString(font.name)) family += ", '" + used.toHtmlEscaped().toStdString() + "'";
  body_ += "<g transform=\"translate(" + N(x) + " " + N(y) + ")\"><rect width=\"" + N(width) +
           "\" height=\"" + N(m.Height()) + "\" fill=\"" + Hex(BrushColor()) + "\"/><text y=\"" +
           N(m.ascent) + "\" font-family=\"" + family + "\" font-size=\"" + N(f.pixelSize()) +
           "px\"" + (font.bold ? " font-weight=\"bold\"" : "") +
           (font.underline ? " text-decoration=\"underline\"" : "") + " fill=\"" + Hex(font.color) +
           "\" xml:space=\"preserve\">" + Escaped(text) + "</text></g>\n";
}

std::string SvgCanvas::Document() const {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         N(width_) + "\" height=\"" + N(height_) + "\" viewBox=\"0 0 " + N(width_) + " " +
         N(height_) +
         "\" shape-rendering=\"crispEdges\">\n"
         "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n" +
         body_ + "</svg>\n";
}

}  // namespace timer555
