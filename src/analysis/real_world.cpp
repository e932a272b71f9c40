#include "analysis/real_world.h"

#include "state/ideal_timing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "analysis/numerics.h"
#include "analysis/pin_currents.h"

namespace timer555 {

namespace {

const double kLn2 = std::log(2.0);
const double kLn3 = std::log(3.0);
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A path the timing capacitor moves along: towards the source voltage `vs`
// through `r`, with a diode in series where the circuit has one.
struct Path {
  double vs = 0;
  double r = 0;
  bool diode = false;
};

// The steering diodes at the circuit's temperature: saturation current,
// n·Vt and series resistance.
struct Diode {
  double is = 0, nvt = 0, rs = 0;
};
Diode DiodeAt(double celsius) {
  const DiodeModel model;
  return {model.SaturationCurrent(celsius), model.n * model.ThermalVoltage(celsius), model.rs};
}

// The current through the path when the capacitor stands at `v` (its
// magnitude, in the path's direction): r·I + Vd(I) = |vs − v|.
double PathCurrent(const Path& p, double v, const Diode& d) {
  const double drive = std::fabs(p.vs - v);
  if (drive <= 0 || !(p.r >= 0)) return 0;
  if (!p.diode) return p.r > 0 ? drive / p.r : kInfinity;
  // r·I + n·Vt·ln(1 + I/Is) + rs·I − drive rises with I from below zero at 0
  // to above it at drive / (r + rs).
  const double is = d.is, nvt = d.nvt;
  const double r = p.r + d.rs;
  // Newton starts from the current with the diode's drop at the largest
  // current it could carry: just below the root, where the curve is gentle.
  const double start = (drive - nvt * std::log1p(drive / r / is)) / r;
  return SolveIncreasing([&](double i) { return r * i + nvt * std::log1p(i / is) - drive; },
                         [&](double i) { return r + nvt / (is + i); }, 0, drive / r, start)
      .value;
}

// The time the capacitor takes from `from` to `to` along the path.
double PathTime(const Path& p, double c, double from, double to, const Diode& d) {
  if (from == to) return 0;
  // The target must lie between the start and the source, or it is never reached.
  const bool between =
      (p.vs - to) * (p.vs - from) > 0 && std::fabs(p.vs - to) < std::fabs(p.vs - from);
  if (!between) return kInfinity;
  if (!p.diode) return p.r * c * std::log((p.vs - from) / (p.vs - to));
  // With the current as the variable the time has a closed form: the drive
  // is (r + rs)·I + n·Vt·ln(1 + I/Is), so dt = C·(r + rs + n·Vt/(Is + I))·dI / I,
  // from the current at the start to the smaller one at the end.
  const double start = PathCurrent(p, from, d), end = PathCurrent(p, to, d);
  if (!(end > 0) || !std::isfinite(start)) return kInfinity;
  const double is = d.is, nvt = d.nvt;
  return c * ((p.r + d.rs) * std::log(start / end) +
              nvt / is * (std::log1p(is / end) - std::log1p(is / start)));
}

// The voltage the capacitor passes while the latch is still switching: it
// keeps moving towards `vs` with `current` for the propagation delay.
double Overshoot(double vs, double current, double c, double at, double delay) {
  const double moved = std::min(current / c * delay, std::fabs(vs - at));
  return vs > at ? at + moved : at - moved;
}

// Design 2 with a bipolar timer: the high output sources through R1 with
// the pull-up R2 beside it, its drop following the current it sources. With
// that current x as the variable every figure is explicit: the drop, the
// current through R1 and the capacitor's voltage.
struct OutputStage {
  double vcc = 0, r1 = 0, r2 = 0, ith = 0;
  double is = 0, nvt = 0, ro = 0;  // the two junctions' Is and 2·n·Vt, the resistance

  OutputStage(double vcc_, double r1_, double r2_, double ith_, const FamilyParameters& f,
              double celsius)
      : vcc(vcc_),
        r1(r1_),
        r2(r2_),
        ith(ith_),
        is(f.outputJunctionSaturation),
        nvt(2 * f.outputJunctionEmission * DiodeModel{}.ThermalVoltage(celsius)),
        ro(f.outputHighResistance) {}

  // As OutputHighDrop, with the junctions' figures worked out once.
  mutable double knownV_ = std::numeric_limits<double>::quiet_NaN(), knownX_ = 0;

  double Drop(double x) const { return nvt * std::log1p(x / is) + ro * x; }
  double DropSlope(double x) const { return nvt / (is + x) + ro; }
  double ThroughR1(double x) const { return x + Drop(x) / r2; }
  double Capacitor(double x) const { return vcc - Drop(x) - r1 * ThroughR1(x); }
  // The stage's current while the capacitor stands at `v` (below Vcc).
  double At(double v) const {
    // The threshold's level is asked for twice a period: kept.
    if (v == knownV_) return knownX_;
    knownV_ = v;
    knownX_ = Solve(v);
    return knownX_;
  }
  double Solve(double v) const {
    const double hi = (vcc - v) / r1;
    if (!(hi > 0)) return 0;
    // Newton starts from the current whose junction drop alone takes the
    // whole swing (the pull-up's share of it counted): at or above the root.
    const double start = std::min(hi, is * std::expm1((vcc - v) / ((1 + r1 / r2) * nvt)));
    return SolveIncreasing([&](double x) { return v - Capacitor(x); },
                           [&](double x) { return DropSlope(x) * (1 + r1 / r2) + r1; }, 0, hi,
                           start)
        .value;
  }
  // The capacitor's current at `v`.
  double Current(double v) const { return ThroughR1(At(v)) - ith; }
  // From `from` up to `to`: dt = C·dv / i, with dv = −(drop'·(1 + R1/R2) + R1)·dx,
  // integrated over ln x, where the integrand is smooth.
  double Time(double c, double from, double to) const {
    if (!(to < vcc) || from >= to) return from == to ? 0 : kInfinity;
    const double end = At(to), start = At(from);
    if (!(ThroughR1(end) > ith) || !(end > 0)) return kInfinity;
    const auto integrand = [&](double u) {
      const double x = std::exp(u);
      return c * (DropSlope(x) * (1 + r1 / r2) + r1) * x / (ThroughR1(x) - ith);
    };
    return IntegrateGauss8(integrand, std::log(end), std::log(start));
  }
};

// Thevenin source of pin 7 while the discharge transistor conducts against
// the resistor from Vcc: the capacitor's current is small beside it.
Path DischargeNode(double vcc, double r1, double rd) {
  return {vcc * rd / (r1 + rd), r1 * rd / (r1 + rd), false};
}

struct Paths {
  Path charge, discharge;
  // Design 2 with a bipolar timer: the output stage charges, not `charge`.
  std::optional<OutputStage> stage;
};

Paths PathsOf(const DesignSnapshot& s, const Conditions& c, const FamilyParameters& f) {
  // A CMOS gate's leakage is constant: it shifts what each path drives
  // towards. A bipolar pair's current follows the capacitor (PinCurrents).
  const double ith = f.inputPairSpread > 0 ? 0 : f.thresholdCurrent;
  const double vcc = c.vcc, rd = f.dischargeResistance;
  Paths p;
  const Path pin7 = DischargeNode(vcc, s.r1, rd);
  switch (s.kind) {
    case DesignKind::AstableAbove:
      p.charge = {vcc - ith * (s.r1 + s.r2), s.r1 + s.r2, false};
      p.discharge = {pin7.vs - ith * (s.r2 + pin7.r), s.r2 + pin7.r, false};
      break;
    case DesignKind::AstableSquare: {
      // R2 pulls the output up beside the output stage. A CMOS high output
      // drives to Vcc through its resistance, in parallel with the pull-up; a
      // bipolar one only sources, a drop below Vcc that follows its current.
      const double ro = f.outputHighResistance;
      const double rp = s.r2 * ro / (s.r2 + ro);
      p.charge = {vcc - ith * (s.r1 + rp), s.r1 + rp, false};
      if (f.outputJunctionSaturation > 0) p.stage = OutputStage(vcc, s.r1, s.r2, ith, f, c.celsius);
      const double rl = f.outputLowResistance;
      const double vl = vcc * rl / (s.r2 + rl), rlp = s.r2 * rl / (s.r2 + rl);
      p.discharge = {vl - ith * (s.r1 + rlp), s.r1 + rlp, false};
      break;
    }
    case DesignKind::AstableBelow:
      p.charge = {vcc - ith * s.r1, s.r1, true};
      p.discharge = {pin7.vs - ith * (s.r2 + pin7.r), s.r2 + pin7.r, true};
      break;
    case DesignKind::OneShot:
      p.charge = {vcc - ith * s.r1, s.r1, false};
      p.discharge = pin7;
      break;
  }
  return p;
}

double ChargeTime(const Paths& p, double c1, double from, double to, const Diode& d) {
  if (p.stage) return p.stage->Time(c1, from, to);
  return PathTime(p.charge, c1, from, to, d);
}

// The capacitor's charging current at `v`, and what it charges towards.
double ChargeCurrent(const Paths& p, double v, const Diode& d) {
  return p.stage ? p.stage->Current(v) : PathCurrent(p.charge, v, d);
}

}  // namespace

Timing IdealTiming(const DesignSnapshot& s) {
  Timing t;
  const IdealHalves<double> halves = IdealHalvesOf(s.kind, s.r1, s.r2, s.c1);
  const double tH = halves.high, tL = halves.low;
  if (TraitsOf(s.kind).oneShot) {
    t.tHigh = t.firstTHigh = tH;
    return t;
  }
  t.tHigh = tH;
  t.tLow = tL;
  t.frequency = 1 / (tH + tL);
  t.dutyCycle = tH / (tH + tL);
  // The capacitor starts from 0 V: the first charge runs from 0 to 2/3 Vcc,
  // through the resistance that charges it.
  const double charging = s.kind == DesignKind::AstableAbove ? s.r1 + s.r2 : s.r1;
  t.firstTHigh = kLn3 * charging * s.c1;
  return t;
}

namespace {

// A function of one voltage that keeps its last few answers: a path's
// current at the thresholds, asked for by the overshoot, the storage time
// and the pin currents alike.
class Remembered {
 public:
  explicit Remembered(std::function<double(double)> f) : f_(std::move(f)) {}
  double operator()(double v) const {
    for (size_t k = 0; k < used_; ++k)
      if (at_[k] == v) return value_[k];
    const double value = f_(v);
    const size_t slot = used_ < at_.size() ? used_++ : next_++ % at_.size();
    at_[slot] = v;
    value_[slot] = value;
    return value;
  }

 private:
  std::function<double(double)> f_;
  mutable std::array<double, 4> at_{}, value_{};
  mutable size_t used_ = 0, next_ = 0;
};

// The prediction with the family's figures given: the warnings ask what the
// circuit would do without one effect to name the one that matters.
Timing PredictWith(const DesignSnapshot& s, const Conditions& c, const FamilyParameters& f,
                   bool firstHigh = true) {
  const Diode diode = DiodeAt(c.celsius);
  const double v1 = c.vcc / 3, v2 = 2 * c.vcc / 3, delay = f.propagationDelay;
  const Paths p = PathsOf(s, c, f);
  const DesignTraits& traits = TraitsOf(s.kind);
  const PinCurrents pins = PinCurrentsOf(f, c.vcc, c.celsius, !traits.oneShot);
  // The paths' currents at the thresholds are asked for several times.
  const Remembered charging([&](double v) { return ChargeCurrent(p, v, diode); });
  const Remembered discharging([&](double v) { return PathCurrent(p.discharge, v, diode); });
  const auto charge = [&](double from, double to) {
    return ChargeTime(p, s.c1, from, to, diode) +
           PinCurrentsTime(pins, s.c1, from, to, std::cref(charging));
  };
  // The saturated transistor that held the capacitor low (pin 7, or the
  // output's sinking side in the 50 % design) stays on for its storage time,
  // which grows with the current it carried.
  const double carried = traits.oneShot         ? c.vcc / s.r1
                         : traits.usesDischarge ? discharging(v1) + c.vcc / s.r1
                                                : discharging(v1) + c.vcc / s.r2;
  const double storage =
      f.storageTime > 0 ? f.storageTime * std::log1p(carried / f.storageKnee) : 0;
  Timing t;
  if (traits.oneShot) {
    // Triggered from rest, where pin 7 holds the capacitor near 0 V.
    t.tHigh = t.firstTHigh = charge(p.discharge.vs, v2) + delay + storage;
    return t;
  }
  // Each threshold is passed by what the capacitor moves during the delay
  // (and the storage time, at the end of a discharge).
  const double low =
      Overshoot(p.discharge.vs, discharging(v1) - pins.Net(v1), s.c1, v1, delay + storage);
  const double high =
      Overshoot(p.stage ? c.vcc : p.charge.vs, charging(v2) + pins.Net(v2), s.c1, v2, delay);
  // Pin 7's storage keeps the capacitor falling after the output rose: it
  // adds to the high time. The 50 % design's output rises only when its
  // sinking side lets go: it adds to the low time.
  const double toHigh = traits.usesDischarge ? storage : 0;
  const double tH = charge(low, v2) + delay + toHigh;
  const double tL = PathTime(p.discharge, s.c1, high, v1, diode) +
                    PinCurrentsTime(pins, s.c1, high, v1, std::cref(discharging)) + delay +
                    storage - toHigh;
  t.tHigh = tH;
  t.tLow = tL;
  t.frequency = 1 / (tH + tL);
  t.dutyCycle = tH / (tH + tL);
  if (firstHigh) t.firstTHigh = charge(0, v2) + delay;
  return t;
}

}  // namespace

Timing PredictTiming(const DesignSnapshot& s, const Conditions& c) {
  return PredictWith(s, c, Parameters(c.family));
}

Timing PredictSteadyTiming(const DesignSnapshot& s, const Conditions& c) {
  return PredictWith(s, c, Parameters(c.family), false);
}

Timing PredictTiming(const DesignSnapshot& s, const Conditions& c, Corner corner) {
  return PredictWith(s, c, CornerParameters(c.family, corner));
}

Timing PredictSteadyTimingWith(const DesignSnapshot& s, const Conditions& c,
                               const FamilyParameters& f) {
  return PredictWith(s, c, f, false);
}

Timing PredictTimingWith(const DesignSnapshot& s, const Conditions& c, const FamilyParameters& f) {
  return PredictWith(s, c, f);
}

bool HasBand(TimerFamily family) noexcept {
  const FamilyParameters& f = Parameters(family);
  return f.inputPairSpread > 0 || f.propagationDelayMin != f.propagationDelayMax ||
         f.storageTimeMax > 0 || f.outputDropSpread != 1;
}

FamilyParameters CornerParameters(TimerFamily family, Corner corner) {
  FamilyParameters f = Parameters(family);
  switch (corner) {
    case Corner::Typical:
      break;
    case Corner::Fast:
      if (f.inputPairSpread <= 0) break;  // a CMOS gate's figures are certain enough
      f.thresholdCurrent = f.triggerCurrent = 0;
      f.propagationDelay = f.propagationDelayMin;
      f.storageTime = 0;
      f.outputJunctionSaturation *= f.outputDropSpread;
      break;
    case Corner::Slow:
      if (f.inputPairSpread <= 0) break;
      f.thresholdCurrent = f.thresholdCurrentMax;
      f.triggerCurrent = f.triggerCurrentMax;
      f.propagationDelay = f.propagationDelayMax;
      f.storageTime = f.storageTimeMax;
      f.outputJunctionSaturation /= f.outputDropSpread;
      break;
  }
  return f;
}

bool Switches(const Timing& t) {
  return std::isfinite(t.tHigh) && (!t.tLow || std::isfinite(*t.tLow));
}

}  // namespace timer555
