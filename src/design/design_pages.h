#pragma once

#include <cstdint>
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

// What the "Vout" image shows: the astables' square wave or the one-shot's pulse.
enum class WaveformKind : std::uint8_t { Astable = 0, OneShot = 1 };

// The texts under the waveform: "tH = 750.0us" and "tL = 250.0us" for the
// square wave (which also stores THigh and TLow), "tH = " + the first field's
// text + " sec" for the one-shot.
std::vector<std::string> WaveformLabels(const ShellView& view, WaveformKind kind);

// The waveform's labels as a screen reader says them: "output high for
// 250.0 microseconds, low for 750.0 microseconds".
std::string WaveformDescription(const std::vector<std::string>& labels);

// The output waveform in the "Vout" image: two periods of the square wave or
// one pulse, with its times beneath.
void DrawOutputWaveform(ShellView& view, WaveformKind kind);

}  // namespace timer555
