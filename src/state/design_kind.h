#pragma once

#include <optional>
#include <string>

namespace timer555 {

// The four designs, numbered as the window's design state numbers them.
enum class DesignKind : int {
  AstableAbove = 1,   // duty cycle above 50 %: R1 and R2 charge, R2 discharges
  AstableSquare = 2,  // 50 %: the output charges and discharges through R1
  AstableBelow = 3,   // below 50 %: R1 charges through a diode, R2 discharges
  OneShot = 4,        // the monostable: R1 times one pulse
};

inline constexpr DesignKind kDesignKinds[] = {DesignKind::AstableAbove, DesignKind::AstableSquare,
                                              DesignKind::AstableBelow, DesignKind::OneShot};

// What each design is made of and how it is named.
struct DesignTraits {
  const char* title;     // the design page's caption
  const char* name;      // the command line's name: astable-above ...
  bool oneShot;          // a pulse length instead of a frequency and duty cycle
  bool resistorPair;     // R1 and R2 both set the timing (the duty cycle is typed)
  bool hasR2;            // an R2 is drawn (the 50 % design's is its pull-up)
  double pullUp;         // the 50 % design's R2 from Vcc to the output; 0 where none
  bool steeringDiodes;   // a diode steers the charge past R2
  bool usesDischarge;    // pin 7 discharges the capacitor
  const char* charging;  // the resistors the capacitor charges through
  int pictureColumn;     // where the design selection shows it: column 0 or 1,
  int pictureRow;        // row 0 or 1
};

// The 50 % design's pull-up from Vcc to the output, drawn as R2.
inline constexpr double kSquareWaveR2 = 4700;

inline constexpr DesignTraits kDesignTraits[] = {
    {"Astable, Duty Cycle > 50%", "astable-above", false, true, true, 0, false, true, "(R1 + R2)",
     0, 0},
    {"Astable, Duty Cycle = 50%", "astable-square", false, false, true, kSquareWaveR2, false, false,
     "R1", 1, 0},
    {"Astable, Duty Cycle < 50%", "astable-below", false, true, true, 0, true, true, "R1", 0, 1},
    {"Monostable  (one-shot)", "monostable", true, false, false, 0, false, true, "R1", 1, 1},
};

constexpr const DesignTraits& TraitsOf(DesignKind kind) {
  return kDesignTraits[static_cast<int>(kind) - 1];
}

constexpr int DesignNumber(DesignKind kind) {
  return static_cast<int>(kind);
}

// The design numbered 1 to 4; none for any other number.
constexpr std::optional<DesignKind> DesignKindOf(int number) {
  if (number < 1 || number > 4) return std::nullopt;
  return static_cast<DesignKind>(number);
}

// A design by its command-line name or its number ("astable-below", "3").
inline std::optional<DesignKind> DesignKindNamed(const std::string& text) {
  for (DesignKind kind : kDesignKinds) {
    if (text == TraitsOf(kind).name || text == std::to_string(DesignNumber(kind))) return kind;
  }
  return std::nullopt;
}

}  // namespace timer555
