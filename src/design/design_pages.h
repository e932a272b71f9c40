#pragma once

#include <string>
#include <vector>

#include "components/holders.h"
#include "design/shell_view.h"

namespace timer555 {

// The caption of each design page, indexed by DesignMode 1 to 4.
const char* DesignTitle(int designMode) noexcept;

// Turns the window into the page of TimerDesign.DesignMode: caption, input
// panel, the design's script in SHBuffer drawn with names only, and the
// capacitor's starting value.
void OpenDesignPage(ShellView& view, StringHolders& holders);

// The texts under the waveform: "tH = 750.0us" and "tL = 250.0us" for the
// square wave (kind 0, which also stores THigh and TLow), "tH = " + the first
// field's text + " sec" for the one-shot (kind 1).
std::vector<std::string> WaveformLabels(const ShellView& view, int kind);

// The output waveform in the "Vout" image: two periods of the square wave
// (kind 0) or one pulse (kind 1), with its times beneath.
void DrawOutputWaveform(ShellView& view, int kind);

}  // namespace timer555
