#pragma once

#include <cmath>

#include "state/design_kind.h"

namespace timer555 {

// The ideal 555's half periods, the relations the designer solves and the
// check measures the built circuit against: ln 2·R·C for each half of the
// astables (the 50 % design charges and discharges C1 through R1 from the
// output; R2 only pulls the output up), ln 3·R1·C1 for the one-shot's pulse
// (which has no low half). In the caller's precision: the designer's long
// double, the analysis' double.
template <typename T>
struct IdealHalves {
  T high = 0;
  T low = 0;
};

template <typename T>
IdealHalves<T> IdealHalvesOf(DesignKind kind, T r1, T r2, T c1) {
  const T ln2 = std::log(T(2));
  switch (kind) {
    case DesignKind::AstableAbove:
      return {ln2 * (r1 + r2) * c1, ln2 * r2 * c1};
    case DesignKind::AstableSquare:
      return {ln2 * r1 * c1, ln2 * r1 * c1};
    case DesignKind::AstableBelow:
      return {ln2 * r1 * c1, ln2 * r2 * c1};
    case DesignKind::OneShot:
      return {std::log(T(3)) * r1 * c1, T(0)};
  }
  return {};
}

}  // namespace timer555
