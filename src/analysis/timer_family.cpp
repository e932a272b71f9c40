#include "analysis/timer_family.h"

#include <algorithm>
#include <cmath>

namespace timer555 {

namespace {

// Bipolar: NE555 datasheet figures (output high 13.3 V at 15 V / 100 mA,
// its drop rising with the current as two base-emitter drops do: fitted to
// the datasheets' drop-vs-current curve and to transistor-level runs of the
// datasheet's equivalent schematic, 1.1 V at 0.1 mA, 1.3 V at 1 mA, 1.5 V at
// 10 mA, 1.75 V at 100 mA; discharge saturation 0.15 V at 15 mA, the
// current pin 7 is specified at; 150 ppm/°C astable, 50 ppm/°C monostable;
// 0.3 %/V and 0.1 %/V of supply; astable initial error 2.25 %, monostable
// 1 %; 16 V recommended, 18 V absolute) and the specifications
// page (4.5 to 18 V, 100 nA threshold current, 0.5 MHz).
//
// The pin currents are base currents of the comparators' input pairs. The
// datasheets give the threshold's at its trip point (0.1 µA typical, 0.25 µA
// at most: the figure behind their largest RA + RB, 20 MΩ at 15 V) and the
// trigger's with pin 2 at 0 V (0.5 µA typical, 2 µA at most), where its pair
// is switched fully. Two transistor-level NE555 models drew 87–220 nA and
// 6–29 nA at 20 mV below the threshold, 49–113 nA and 2–10 nA at 100 mV below
// (a tenfold disagreement): a logistic over 2·Vt, the Darlington input's
// spread, from the datasheets' figures meets the first model at 0.25 µA.
//
// Delays: 100 ns per transition typical (the prediction, and the simulated
// chip); the two transistor-level models put them at 14–42 ns and 77–304 ns,
// so a chip's lies within 20–300 ns. Published breadboard measurements run
// slower at high frequency (1 kΩ / 1 kΩ / 1 nF: 220 kHz where the RC gives
// 481 kHz; 10 kΩ / 10 kΩ / 330 pF: 113.6 kHz for 145.7 kHz): the saturated
// discharge transistor's storage time, which grows with the current it
// carried. 0.4 µs·ln(1 + I / 0.1 mA) meets those two at 5–9 V (1.1 µs after
// 1.5 mA, 1.9 µs after 15 mA); it is the band's slow end, not a typical figure.
// The output's high level spreads about ±0.1 V between chips (the models:
// 1.0–1.1 V at 0.1 mA, 1.3–1.5 V at 1 mA): its junctions' Is by 3.8 either way.
constexpr FamilyParameters kBipolar = {.name = "bipolar",
                                       .vccMin = 4.5,
                                       .vccMax = 18,
                                       .thresholdCurrent = 100e-9,
                                       .thresholdCurrentMax = 250e-9,
                                       .triggerCurrent = 0.5e-6,
                                       .triggerCurrentMax = 2e-6,
                                       .inputPairSpread = 2 * 0.025693,
                                       .outputJunctionSaturation = 3.35e-11,
                                       .outputJunctionEmission = 1.46,
                                       .outputHighResistance = 1,
                                       .outputLowResistance = 10,
                                       .outputSourceCurrent = 0.2,
                                       .dischargeResistance = 10,
                                       .propagationDelay = 100e-9,
                                       .propagationDelayMin = 20e-9,
                                       .propagationDelayMax = 300e-9,
                                       .storageTime = 0,
                                       .storageTimeMax = 0.4e-6,
                                       .storageKnee = 0.1e-3,
                                       .outputDropSpread = 3.8,
                                       .fmax = 0.5e6,
                                       .astableInitialError = 0.0225,
                                       .monostableInitialError = 0.01,
                                       .drift = 150e-6,
                                       .monostableDrift = 50e-6,
                                       .astableSupplySensitivity = 0.003,
                                       .monostableSupplySensitivity = 0.001,
                                       .vccRecommendedMax = 16,
                                       .dischargeCurrent = 15e-3,
                                       .leakageMaxResistance = 0};

// CMOS: 7555/TLC555-class figures (rail-to-rail output sourcing about 10 mA,
// discharge on-resistance about 15 ohm, specified at 10 mA, 100 ns
// propagation, 150 ppm/°C, 0.1 %/V of supply, 15 V recommended) and the specifications page (2 to
// 18 V, 10 pA threshold current, 2 MHz). The tiny threshold current would allow 100 GOhm; a board's
// surface insulation (about 1 GOhm with flux or humidity) and a capacitor's leakage set the
// practical 20 MOhm, the ceiling the bipolar datasheets give for RA + RB.
constexpr FamilyParameters kCmos = {.name = "cmos",
                                    .vccMin = 2,
                                    .vccMax = 18,
                                    .thresholdCurrent = 10e-12,
                                    .thresholdCurrentMax = 25e-12,
                                    .triggerCurrent = 0,
                                    .triggerCurrentMax = 0,
                                    .inputPairSpread = 0,
                                    .outputJunctionSaturation = 0,
                                    .outputJunctionEmission = 1,
                                    .outputHighResistance = 60,
                                    .outputLowResistance = 30,
                                    .outputSourceCurrent = 0.01,
                                    .dischargeResistance = 15,
                                    .propagationDelay = 100e-9,
                                    .propagationDelayMin = 100e-9,
                                    .propagationDelayMax = 100e-9,
                                    .storageTime = 0,
                                    .storageTimeMax = 0,
                                    .storageKnee = 1,
                                    .outputDropSpread = 1,
                                    .fmax = 2e6,
                                    .astableInitialError = 0.02,
                                    .monostableInitialError = 0.01,
                                    .drift = 150e-6,
                                    .monostableDrift = 150e-6,
                                    .astableSupplySensitivity = 0.001,
                                    .monostableSupplySensitivity = 0.001,
                                    .vccRecommendedMax = 15,
                                    .dischargeCurrent = 10e-3,
                                    .leakageMaxResistance = 20e6};

constexpr double kBoltzmannOverCharge = 8.617333262e-5;  // V/K
constexpr double kZeroCelsius = 273.15;

}  // namespace

const FamilyParameters& Parameters(TimerFamily family) noexcept {
  return family == TimerFamily::Cmos ? kCmos : kBipolar;
}

double MaxTimingResistance(TimerFamily family, double vcc) noexcept {
  const FamilyParameters& f = Parameters(family);
  // The capacitor stalls short of 2/3 Vcc where the timing resistance cannot
  // carry the most the threshold pin draws as it trips: (Vcc − 2/3 Vcc) / Ith.
  const double threshold = vcc / 3 / f.thresholdCurrentMax;
  return f.leakageMaxResistance > 0 ? std::min(threshold, f.leakageMaxResistance) : threshold;
}

double OutputHighDrop(const FamilyParameters& f, double current, double celsius) noexcept {
  const double junctions = f.outputJunctionSaturation > 0
                               ? 2 * f.outputJunctionEmission * kBoltzmannOverCharge *
                                     (celsius + kZeroCelsius) *
                                     std::log1p(current / f.outputJunctionSaturation)
                               : 0;
  return junctions + current * f.outputHighResistance;
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

}  // namespace timer555
