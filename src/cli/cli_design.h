#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "analysis/real_world.h"
#include "cli/options.h"
#include "render/canvas.h"
#include "state/global.h"

namespace timer555 {

// "555", "556A", "556B" → TimerVariant 0, 2, 3.
TimerVariant ParseTimer(const std::string& text);

// What `design` and `render designN` are asked to do: the texts a user would
// type and the clicks they would make, in order.
struct DesignRequest {
  std::optional<DesignKind> kind;
  std::optional<std::string> frequency;
  std::optional<std::string> duty;
  std::optional<std::string> pulse;
  std::vector<bool> arrowSteps;                           // true up, false down, in the order given
  std::vector<std::pair<std::string, std::string>> sets;  // R1, R2 or C1 and the dialog's text
  std::optional<TimerVariant> timer;

  bool Calculates() const {
    return frequency || duty || pulse || !arrowSteps.empty() || !sets.empty();
  }
};

// MODE as astable-above, astable-square, astable-below, monostable or 1 to 4.
DesignKind ParseDesignKind(const std::string& text);
// The commands' one positional argument, MODE, into `kind`; a second is a
// usage error.
std::function<void(const std::string&)> ModeArgument(std::optional<DesignKind>& kind);

// The design options, the texts and clicks a user would give the window,
// filling `request`; `design`, `render designN` and the commands that check a
// design share them.
std::vector<Option> DesignOptions(DesignRequest& request);

// The design as the window shows it after the request's steps.
struct DesignReport {
  DesignKind kind = DesignKind::AstableAbove;
  std::string title;
  // The design's values (targets, parts, the parts as last calculated before
  // any adjustment, the times) and whether Calculate ran.
  TimerDesignState design;
  bool calculated = false;
  // The value texts the schematic prints; empty when the part is not drawn.
  std::optional<std::string> r1Label, r2Label, c1Label, c2Label;
  std::array<std::string, 2> fields;
  std::vector<std::string> waveform;
};

// Runs the window's steps with `page` as the page area: open the design page,
// type, Calculate, the arrows, the adjustments. Returns the message the window
// would show when a step fails (the drawing so far stays on the page).
std::optional<std::string> RunDesign(const DesignRequest& request, Canvas& page,
                                     DesignReport& report);

void PrintDesign(const DesignReport& report, bool json, std::ostream& out);

// A number for JSON and plain output: the shortest text that reads back the
// same double, whatever the locale; null where it is not finite.
std::string Number(double v);
// A JSON string of a Latin-1 text.
std::string Quoted(const std::string& s);
// Whether `s` ends in the lower-case `suffix`, letters compared in either case.
bool EndsWithNoCase(const std::string& s, const std::string& suffix);

// The design `check` and `simulate` work on: the request must calculate;
// the design's own failure is reported on `err` (none returned then).
std::optional<DesignSnapshot> CalculatedDesign(const std::string& command,
                                               const DesignRequest& request, DesignReport& report,
                                               std::ostream& err);

}  // namespace timer555
