#include "export/pdf_sheet.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <functional>

#include "render/painter_canvas.h"
#include "simulation/wave_picture.h"

namespace timer555 {

namespace {

constexpr int kDpi = 96;  // a page unit is a pixel of the window's pictures
constexpr int kMargin = 48;
constexpr int kGap = 10;
constexpr int kWaveWidth = 330, kWaveHeight = 150;
constexpr int kHistogramCanvasWidth = 400, kHistogramCanvasHeight = 230;
constexpr double kHistogramScale = 0.8;

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

QFont SheetFont(int pixels, bool bold = false, const char* family = "DejaVu Sans") {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  // No ligatures: "film" stays four letters for a search and a text copy.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// Lays the sheet out from the top down; measures only, or draws as well.
class Flow {
 public:
  Flow(QPainter& painter, int width, bool draw) : p_(painter), width_(width), draw_(draw) {}

  int Y() const { return y_; }
  void Skip(int pixels) { y_ += pixels; }

  // Wrapped text across `width` pixels from `x`; returns its height.
  int Text(const std::string& text, const QFont& font, int x = 0, int width = 0,
           bool advance = true) {
    const QRect box(kMargin + x, y_, width > 0 ? width : width_ - x, 100000);
    p_.setFont(font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRect used = p_.boundingRect(box, flags, Utf8(text));
    if (draw_) {
      p_.setPen(Qt::black);
      p_.drawText(box, flags, Utf8(text));
    }
    if (advance) y_ += used.height();
    return used.height();
  }
  // A picture drawn on a canvas of `w` × `h` units at `scale`, with a frame.
  void Picture(const std::function<void(Canvas&)>& draw, int x, int w, int h, double scale) {
    if (!draw_) return;
    p_.save();
    p_.translate(kMargin + x, y_);
    p_.scale(scale, scale);
    p_.setClipRect(QRect(0, 0, w, h));
    PainterCanvas canvas(p_, w, h);
    draw(canvas);
    p_.restore();
    p_.setPen(QColor(160, 160, 160));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRectF(kMargin + x, y_, w * scale, h * scale));
  }

 private:
  QPainter& p_;
  int width_;
  bool draw_;
  int y_ = kMargin;
};

// Each line under the last, the block's height returned.
int Block(Flow& f, const std::vector<std::string>& lines, const QFont& font, int x, int width) {
  const int top = f.Y();
  for (const std::string& line : lines)
    f.Text(line, font, x, width);
  const int height = f.Y() - top;
  f.Skip(-height);
  return height;
}

void Heading(Flow& f, const char* text, int x = 0, bool advance = true) {
  f.Text(text, SheetFont(13, true), x, 0, advance);
}

// The whole sheet with the schematic at `scale`; returns where it ends.
int LayOut(QPainter& painter, const SheetRequest& r, const SheetContent& s, int width, double scale,
           bool draw) {
  Flow f(painter, width, draw);
  const QFont body = SheetFont(11);
  f.Text("Design sheet: " + s.title, SheetFont(20, true));
  f.Text(s.target, SheetFont(12));
  f.Skip(kGap);
  const int schematicWidth = static_cast<int>(kWavePictureWidth * scale);
  f.Picture([&](Canvas& c) { DrawBuiltSchematic(c, r.built, r.variant); },
            (width - schematicWidth) / 2, kWavePictureWidth, kWavePictureHeight, scale);
  f.Skip(static_cast<int>(kWavePictureHeight * scale) + kGap);

  // The parts beside the waveform.
  const int column = width - kWaveWidth - kGap;
  Heading(f, "Parts", 0, false);
  Heading(f, "Waveform", column + kGap);
  int rowHeight = Block(f, s.parts, body, 0, column);
  const bool simulated = r.simulation && !r.simulation->error;
  if (simulated) {
    // Drawn smaller than the window's picture and scaled up, so that its
    // texts stay readable on paper.
    constexpr int kCanvasWidth = 440, kCanvasHeight = 200;
    const double waveScale = static_cast<double>(kWaveWidth) / kCanvasWidth;
    f.Picture(
        [&](Canvas& c) {
          DrawSimulatedWave(c, r.built, r.question.bench.conditions, *r.simulation);
        },
        column + kGap, kCanvasWidth, kCanvasHeight, waveScale);
    rowHeight = std::max(rowHeight, static_cast<int>(kCanvasHeight * waveScale));
  } else {
    f.Picture([&](Canvas& c) { DrawPredictedWave(c, r.built.kind, s.assessed.predicted); },
              column + kGap, kWaveWidth, kWaveHeight, 1);
    rowHeight = std::max(rowHeight, kWaveHeight);
  }
  f.Skip(rowHeight + kGap);

  Heading(f, simulated ? "Timing: ideal, predicted and simulated" : "Timing: ideal and predicted");
  f.Text(s.timing, SheetFont(11, false, "DejaVu Sans Mono"));
  f.Skip(kGap);
  Heading(f, "Figures");
  for (const std::string& line : s.figures)
    f.Text(line, body);
  f.Skip(kGap);

  // The yield's histogram beside the warnings.
  const int histogramWidth = static_cast<int>(kHistogramCanvasWidth * kHistogramScale);
  Heading(f, "Yield", 0, false);
  Heading(f, "Warnings", histogramWidth + kGap);
  const std::vector<std::string> none{"None: every limit kept."};
  const int warnings = Block(f, s.warnings.empty() ? none : s.warnings, body, histogramWidth + kGap,
                             width - histogramWidth - kGap);
  f.Picture([&](Canvas& c) { DrawHistogram(c, r.question, s.assessed); }, 0, kHistogramCanvasWidth,
            kHistogramCanvasHeight, kHistogramScale);
  f.Skip(std::max(warnings, static_cast<int>(kHistogramCanvasHeight * kHistogramScale)) + kGap);

  Heading(f, "Conditions");
  for (const std::string& line : s.conditions)
    f.Text(line, body);
  return f.Y();
}

}  // namespace

std::optional<Paper> PaperNamed(const std::string& name) {
  const QString key = QString::fromStdString(name).toLower();
  if (key == QLatin1String("a4")) return Paper::A4;
  if (key == QLatin1String("letter")) return Paper::Letter;
  return std::nullopt;
}

std::string DesignSheetPdf(const SheetRequest& request, Paper paper) {
  const SheetContent content = ComposeSheet(request);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kDpi);
    pdf.setPageSize(QPageSize(paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(Utf8("Design sheet: " + content.title));
    pdf.setCreator(Utf8("timer555 " + request.version));
    QPainter painter(&pdf);
    const QRect page = pdf.pageLayout().fullRectPixels(kDpi);
    const int width = page.width() - 2 * kMargin;
    const int footerTop = page.height() - kMargin - 14;
    // The schematic shrinks where the rest would run into the footer.
    double scale = std::min(1.0, static_cast<double>(width) / kWavePictureWidth);
    const int overflow =
        LayOut(painter, request, content, width, scale, false) - (footerTop - kGap);
    if (overflow > 0)
      scale = std::max(0.5, scale - static_cast<double>(overflow) / kWavePictureHeight);
    LayOut(painter, request, content, width, scale, true);
    painter.setFont(SheetFont(10));
    painter.setPen(QColor(96, 96, 96));
    painter.drawText(QPoint(kMargin, footerTop + 11), Utf8(content.footer));
  }
  return bytes.toStdString();
}

}  // namespace timer555
