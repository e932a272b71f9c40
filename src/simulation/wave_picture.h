#pragma once

#include "render/canvas.h"
#include "simulation/ngspice.h"

namespace timer555 {

// The waveform picture's size: the page area's.
inline constexpr int kWavePictureWidth = 650;
inline constexpr int kWavePictureHeight = 308;

// The simulated waveform: the output (pin 3) and the capacitor voltage over
// the first cycles, a time axis in engineering units, the 1/3 and 2/3 Vcc
// levels dotted and named beside the plot, the one-shot's trigger, and the
// measured high and low times marked. Drawn through the Canvas, so PNG and
// SVG show the same pixels; `scale` draws every length and font that many
// times larger (a screen's device pixel ratio).
void DrawSimulatedWave(Canvas& canvas, const DesignSnapshot& design, const Conditions& conditions,
                       const SimulationResult& result, double scale = 1);

// 250 µs, 1.2 ms, 3 s: a time with `significant` digits at most and its unit.
// `micro` is the prefix for 1e-6: "µ" in UTF-8; the canvas, whose texts are
// Latin-1 bytes, takes kLatin1Micro.
inline constexpr const char* kLatin1Micro = "\xb5";
std::string TimeText(double seconds, int significant = 3, const char* micro = "\u00b5");

}  // namespace timer555
