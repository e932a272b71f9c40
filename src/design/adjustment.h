#pragma once

#include <optional>
#include <string>

#include "state/global.h"

namespace timer555 {

inline constexpr const char* kAdjustmentRefused = "Maximum adjustment is +/- 20%.";

// What the adjustment dialog of one part shows: its name ("C1", "R1" or "R2")
// and the reference value split into the number and the unit it is typed in.
struct AdjustmentField {
  std::string name;
  std::string number;
  std::string unit;  // "", "K", "M", "G" for resistors; "pF", "nF", "uF", "F" for C1
  double reference = 0;
  bool capacitor = false;
};

// The field of C1 (`resistor` 0) or of resistor 1 or 2, from the design's
// reference values; reads nothing else.
AdjustmentField AdjustmentFieldOf(const TimerDesignState& design, int resistor);

// The value in ohms or farads that `text` typed into the field stands for, when
// it lies within reference / 1.2 … 1.2 × reference (both included, in the
// shown unit); none when it does not.
std::optional<double> AcceptedValue(const AdjustmentField& field, const std::string& text);

// What a user types into the field to enter `value` (ohms or farads): the
// value in the field's unit, 3.6 for 3600 ohms shown in K.
std::string EntryText(const AdjustmentField& field, double value);

// A value as the schematic prints it, in words a screen reader says:
// "7.214K" → "7.214 kilohms", "100nF" → "100 nanofarads".
std::string SpokenValue(const std::string& shown, bool capacitor);
// A unit the window shows, in words a screen reader says: the dialog's "K"
// is "kilohms", "nF" "nanofarads"; a figure's "kHz" "kilohertz", "%"
// "percent", "µs" "microseconds", the entry field's "sec" "seconds";
// empty for a unit it does not know.
std::string UnitWord(const std::string& unit);

// The band the dialog accepts around its reference (in the shown unit), for
// a reader: "from 83.34 to 120" for 100, four figures rounded inwards (both
// ends are accepted); empty where the reference is not a positive number.
std::string AdjustmentRange(double reference);

// Whether the dialog of resistor `index` (1 or 2) accepts `ohms` for `design`.
bool AcceptsResistor(const TimerDesignState& design, int index, double ohms);

// Whether the window's own paths reach a set of parts from `design`: the C1
// arrows to `c1` (an E12 value where the decade search keeps it), then the
// adjustment dialog within its band for R1 (and R2). Each arrow click solves
// for the targets as typed (`design` should hold them so, see DesignAsTyped);
// without a click the dialog's band is around the references as they are. `steps` is the number
// of arrow clicks, up positive; `reason` says why not.
struct PartsReach {
  bool reachable = false;
  int steps = 0;
  std::string reason;
};
PartsReach ReachParts(const TimerDesignState& design, double c1, double r1,
                      std::optional<double> r2);

// What the dialog shows when it opens, stored in Global::Adjust(); returns
// the name. The resistor is the one last under the mouse.
std::string PrepareAdjustment();

// The OK button: a value the field accepts is stored into C1, R1 or R2;
// anything else changes nothing and gives the refusal message.
std::optional<std::string> ApplyAdjustment(const std::string& text);

// Prepares resistor `index`'s dialog as opening it does and returns what a
// user types into it to enter `ohms`.
std::string ResistorEntry(int index, double ohms);

}  // namespace timer555
