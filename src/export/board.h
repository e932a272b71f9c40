#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/capacitors.h"
#include "analysis/real_world.h"
#include "state/global.h"

namespace timer555 {

// One pin of a placed part and the net it joins; an empty net is a pin left
// open on purpose.
struct BoardPin {
  std::string number;
  std::string net;
};

// A part of the built circuit as a schematic and a parts list name it.
struct BoardPart {
  std::string reference;    // "R1", "C1", "U1"
  int unit = 1;             // the 556's half: 1 (A) or 2 (B)
  std::string libId;        // the standard library's symbol: "Device:R", "Timer:NE555P"
  std::string value;        // "10k", "100n", "NE555P"
  std::string footprint;    // "Resistor_THT:R_Axial_DIN0207_L6.3mm_D2.5mm_P10.16mm_Horizontal"
  std::string description;  // for the parts list: kind, tolerance, voltage rating
  std::string technology, tolerance;  // the fields a schematic carries ("" where none)
  std::vector<BoardPin> pins;
};

// The whole built circuit: the timer (a 555, or one half of a 556 with the
// other half's inputs tied off), the timing parts, C2 on pin 5, the diodes of
// design 3, and the nets VCC, GND, CAP, DISCH, OUT, CTRL (and TRIG, STEER).
struct Board {
  DesignKind kind = DesignKind::AstableAbove;
  std::vector<BoardPart> parts;
};

struct BoardOptions {
  TimerFamily family = TimerFamily::Bipolar;
  TimerVariant variant = TimerVariant::Timer555;
  std::optional<CapacitorType> capacitor;  // C1's kind: film below 1 µF, else electrolytic
  double resistorTolerance = 0.01;
  double vcc = 9;
  bool smd = false;  // 0805 and SOIC instead of through-hole parts
};

// The timer's pin numbers in the order the simulated chip takes its pins
// (GND, TRIG, OUT, RESET, CTRL, THRESH, DISCH, VCC): the 555's, or a 556
// half's (unit 1 is A, 2 is B).
const std::array<const char*, 8>& TimerPinNumbers(bool dual, int unit);

// C1 as it is bought: the kind chosen, or film below 1 µF and an aluminium
// electrolytic from there.
CapacitorType BuiltCapacitor(std::optional<CapacitorType> chosen, double c1);

// `design`'s parts (r1, r2, c1) as the board is built with them.
Board BuildBoard(const DesignSnapshot& design, const BoardOptions& options);

// A part's value as a schematic writes it: "3.607k", "10k", "100n", "4.7u".
std::string BoardValueText(double value);

}  // namespace timer555
