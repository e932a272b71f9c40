#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/check.h"
#include "cli/cli_design.h"
#include "cli/options.h"

namespace timer555 {

// The options that set where the circuit is built: --vcc and --family,
// shared by `check` and `simulate`.
std::vector<Option> ConditionOptions(Conditions& conditions);
// --series, --tolerance and --temperature of `check`.
std::vector<Option> CheckOptions(CheckSettings& settings);

// timer555-cli check: the design's steps, then the real-world check.
int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// --json: one JSON object instead of the text.
Option JsonOption(bool& json);
// A number for JSON: null where it is not finite or absent.
QJsonValue JsonNumber(double v);
QJsonValue JsonNumber(const std::optional<double>& v);
// The JSON object of one timing: frequency_hz, duty_cycle, t_high_s, t_low_s
// (null where the one-shot has none), first_t_high_s.
QJsonObject TimingJson(const Timing& timing);
// One JSON object on one line, numbers in the shortest form that reads back.
void PrintJsonLine(const QJsonObject& object, std::ostream& out);

}  // namespace timer555
