#include "render/qt_canvas.h"

#include <fontconfig/fontconfig.h>

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <tuple>

#include "render/raster.h"

namespace timer555 {

namespace {

QColor ToQColor(Color c) {
  return QColor(c.r, c.g, c.b);
}

RasterTarget TargetOf(QImage& image) {
  return RasterTarget(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
                      static_cast<int>(image.bytesPerLine() / 4));
}

std::uint16_t ReadU16(const QByteArray& table, int offset) {
  if (table.size() < offset + 2) return 0;
  return static_cast<std::uint16_t>((static_cast<std::uint8_t>(table[offset]) << 8) |
                                    static_cast<std::uint8_t>(table[offset + 1]));
}

// usWinAscent, usWinDescent and unitsPerEm of a face, read once per face.
struct FaceTables {
  int winAscent = 0;
  int winDescent = 0;
  int unitsPerEm = 0;
  bool Valid() const noexcept { return unitsPerEm > 0 && winAscent + winDescent > 0; }
};

// `length` bytes of a file from `offset`; fewer where the file ends.
QByteArray ReadAt(QFile& file, qint64 offset, qint64 length) {
  return file.seek(offset) ? file.read(length) : QByteArray();
}

std::uint32_t ReadU32(const QByteArray& bytes, int offset) {
  return (std::uint32_t{ReadU16(bytes, offset)} << 16) | ReadU16(bytes, offset + 2);
}

// The tables read from the font file fontconfig gives for the family (after
// the program's substitutions) and weight: a few bytes of the file, where
// loading the face to ask for them costs a font engine. Empty where the
// match is another family or the file is not a font Qt would read the same.
std::optional<FaceTables> TablesFromFile(const std::string& name, bool bold) {
  const QByteArray family = QFont::substitute(ToQString(name)).toUtf8();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return std::nullopt;
  FcChar8* matched = nullptr;
  FcChar8* path = nullptr;
  int index = 0;
  const bool found = FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch &&
                     FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
                     QString::fromUtf8(reinterpret_cast<const char*>(matched))
                             .compare(QString::fromUtf8(family), Qt::CaseInsensitive) == 0;
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  QFile file(found ? QString::fromUtf8(reinterpret_cast<const char*>(path)) : QString());
  FcPatternDestroy(match);
  if (!found || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  // An sfnt: a table directory of 16-byte records after a 12-byte header; a
  // collection first points to the face's directory.
  qint64 directory = 0;
  const QByteArray tag = ReadAt(file, 0, 12);
  if (tag.startsWith("ttcf")) directory = ReadU32(ReadAt(file, 12 + 4 * index, 4), 0);
  const QByteArray header = ReadAt(file, directory, 12);
  const int tables = ReadU16(header, 4);
  const QByteArray records = ReadAt(file, directory + 12, 16 * qint64{tables});
  QByteArray os2, head;
  for (int i = 0; i < tables && records.size() >= 16 * (i + 1); ++i) {
    const QByteArray name4 = records.mid(16 * i, 4);
    const qint64 offset = ReadU32(records, 16 * i + 8);
    if (name4 == "OS/2") os2 = ReadAt(file, offset, 78);
    if (name4 == "head") head = ReadAt(file, offset, 20);
  }
  FaceTables t{ReadU16(os2, 74), ReadU16(os2, 76), ReadU16(head, 18)};
  if (!t.Valid()) return std::nullopt;
  return t;
}

FaceTables TablesFor(const std::string& name, bool bold) {
  static std::map<std::pair<std::string, bool>, FaceTables> cache;
  const auto key = std::make_pair(name, bold);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  if (const auto fromFile = TablesFromFile(name, bold)) {
    cache[key] = *fromFile;
    return *fromFile;
  }
  QFont probe(ToQString(name));
  probe.setPixelSize(100);
  probe.setBold(bold);
  const QRawFont raw = QRawFont::fromFont(probe);
  FaceTables tables;
  const QByteArray os2 = raw.fontTable("OS/2");
  const QByteArray head = raw.fontTable("head");
  tables.winAscent = ReadU16(os2, 74);
  tables.winDescent = ReadU16(os2, 76);
  tables.unitsPerEm = ReadU16(head, 18);
  if (!tables.Valid()) {
    // A face without the tables: fall back to Qt's own metrics at 100 px.
    const QFontMetrics fm(probe);
    tables = {fm.ascent(), fm.descent(), 100};
  }
  cache[key] = tables;
  return tables;
}

int RoundDiv(long long num, long long den) {
  return static_cast<int>(std::llround(static_cast<double>(num) / static_cast<double>(den)));
}

// Keeps rectangle coordinates inside a margin around the image so that
// QRect's width and height never overflow; the visible pixels stay the same.
int ClampCoord(int v, int size) {
  return std::clamp(v, -2, size + 2);
}

}  // namespace

QString ToQString(const std::string& text) {
  // Texts are byte strings; Latin-1 maps every byte to one character.
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QFont ControlFont() {
  QFont f("Technical");
  f.setPixelSize(16);
  // Set explicitly: an unset weight would be inherited from a bold parent.
  f.setBold(false);
  return f;
}

FontConfigurationLoader::FontConfigurationLoader() {
  try {
    thread_ = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No second thread: Qt loads the configuration itself when it needs it.
  }
}

FontConfigurationLoader::~FontConfigurationLoader() {
  Wait();
}

void FontConfigurationLoader::Wait() {
  if (thread_.joinable()) thread_.join();
}

void InstallFontSubstitutions() {
  QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
  QFont::insertSubstitution("Technical", "DejaVu Sans Condensed");
  QFont::insertSubstitution("MS Sans Serif", "DejaVu Sans");
}

QFont ResolveFont(const Font& font, CellMetrics* metrics) {
  const FaceTables tables = TablesFor(font.name, font.bold);
  int px = 0;
  if (font.height < 0) {
    px = -font.height;
  } else if (font.height > 0) {
    px = RoundDiv(static_cast<long long>(font.height) * tables.unitsPerEm,
                  tables.winAscent + tables.winDescent);
  } else {
    px = 13;  // height 0 asks for the default size
  }
  // Qt refuses sizes it cannot represent; keep absurd heights drawable.
  px = std::clamp(px, 1, 4096);
  QFont q(ToQString(font.name));
  q.setPixelSize(px);
  q.setBold(font.bold);
  q.setUnderline(font.underline);
  q.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
  q.setHintingPreference(QFont::PreferFullHinting);
  q.setKerning(false);
  if (metrics != nullptr) {
    metrics->pixelSize = px;
    if (font.height > 0) {
      // A font asked for by its cell measures exactly that cell: the ascent
      // takes its share and the descent the rest, as the desktop's font mapper
      // guarantees; the glyphs keep the nearest pixel size.
      const int cell = font.height;
      metrics->ascent = RoundDiv(static_cast<long long>(tables.winAscent) * cell,
                                 tables.winAscent + tables.winDescent);
      metrics->descent = cell - metrics->ascent;
    } else {
      metrics->ascent = RoundDiv(static_cast<long long>(tables.winAscent) * px, tables.unitsPerEm);
      metrics->descent =
          RoundDiv(static_cast<long long>(tables.winDescent) * px, tables.unitsPerEm);
    }
  }
  return q;
}

QtCanvas::QtCanvas(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  image_.fill(Qt::white);
}

void QtCanvas::SetPixel(int x, int y, Color c) {
  RasterTarget t = TargetOf(image_);
  t.Plot(x, y, c);
}

void QtCanvas::FillRect(const Rect& r) {
  const int l = ClampCoord(std::min(r.left, r.right), image_.width());
  const int rr = ClampCoord(std::max(r.left, r.right), image_.width());
  const int t = ClampCoord(std::min(r.top, r.bottom), image_.height());
  const int b = ClampCoord(std::max(r.top, r.bottom), image_.height());
  if (rr <= l || b <= t) return;
  Unwrite(l, t, rr, b);
  QPainter p(&image_);
  p.fillRect(QRect(l, t, rr - l, b - t), ToQColor(BrushColor()));
}

void QtCanvas::Unwrite(int left, int top, int right, int bottom) {
  std::erase_if(written_, [&](const WrittenText& w) {
    return w.x >= left && w.x < right && w.y >= top && w.y < bottom;
  });
}

namespace {

std::string Trimmed(const std::string& t) {
  const size_t from = t.find_first_not_of(' ');
  return from == std::string::npos ? std::string()
                                   : t.substr(from, t.find_last_not_of(' ') - from + 1);
}

// Words with a letter: "4.5 - 18" in a table is no prose.
int Words(const std::string& text) {
  int n = 0;
  bool letter = false;
  for (const char c : text + ' ') {
    if (c == ' ') {
      n += letter ? 1 : 0;
      letter = false;
    } else {
      letter = letter || std::isalpha(static_cast<unsigned char>(c)) != 0;
    }
  }
  return n;
}

// Joins the columns of prose among the texts of no block yet (texts sorted
// from the top): each line continues at the same x a line below, and one of
// the column's lines has three words or more.
void JoinProse(const std::vector<WrittenText>& texts, std::vector<size_t>& block) {
  const size_t none = texts.size();
  std::vector<size_t> next(texts.size(), none);
  std::vector<bool> continued(texts.size(), false);
  for (size_t i = 0; i < texts.size(); ++i) {
    if (block[i] != i || texts[i].height <= 0) continue;
    for (size_t j = i + 1; j < texts.size(); ++j) {
      const int dy = texts[j].y - texts[i].y;
      if (dy > texts[i].height * 3 / 2) break;
      if (block[j] == j && std::abs(texts[j].x - texts[i].x) <= 1 && 2 * dy > texts[i].height) {
        next[i] = j;
        continued[j] = true;
        break;
      }
    }
  }
  for (size_t head = 0; head < texts.size(); ++head) {
    if (continued[head] || next[head] == none) continue;
    bool prose = false;
    for (size_t i = head; i != none; i = next[i])
      prose = prose || Words(texts[i].text) >= 3;
    if (!prose) continue;
    for (size_t i = next[head]; i != none; i = next[i])
      block[i] = head;
  }
}

// Which block each text belongs to (texts sorted from the top): the part it
// lies in (`part` says which), the column of prose it continues, else a
// block of its own.
std::vector<size_t> Blocks(const std::vector<WrittenText>& texts, const std::vector<HitArea>& parts,
                           std::vector<size_t>& part) {
  std::vector<size_t> block(texts.size());
  part.assign(texts.size(), parts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    block[i] = i;
    for (size_t p = 0; p < parts.size(); ++p) {
      if (!parts[p].Contains(texts[i].x, texts[i].y)) continue;
      part[i] = p;
      // The first text inside the part stands for the block.
      for (size_t j = 0; j < i; ++j)
        if (parts[p].Contains(texts[j].x, texts[j].y)) {
          block[i] = block[j];
          break;
        }
      break;
    }
  }
  JoinProse(texts, block);
  return block;
}

// The blocks' first texts in reading order: line by line (tops within
// `slack` make one line), left to right; `broken` marks where a line ends.
std::vector<size_t> InLines(const std::vector<WrittenText>& texts, std::vector<size_t> heads,
                            int slack, std::vector<bool>& broken) {
  broken.assign(heads.size(), false);
  for (size_t first = 0; first < heads.size();) {
    size_t end = first + 1;
    while (end < heads.size() && texts[heads[end]].y - texts[heads[first]].y <= slack)
      ++end;
    std::stable_sort(heads.begin() + static_cast<std::ptrdiff_t>(first),
                     heads.begin() + static_cast<std::ptrdiff_t>(end),
                     [&](size_t a, size_t b) { return texts[a].x < texts[b].x; });
    broken[first] = first > 0;
    first = end;
  }
  return heads;
}

}  // namespace

std::string ReadingOrder(std::vector<WrittenText> texts, const std::vector<HitArea>& parts) {
  // Tops this close are one line: the design page's labels sit a pixel or
  // two apart beside their parts.
  constexpr int kLineSlack = 4;
  std::erase_if(texts, [](const WrittenText& w) { return Trimmed(w.text).empty(); });
  std::ranges::stable_sort(texts, {}, &WrittenText::y);
  std::vector<size_t> part;
  const std::vector<size_t> block = Blocks(texts, parts, part);
  std::vector<size_t> heads;
  for (size_t i = 0; i < texts.size(); ++i)
    if (block[i] == i) heads.push_back(i);
  std::vector<bool> broken;
  heads = InLines(texts, heads, kLineSlack, broken);
  // The parts' blocks take their places in the parts' own order (the order
  // the keyboard walks them), each on a line of its own.
  std::vector<size_t> places, ofParts;
  for (size_t k = 0; k < heads.size(); ++k)
    if (part[heads[k]] < parts.size()) places.push_back(k), ofParts.push_back(heads[k]);
  std::ranges::stable_sort(ofParts, {}, [&](size_t h) { return part[h]; });
  for (size_t k = 0; k < places.size(); ++k)
    heads[places[k]] = ofParts[k];
  std::string out;
  for (size_t k = 0; k < heads.size(); ++k) {
    const bool ofPart = part[heads[k]] < parts.size();
    if (k > 0) out += broken[k] || ofPart || part[heads[k - 1]] < parts.size() ? '\n' : ' ';
    bool firstWord = true;
    for (size_t i = heads[k]; i < texts.size(); ++i) {
      if (block[i] != heads[k]) continue;
      if (!firstWord) out += ' ';
      out += Trimmed(texts[i].text);
      firstWord = false;
    }
  }
  return out;
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  // QPainter's cosmetic-pen rectangle misses the bottom-right corner pixel of
  // some boxes (for example (-2, 5)-(17, 8)), so rectangles are rasterised
  // here like the other outlines.
  RasterTarget t = TargetOf(image_);
  RasterRectangle(t, {left, top, right, bottom}, GetPen().color, BrushColor());
  Unwrite(std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  RasterTarget t = TargetOf(image_);
  RasterEllipse(t, {left, top, right, bottom}, GetPen().color, BrushColor());
}

void QtCanvas::Polygon(const std::vector<Point>& points) {
  RasterTarget t = TargetOf(image_);
  RasterPolygon(t, points, GetPen().color, GetPen().width, BrushColor());
}

void QtCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                   int endY) {
  RasterTarget t = TargetOf(image_);
  RasterArc(t, {left, top, right, bottom}, {startX, startY}, {endX, endY}, GetPen().color);
}

void QtCanvas::DrawLine(Point from, Point to) {
  RasterTarget t = TargetOf(image_);
  RasterLine(t, from, to, GetPen().color, GetPen().width);
}

int MeasuredTextWidth(const QPaintDevice* device, const Font& font, const std::string& text) {
  return QFontMetrics(ResolveFont(font), device).horizontalAdvance(ToQString(text));
}

int CellHeight(const Font& font) {
  CellMetrics m;
  ResolveFont(font, &m);
  return m.Height();
}

int QtCanvas::TextWidth(const std::string& text) {
  return MeasuredTextWidth(&image_, GetFont(), text);
}

int QtCanvas::TextHeight(const std::string&) {
  return CellHeight(GetFont());
}

void QtCanvas::DrawText(int x, int y, const std::string& text) {
  CellMetrics m;
  const QFont f = ResolveFont(GetFont(), &m);
  const QString s = ToQString(text);
  const int advance = QFontMetrics(f, &image_).horizontalAdvance(s);
  const long long right = static_cast<long long>(x) + advance;
  const long long bottom = static_cast<long long>(y) + m.Height();
  // Text wholly outside the image draws nothing; this also keeps QPainter away
  // from coordinates it cannot represent.
  if (right < 0 || bottom < 0 || x > image_.width() || y > image_.height()) return;
  Unwrite(x, y, x + std::max(advance, 1), y + m.Height());
  written_.push_back({x, y, text, m.Height()});
  QPainter p(&image_);
  p.fillRect(QRect(x, y, advance, m.Height()), ToQColor(BrushColor()));
  p.setFont(f);
  p.setPen(ToQColor(GetFont().color));
  p.drawText(QPoint(x, y + m.ascent), s);
}

std::string PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

}  // namespace timer555
