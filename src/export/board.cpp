#include "export/board.h"

#include <array>
#include <charconv>
#include <cmath>

#include "format/engineering.h"

namespace timer555 {

namespace {

// The unit a variant uses, or its other half.
int UnitOf(TimerVariant variant, bool other = false) {
  return (variant == TimerVariant::Timer556B) != other ? 2 : 1;
}

const std::array<const char*, 8>& PinsOf(TimerVariant variant, bool other = false) {
  return TimerPinNumbers(variant != TimerVariant::Timer555, UnitOf(variant, other));
}

struct TimerNets {
  const char *trig, *out, *thresh, *disch;
};

// Where the timer's pins go in each design, as the simulated circuit has them.
TimerNets NetsOf(DesignKind kind) {
  if (kind == DesignKind::OneShot) return {"TRIG", "OUT", "CAP", "CAP"};
  return {"CAP", "OUT", "CAP", "DISCH"};
}

std::string PercentText(double share) {
  return FixedText(share * 100, share * 100 < 1 ? 1 : 0) + " %";
}

BoardPart Timer(const BoardOptions& o, DesignKind kind) {
  const bool cmos = o.family == TimerFamily::Cmos;
  const bool dual = o.variant != TimerVariant::Timer555;
  BoardPart u;
  u.reference = "U1";
  u.unit = UnitOf(o.variant);
  if (dual) {
    u.libId = cmos ? "Timer:ICM7556" : "Timer:NE556";
    u.footprint = o.smd ? "Package_SO:SOIC-14_3.9x8.7mm_P1.27mm" : "Package_DIP:DIP-14_W7.62mm";
  } else if (o.smd) {
    u.libId = cmos ? "Timer:ICM7555xB" : "Timer:NE555D";
    u.footprint = "Package_SO:SOIC-8_3.9x4.9mm_P1.27mm";
  } else {
    u.libId = cmos ? "Timer:ICM7555xP" : "Timer:NE555P";
    u.footprint = "Package_DIP:DIP-8_W7.62mm";
  }
  u.value = u.libId.substr(u.libId.find(':') + 1);
  u.description =
      std::string(cmos ? "CMOS " : "bipolar ") + (dual ? "dual timer, 556" : "timer, 555");
  const TimerNets n = NetsOf(kind);
  const std::array<const char*, 8> nets = {"GND",  n.trig,   n.out,   "VCC",
                                           "CTRL", n.thresh, n.disch, "VCC"};
  const auto& numbers = PinsOf(o.variant);
  for (size_t k = 0; k < nets.size(); ++k)
    u.pins.push_back({numbers[k], nets[k]});
  // The 50 % design leaves the discharge pin open.
  if (kind == DesignKind::AstableSquare) u.pins[6].net = "";
  return u;
}

// The 556's other half, held in reset with its inputs tied off, as the
// datasheets advise for an unused half: its output stays low and nothing in
// it switches.
BoardPart UnusedHalf(const BoardPart& timer, TimerVariant variant) {
  BoardPart u = timer;
  u.unit = UnitOf(variant, true);
  u.pins.clear();
  const auto& numbers = PinsOf(variant, true);
  const std::array<const char*, 8> nets = {"GND", "VCC", "", "GND", "", "GND", "", "VCC"};
  for (size_t k = 0; k < nets.size(); ++k)
    u.pins.push_back({numbers[k], nets[k]});
  return u;
}

BoardPart Resistor(const std::string& ref, double ohms, const BoardOptions& o, const char* a,
                   const char* b) {
  BoardPart r;
  r.reference = ref;
  r.libId = "Device:R";
  r.value = BoardValueText(ohms);
  r.footprint = o.smd ? "Resistor_SMD:R_0805_2012Metric"
                      : "Resistor_THT:R_Axial_DIN0207_L6.3mm_D2.5mm_P10.16mm_Horizontal";
  r.technology = "metal film";
  r.tolerance = PercentText(o.resistorTolerance);
  r.description = "Resistor, metal film, " + r.tolerance + ", 0.25 W";
  r.pins = {{"1", a}, {"2", b}};
  return r;
}

std::string CapacitorFootprint(const CapacitorTechnology& t, double farad, bool smd) {
  if (smd) {
    if (t.type == CapacitorType::Tantalum) return "Capacitor_Tantalum_SMD:CP_EIA-3528-21_Kemet-B";
    if (t.polarised) return "Capacitor_SMD:CP_Elec_6.3x5.4";
    return farad <= 1e-6 ? "Capacitor_SMD:C_0805_2012Metric" : "Capacitor_SMD:C_1206_3216Metric";
  }
  switch (t.type) {
    case CapacitorType::C0g:
    case CapacitorType::X7r:
      return "Capacitor_THT:C_Disc_D5.0mm_W2.5mm_P5.00mm";
    case CapacitorType::Film:
      return farad <= 1e-6 ? "Capacitor_THT:C_Rect_L7.2mm_W3.5mm_P5.00mm_FKS2_FKP2_MKS2_MKP2"
                           : "Capacitor_THT:C_Rect_L18.0mm_W8.0mm_P15.00mm_FKS3_FKP3";
    case CapacitorType::Tantalum:
      return "Capacitor_THT:CP_Radial_Tantal_D5.0mm_P2.50mm";
    default:
      return farad <= 100e-6   ? "Capacitor_THT:CP_Radial_D5.0mm_P2.00mm"
             : farad <= 470e-6 ? "Capacitor_THT:CP_Radial_D8.0mm_P3.50mm"
                               : "Capacitor_THT:CP_Radial_D10.0mm_P5.00mm";
  }
}

// The smallest common rating above twice the supply.
int VoltageRating(double vcc) {
  for (int rating : {10, 16, 25, 35, 50, 63, 100})
    if (rating >= 2 * vcc) return rating;
  return 100;
}

BoardPart Capacitor(const std::string& ref, double farad, CapacitorType type, const BoardOptions& o,
                    const char* plus, const char* minus) {
  const CapacitorTechnology& t = TechnologyOf(type);
  BoardPart c;
  c.reference = ref;
  c.libId = t.polarised ? "Device:C_Polarized" : "Device:C";
  c.value = BoardValueText(farad);
  c.footprint = CapacitorFootprint(t, farad, o.smd);
  c.technology = t.name;
  c.tolerance = PercentText(t.tolerance);
  c.description = std::string("Capacitor, ") + t.name + ", " + c.tolerance + ", " +
                  std::to_string(VoltageRating(o.vcc)) + " V";
  c.pins = {{"1", plus}, {"2", minus}};
  return c;
}

BoardPart Diode(const std::string& ref, const BoardOptions& o, const char* anode,
                const char* cathode) {
  BoardPart d;
  d.reference = ref;
  d.libId = "Device:D";
  d.value = "1N4148";
  d.footprint = o.smd ? "Diode_SMD:D_SOD-123" : "Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal";
  d.description = "Diode, small signal, 1N4148";
  d.pins = {{"1", cathode}, {"2", anode}};  // the library's pin 1 is the cathode
  return d;
}

// The board's way in and out: supply, output and the one-shot's trigger on
// a pin header.
BoardPart Header(bool oneShot) {
  BoardPart j;
  j.reference = "J1";
  const std::vector<const char*> nets = oneShot
                                            ? std::vector<const char*>{"VCC", "TRIG", "OUT", "GND"}
                                            : std::vector<const char*>{"VCC", "OUT", "GND"};
  const std::string count = std::to_string(nets.size());
  j.libId = "Connector_Generic:Conn_01x0" + count;
  j.value = oneShot ? "VCC/TRIG/OUT/GND" : "VCC/OUT/GND";
  j.footprint = "Connector_PinHeader_2.54mm:PinHeader_1x0" + count + "_P2.54mm_Vertical";
  j.description = "Pin header, 1x" + count + ", 2.54 mm";
  for (size_t k = 0; k < nets.size(); ++k)
    j.pins.push_back({std::to_string(k + 1), nets[k]});
  return j;
}

}  // namespace

const std::array<const char*, 8>& TimerPinNumbers(bool dual, int unit) {
  static constexpr std::array<const char*, 8> k555 = {"1", "2", "3", "4", "5", "6", "7", "8"};
  static constexpr std::array<const char*, 8> kA = {"7", "6", "5", "4", "3", "2", "1", "14"};
  static constexpr std::array<const char*, 8> kB = {"7", "8", "9", "10", "11", "12", "13", "14"};
  return !dual ? k555 : unit == 2 ? kB : kA;
}

std::string BoardValueText(double value) {
  if (!(value > 0) || !std::isfinite(value)) return "0";
  // Four significant digits first, so that 999.96 is "1k", not "1000".
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 3).ptr;
  double rounded = 0;
  std::from_chars(text, end, rounded);
  static const struct {
    double scale;
    const char* prefix;
  } kPrefixes[] = {{1e6, "M"},  {1e3, "k"},  {1, ""},     {1e-3, "m"},
                   {1e-6, "u"}, {1e-9, "n"}, {1e-12, "p"}};
  for (const auto& p : kPrefixes) {
    if (rounded < p.scale && p.scale > 1e-12) continue;
    end = std::to_chars(text, text + sizeof text, rounded / p.scale, std::chars_format::general, 4)
              .ptr;
    return std::string(text, end) + p.prefix;
  }
  return "0";
}

CapacitorType BuiltCapacitor(std::optional<CapacitorType> chosen, double c1) {
  return chosen.value_or(c1 < kElectrolyticFrom ? CapacitorType::Film
                                                : CapacitorType::Electrolytic);
}

Board BuildBoard(const DesignSnapshot& d, const BoardOptions& o) {
  Board board;
  board.kind = d.kind;
  const BoardPart timer = Timer(o, d.kind);
  board.parts.push_back(timer);
  if (o.variant != TimerVariant::Timer555) board.parts.push_back(UnusedHalf(timer, o.variant));
  switch (d.kind) {
    case DesignKind::AstableAbove:
      board.parts.push_back(Resistor("R1", d.r1, o, "VCC", "DISCH"));
      board.parts.push_back(Resistor("R2", d.r2, o, "DISCH", "CAP"));
      break;
    case DesignKind::AstableSquare:
      board.parts.push_back(Resistor("R1", d.r1, o, "OUT", "CAP"));
      board.parts.push_back(Resistor("R2", d.r2, o, "VCC", "OUT"));
      break;
    case DesignKind::AstableBelow:
      board.parts.push_back(Resistor("R1", d.r1, o, "VCC", "DISCH"));
      board.parts.push_back(Resistor("R2", d.r2, o, "CAP", "STEER"));
      board.parts.push_back(Diode("D1", o, "DISCH", "CAP"));
      board.parts.push_back(Diode("D2", o, "STEER", "DISCH"));
      break;
    case DesignKind::OneShot:
      board.parts.push_back(Resistor("R1", d.r1, o, "VCC", "CAP"));
      break;
  }
  board.parts.push_back(Capacitor("C1", d.c1, BuiltCapacitor(o.capacitor, d.c1), o, "CAP", "GND"));
  board.parts.push_back(Capacitor("C2", 10e-9, CapacitorType::X7r, o, "CTRL", "GND"));
  board.parts.push_back(Header(TraitsOf(d.kind).oneShot));
  return board;
}

}  // namespace timer555
