#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/board.h"
#include "render/canvas.h"
#include "report/parts_report.h"
#include "simulation/ngspice.h"
#include "state/global.h"

namespace timer555 {

// What a design sheet shows: the question the parts answer, the circuit as
// built, the timer it is built with, a simulation where one ran, and the
// program's version and the day.
struct SheetRequest {
  PartsQuestion question;
  DesignSnapshot built;  // its capacitor: C1's kind (none: the usual kind for its value)
  TimerVariant variant = TimerVariant::Timer555;
  std::optional<SimulationResult> simulation;
  std::string version, date;
};

// The sheet's texts, each figure as the reports write it.
struct SheetContent {
  std::string title;                  // "Astable, duty cycle below 50 %"
  std::string target;                 // "Target 1.000 kHz, 25.0 % at 5.0 V, bipolar timer"
  std::vector<std::string> parts;     // one line a part to buy
  std::string timing;                 // the timings side by side (a fixed-width table)
  std::vector<std::string> figures;   // band, worst case, yield
  std::vector<std::string> warnings;  // "code: message"
  std::vector<std::string> conditions;
  std::string footer;    // "timer555 2.0.0, 2026-12-10"
  PartsChoice assessed;  // the built parts as the search would report them
};
SheetContent ComposeSheet(const SheetRequest& request);

// How the request's board is bought: its family, timer, C1's kind, resistor
// tolerance and supply, through-hole or surface-mount.
BoardOptions BoardOptionsOf(const SheetRequest& request, bool smd = false);

// The design's title as a sheet and a schematic give it.
const char* SheetTitle(DesignKind kind) noexcept;

// The design page's schematic with `built`'s values beside the parts, over
// the whole canvas, the chip drawn as `variant`. The window's own state is
// left as it was.
void DrawBuiltSchematic(Canvas& canvas, const DesignSnapshot& built, TimerVariant variant);

// The predicted output over two periods (the one-shot: its trigger and one
// pulse), the high and low times marked.
void DrawPredictedWave(Canvas& canvas, DesignKind kind, const Timing& timing);

}  // namespace timer555
