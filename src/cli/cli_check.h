#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/check.h"
#include "cli/cli.h"
#include "cli/cli_design.h"
#include "cli/options.h"

namespace timer555 {

// The options that set where the circuit is built: --vcc and --family,
// shared by `check` and `simulate`.
std::vector<Option> ConditionOptions(Conditions& conditions);
// --series, --tolerance and --temperature of `check`.
std::vector<Option> CheckOptions(CheckSettings& settings);

// The circuit on the bench instead of the window's parts: --r1, --r2, --c1,
// any positive values; the targets stay the design's.
struct BenchParts {
  std::optional<double> r1, r2, c1;
  std::optional<CapacitorType> c1Type;
};
std::vector<Option> BenchPartOptions(BenchParts& parts);
// --c1-type: what C1 is built as (check's leakage limit and its advice).
Option C1TypeOption(BenchParts& parts);
// The design with the bench's parts in place of its own; a usage error for
// an R2 the design does not have.
DesignSnapshot WithBenchParts(DesignSnapshot design, const BenchParts& parts);

// timer555-cli check: the design's steps, then the real-world check.
ExitStatus RunCheckCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err);

// --json: one JSON object instead of the text.
Option JsonOption(bool& json);
}  // namespace timer555
