#include "analysis/real_world.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

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

// The current through the path when the capacitor stands at `v` (its
// magnitude, in the path's direction): r·I + Vd(I) = |vs − v|.
double PathCurrent(const Path& p, double v, const DiodeModel& d, double celsius) {
  const double drive = std::fabs(p.vs - v);
  if (drive <= 0 || !(p.r >= 0)) return 0;
  if (!p.diode) return p.r > 0 ? drive / p.r : kInfinity;
  // Newton's method kept inside the bracket [0, drive / (r + rs)], with bisection.
  const double is = d.SaturationCurrent(celsius);
  const double nvt = d.n * d.ThermalVoltage(celsius);
  double lo = 0, hi = drive / (p.r + d.rs);
  double i = hi / 2;
  for (int k = 0; k < 100; ++k) {
    const double g = (p.r + d.rs) * i + nvt * std::log1p(i / is) - drive;
    if (g > 0)
      hi = i;
    else
      lo = i;
    const double slope = p.r + d.rs + nvt / (is + i);
    double next = i - g / slope;
    if (!(next > lo && next < hi)) next = (lo + hi) / 2;
    if (std::fabs(next - i) <= 1e-12 * std::max(i, 1e-30)) return next;
    i = next;
  }
  return i;
}

// Adaptive Simpson over [a, b] to a relative tolerance.
double Simpson(const std::function<double(double)>& f, double a, double b, double fa, double fm,
               double fb, double whole, double tolerance, int depth) {
  const double m = (a + b) / 2;
  const double lm = (a + m) / 2, rm = (m + b) / 2;
  const double flm = f(lm), frm = f(rm);
  const double left = (m - a) / 6 * (fa + 4 * flm + fm);
  const double right = (b - m) / 6 * (fm + 4 * frm + fb);
  if (depth <= 0 || std::fabs(left + right - whole) <= 15 * tolerance)
    return left + right + (left + right - whole) / 15;
  return Simpson(f, a, m, fa, flm, fm, left, tolerance / 2, depth - 1) +
         Simpson(f, m, b, fm, frm, fb, right, tolerance / 2, depth - 1);
}

// The time the capacitor takes from `from` to `to` along the path.
double PathTime(const Path& p, double c, double from, double to, const DiodeModel& d,
                double celsius) {
  if (from == to) return 0;
  // The target must lie between the start and the source, or it is never reached.
  const bool between =
      (p.vs - to) * (p.vs - from) > 0 && std::fabs(p.vs - to) < std::fabs(p.vs - from);
  if (!between) return kInfinity;
  if (!p.diode) return p.r * c * std::log((p.vs - from) / (p.vs - to));
  const auto integrand = [&](double v) {
    const double i = PathCurrent(p, v, d, celsius);
    return i > 0 ? c / i : kInfinity;
  };
  const double a = std::min(from, to), b = std::max(from, to);
  const double fa = integrand(a), fb = integrand(b), fm = integrand((a + b) / 2);
  if (!std::isfinite(fa) || !std::isfinite(fb)) return kInfinity;
  const double whole = (b - a) / 6 * (fa + 4 * fm + fb);
  return Simpson(integrand, a, b, fa, fm, fb, whole, 1e-7 * whole, 40);
}

// The voltage the capacitor passes while the latch is still switching: it
// keeps moving along the path for the propagation delay.
double Overshoot(const Path& p, double c, double at, double delay, const DiodeModel& d,
                 double celsius) {
  const double slope = PathCurrent(p, at, d, celsius) / c;
  const double moved = std::min(slope * delay, std::fabs(p.vs - at));
  return p.vs > at ? at + moved : at - moved;
}

// Thevenin source of pin 7 while the discharge transistor conducts against
// the resistor from Vcc: the capacitor's current is small beside it.
Path DischargeNode(double vcc, double r1, double rd) {
  return {vcc * rd / (r1 + rd), r1 * rd / (r1 + rd), false};
}

struct Paths {
  Path charge, discharge;
  // Design 2 only: the charging path below `split` volts (the output stage
  // sources) and above it (the pull-up alone).
  std::optional<double> split;
  Path chargeLow;
};

Paths PathsOf(const DesignSnapshot& s, const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  const double vcc = c.vcc, ith = f.thresholdCurrent, rd = f.dischargeResistance;
  Paths p;
  const Path pin7 = DischargeNode(vcc, s.r1, rd);
  switch (s.mode) {
    case 1:
      p.charge = {vcc - ith * (s.r1 + s.r2), s.r1 + s.r2, false};
      p.discharge = {pin7.vs - ith * (s.r2 + pin7.r), s.r2 + pin7.r, false};
      break;
    case 2: {
      // R2 pulls the output up; a bipolar high output stands a drop below Vcc
      // and only sources, so the pull-up carries the charge until the output
      // stage takes over (below `split`).
      const double vo = vcc - f.outputHighDrop, ro = f.outputHighResistance;
      const double rp = s.r2 * ro / (s.r2 + ro);
      const double vp = (vcc / s.r2 + vo / ro) * rp;
      p.charge = {vcc - ith * (s.r1 + s.r2), s.r1 + s.r2, false};
      p.chargeLow = {vp - ith * (s.r1 + rp), s.r1 + rp, false};
      p.split = vcc - f.outputHighDrop * (s.r1 + s.r2) / s.r2;
      const double rl = f.outputLowResistance;
      const double vl = vcc * rl / (s.r2 + rl), rlp = s.r2 * rl / (s.r2 + rl);
      p.discharge = {vl - ith * (s.r1 + rlp), s.r1 + rlp, false};
      break;
    }
    case 3:
      p.charge = {vcc - ith * s.r1, s.r1, true};
      p.discharge = {pin7.vs - ith * (s.r2 + pin7.r), s.r2 + pin7.r, true};
      break;
    default:
      p.charge = {vcc - ith * s.r1, s.r1, false};
      p.discharge = pin7;
      break;
  }
  return p;
}

double ChargeTime(const Paths& p, double c1, double from, double to, const DiodeModel& d,
                  double celsius) {
  if (!p.split || *p.split <= from) return PathTime(p.charge, c1, from, to, d, celsius);
  if (*p.split >= to) return PathTime(p.chargeLow, c1, from, to, d, celsius);
  return PathTime(p.chargeLow, c1, from, *p.split, d, celsius) +
         PathTime(p.charge, c1, *p.split, to, d, celsius);
}

const Path& ChargePathAt(const Paths& p, double v) {
  return p.split && v < *p.split ? p.chargeLow : p.charge;
}

std::string Percent(double fraction, int decimals = 1) {
  std::ostringstream s;
  s.imbue(std::locale::classic());
  s.setf(std::ios::fixed);
  s.precision(decimals);
  s << fraction * 100 << " %";
  return s.str();
}

std::string Number(double v, int precision = 3) {
  std::ostringstream s;
  s.imbue(std::locale::classic());
  s.precision(precision);
  s << v;
  return s.str();
}

// Ohms in the units a hobbyist reads: 4.7 kΩ, 12 MΩ.
std::string Ohms(double r) {
  if (r >= 1e6) return Number(r / 1e6) + " MOhm";
  if (r >= 1e3) return Number(r / 1e3) + " kOhm";
  return Number(r) + " Ohm";
}

}  // namespace

Timing IdealTiming(const DesignSnapshot& s) {
  Timing t;
  double tH = 0, tL = 0, r = s.r1;
  switch (s.mode) {
    case 1:
      tH = kLn2 * (s.r1 + s.r2) * s.c1;
      tL = kLn2 * s.r2 * s.c1;
      r = s.r1 + s.r2;
      break;
    case 2:
      tH = tL = kLn2 * s.r1 * s.c1;
      break;
    case 3:
      tH = kLn2 * s.r1 * s.c1;
      tL = kLn2 * s.r2 * s.c1;
      break;
    default:
      t.tHigh = t.firstTHigh = kLn3 * s.r1 * s.c1;
      return t;
  }
  t.tHigh = tH;
  t.tLow = tL;
  t.frequency = 1 / (tH + tL);
  t.dutyCycle = tH / (tH + tL);
  // The capacitor starts from 0 V: the first charge runs from 0 to 2/3 Vcc.
  t.firstTHigh = kLn3 * r * s.c1;
  return t;
}

Timing PredictTiming(const DesignSnapshot& s, const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  const DiodeModel diode;
  const double v1 = c.vcc / 3, v2 = 2 * c.vcc / 3, delay = f.propagationDelay;
  const Paths p = PathsOf(s, c);
  Timing t;
  if (s.mode == 4) {
    // Triggered from rest, where pin 7 holds the capacitor near 0 V.
    t.tHigh = t.firstTHigh = ChargeTime(p, s.c1, p.discharge.vs, v2, diode, c.celsius) + delay;
    return t;
  }
  // Each threshold is passed by what the capacitor moves during the delay.
  const double low = Overshoot(p.discharge, s.c1, v1, delay, diode, c.celsius);
  const double high = Overshoot(ChargePathAt(p, v2), s.c1, v2, delay, diode, c.celsius);
  const double tH = ChargeTime(p, s.c1, low, v2, diode, c.celsius) + delay;
  const double tL = PathTime(p.discharge, s.c1, high, v1, diode, c.celsius) + delay;
  t.tHigh = tH;
  t.tLow = tL;
  t.frequency = 1 / (tH + tL);
  t.dutyCycle = tH / (tH + tL);
  t.firstTHigh = ChargeTime(p, s.c1, 0, v2, diode, c.celsius) + delay;
  return t;
}

namespace {

// The limits that depend on the parts alone, cheap enough to count for every
// standard value tried: `emit` takes a code and a function giving its message,
// called only when the message is wanted.
template <typename Emit>
void PartLimits(const DesignSnapshot& s, const Conditions& c, Emit&& emit) {
  const FamilyParameters& f = Parameters(c.family);
  const bool bipolar = c.family == TimerFamily::Bipolar;
  const double timing = s.mode == 1 || s.mode == 3 ? s.r1 + s.r2 : s.r1;
  const double rMax = MaxTimingResistance(c.family, c.vcc);
  if (timing > rMax) {
    emit("resistance-too-high", [&] {
      const std::string which = s.mode == 1 || s.mode == 3 ? "R1 + R2" : "R1";
      return which + " = " + Ohms(timing) + " is above " + Ohms(rMax) +
             ": the current into the threshold pin (" + Number(f.thresholdCurrent * 1e9) +
             " nA) would no longer be small beside the charging current, so the timing drifts "
             "or stops. Use a larger C1 (a step up with the arrows) to bring the resistors down" +
             std::string(bipolar ? ", or a CMOS timer." : ".");
    });
  }
  if (s.mode != 2 && s.r1 < 5000) {
    emit("resistance-too-low", [&] {
      return "R1 = " + Ohms(s.r1) +
             " is below 5 kOhm: while the capacitor discharges, pin 7 sinks Vcc / R1 = " +
             Number(c.vcc / s.r1 * 1e3) +
             " mA through R1, which wastes current, heats the chip and lifts the low "
             "threshold. Use a smaller C1 (a step down with the arrows) to bring R1 up.";
    });
  }
  if (s.mode == 2 && c.vcc / s.r1 > f.outputSourceCurrent) {
    emit("resistance-too-low", [&] {
      return "R1 = " + Ohms(s.r1) + " asks " + Number(c.vcc / s.r1 * 1e3) +
             " mA of the output, more than a " + f.name + " timer gives (" +
             Number(f.outputSourceCurrent * 1e3) + " mA). Use a smaller C1 to bring R1 up.";
    });
  }
  if ((s.mode == 1 || s.mode == 3) && f.dischargeResistance / s.r2 > 0.01) {
    emit("discharge-resistance", [&] {
      return "R2 = " + Ohms(s.r2) +
             " is small beside the discharge transistor's on-resistance (about " +
             Number(f.dischargeResistance) + " Ohm): the low time is " +
             Percent(f.dischargeResistance / s.r2) +
             " longer than calculated. Use a smaller C1 to bring R2 up.";
    });
  }
  if (s.c1 >= 1e-6 && timing > 1e6) {
    emit("electrolytic-leakage", [&] {
      return "C1 = " + Number(s.c1 * 1e6) +
             " uF is most likely an electrolytic, whose leakage current (microamperes) is not "
             "small beside the charging current through " +
             Ohms(timing) +
             ": the time may run long or never end. Use a film capacitor or a smaller C1 with "
             "larger resistors.";
    });
  }
}

}  // namespace

int PartLimitCount(const DesignSnapshot& design, const Conditions& conditions) {
  int n = 0;
  PartLimits(design, conditions, [&n](const char*, const auto&) { ++n; });
  return n;
}

std::vector<Warning> CheckLimits(const DesignSnapshot& s, const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  std::vector<Warning> w;
  const auto add = [&w](const char* code, const auto& message) { w.push_back({code, message()}); };
  const bool bipolar = c.family == TimerFamily::Bipolar;
  if (c.vcc < f.vccMin || c.vcc > f.vccMax) {
    add("vcc-out-of-range", [&] {
      return "A " + std::string(f.name) + " 555 works from " + Number(f.vccMin) + " to " +
             Number(f.vccMax) + " V; " + Number(c.vcc) +
             " V is outside that range. Choose a supply inside it, or the other timer family.";
    });
  }
  PartLimits(s, c, add);
  if (s.c1 < 1e-9) {
    add("capacitance-too-low", [&] {
      return "C1 = " + Number(s.c1 * 1e12) +
             " pF is not well above the 5 to 20 pF of stray capacitance of the board and the "
             "chip's pins, so the timing will be off by an unknown amount. Keep C1 at 1 nF or "
             "more (larger resistors, or a lower frequency).";
    });
  }
  const Timing ideal = IdealTiming(s);
  if (ideal.frequency && *ideal.frequency > f.fmax) {
    add("frequency-too-high", [&] {
      return Number(*ideal.frequency / 1e6) + " MHz is above what a " + f.name +
             " timer reaches (" + Number(f.fmax / 1e6) +
             " MHz): the propagation delay takes most of each half period." +
             (bipolar ? " A CMOS timer goes to 2 MHz." : "");
    });
  }
  const Timing real = PredictTiming(s, c);
  if (!std::isfinite(real.tHigh) || (real.tLow && !std::isfinite(*real.tLow))) {
    add("threshold-never-reached", [&] {
      return std::string("The capacitor never reaches the chip's threshold: the current into ") +
             "the threshold pin, the diodes' drop or the supply leave it short of 2/3 Vcc (or " +
             "above 1/3 Vcc), so the built circuit " +
             (s.mode == 4 ? "gives a pulse that never ends." : "does not oscillate.") +
             " Bring the timing resistors down with a larger C1, or raise the supply.";
    });
  }
  if (s.mode == 3 && ideal.frequency && real.frequency) {
    const double slow = 1 - *real.frequency / *ideal.frequency;
    if (std::fabs(slow) > 0.05) {
      add("diode-drop", [&] {
        return "The two steering diodes each take about 0.6 V of the charge and discharge "
               "swing: at " +
               Number(c.vcc) + " V the built circuit runs " + Percent(slow) + " slow (about " +
               Number(*real.frequency) +
               " Hz). A higher supply shrinks the loss; or choose R1 and R2 for the predicted "
               "frequency.";
      });
    }
  }
  if (s.mode == 2 && ideal.dutyCycle && real.dutyCycle &&
      std::fabs(*real.dutyCycle - *ideal.dutyCycle) > 0.005) {
    add("output-drop-duty", [&] {
      return "The output's high level stands below Vcc, so the 4.7 kOhm pull-up carries the "
             "charging current and the high time grows: duty cycle " +
             Percent(*real.dutyCycle) + " instead of 50 %. A CMOS timer's output reaches Vcc.";
    });
  }
  return w;
}

ToleranceBand WorstCase(const DesignSnapshot& s, const Conditions& c, const ToleranceSpec& t) {
  const FamilyParameters& f = Parameters(c.family);
  ToleranceBand band;
  Band freq{kInfinity, -kInfinity}, duty{kInfinity, -kInfinity}, high{kInfinity, -kInfinity};
  for (int corner = 0; corner < 32; ++corner) {
    const auto sign = [corner](int bit) { return (corner >> bit) & 1 ? 1.0 : -1.0; };
    DesignSnapshot d = s;
    d.r1 *= 1 + sign(0) * t.resistor;
    d.r2 *= 1 + sign(1) * t.resistor;
    d.c1 *= 1 + sign(2) * t.capacitor;
    Conditions at = c;
    at.celsius = (corner >> 3) & 1 ? t.maxCelsius : t.minCelsius;
    // The chip's own drift, of either sign, over the distance from 25 °C.
    const double drift = 1 + sign(4) * f.drift * std::fabs(at.celsius - kNominalCelsius);
    const Timing timing = PredictTiming(d, at);
    const auto widen = [](Band& b, double v) {
      b.min = std::min(b.min, v);
      b.max = std::max(b.max, v);
    };
    widen(high, timing.tHigh * drift);
    if (timing.frequency) widen(freq, *timing.frequency / drift);
    if (timing.dutyCycle) widen(duty, *timing.dutyCycle);
  }
  const double error = s.mode == 4 ? f.monostableInitialError : f.astableInitialError;
  band.tHigh = {high.min * (1 - error), high.max * (1 + error)};
  if (s.mode != 4) {
    band.frequency = Band{freq.min * (1 - error), freq.max * (1 + error)};
    band.dutyCycle = duty;
  }
  return band;
}

}  // namespace timer555
