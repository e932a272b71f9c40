#pragma once

namespace timer555 {

// The two kinds of 555: the bipolar original (NE555 class) and the CMOS
// versions (7555, TLC555, LMC555 class).
enum class TimerFamily { Bipolar, Cmos };

// What a built circuit depends on beyond the ideal relations, per family:
// public datasheet figures and the program's own specifications page.
struct FamilyParameters {
  const char* name;
  double vccMin, vccMax;  // V: the specifications page's supply range
  // A into pin 6 as the threshold comparator trips (specifications page:
  // 100 nA, 10 pA), and the most a chip draws there (the datasheets' maximum).
  double thresholdCurrent, thresholdCurrentMax;
  // A out of pin 2 with the trigger input fully below its reference (the
  // datasheets give it at 0 V), typical and at most.
  double triggerCurrent, triggerCurrentMax;
  // The bipolar chip's inputs are the bases of differential pairs: each pin
  // draws its current only as its comparator nears its trip point, the pair's
  // tail shared by a logistic of the difference over `inputPairSpread` volts
  // at 25 °C (a Darlington pair: 2·Vt). 0: a CMOS gate, whose tiny leakage is
  // constant and the trigger's nil.
  double inputPairSpread;
  // The high output's drop below Vcc at a source current I: two base-emitter
  // drops, 2·n·Vt·ln(1 + I/Is), and I times the resistance behind them. A
  // CMOS output has no junction (Is 0) and drives to Vcc through the resistance.
  double outputJunctionSaturation;  // A: the junctions' Is; 0 where there are none
  double outputJunctionEmission;    // their n
  double outputHighResistance;      // ohm
  double outputLowResistance;       // ohm of a low output to ground
  double outputSourceCurrent;       // A the output sources at most (200 mA, 10 mA)
  double dischargeResistance;       // ohm of the on discharge transistor, pin 7 to ground
  double propagationDelay;          // s from a threshold crossing to the output's change
  double propagationDelayMin, propagationDelayMax;  // s: the band a chip's delay lies in
  // s: the saturated discharge (or sinking output) transistor's storage time
  // at its turn-off, `storageTime`·ln(1 + I / storageKnee) after carrying I;
  // typically none beyond the delay, at most with `storageTimeMax`.
  double storageTime, storageTimeMax, storageKnee;
  // The bipolar output's junction saturation current varies by this factor
  // either way from chip to chip: its high level's spread (about ±0.1 V).
  double outputDropSpread;
  double fmax;                         // Hz the specifications page gives (0.5 MHz, 2 MHz)
  double astableInitialError;          // fraction: the timing error of a new part, astable
  double monostableInitialError;       // fraction, monostable
  double drift;                        // fraction per kelvin of the timing, astable
  double monostableDrift;              // fraction per kelvin, monostable
  double astableSupplySensitivity;     // fraction per volt of the timing, astable
  double monostableSupplySensitivity;  // fraction per volt, monostable
  double vccRecommendedMax;            // V: the datasheets' recommended operating maximum
  double dischargeCurrent;             // A pin 7 is specified at (its saturation voltage's test)
  double leakageMaxResistance;         // ohm a board's and a capacitor's leakage allow; 0: none
};

const FamilyParameters& Parameters(TimerFamily family) noexcept;

// The high output's drop below Vcc while it sources `current` amperes.
double OutputHighDrop(const FamilyParameters& family, double current, double celsius) noexcept;

// The largest timing resistance: the advice page's Vcc / 7.5e-7 ohm that the
// threshold current allows for the bipolar timer; for CMOS, whose threshold
// current is 10^4 times smaller, the 20 MOhm that board and capacitor
// leakage allow, where it is the lower.
double MaxTimingResistance(TimerFamily family, double vcc) noexcept;

// A small-signal silicon diode (1N4148 class) after the Shockley equation
// with a series resistance, its saturation current following temperature.
struct DiodeModel {
  double is = 2.52e-9;  // A at 25 °C
  double n = 1.752;
  double rs = 0.568;  // ohm
  double eg = 1.11;   // eV
  double xti = 3;
  double ThermalVoltage(double celsius) const noexcept;
  double SaturationCurrent(double celsius) const noexcept;
};

inline constexpr double kNominalCelsius = 25;

}  // namespace timer555
