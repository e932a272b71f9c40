#pragma once

#include "components/string_holder.h"

namespace timer555 {

// The stored scripts: 20 blocks of 11 lines, a name line and ten script lines.
inline constexpr int kCircuitBlockCount = 20;
inline constexpr int kCircuitBlockLines = 11;
inline constexpr int kScriptLineLength = 59;

// Block of design mode 1 to 4 and of application 1 to 14.
constexpr int DesignBlock(int designMode) noexcept {
  return designMode - 1;
}
constexpr int ApplicationBlock(int application) noexcept {
  return application + 3;
}

// Clears `buffer` and appends the ten script lines of block `block` (0 to 19)
// of `circuits`, found by position; the name line stays behind. A block the
// holder does not fully hold loads only the lines it has.
void LoadCircuitBlock(const TStringHolder& circuits, int block, TStringHolder& buffer);

}  // namespace timer555
