#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "analysis/parts.h"
#include "format/engineering.h"

// Why no standard parts land a target inside its window, and what would.
namespace timer555 {

namespace {

// "bipolar" or "CMOS", as a sentence names the family.
std::string FamilyText(TimerFamily family) {
  return family == TimerFamily::Cmos ? "CMOS" : "bipolar";
}

std::string Parts(DesignKind kind, double c1, CapacitorType type, double r1,
                  const std::optional<double>& r2) {
  std::string text = "C1 " + EngineeringText(c1, "F") + " " + TechnologyOf(type).name + ", R1 " +
                     EngineeringText(r1, "\u03a9");
  if (TraitsOf(kind).resistorPair && r2) text += ", R2 " + EngineeringText(*r2, "\u03a9");
  return text;
}

// The first clean choice inside the window under other conditions, if any.
std::optional<Candidate> Reaching(const DesignSnapshot& target, const BenchSpec& bench,
                                  Series resistors, CapacitorSeries capacitors) {
  if (!SupplyWarnings(bench.conditions).empty()) return std::nullopt;
  for (const Candidate& c : SearchParts(target, bench.conditions, CapacitorValues(capacitors),
                                        bench.capacitorTypes, SeriesValues(resistors), 3))
    if (c.broken == 0 && InsideWindow(c.timing.typical, target, bench)) return c;
  return std::nullopt;
}

// The longest a half period (or pulse) can run with the allowed parts: the
// timing resistance up to the family's largest, the leakage of C1's kind at
// that resistance, and (the astables' low half) the resistance the trigger
// pin's current lets the capacitor fall through at the band's slow end.
struct Longest {
  double seconds = 0, farad = 0, ohm = 0;
  CapacitorType type = CapacitorType::Film;
  std::string limit;  // what stops the resistance
};
Longest LongestHalf(const BenchSpec& bench, CapacitorSeries series, double logFactor,
                    bool throughTrigger) {
  const Conditions& c = bench.conditions;
  const FamilyParameters& f = Parameters(c.family);
  const double rMax = MaxTimingResistance(c.family, c.vcc);
  // Half the resistance at which the trigger's pin would stall the discharge.
  const double rTrigger = throughTrigger && f.triggerCurrentMax > 0
                              ? 0.5 * (c.vcc / 3) / (f.triggerCurrentMax / 2)
                              : std::numeric_limits<double>::infinity();
  Longest best;
  for (double farad : CapacitorValues(series)) {
    for (CapacitorType type : bench.capacitorTypes) {
      const CapacitorTechnology& tech = TechnologyOf(type);
      if (!Reaches(tech, farad)) continue;
      const double rLeak = kLeakageShare * (c.vcc / 3) / LeakageOf(tech, farad, c.vcc);
      const double ohm = std::min({rMax, rLeak, rTrigger});
      const double seconds = logFactor * ohm * farad;
      if (seconds <= best.seconds) continue;
      best = {seconds, farad, ohm, type, ""};
      best.limit = ohm == rLeak      ? "the " + std::string(tech.name) + " capacitor's leakage"
                   : ohm == rTrigger ? "the trigger pin's current at " + FixedText(c.vcc, 1) + " V"
                   : f.leakageMaxResistance > 0 && rMax >= f.leakageMaxResistance
                       ? std::string("the board's leakage")
                       : "the threshold pin's current at " + FixedText(c.vcc, 1) + " V";
    }
  }
  return best;
}

std::string Why(const DesignSnapshot& target, const BenchSpec& bench, CapacitorSeries capacitors,
                const PartsAnswer& answer) {
  const Conditions& c = bench.conditions;
  const FamilyParameters& f = Parameters(c.family);
  const std::string family = FamilyText(c.family);
  for (const Warning& w : answer.supply)
    if (IsLimit(w.code))
      return "The supply of " + FixedText(c.vcc, 1) + " V is outside the " + family +
             " timer's range (" + FixedText(f.vccMin, 1) + " to " + FixedText(f.vccMax, 1) + " V).";
  const HalfPeriods goal = TargetHalves(target);
  const bool oneShot = TraitsOf(target.kind).oneShot;
  const struct {
    double want;
    bool low;
  } halves[] = {{goal.high, false}, {goal.low.value_or(0), true}};
  for (const auto& half : halves) {
    const Longest longest = LongestHalf(bench, capacitors, std::log(oneShot ? 3.0 : 2.0), half.low);
    if (longest.seconds <= 0 || half.want <= longest.seconds) continue;
    const std::string what = oneShot ? "pulse" : half.low ? "low time" : "high time";
    return "The longest " + what + " a " + family + " timer reaches with these parts is about " +
           EngineeringText(longest.seconds, "s") + ", with C1 " +
           EngineeringText(longest.farad, "F") + " " + TechnologyOf(longest.type).name + " and " +
           EngineeringText(longest.ohm, "\u03a9") + ", where " + longest.limit +
           " stops the resistance.";
  }
  if (!TraitsOf(target.kind).oneShot && 1 / (goal.high + *goal.low) > f.fmax)
    return "The frequency is above what a " + family + " timer reaches (" +
           EngineeringText(f.fmax, "Hz") + ").";
  // The exact parts' band against the window: the chip's delays alone may
  // put the target out of reach.
  if (HasBand(c.family) && answer.exact.found) {
    DesignSnapshot exact = target;
    exact.c1 = answer.exact.c1;
    exact.r1 = answer.exact.r1;
    exact.r2 = answer.exact.r2.value_or(TraitsOf(target.kind).pullUp);
    const double share = ShareOf(PredictBand(exact, c)).Widest();
    if (share > bench.frequencyWindow)
      return "A " + family + " timer's delays (" + EngineeringText(f.propagationDelayMin, "s") +
             " to " + EngineeringText(f.propagationDelayMax, "s") +
             " per transition, and the storage time of the saturated transistor that held the "
             "capacitor low) make this timing "
             "uncertain by up to " +
             FixedText(share * 100, 1) + " %, more than the window's \u00b1" +
             FixedText(bench.frequencyWindow * 100, 1) + " %.";
  }
  if (answer.choices.empty() && HasBand(c.family) && !TraitsOf(target.kind).oneShot)
    return "A " + family + " timer's delays (" + EngineeringText(f.propagationDelayMin, "s") +
           " to " + EngineeringText(f.propagationDelayMax, "s") +
           " per transition, and the storage time of the saturated transistor that held the "
           "capacitor low) leave no standard "
           "parts within 100 % of the target at the slow end of their band.";
  if (answer.choices.empty()) return "No standard parts come within 100 % of the target.";
  const PartsChoice& first = answer.choices.front();
  if (first.broken > 0 && !first.warnings.empty())
    return "Every standard choice near the target breaks a limit (the nearest: " +
           std::string(CodeKey(first.warnings.front().code)) + ").";
  return "The nearest standard parts miss the target by " + FixedText(first.error * 100, 1) +
         " % of a half period, outside the window of \u00b1" +
         FixedText(bench.frequencyWindow * 100, 1) + " %.";
}

}  // namespace

void ExplainUnreachable(const DesignSnapshot& target, const BenchSpec& bench, Series resistors,
                        CapacitorSeries capacitors, PartsAnswer& answer) {
  answer.why = Why(target, bench, capacitors, answer);
  const DesignKind kind = target.kind;
  const auto say = [&](const std::string& what, const Candidate& c) {
    answer.instead = what + " reaches it: " + Parts(kind, c.c1, c.capacitor, c.r1, c.r2) + ".";
  };
  BenchSpec other = bench;
  other.capacitorTypes = TimingCapacitorTypes();
  if (other.capacitorTypes != bench.capacitorTypes) {
    if (const auto c = Reaching(target, other, resistors, capacitors)) {
      say("Another kind of capacitor", *c);
      return;
    }
  }
  const Conditions& conditions = bench.conditions;
  if (conditions.family == TimerFamily::Bipolar) {
    other = bench;
    other.conditions.family = TimerFamily::Cmos;
    if (const auto c = Reaching(target, other, resistors, capacitors)) {
      say("A CMOS timer", *c);
      return;
    }
  }
  // A supply inside the family's range, or the highest it recommends (the
  // bipolar chip's largest resistance grows with the supply).
  const FamilyParameters& f = Parameters(conditions.family);
  const double supply = conditions.vcc < f.vccMin ? f.vccMin : f.vccRecommendedMax;
  if (conditions.vcc != supply) {
    other = bench;
    other.conditions.vcc = supply;
    if (const auto c = Reaching(target, other, resistors, capacitors)) {
      say("A supply of " + FixedText(supply, 1) + " V", *c);
      return;
    }
  }
  DesignSnapshot exact = target;
  exact.c1 = answer.exact.c1;
  exact.r1 = answer.exact.r1;
  exact.r2 = answer.exact.r2.value_or(TraitsOf(kind).pullUp);
  exact.capacitor = answer.exact.capacitor;
  if (answer.exact.found && LimitWarnings(exact, conditions).empty()) {
    answer.instead =
        "A trimmer reaches it: the exact parts are " +
        Parts(kind, answer.exact.c1, answer.exact.capacitor, answer.exact.r1, answer.exact.r2) +
        ".";
    return;
  }
  answer.instead = "Widen the window, or divide the output of a faster timer with a counter.";
}

}  // namespace timer555
