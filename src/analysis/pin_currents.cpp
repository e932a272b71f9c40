#include "analysis/pin_currents.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "analysis/numerics.h"

namespace timer555 {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Beyond this many spreads below its reference a pair's input draws less
// than e^-24 of its current: nothing worth a step.
constexpr double kReach = 24;
// Below this share of the path's current the pins' effect is worked out to
// first order: what is left is of the order of the share squared (4e-4 of
// a correction that is itself below 0.1 % of the time).
constexpr double kFirstOrder = 0.02;
// Where the steps of the integral over the spreads break: finer at the
// reference, where the current changes fastest.
constexpr std::array<double, 9> kBreaks = {-24, -12, -6, -3, 0, 3, 6, 12, 24};
constexpr double kZeroCelsius = 273.15;

double Logistic(double x) {
  return 1 / (1 + std::exp(-x));
}

}  // namespace

double PinCurrents::Net(double v) const noexcept {
  if (spread <= 0) return 0;
  return triggerFull * Logistic((low - v) / spread) - thresholdFull * Logistic((v - high) / spread);
}

PinCurrents PinCurrentsOf(const FamilyParameters& f, double vcc, double celsius,
                          bool trigger) noexcept {
  PinCurrents pins;
  if (f.inputPairSpread <= 0) return pins;
  pins.thresholdFull = 2 * f.thresholdCurrent;
  pins.triggerFull = trigger ? f.triggerCurrent : 0;
  pins.spread = f.inputPairSpread * (celsius + kZeroCelsius) / (kNominalCelsius + kZeroCelsius);
  pins.low = vcc / 3;
  pins.high = 2 * vcc / 3;
  return pins;
}

double PinCurrentsTime(const PinCurrents& pins, double c, double from, double to,
                       const std::function<double(double)>& current) {
  if (!pins.Any() || from == to) return 0;
  const double dir = to > from ? 1 : -1;
  // The capacitor's current along its way: the path's and the pins' net.
  const auto along = [&](double v, double i) { return i + dir * pins.Net(v); };
  // Each half stalls where the pins take what the path gives: the path's
  // current falls and the pins' rises towards `to`.
  if (!(along(to, current(to)) > 0)) return kInfinity;
  const double lo = std::min(from, to), hi = std::max(from, to);
  double added = 0;
  for (const bool threshold : {true, false}) {
    const double full = threshold ? pins.thresholdFull : pins.triggerFull;
    if (full <= 0) continue;
    // u counts spreads from the reference towards where the pair is fully
    // switched: above 2/3 Vcc for the threshold, below 1/3 Vcc for the trigger.
    const double reference = threshold ? pins.high : pins.low, side = threshold ? 1 : -1;
    const auto volts = [&](double u) { return reference + side * u * pins.spread; };
    const double uFirst = side * (lo - reference) / pins.spread;
    const double uLast = side * (hi - reference) / pins.spread;
    const double ua = std::max(std::min(uFirst, uLast), -kReach);
    const double ub = std::max(uFirst, uLast);
    if (!(ua < ub)) continue;
    // Where the pins' current is small beside the path's the share is first
    // order: C·spread·full·∫σ(u) du / i², with the path's current at the level.
    const double sign = (threshold ? 1 : -1) * dir;
    const double iLevel = current(std::clamp(reference, lo, hi));
    if (full < kFirstOrder * iLevel) {
      const auto softplus = [](double u) { return u > 30 ? u : std::log1p(std::exp(u)); };
      added += sign * c * pins.spread * full * (softplus(ub) - softplus(ua)) / (iLevel * iLevel);
      continue;
    }
    // The path's current over the window is a straight line through its
    // values at the window's ends.
    const double va = volts(ua), vb = volts(ub);
    const double ia = current(va), ib = current(vb);
    const double slope = (ib - ia) / (vb - va);
    // The other pin's current is e^-29 of its own here at the least (the
    // levels lie Vcc/3 apart): only this pin's counts.
    const double towards = dir * (threshold ? -full : full);
    const auto integrand = [&](double u) {
      const double v = volts(u);
      const double i = ia + slope * (v - va);
      const double moving = i + towards * Logistic(u);
      if (!(moving > 0) || !(i > 0)) return kInfinity;
      return c * pins.spread * (1 / moving - 1 / i);
    };
    double at = ua;
    for (double brk : kBreaks) {
      if (brk <= at) continue;
      const double next = std::min(brk, ub);
      added += IntegrateGauss8(integrand, at, next);
      at = next;
      if (at >= ub) break;
    }
    // Beyond the last break the pair is switched fully: a smooth stretch.
    if (at < ub) added += IntegrateGauss8(integrand, at, ub);
  }
  return added;
}

}  // namespace timer555
