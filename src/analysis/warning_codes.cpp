#include "analysis/warning_codes.h"

#include <algorithm>

namespace timer555 {

const std::vector<WarningKind>& AllWarningKinds() {
  using C = WarningCode;
  static const std::vector<WarningKind> kKinds = {
      {C::VccOutOfRange, "vcc-out-of-range", true},
      {C::VccAboveRecommended, "vcc-above-recommended", false},
      {C::ResistanceTooHigh, "resistance-too-high", true},
      {C::ResistanceTooLow, "resistance-too-low", true},
      {C::DischargeCurrent, "discharge-current", true},
      {C::DischargeResistance, "discharge-resistance", false},
      {C::ElectrolyticLeakage, "electrolytic-leakage", true},
      {C::CapacitanceTooLow, "capacitance-too-low", true},
      {C::FrequencyTooHigh, "frequency-too-high", true},
      {C::ThresholdNeverReached, "threshold-never-reached", true},
      {C::DiodeDrop, "diode-drop", false},
      {C::TimingOff, "timing-off", false},
      {C::ThresholdCurrent, "threshold-current", false},
      {C::OutputDropDuty, "output-drop-duty", false},
      {C::DelayUncertain, "delay-uncertain", false},
  };
  return kKinds;
}

namespace {

const WarningKind& KindOf(WarningCode code) {
  const std::vector<WarningKind>& kinds = AllWarningKinds();
  return *std::find_if(kinds.begin(), kinds.end(),
                       [code](const WarningKind& k) { return k.code == code; });
}

}  // namespace

const char* CodeKey(WarningCode code) noexcept {
  return KindOf(code).key;
}

bool IsLimit(WarningCode code) noexcept {
  return KindOf(code).limit;
}

std::optional<WarningCode> CodeNamed(const std::string& key) {
  for (const WarningKind& k : AllWarningKinds())
    if (key == k.key) return k.code;
  return std::nullopt;
}

}  // namespace timer555
