#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/check.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "report/parts_report.h"

namespace timer555 {

// What `parts` is asked: the design's kind and target as numbers, where it is
// built, the series, the spread of the boards, the output.
struct PartsRequest {
  std::optional<DesignKind> kind;
  std::optional<double> frequency, dutyPercent, pulse;
  std::optional<std::string> frequencyText, dutyText, pulseText;  // as typed
  CheckSettings settings;  // --vcc, --family, --series, --tolerance, --temperature
  std::optional<std::pair<double, double>> vccRange;
  CapacitorSeries capacitors = CapacitorSeries::E6;
  std::vector<CapacitorType> capacitorTypes = TimingCapacitorTypes();
  std::optional<std::pair<double, double>> spec;  // % of the frequency, points of duty
  int samples = 10000;
  std::uint64_t seed = 555;
  int count = 5;
  bool json = false;
  std::optional<std::string> picture;
};
std::vector<Option> PartsOptions(PartsRequest& request);

// The question a request asks, checked against what the design has: without
// --vcc the middle of --vcc-range is the nominal supply, and a capacitor
// tolerance given (--tolerance among `args`) overrides each kind's own.
PartsQuestion QuestionOf(const PartsRequest& request, const std::vector<std::string>& args);

// timer555-cli parts: the search, its yield and the exact parts.
ExitStatus RunPartsCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err);

}  // namespace timer555
