#include "analysis/timer_family.h"

#include <cmath>

namespace timer555 {

namespace {

// Bipolar: NE555 datasheet figures (output high 1.7 V below Vcc at light
// load, 13.3 V at 15 V / 100 mA; discharge saturation 0.15 V at 15 mA;
// 150 ppm/°C; astable initial error 2.25 %, monostable 1 %) and the
// specifications page (4.5 to 18 V, 100 nA threshold current, 0.5 MHz).
constexpr FamilyParameters kBipolar = {"bipolar", 4.5, 18,     100e-9, 1.7,    20,   10,
                                       0.2,       10,  100e-9, 0.5e6,  0.0225, 0.01, 150e-6};

// CMOS: 7555/TLC555-class figures (rail-to-rail output sourcing about 10 mA,
// discharge on-resistance about 15 ohm, 100 ns propagation) and the
// specifications page (2 to 18 V, 10 pA threshold current, 2 MHz).
constexpr FamilyParameters kCmos = {"cmos", 2,  18,     10e-12, 0,    60,   30,
                                    0.01,   15, 100e-9, 2e6,    0.02, 0.01, 150e-6};

constexpr double kBoltzmannOverCharge = 8.617333262e-5;  // V/K
constexpr double kZeroCelsius = 273.15;

}  // namespace

const FamilyParameters& Parameters(TimerFamily family) noexcept {
  return family == TimerFamily::Cmos ? kCmos : kBipolar;
}

double MaxTimingResistance(TimerFamily family, double vcc) noexcept {
  return vcc / (7.5 * Parameters(family).thresholdCurrent);
}

double DiodeModel::ThermalVoltage(double celsius) const noexcept {
  return kBoltzmannOverCharge * (celsius + kZeroCelsius);
}

double DiodeModel::SaturationCurrent(double celsius) const noexcept {
  const double t = celsius + kZeroCelsius;
  const double t0 = kNominalCelsius + kZeroCelsius;
  const double vt = ThermalVoltage(celsius);
  return is * std::pow(t / t0, xti / n) * std::exp((t / t0 - 1) * eg / (n * vt));
}

double DiodeModel::Voltage(double current, double celsius) const noexcept {
  if (current <= 0) return 0;
  return n * ThermalVoltage(celsius) * std::log1p(current / SaturationCurrent(celsius)) +
         current * rs;
}

}  // namespace timer555
