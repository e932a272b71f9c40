#include "export/kicad_schematic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "export/bom.h"
#include "simulation/netlist.h"
#include "support/designs.h"
#include "support/scratch.h"
#include "support/sexpr.h"

namespace timer555 {
namespace {

// A point on the sheet, in hundredths of a micrometre so that equal
// coordinates compare equal.
using Point = std::pair<long long, long long>;
Point At(double x, double y) {
  return {std::llround(x * 1e5), std::llround(y * 1e5)};
}

// The nets a schematic's geometry makes, as KiCad joins them: wire ends,
// pin ends (each symbol's pins placed by its position, rotation and mirror),
// junctions and no-connect flags where they coincide; labels of one name
// and power symbols of one value are one net.
class SchematicNets {
 public:
  explicit SchematicNets(const std::string& text) : root_(ParseSexpr(text)) {
    for (const Sexpr* s : root_.Get("lib_symbols").Children("symbol"))
      library_[s->At(1)] = s;
    for (const Sexpr* w : root_.Children("wire")) {
      const Sexpr& pts = w->Get("pts");
      const Point a = PointOf(pts.items.at(1)), b = PointOf(pts.items.at(2));
      wires_.push_back({a, b});
      Join(Node(a), Node(b));
    }
    for (const Sexpr* l : root_.Children("label"))
      Join(Node(PointOf(l->Get("at"))), Node("label " + l->At(1)));
    for (const Sexpr* n : root_.Children("no_connect"))
      open_.insert(PointOf(n->Get("at")));
    for (const Sexpr* s : root_.Children("symbol"))
      Place(*s);
  }

  // Each part pin ("R1.2") with the pins it shares a net with.
  std::map<std::string, std::set<std::string>> Nets() {
    std::map<int, std::set<std::string>> groups;
    for (const auto& [pin, node] : pins_)
      groups[Find(node)].insert(pin);
    std::map<std::string, std::set<std::string>> nets;
    for (const auto& [pin, node] : pins_)
      nets[pin] = groups[Find(node)];
    return nets;
  }
  // The net a power symbol names, if the pin is on it.
  bool OnPower(const std::string& pin, const std::string& power) {
    return pins_.count(pin) && nodes_.count("power " + power) &&
           Find(pins_[pin]) == Find(nodes_["power " + power]);
  }
  bool Open(const std::string& pin) const { return openPins_.count(pin) != 0; }
  // Connection points that lie inside a wire (not at its ends): KiCad would
  // not join them, so none may be there.
  std::vector<Point> PointsInsideWires() const {
    std::vector<Point> inside;
    for (const auto& [point, node] : points_)
      for (const auto& [a, b] : wires_) {
        const bool vertical = a.first == b.first && point.first == a.first;
        const bool horizontal = a.second == b.second && point.second == a.second;
        const auto between = [](long long v, long long p, long long q) {
          return v > std::min(p, q) && v < std::max(p, q);
        };
        if ((vertical && between(point.second, a.second, b.second)) ||
            (horizontal && between(point.first, a.first, b.first)))
          inside.push_back(point);
      }
    return inside;
  }
  bool AllOnGrid() const {
    for (const auto& [point, node] : points_)
      if (point.first % 127000 != 0 || point.second % 127000 != 0) return false;
    return true;
  }

 private:
  static Point PointOf(const Sexpr& xy) { return At(xy.Number(1), xy.Number(2)); }

  void Place(const Sexpr& s) {
    const std::string libId = s.Get("lib_id").At(1);
    const Sexpr& at = s.Get("at");
    const double x = at.Number(1), y = at.Number(2);
    const int angle = at.items.size() > 3 ? std::stoi(at.At(3)) : 0;
    const Sexpr* mirror = s.Child("mirror");
    const int unit = std::stoi(s.Get("unit").At(1));
    std::string reference;
    std::string value;
    for (const Sexpr* p : s.Children("property")) {
      if (p->At(1) == "Reference") reference = p->At(2);
      if (p->At(1) == "Value") value = p->At(2);
    }
    const std::string symbolName = libId.substr(libId.find(':') + 1);
    for (const Sexpr* unitSymbol : library_.at(libId)->Children("symbol")) {
      const std::string name = unitSymbol->At(1);
      const int pinsUnit = std::stoi(name.substr(symbolName.size() + 1));
      if (pinsUnit != 0 && pinsUnit != unit) continue;
      for (const Sexpr* pin : unitSymbol->Children("pin")) {
        double px = pin->Get("at").Number(1), py = -pin->Get("at").Number(2);
        if (mirror && mirror->At(1) == "x") py = -py;
        if (mirror && mirror->At(1) == "y") px = -px;
        // The sheet's y points down: a symbol turned by `angle` degrees
        // counter-clockwise as seen on the sheet.
        const double r = angle * M_PI / 180;
        const double sx = px * std::cos(r) + py * std::sin(r);
        const double sy = -px * std::sin(r) + py * std::cos(r);
        const Point end = At(x + sx, y + sy);
        const int node = Node(end);
        // A power symbol's hidden power input is a global net of its value
        // (a power flag's output is not).
        if (libId.rfind("power:", 0) == 0 && pin->At(1) == "power_in") {
          Join(node, Node("power " + value));
          continue;
        }
        const std::string key = reference + "." + pin->Get("number").At(1);
        pins_[key] = node;
        if (open_.count(end)) openPins_.insert(key);
        pinEnds_[key] = end;
      }
    }
  }

  int Node(const Point& p) {
    if (!points_.count(p)) points_[p] = NewNode();
    return points_[p];
  }
  int Node(const std::string& name) {
    if (!nodes_.count(name)) nodes_[name] = NewNode();
    return nodes_[name];
  }
  int NewNode() {
    parent_.push_back(static_cast<int>(parent_.size()));
    return parent_.back();
  }
  int Find(int n) {
    while (parent_[static_cast<size_t>(n)] != n)
      n = parent_[static_cast<size_t>(n)];
    return n;
  }
  void Join(int a, int b) { parent_[static_cast<size_t>(Find(a))] = Find(b); }

  Sexpr root_;
  std::map<std::string, const Sexpr*> library_;
  std::vector<std::pair<Point, Point>> wires_;
  std::map<Point, int> points_;
  std::map<std::string, int> nodes_;
  std::map<std::string, int> pins_;
  std::map<std::string, Point> pinEnds_;
  std::set<Point> open_;
  std::set<std::string> openPins_;
  std::vector<int> parent_;
};

// The simulated circuit's parts on their nodes, from the netlist's top-level
// lines: "R1.1" for R1's first node; the timer's nodes in the subcircuit's
// order (GND TRIG OUT RESET CTRL THRESH DISCH VCC) as the board's pins.
using Nets = std::map<std::string, std::set<std::string>>;
void SpiceNets(const std::string& netlist, TimerVariant variant, Nets& nets) {
  static const std::map<TimerVariant, std::vector<std::string>> kTimerPins = {
      {TimerVariant::Timer555, {"1", "2", "3", "4", "5", "6", "7", "8"}},
      {TimerVariant::Timer556A, {"7", "6", "5", "4", "3", "2", "1", "14"}},
      {TimerVariant::Timer556B, {"7", "8", "9", "10", "11", "12", "13", "14"}}};
  std::map<std::string, std::set<std::string>> byNode;
  std::istringstream lines(netlist.substr(netlist.find(".ends")));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string name;
    words >> name;
    if (name == ".control" || name == ".end") break;
    // The parts: R, C, D and the timer; not the sources or the commands.
    if (name.empty() || std::string("RCDX").find(name[0]) == std::string::npos) continue;
    if (name == "Rdis") continue;  // the simulation's 1 GΩ that keeps an open pin 7 defined
    std::vector<std::string> nodes;
    for (std::string w; words >> w;)
      nodes.push_back(w);
    ASSERT_GE(nodes.size(), name == "X1" ? 8u : 2u) << line;
    if (name == "X1") {
      for (size_t k = 0; k < 8; ++k)
        byNode[nodes[k]].insert("U1." + kTimerPins.at(variant)[k]);
    } else if (name[0] == 'D') {  // anode, cathode: the library's pins 2 and 1
      byNode[nodes[0]].insert(name + ".2");
      byNode[nodes[1]].insert(name + ".1");
    } else {
      byNode[nodes[0]].insert(name + ".1");
      byNode[nodes[1]].insert(name + ".2");
    }
  }
  for (const auto& [node, pins] : byNode)
    for (const std::string& pin : pins)
      nets[pin] = pins;
}

struct Built {
  DesignSnapshot design;
  Conditions at;
  TimerVariant variant;
};

std::vector<Built> EveryCircuit() {
  std::vector<Built> all;
  for (TimerFamily family : {TimerFamily::Bipolar, TimerFamily::Cmos})
    for (TimerVariant variant :
         {TimerVariant::Timer555, TimerVariant::Timer556A, TimerVariant::Timer556B})
      for (const DesignSnapshot& d : {Astable(1, 1000, 0.75), Astable(2, 1000, 0.5),
                                      Astable(3, 1000, 0.25), OneShot(0.01, 1e-7)})
        all.push_back({d, {9, family}, variant});
  return all;
}

std::string Schematic(const Built& b, bool smd = false) {
  BoardOptions options;
  options.family = b.at.family;
  options.variant = b.variant;
  options.smd = smd;
  return KicadSchematic(BuildBoard(b.design, options), {"title", "target", "2.0.0", "2026-12-10"});
}

// The schematic's nets are the simulated circuit's: the same parts on the
// same nodes, for every design, both families, the 555 and both 556 halves;
// the 556's other half held in reset with its inputs tied off.
TEST(KicadSchematic, NetsAreTheSimulatedCircuits) {
  for (const Built& b : EveryCircuit()) {
    const std::string where = std::string(TraitsOf(b.design.kind).name) + " " +
                              (b.at.family == TimerFamily::Cmos ? "cmos " : "bipolar ") +
                              std::to_string(static_cast<int>(b.variant));
    SchematicNets schematic(Schematic(b));
    const auto nets = schematic.Nets();
    Nets spice;
    SpiceNets(Netlist(b.design, b.at, PlanSimulation(b.design, b.at), "w.txt"), b.variant, spice);
    for (const auto& [pin, members] : spice) {
      ASSERT_TRUE(nets.count(pin)) << where << ": " << pin;
      std::set<std::string> drawn;
      for (const std::string& p : nets.at(pin))
        if (spice.count(p)) drawn.insert(p);
      // A pin the simulation leaves on a node of its own is open on the board.
      if (members.size() == 1 && nets.at(pin).size() == 1) continue;
      EXPECT_EQ(drawn, members) << where << ": " << pin;
    }
    const std::string vcc = b.variant == TimerVariant::Timer555 ? "U1.8" : "U1.14";
    EXPECT_TRUE(schematic.OnPower(vcc, "VCC")) << where;
    if (b.variant != TimerVariant::Timer555) {
      const bool a = b.variant == TimerVariant::Timer556A;
      EXPECT_TRUE(schematic.OnPower(a ? "U1.10" : "U1.4", "GND")) << where << ": reset";
      EXPECT_TRUE(schematic.OnPower(a ? "U1.8" : "U1.6", "VCC")) << where << ": trigger";
      EXPECT_TRUE(schematic.OnPower(a ? "U1.12" : "U1.2", "GND")) << where << ": threshold";
      EXPECT_TRUE(schematic.Open(a ? "U1.9" : "U1.5")) << where << ": output";
    }
    // The header brings the supply in and the output (and the one-shot's
    // trigger) out; flags tell a rules check where the supply comes from.
    const bool oneShot = TraitsOf(b.design.kind).oneShot;
    EXPECT_TRUE(schematic.OnPower("J1.1", "VCC")) << where;
    EXPECT_TRUE(schematic.OnPower(oneShot ? "J1.4" : "J1.3", "GND")) << where;
    const std::string out = b.variant == TimerVariant::Timer555    ? "U1.3"
                            : b.variant == TimerVariant::Timer556A ? "U1.5"
                                                                   : "U1.9";
    EXPECT_EQ(nets.at(oneShot ? "J1.3" : "J1.2").count(out), 1u) << where << ": output";
    if (oneShot) {
      const std::string trigger = b.variant == TimerVariant::Timer555    ? "U1.2"
                                  : b.variant == TimerVariant::Timer556A ? "U1.6"
                                                                         : "U1.8";
      EXPECT_EQ(nets.at("J1.2").count(trigger), 1u) << where << ": trigger";
    }
    EXPECT_TRUE(schematic.OnPower("#FLG01.1", "VCC")) << where;
    EXPECT_TRUE(schematic.OnPower("#FLG02.1", "GND")) << where;
    EXPECT_TRUE(schematic.PointsInsideWires().empty()) << where;
    EXPECT_TRUE(schematic.AllOnGrid()) << where;
  }
}

// The embedded symbols have the standard library's pin numbers and places,
// so that a user can update them from it.
TEST(KicadSchematic, SymbolsMatchTheStandardLibrary) {
  const std::filesystem::path libraries = "/usr/share/kicad/symbols";
  if (!std::filesystem::exists(libraries / "Timer.kicad_sym"))
    GTEST_SKIP() << "the kicad-symbols package is not installed";
  std::map<std::string, Sexpr> files;
  const auto symbol = [&](const std::string& libId) -> const Sexpr* {
    const std::string lib = libId.substr(0, libId.find(':'));
    if (!files.count(lib)) files[lib] = ParseSexpr(FileText(libraries / (lib + ".kicad_sym")));
    for (const Sexpr* s : files[lib].Children("symbol"))
      if (s->At(1) == libId.substr(lib.size() + 1)) return s;
    return nullptr;
  };
  for (const char* libId : {"Device:R", "Device:C", "Device:C_Polarized", "Device:D", "power:VCC",
                            "power:GND", "Timer:NE555P", "Timer:ICM7555xP", "Timer:NE555D",
                            "Timer:ICM7555xB", "Timer:NE556", "Timer:ICM7556", "power:PWR_FLAG",
                            "Connector_Generic:Conn_01x03", "Connector_Generic:Conn_01x04"}) {
    const Sexpr* s = symbol(libId);
    ASSERT_NE(s, nullptr) << libId;
    // A symbol that extends another has its parent's pins.
    const std::string lib = std::string(libId).substr(0, std::string(libId).find(':'));
    while (const Sexpr* parent = s->Child("extends"))
      s = symbol(lib + ":" + parent->At(1));
    std::set<std::string> library, ours;
    for (const Sexpr* unit : s->Children("symbol"))
      for (const Sexpr* pin : unit->Children("pin")) {
        const Sexpr& at = pin->Get("at");
        std::ostringstream text;
        text << pin->Get("number").At(1) << " " << pin->Get("name").At(1) << " " << at.At(1) << " "
             << at.At(2) << " " << at.At(3);
        library.insert(text.str());
      }
    for (const SymbolPin& p : SymbolPins(libId)) {
      std::ostringstream text;
      text << p.number << " " << p.name << " " << p.x << " " << p.y << " " << p.angle;
      ours.insert(text.str());
    }
    EXPECT_EQ(ours, library) << libId;
  }
}

// The parts list: RFC 4180 with a header, one line per distinct part.
TEST(BomCsv, OneLinePerDistinctPart) {
  BoardOptions options;
  options.variant = TimerVariant::Timer556A;
  const std::string csv = BomCsv(BuildBoard(Astable(3, 1000, 0.25), options));
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (size_t k = 0; k < csv.size(); ++k) {
    const char c = csv[k];
    if (quoted) {
      if (c == '"' && k + 1 < csv.size() && csv[k + 1] == '"') {
        field += '"';
        ++k;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\r') {
      ASSERT_EQ(csv[k + 1], '\n');
      row.push_back(field);
      rows.push_back(row);
      row.clear();
      field.clear();
      ++k;
    } else {
      field += c;
    }
  }
  ASSERT_TRUE(row.empty() && field.empty()) << "the last line ends in CRLF";
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Designator", "Quantity", "Value", "Description",
                                               "Footprint", "Manufacturer", "MPN"}));
  std::map<std::string, std::vector<std::string>> by;
  for (const auto& r : rows) {
    ASSERT_EQ(r.size(), 7u);
    by[r[0]] = r;
  }
  EXPECT_EQ(by["U1"][2], "NE556");
  EXPECT_EQ(by["D1,D2"][1], "2");
  EXPECT_EQ(by["R1"][2], BoardValueText(Astable(3, 1000, 0.25).r1));
  EXPECT_EQ(by["C1"][2], "100n");
  EXPECT_NE(by["C1"][3].find("film"), std::string::npos);
  EXPECT_EQ(by["J1"][2], "VCC/OUT/GND");
  EXPECT_EQ(by["J1"][4], "PinHeader_1x03_P2.54mm_Vertical");
}

TEST(BoardValueText, AsASchematicWritesIt) {
  const std::pair<double, const char*> rows[] = {
      {10000, "10k"}, {3606.737, "3.607k"}, {1e-7, "100n"},   {4.7e-6, "4.7u"}, {470, "470"},
      {999.96, "1k"}, {2.2e6, "2.2M"},      {1.5e-9, "1.5n"}, {1e-3, "1m"},     {47e-12, "47p"}};
  for (const auto& [value, text] : rows)
    EXPECT_EQ(BoardValueText(value), text) << value;
}

}  // namespace
}  // namespace timer555
