#pragma once

#include "components/holders.h"
#include "design/shell_view.h"

namespace timer555 {

// The caption of each design page, indexed by DesignMode 1 to 4.
const char* DesignTitle(int designMode) noexcept;

// Turns the window into the page of TimerDesign.DesignMode: caption, input
// panel, cleared page area and the capacitor's starting value. The schematic
// joins it once the circuit renderer exists.
void OpenDesignPage(ShellView& view, StringHolders& holders);

}  // namespace timer555
