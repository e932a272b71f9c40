#include <algorithm>
#include <cmath>
#include <functional>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/band.h"
#include "analysis/real_world.h"
#include "format/engineering.h"

// The limits a design breaks and the ways a built circuit departs from the
// ideal, each with its code and its message, and the cause a departure names.
namespace timer555 {

namespace {

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

std::string Ohms(double r) {
  return EngineeringText(r, "\u03a9");
}

std::string Amperes(double a) {
  return EngineeringText(a, "A");
}

// The resistance the timing current flows through on its way to the
// threshold: R1 + R2 in design 1, R1 in the others.
double ChargingResistance(const DesignSnapshot& s) {
  return s.kind == DesignKind::AstableAbove ? s.r1 + s.r2 : s.r1;
}

// Pin 7 is on between the resistor from Vcc and ground in designs 1, 3, 4.
bool UsesPin7(const DesignSnapshot& s) {
  return TraitsOf(s.kind).usesDischarge;
}

// The makers' rule of thumb for an aluminium electrolytic: 0.01·C·V µA (C in
// µF) or 3 µA, whichever is larger.
constexpr double kLeakageFloor = 3e-6;    // A
constexpr double kTimingOffShare = 0.05;  // of the ideal frequency or pulse
constexpr double kDischargeShare = 0.01;  // pin 7's on-resistance beside R2
constexpr double kMinCapacitance = 1e-9;  // F: well above the board's strays
constexpr double kDiodeSlowShare = 0.05;  // of the ideal frequency, design 3
constexpr double kSquareDutyOff = 0.005;  // of the 50 % design's duty cycle

// The leakage of a capacitor whose kind is known, against the charging current.
std::string KnownLeakageText(const DesignSnapshot& s, const CapacitorTechnology& tech,
                             double leakage, double charging) {
  return "C1 = " + EngineeringText(s.c1, "F") + " " + tech.name + " leaks up to about " +
         Amperes(leakage) +
         " by its makers' figures, not small beside the charging current "
         "near the threshold ((Vcc/3) / " +
         TraitsOf(s.kind).charging + " = " + Amperes(charging) +
         "): the time may run long or never end. Use a film capacitor, or smaller resistors with "
         "a larger C1.";
}

// The limits that depend on the parts alone, cheap enough to count for every
// standard value tried: `emit` takes a code and a function giving its message,
// called only when the message is wanted.
template <typename Emit>
void TimingResistanceLimit(const DesignSnapshot& s, const Conditions& c, Emit&& emit) {
  const FamilyParameters& f = Parameters(c.family);
  const bool bipolar = c.family == TimerFamily::Bipolar;
  const double timing = TraitsOf(s.kind).resistorPair ? s.r1 + s.r2 : s.r1;
  const double rMax = MaxTimingResistance(c.family, c.vcc);
  if (timing > rMax) {
    emit(WarningCode::ResistanceTooHigh, [&] {
      const std::string which = TraitsOf(s.kind).resistorPair ? "R1 + R2" : "R1";
      const std::string why =
          bipolar || rMax < f.leakageMaxResistance
              ? ": the current into the threshold pin (" + Amperes(f.thresholdCurrent) +
                    ") would no longer be small beside the charging current, so the timing "
                    "drifts or stops."
              : ", the practical limit of a CMOS timer: the leakage of the board (its surface "
                "insulation can fall to about 1 G\u03a9 with flux or humidity) and of the "
                "capacitor is no longer small beside the charging current. The bipolar "
                "datasheets give the same 20 M\u03a9 ceiling for RA + RB.";
      return which + " = " + EngineeringBeside(timing, rMax, "\u03a9") + " is above " + Ohms(rMax) +
             why + " Use a larger C1 (a step up with the arrows) to bring the resistors down" +
             std::string(bipolar ? ", or a CMOS timer." : ".");
    });
  }
}

// What pin 7 and the output are asked to carry.
template <typename Emit>
void CurrentLimits(const DesignSnapshot& s, const Conditions& c, Emit&& emit) {
  const FamilyParameters& f = Parameters(c.family);
  // While the discharge transistor is on, Vcc / R1 flows into pin 7.
  const double pin7Floor = c.vcc / f.dischargeCurrent;
  if (UsesPin7(s) && s.r1 < pin7Floor) {
    emit(WarningCode::ResistanceTooLow, [&] {
      return "R1 = " + EngineeringBeside(s.r1, pin7Floor, "\u03a9") + " is below Vcc / " +
             Amperes(f.dischargeCurrent) + " = " + Ohms(pin7Floor) +
             ": while the discharge transistor is on, pin 7 sinks Vcc / R1 = " +
             Amperes(c.vcc / s.r1) + ", more than the " + Amperes(f.dischargeCurrent) +
             " the datasheets specify it at; its saturation voltage grows, lifts the low "
             "threshold and heats the chip. Use a smaller C1 (a step down with the arrows) to "
             "bring R1 up.";
    });
  }
  // At each discharge the capacitor empties through R2 into pin 7 as well.
  if (TraitsOf(s.kind).resistorPair && s.r1 >= pin7Floor) {
    const double throughR2 = 2 * c.vcc / 3 / (s.r2 + f.dischargeResistance);
    const double peak = c.vcc / s.r1 + throughR2;
    if (peak > f.dischargeCurrent) {
      emit(WarningCode::DischargeCurrent, [&] {
        return "At each discharge the capacitor empties into pin 7 through R2 = " + Ohms(s.r2) +
               ": a peak of about " + Amperes(peak) +
               " with the current through R1, more than "
               "the " +
               Amperes(f.dischargeCurrent) +
               " the datasheets specify pin 7 at. Use a smaller C1 (a step down with the "
               "arrows) to bring R2 up.";
      });
    }
  }
  if (s.kind == DesignKind::AstableSquare && c.vcc / s.r1 > f.outputSourceCurrent) {
    emit(WarningCode::ResistanceTooLow, [&] {
      return "R1 = " + EngineeringBeside(s.r1, c.vcc / f.outputSourceCurrent, "\u03a9") +
             " asks Vcc / R1 = " + Amperes(c.vcc / s.r1) + " of the output, more than a " + f.name +
             " timer gives (" + Amperes(f.outputSourceCurrent) +
             "). Use a smaller C1 to bring R1 up.";
    });
  }
}

// The discharge transistor beside R2, and the capacitor's own leakage.
template <typename Emit>
void LossLimits(const DesignSnapshot& s, const Conditions& c, Emit&& emit) {
  const FamilyParameters& f = Parameters(c.family);
  if (TraitsOf(s.kind).resistorPair && f.dischargeResistance / s.r2 > kDischargeShare) {
    emit(WarningCode::DischargeResistance, [&] {
      return "The discharge transistor's on-resistance (about " + Ohms(f.dischargeResistance) +
             ") is not small beside R2 = " + Ohms(s.r2) +
             ": it adds to R2 in the low time, which runs " +
             Percent(f.dischargeResistance / s.r2) +
             " longer than calculated. Use a smaller C1 to bring R2 up.";
    });
  }
  // A chosen capacitor leaks as its kind does; one not chosen is most
  // likely an aluminium electrolytic from 1 µF on, and leaks little below.
  const bool assumed = !s.capacitor;
  if (assumed && s.c1 < kElectrolyticFrom) return;
  const CapacitorTechnology& tech = TechnologyOf(s.capacitor.value_or(CapacitorType::Electrolytic));
  const double leakage = LeakageOf(tech, s.c1, c.vcc);
  const double charging = c.vcc / 3 / ChargingResistance(s);
  if (leakage > kLeakageShare * charging) {
    emit(WarningCode::ElectrolyticLeakage, [&] {
      if (!assumed) return KnownLeakageText(s, tech, leakage, charging);
      const bool floor = leakage <= kLeakageFloor;
      return "C1 = " + EngineeringText(s.c1, "F") +
             " is most likely an electrolytic, whose leakage (about " + Amperes(leakage) +
             " by the makers' rule of 0.01\u00b7C\u00b7V \u00b5A or 3 \u00b5A, whichever is "
             "larger) is not small beside the charging current near the threshold ((Vcc/3) / " +
             TraitsOf(s.kind).charging + " = " + Amperes(charging) +
             "): the time may run long or never end. " +
             (floor ? "A larger C1 with smaller resistors (a step up with the arrows) raises the "
                      "charging current; a film capacitor leaks far less."
                    : "Use a film or low-leakage capacitor: an electrolytic's leakage grows with "
                      "its capacitance as the charging current does, so another C1 does not "
                      "help.");
    });
  }
}

template <typename Emit>
void PartLimits(const DesignSnapshot& s, const Conditions& c, Emit&& emit) {
  TimingResistanceLimit(s, c, emit);
  CurrentLimits(s, c, emit);
  LossLimits(s, c, emit);
}

// What the built circuit would do without one of the effects the model
// holds: the one whose absence brings the prediction nearest the ideal is
// the one a warning names.
struct Cause {
  const char* name;
  FamilyParameters without;
};
std::vector<Cause> Causes(const DesignSnapshot& s, const FamilyParameters& f) {
  std::vector<Cause> causes;
  FamilyParameters p = f;
  p.thresholdCurrent = p.triggerCurrent = 0;
  causes.push_back({"threshold", p});
  p = f;
  p.propagationDelay = 0;
  causes.push_back({"delay", p});
  if (s.kind == DesignKind::AstableSquare) {
    p = f;
    p.outputJunctionSaturation = 0;
    p.outputHighResistance = p.outputLowResistance = 1e-6;
    causes.push_back({"output", p});
  }
  if (UsesPin7(s)) {
    p = f;
    p.dischargeResistance = 1e-6;
    causes.push_back({"discharge", p});
  }
  return causes;
}

// The figure a warning compares: the frequency, or the one-shot's pulse.
double Figure(const Timing& t) {
  return t.frequency ? *t.frequency : t.tHigh;
}

// The comparators' input currents as a cause: "the current into the
// threshold pin (100.0 nA)", or both pins' where the chip has pairs.
std::string PinCurrentsText(const FamilyParameters& f) {
  if (f.triggerCurrent <= 0)
    return "the current into the threshold pin (" + Amperes(f.thresholdCurrent) + ")";
  return "the comparators' input currents (" + Amperes(f.thresholdCurrent) +
         " into the threshold pin as it trips, up to " + Amperes(f.triggerCurrent) +
         " out of the trigger pin below its level)";
}

std::string CauseText(const std::string& cause, const FamilyParameters& f) {
  if (cause == "threshold")
    return PinCurrentsText(f) +
           " through the timing resistors; a larger C1 (a step up with the arrows) brings "
           "them down";
  if (cause == "delay")
    return "the propagation delay (about " + EngineeringText(f.propagationDelay, "s") +
           " per transition), which adds to each half period; choose the parts for the "
           "predicted figure";
  if (cause == "output" && f.outputJunctionSaturation > 0)
    return "the output stage the timing current flows through (its high level two "
           "base-emitter drops below Vcc, about " +
           Number(OutputHighDrop(f, 1e-3, kNominalCelsius)) + " V at 1 mA, and " +
           Ohms(f.outputLowResistance) + " low); a CMOS timer's output reaches Vcc";
  if (cause == "output")
    return "the output stage's resistance the timing current flows through (" +
           Ohms(f.outputHighResistance) + " high, " + Ohms(f.outputLowResistance) +
           " low); a larger C1 with a larger R1 makes it small";
  return "the discharge transistor's on-resistance (about " + Ohms(f.dischargeResistance) +
         ") in the discharge path";
}

std::string MainCause(const DesignSnapshot& s, const Conditions& c, double predicted, double ideal,
                      const std::function<double(const Timing&)>& figure) {
  const FamilyParameters& f = Parameters(c.family);
  std::string best;
  double nearest = std::fabs(predicted - ideal);
  for (const Cause& cause : Causes(s, f)) {
    const double v = figure(PredictTimingWith(s, c, cause.without));
    if (std::isfinite(v) && std::fabs(v - ideal) < nearest) {
      nearest = std::fabs(v - ideal);
      best = cause.name;
    }
  }
  return best;
}

}  // namespace

bool LeaksTooMuch(const DesignSnapshot& design, const Conditions& conditions) {
  bool leaks = false;
  LossLimits(design, conditions, [&leaks](WarningCode code, const auto&) {
    if (code == WarningCode::ElectrolyticLeakage) leaks = true;
  });
  return leaks;
}

namespace {

// The supply against the family's range and its recommended maximum.
template <typename Add>
void SupplyLimits(const Conditions& c, Add&& add) {
  const FamilyParameters& f = Parameters(c.family);
  if (c.vcc < f.vccMin || c.vcc > f.vccMax) {
    add(WarningCode::VccOutOfRange, [&] {
      return "A " + std::string(f.name) + " 555 works from " + Number(f.vccMin) + " to " +
             Number(f.vccMax) + " V; " + Number(c.vcc) +
             " V is outside that range. Choose a supply inside it, or the other timer family.";
    });
  } else if (c.vcc > f.vccRecommendedMax) {
    add(WarningCode::VccAboveRecommended, [&] {
      return Number(c.vcc) + " V is above the " + Number(f.vccRecommendedMax) +
             " V the datasheets recommend for a " + f.name + " 555 (" + Number(f.vccMax) +
             " V is the absolute maximum): the chip dissipates more and a spike on the supply "
             "has no margin left. Keep the supply at " +
             Number(f.vccRecommendedMax) + " V or below.";
    });
  }
}

// What the chip can time at all: C1 against the strays, the frequency
// against the family's limit.
template <typename Add>
void ChipLimits(const DesignSnapshot& s, const Conditions& c, const Timing& ideal, Add&& add) {
  const FamilyParameters& f = Parameters(c.family);
  const bool bipolar = c.family == TimerFamily::Bipolar;
  if (s.c1 < kMinCapacitance) {
    add(WarningCode::CapacitanceTooLow, [&] {
      return "C1 = " + EngineeringText(s.c1, "F") +
             " is not well above the 5 to 20 pF of stray capacitance of the board and the "
             "chip's pins, so the timing will be off by an unknown amount. Keep C1 at " +
             EngineeringText(kMinCapacitance, "F", "\u00b5", 1) +
             " or more (larger resistors, or a lower frequency).";
    });
  }
  if (ideal.frequency && *ideal.frequency > f.fmax) {
    add(WarningCode::FrequencyTooHigh, [&] {
      return EngineeringText(*ideal.frequency, "Hz") + " is above what a " + f.name +
             " timer reaches (" + EngineeringText(f.fmax, "Hz") +
             "): the propagation delay takes most of each half period." +
             (bipolar ? " A CMOS timer goes to 2 MHz." : "");
    });
  }
}

// How far the built circuit runs from the ideal, and why.
template <typename Add>
void TimingDepartures(const DesignSnapshot& s, const Conditions& c, const Timing& ideal,
                      const Timing& real, Add&& add) {
  const FamilyParameters& f = Parameters(c.family);
  if (TraitsOf(s.kind).steeringDiodes && ideal.frequency && real.frequency) {
    const double slow = 1 - *real.frequency / *ideal.frequency;
    if (std::fabs(slow) > kDiodeSlowShare) {
      add(WarningCode::DiodeDrop, [&] {
        return "The two steering diodes each take about 0.6 V of the charge and discharge "
               "swing: at " +
               Number(c.vcc) + " V the built circuit runs " + Percent(slow) + " slow (about " +
               EngineeringText(*real.frequency, "Hz") +
               "). A higher supply shrinks the loss; or choose R1 and R2 for the predicted "
               "frequency.";
      });
    }
  }
  if (!TraitsOf(s.kind).steeringDiodes) {
    const bool oneShot = TraitsOf(s.kind).oneShot;
    const double off = Figure(real) / Figure(ideal) - 1;
    if (std::fabs(off) > kTimingOffShare) {
      add(WarningCode::TimingOff, [&] {
        const std::string cause = MainCause(s, c, Figure(real), Figure(ideal), Figure);
        const std::string figure =
            oneShot ? "pulse of about " + EngineeringText(real.tHigh, "s") + " instead of " +
                          EngineeringText(ideal.tHigh, "s")
                    : "frequency of about " + EngineeringText(*real.frequency, "Hz") +
                          " instead of " + EngineeringText(*ideal.frequency, "Hz");
        return "The built circuit is " + Percent(std::fabs(off)) +
               (off > 0 ? (oneShot ? " long" : " fast") : (oneShot ? " short" : " slow")) + " (a " +
               figure + ")" +
               (cause.empty() ? std::string(".") : ": mostly " + CauseText(cause, f) + ".");
      });
    }
  }
}

// The 50 % design's duty cycle, which only the built circuit's losses move.
template <typename Add>
void SquareDutyDeparture(const DesignSnapshot& s, const Conditions& c, const Timing& ideal,
                         const Timing& real, Add&& add) {
  const FamilyParameters& f = Parameters(c.family);
  const bool bipolar = c.family == TimerFamily::Bipolar;
  if (s.kind == DesignKind::AstableSquare && ideal.dutyCycle && real.dutyCycle &&
      std::fabs(*real.dutyCycle - *ideal.dutyCycle) > kSquareDutyOff) {
    const auto duty = [](const Timing& t) { return t.dutyCycle.value_or(NAN); };
    const std::string cause = MainCause(s, c, *real.dutyCycle, *ideal.dutyCycle, duty);
    if (cause == "threshold") {
      add(WarningCode::ThresholdCurrent, [&] {
        return "R1 = " + Ohms(s.r1) + " carries " + PinCurrentsText(f) +
               " beside the charging current, which moves the times the capacitor takes "
               "between its levels: duty cycle " +
               Percent(*real.dutyCycle) +
               " instead of 50 %. Use a larger C1 (a step up with the arrows) to bring R1 down" +
               std::string(bipolar ? ", or a CMOS timer." : ".");
      });
    } else {
      add(WarningCode::OutputDropDuty, [&] {
        return bipolar ? "The output's high level stands below Vcc, so the 4.7 k\u03a9 pull-up "
                         "carries the charging current and the high time grows: duty cycle " +
                             Percent(*real.dutyCycle) +
                             " instead of 50 %. A CMOS timer's output reaches Vcc."
                       : "The output's resistance (" + Ohms(f.outputHighResistance) + " high, " +
                             Ohms(f.outputLowResistance) +
                             " low) and the propagation delay, small beside R1 no longer, make "
                             "the halves unequal: duty cycle " +
                             Percent(*real.dutyCycle) + " instead of 50 %.";
      });
    }
  }
}

// What the parts and the chip allow at all: the parts' own limits, C1 and
// the frequency against the chip, the threshold reached. False where the
// circuit does not switch (nothing else is then worth saying).
template <typename Add>
bool DesignLimits(const DesignSnapshot& s, const Conditions& c, const Timing& ideal,
                  const Timing& real, Add&& add) {
  PartLimits(s, c, add);
  ChipLimits(s, c, ideal, add);
  if (Switches(real)) return true;
  add(WarningCode::ThresholdNeverReached, [&] {
    return std::string("The capacitor never reaches the chip's threshold: the current into ") +
           "the threshold pin, the diodes' drop or the supply leave it short of 2/3 Vcc (or " +
           "above 1/3 Vcc), so the built circuit " +
           (TraitsOf(s.kind).oneShot ? "gives a pulse that never ends." : "does not oscillate.") +
           " Bring the timing resistors down with a larger C1, or raise the supply.";
  });
  return false;
}

}  // namespace

std::vector<Warning> CheckLimits(const DesignSnapshot& s, const Conditions& c) {
  std::vector<Warning> w;
  const auto add = [&w](WarningCode code, const auto& message) { w.push_back({code, message()}); };
  SupplyLimits(c, add);
  const Timing ideal = IdealTiming(s);
  const Timing real = PredictTiming(s, c);
  if (!DesignLimits(s, c, ideal, real, add)) return w;
  TimingDepartures(s, c, ideal, real, add);
  SquareDutyDeparture(s, c, ideal, real, add);
  if (std::optional<Warning> delay = DelayUncertainty(s, c)) w.push_back(*delay);
  return w;
}

int BrokenLimits(const DesignSnapshot& design, const Conditions& conditions,
                 const Timing& predicted) {
  int n = 0;
  DesignLimits(design, conditions, IdealTiming(design), predicted,
               [&n](WarningCode code, const auto&) { n += IsLimit(code) ? 1 : 0; });
  return n;
}

std::vector<Warning> LimitWarnings(const DesignSnapshot& design, const Conditions& conditions) {
  std::vector<Warning> warnings = CheckLimits(design, conditions);
  std::erase_if(warnings, [](const Warning& w) { return !IsLimit(w.code); });
  return warnings;
}

std::vector<Warning> SupplyWarnings(const Conditions& conditions) {
  std::vector<Warning> w;
  SupplyLimits(conditions, [&w](WarningCode code, const auto& message) {
    w.push_back({code, message()});
  });
  return w;
}

}  // namespace timer555
