#include "export/kicad_schematic.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace timer555 {

namespace {

// A length in millimetres as the file writes it: at most four decimals, no
// trailing zeros, a point whatever the locale.
std::string Mm(double v) {
  if (v == 0) return "0";
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 4).ptr;
  std::string s(text, end);
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

constexpr const char* kFont = "(effects (font (size 1.27 1.27)))";
constexpr const char* kHidden = "(effects (font (size 1.27 1.27)) hide)";
constexpr const char* kStroke = "(stroke (width 0) (type default) (color 0 0 0 0))";

// The 555's pins as the library has them, by function: TR, Q, R, CV, THR,
// DIS at the body's sides; the supply pins at its top and bottom.
struct TimerPinPlace {
  const char* name;
  const char* type;
  double x, y;
  int angle;
};
constexpr TimerPinPlace kTimerPlaces[] = {
    {"GND", "power_in", 0, -10.16, 90}, {"TR", "input", -12.7, 5.08, 0},
    {"Q", "output", 12.7, 5.08, 180},   {"R", "input", -12.7, -5.08, 0},
    {"CV", "input", -12.7, 0, 0},       {"THR", "input", 12.7, -5.08, 180},
    {"DIS", "input", 12.7, 0, 180},     {"VCC", "power_in", 0, 10.16, 270},
};

std::vector<SymbolPin> TimerPins(bool dual) {
  std::vector<SymbolPin> pins;
  for (int unit = 1; unit <= (dual ? 2 : 1); ++unit) {
    const auto& numbers = TimerPinNumbers(dual, unit);
    for (size_t k = 0; k < std::size(kTimerPlaces); ++k) {
      const TimerPinPlace& p = kTimerPlaces[k];
      const bool supply = k == 0 || k == 7;
      if (supply && unit == 2) continue;
      pins.push_back(
          {numbers[k], p.name, p.type, p.x, p.y, p.angle, supply ? 2.54 : 3.81, supply ? 0 : unit});
    }
  }
  return pins;
}

bool IsTimer(const std::string& libId) {
  return libId.rfind("Timer:", 0) == 0;
}
bool IsDual(const std::string& libId) {
  return libId.find("556") != std::string::npos;
}

// The body of each symbol, drawn in the library's frame (y up).
std::string Body(const std::string& libId) {
  std::ostringstream s;
  const auto line = [&s](std::initializer_list<std::pair<double, double>> points, double width) {
    s << "      (polyline (pts";
    for (const auto& [x, y] : points)
      s << " (xy " << Mm(x) << " " << Mm(y) << ")";
    s << ") (stroke (width " << Mm(width)
      << ") (type default) (color 0 0 0 0)) (fill (type none)))\n";
  };
  const auto box = [&s](double x0, double y0, double x1, double y1, const char* fill) {
    s << "      (rectangle (start " << Mm(x0) << " " << Mm(y0) << ") (end " << Mm(x1) << " "
      << Mm(y1) << ") (stroke (width 0.254) (type default) (color 0 0 0 0)) (fill (type " << fill
      << ")))\n";
  };
  if (libId == "Device:R") {
    box(-1.016, -2.54, 1.016, 2.54, "none");
  } else if (libId == "Device:C") {
    line({{-2.032, -0.762}, {2.032, -0.762}}, 0.508);
    line({{-2.032, 0.762}, {2.032, 0.762}}, 0.508);
  } else if (libId == "Device:C_Polarized") {
    box(-2.286, 0.508, 2.286, 1.016, "none");
    box(-2.286, -1.016, 2.286, -0.508, "outline");
    line({{-1.778, 2.286}, {-0.762, 2.286}}, 0);
    line({{-1.27, 2.794}, {-1.27, 1.778}}, 0);
  } else if (libId == "Device:D") {
    line({{-1.27, 1.27}, {-1.27, -1.27}}, 0.254);
    line({{1.27, 1.27}, {1.27, -1.27}, {-1.27, 0}, {1.27, 1.27}}, 0.254);
  } else if (libId == "power:VCC") {
    line({{0, 0}, {0, 2.54}}, 0);
    line({{-0.762, 1.27}, {0, 2.54}, {0.762, 1.27}}, 0);
  } else if (libId == "power:GND") {
    line({{0, 0}, {0, -1.27}, {1.27, -1.27}, {0, -2.54}, {-1.27, -1.27}, {0, -1.27}}, 0);
  } else if (libId == "power:PWR_FLAG") {
    line({{0, 0}, {0, 1.27}, {-1.016, 1.905}, {0, 2.54}, {1.016, 1.905}, {0, 1.27}}, 0);
  } else if (libId.rfind("Connector_Generic:", 0) == 0) {
    const double bottom = libId.back() == '3' ? -3.81 : -6.35;
    box(-1.27, 3.81, 1.27, bottom, "background");
  } else if (IsTimer(libId)) {
    box(-8.89, -7.62, 8.89, 7.62, "background");
  }
  return s.str();
}

std::string PinText(const SymbolPin& p, bool hidden) {
  std::ostringstream s;
  s << "      (pin " << p.type << " line (at " << Mm(p.x) << " " << Mm(p.y) << " " << p.angle
    << ") (length " << Mm(p.length) << ")" << (hidden ? " hide" : "") << "\n"
    << "        (name " << Quoted(p.name) << " " << kFont << ")\n"
    << "        (number " << Quoted(p.number) << " " << kFont << "))\n";
  return s.str();
}

// One symbol of the lib_symbols section: its properties, its body and pins
// in unit 0 (every unit), each unit's own pins.
std::string LibrarySymbol(const std::string& libId, const std::string& reference) {
  const std::vector<SymbolPin> pins = SymbolPins(libId);
  const bool power = libId.rfind("power:", 0) == 0;
  const std::string name = libId.substr(libId.find(':') + 1);
  std::ostringstream s;
  s << "    (symbol " << Quoted(libId) << (power ? " (power)" : "")
    << (IsTimer(libId) ? "" : " (pin_numbers hide)") << " (pin_names (offset 0)"
    << (IsTimer(libId) ? "" : " hide") << ") (in_bom " << (power ? "no" : "yes")
    << ") (on_board yes)\n"
    << "      (property \"Reference\" " << Quoted(reference) << " (id 0) (at 2.54 0 0) "
    << (power ? kHidden : kFont) << ")\n"
    << "      (property \"Value\" " << Quoted(name) << " (id 1) (at 2.54 -2.54 0) " << kFont
    << ")\n"
    << "      (property \"Footprint\" \"\" (id 2) (at 0 0 0) " << kHidden << ")\n"
    << "      (property \"Datasheet\" \"~\" (id 3) (at 0 0 0) " << kHidden << ")\n";
  s << "      (symbol " << Quoted(name + "_0_1") << "\n" << Body(libId) << "      )\n";
  int units = 1;
  for (const SymbolPin& p : pins)
    units = std::max(units, p.unit);
  for (int unit = 0; unit <= units; ++unit) {
    std::string inside;
    for (const SymbolPin& p : pins)
      if (p.unit == unit) inside += PinText(p, power);
    if (inside.empty()) continue;
    s << "      (symbol " << Quoted(name + "_" + std::to_string(unit) + "_1") << "\n"
      << inside << "      )\n";
  }
  s << "    )\n";
  return s.str();
}

// The file's items, with UUIDs that are the same for the same board.
class Writer {
 public:
  std::string Uuid() {
    char text[40];
    std::snprintf(text, sizeof text, "e5550000-0000-4000-8000-%012x", ++next_);
    return text;
  }

  void Wire(double x0, double y0, double x1, double y1) {
    items_ << "  (wire (pts (xy " << Mm(x0) << " " << Mm(y0) << ") (xy " << Mm(x1) << " " << Mm(y1)
           << ")) " << kStroke << " (uuid " << Uuid() << "))\n";
  }
  void Label(const std::string& net, double x, double y, int angle) {
    items_ << "  (label " << Quoted(net) << " (at " << Mm(x) << " " << Mm(y) << " " << angle
           << ") (effects (font (size 1.27 1.27)) (justify " << (angle == 180 ? "right" : "left")
           << " bottom)) (uuid " << Uuid() << "))\n";
  }
  void NoConnect(double x, double y) {
    items_ << "  (no_connect (at " << Mm(x) << " " << Mm(y) << ") (uuid " << Uuid() << "))\n";
  }
  void Power(const std::string& net, double x, double y) {
    const std::string reference = "#PWR0" + std::to_string(10 + ++powers_);
    Symbol("power:" + net, reference, 1, net, "", {}, x, y, {{"1", ""}});
  }
  void Symbol(const std::string& libId, const std::string& reference, int unit,
              const std::string& value, const std::string& footprint,
              const std::vector<std::pair<std::string, std::string>>& fields, double x, double y,
              const std::vector<BoardPin>& pins) {
    const std::string id = Uuid();
    const bool power = libId.rfind("power:", 0) == 0;
    items_ << "  (symbol (lib_id " << Quoted(libId) << ") (at " << Mm(x) << " " << Mm(y)
           << " 0) (unit " << unit << ") (in_bom " << (power ? "no" : "yes")
           << ") (on_board yes)\n    (uuid " << id << ")\n";
    int field = 0;
    const auto property = [&](const std::string& name, const std::string& text, double dx,
                              double dy, bool hidden) {
      items_ << "    (property " << Quoted(name) << " " << Quoted(text) << " (id " << field++
             << ") (at " << Mm(x + dx) << " " << Mm(y + dy) << " 0) "
             << (hidden ? kHidden : "(effects (font (size 1.27 1.27)) (justify left))") << ")\n";
    };
    const double side = IsTimer(libId) ? -7.62 : 2.54;
    const double top = IsTimer(libId) ? -8.89 : -1.27;
    property("Reference", reference, side, top, power);
    property("Value", value, side + (IsTimer(libId) ? 17.78 : 0), top + (IsTimer(libId) ? 0 : 2.54),
             false);
    property("Footprint", footprint, 0, 0, true);
    property("Datasheet", "~", 0, 0, true);
    for (const auto& [name, text] : fields)
      property(name, text, 0, 0, true);
    for (const BoardPin& p : pins)
      items_ << "    (pin " << Quoted(p.number) << " (uuid " << Uuid() << "))\n";
    items_ << "  )\n";
    instances_ << "    (path \"/" << id << "\" (reference " << Quoted(reference) << ") (unit "
               << unit << ") (value " << Quoted(value) << ") (footprint " << Quoted(footprint)
               << "))\n";
  }
  // A power flag on `net`: the net's power symbol at (x, y), a wire to the
  // right and the flag at its end.
  void Flag(const std::string& net, double x, double y) {
    Power(net, x, y);
    Wire(x, y, x + 5.08, y);
    Symbol("power:PWR_FLAG", "#FLG0" + std::to_string(++flags_), 1, "PWR_FLAG", "", {}, x + 5.08, y,
           {{"1", ""}});
  }
  std::string Items() const { return items_.str(); }
  std::string Instances() const { return instances_.str(); }

 private:
  unsigned next_ = 0;
  int powers_ = 0;
  int flags_ = 0;
  std::ostringstream items_, instances_;
};

constexpr double kStub = 5.08;

// Where a pin's end lies on the sheet (y down) for a symbol at (x, y), and
// the way out from the body.
struct PinEnd {
  double x, y, dx, dy;
};
PinEnd EndOf(const SymbolPin& p, double x, double y) {
  // A pin points from its end towards the body: out is the other way.
  const double dx = p.angle == 0 ? -1 : p.angle == 180 ? 1 : 0;
  const double dy = p.angle == 90 ? 1 : p.angle == 270 ? -1 : 0;
  return {x + p.x, y - p.y, dx, dy};
}

// A pin's way to its net: a stub wire to a label or a power symbol, or a
// no-connect flag on the pin itself.
void Connect(Writer& w, const PinEnd& end, const std::string& net) {
  if (net.empty()) {
    w.NoConnect(end.x, end.y);
    return;
  }
  const double x = end.x + end.dx * kStub, y = end.y + end.dy * kStub;
  w.Wire(end.x, end.y, x, y);
  if (net == "VCC" || net == "GND") {
    w.Power(net, x, y);
    return;
  }
  const int angle = end.dx < 0 ? 180 : end.dy < 0 ? 90 : end.dy > 0 ? 270 : 0;
  w.Label(net, x, y, angle);
}

void Place(Writer& w, const BoardPart& part, double x, double y) {
  std::vector<std::pair<std::string, std::string>> fields;
  if (!part.technology.empty()) fields.push_back({"Technology", part.technology});
  if (!part.tolerance.empty()) fields.push_back({"Tolerance", part.tolerance});
  w.Symbol(part.libId, part.reference, part.unit, part.value, part.footprint, fields, x, y,
           part.pins);
  const std::vector<SymbolPin> pins = SymbolPins(part.libId);
  for (const BoardPin& bp : part.pins)
    for (const SymbolPin& sp : pins)
      if (sp.number == bp.number && (sp.unit == 0 || sp.unit == part.unit))
        Connect(w, EndOf(sp, x, y), bp.net);
}

}  // namespace

std::vector<SymbolPin> SymbolPins(const std::string& libId) {
  if (libId == "Device:R")
    return {{"1", "~", "passive", 0, 3.81, 270, 1.27, 1},
            {"2", "~", "passive", 0, -3.81, 90, 1.27, 1}};
  if (libId == "Device:C" || libId == "Device:C_Polarized")
    return {{"1", "~", "passive", 0, 3.81, 270, 2.794, 1},
            {"2", "~", "passive", 0, -3.81, 90, 2.794, 1}};
  if (libId == "Device:D")
    return {{"1", "K", "passive", -3.81, 0, 0, 2.54, 1},
            {"2", "A", "passive", 3.81, 0, 180, 2.54, 1}};
  if (libId == "Connector_Generic:Conn_01x03" || libId == "Connector_Generic:Conn_01x04") {
    const int count = libId.back() == '3' ? 3 : 4;
    std::vector<SymbolPin> pins;
    pins.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
      pins.push_back({std::to_string(k + 1), "Pin_" + std::to_string(k + 1), "passive", -5.08,
                      2.54 - 2.54 * k, 0, 3.81, 1});
    return pins;
  }
  if (libId == "power:PWR_FLAG") return {{"1", "pwr", "power_out", 0, 0, 90, 0, 0}};
  if (libId == "power:VCC") return {{"1", "VCC", "power_in", 0, 0, 90, 0, 0}};
  if (libId == "power:GND") return {{"1", "GND", "power_in", 0, 0, 270, 0, 0}};
  if (IsTimer(libId)) return TimerPins(IsDual(libId));
  return {};
}

std::string KicadSchematic(const Board& board, const SchematicTitle& title) {
  Writer w;
  const std::string sheet = w.Uuid();
  // The timer (the 556's used half) on the left, its other half below it;
  // the passives in a row to the right, the diodes in a row below them.
  double column = 152.4;
  for (const BoardPart& part : board.parts) {
    if (IsTimer(part.libId)) {
      const bool first = &part == &board.parts.front();
      Place(w, part, 101.6, first ? 88.9 : 139.7);
    } else if (part.libId == "Device:D") {
      Place(w, part, part.reference == "D1" ? 157.48 : 195.58, 124.46);
    } else if (part.reference == "J1") {
      Place(w, part, 241.3, 124.46);
    } else {
      Place(w, part, column, 88.9);
      column += 17.78;
    }
  }
  // The supply's flags, so that a rules check knows where its power comes from.
  w.Flag("VCC", 157.48, 152.4);
  w.Flag("GND", 182.88, 152.4);
  std::set<std::string> libIds = {"power:VCC", "power:GND", "power:PWR_FLAG"};
  std::map<std::string, std::string> references = {
      {"power:VCC", "#PWR"}, {"power:GND", "#PWR"}, {"power:PWR_FLAG", "#FLG"}};
  for (const BoardPart& part : board.parts) {
    libIds.insert(part.libId);
    references[part.libId] = part.reference.substr(0, 1);
  }
  std::ostringstream s;
  s << "(kicad_sch (version 20211123) (generator timer555)\n\n"
    << "  (uuid " << sheet << ")\n\n"
    << "  (paper \"A4\")\n\n"
    << "  (title_block\n"
    << "    (title " << Quoted(title.title) << ")\n"
    << "    (date " << Quoted(title.date) << ")\n"
    << "    (rev " << Quoted(title.version) << ")\n"
    << "    (company \"timer555\")\n"
    << "    (comment 1 " << Quoted("Target: " + title.target) << ")\n"
    << "    (comment 2 " << Quoted("Drawn by timer555 " + title.version) << ")\n"
    << "  )\n\n"
    << "  (lib_symbols\n";
  for (const std::string& id : libIds)
    s << LibrarySymbol(id, references[id]);
  s << "  )\n\n"
    << w.Items() << "\n"
    << "  (sheet_instances\n    (path \"/\" (page \"1\"))\n  )\n\n"
    << "  (symbol_instances\n"
    << w.Instances() << "  )\n"
    << ")\n";
  return s.str();
}

}  // namespace timer555
