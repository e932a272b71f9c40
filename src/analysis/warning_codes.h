#pragma once

#include <optional>
#include <string>
#include <vector>

namespace timer555 {

// Every warning the check gives, in the order it gives them. A limit is a
// constraint of the parts search (a choice that breaks one is offered only
// when none keeps them all); advice tells how the built circuit departs from
// the ideal and why.
enum class WarningCode {
  VccOutOfRange,
  VccAboveRecommended,
  ResistanceTooHigh,
  ResistanceTooLow,
  DischargeCurrent,
  DischargeResistance,
  ElectrolyticLeakage,
  CapacitanceTooLow,
  FrequencyTooHigh,
  ThresholdNeverReached,
  DiodeDrop,
  TimingOff,
  ThresholdCurrent,
  OutputDropDuty,
  DelayUncertain,
};

struct WarningKind {
  WarningCode code;
  const char* key;  // the stable code the reports and the JSON print
  bool limit;
};
const std::vector<WarningKind>& AllWarningKinds();
const char* CodeKey(WarningCode code) noexcept;
bool IsLimit(WarningCode code) noexcept;
std::optional<WarningCode> CodeNamed(const std::string& key);

// A limit the design breaks or a way the built circuit departs from the ideal.
struct Warning {
  WarningCode code;
  std::string message;
};

}  // namespace timer555
