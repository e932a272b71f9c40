#pragma once

#include <optional>
#include <string>

namespace timer555 {

inline constexpr const char* kAdjustmentRefused = "Maximum adjustment is +/- 20%.";

// What the dialog shows when it opens: the name ("C1", "R1" or "R2") and the
// reference value split into number and unit, stored in Global::Adjust().
// The resistor is the one last under the mouse.
std::string PrepareAdjustment();

// The OK button: a number within reference / 1.2 … 1.2 × reference (both
// included, in the shown unit) is stored into C1, R1 or R2; anything else
// changes nothing and gives the refusal message.
std::optional<std::string> ApplyAdjustment(const std::string& text);

// What a user types into the dialog of resistor `index` (1 or 2) to enter
// `ohms`: the value in the unit the dialog shows (3.6 for 3600 ohms shown in
// K). Prepares the dialog's state as opening it does.
std::string ResistorEntry(int index, double ohms);

}  // namespace timer555
