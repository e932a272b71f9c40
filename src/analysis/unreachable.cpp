#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/parts.h"
#include "format/engineering.h"

// Why no standard parts land a target inside its window, and what would.
namespace timer555 {

namespace {

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
  for (const Candidate& c :
       SearchParts(target, bench.conditions, CapacitorValues(capacitors), bench.capacitorTypes,
                   SeriesValues(resistors), 3))
    if (c.broken == 0 && InsideWindow(c.timing.typical, target, bench)) return c;
  return std::nullopt;
}

// The largest C1 the allowed kinds come in.
std::optional<std::pair<double, CapacitorType>> LargestCapacitor(const BenchSpec& bench,
                                                                 CapacitorSeries series) {
  std::optional<std::pair<double, CapacitorType>> largest;
  for (double c : CapacitorValues(series))
    for (CapacitorType type : bench.capacitorTypes)
      if (Reaches(TechnologyOf(type), c) && (!largest || c > largest->first)) largest = {c, type};
  return largest;
}

std::string Why(const DesignSnapshot& target, const BenchSpec& bench, CapacitorSeries capacitors,
                const PartsAnswer& answer) {
  const Conditions& c = bench.conditions;
  const FamilyParameters& f = Parameters(c.family);
  for (const Warning& w : answer.supply)
    if (IsLimitCode(w.code))
      return "The supply of " + FixedText(c.vcc, 1) + " V is outside the " + f.name +
             " timer's range (" + FixedText(f.vccMin, 1) + " to " + FixedText(f.vccMax, 1) + " V).";
  const HalfPeriods goal = TargetHalves(target);
  const double longest = std::max(goal.high, goal.low.value_or(0));
  const double rMax = MaxTimingResistance(c.family, c.vcc);
  const auto largest = LargestCapacitor(bench, capacitors);
  const double reach = std::log(TraitsOf(target.kind).oneShot ? 3.0 : 2.0) * rMax *
                       (largest ? largest->first : 0);
  if (largest && longest > reach)
    return "The longest time a " + std::string(f.name) + " timer reaches with these parts is about " +
           EngineeringText(reach, "s") + ": its timing resistance stops at " +
           EngineeringText(rMax, "\u03a9") + " at " + FixedText(c.vcc, 1) +
           " V, and the capacitors allowed at " + EngineeringText(largest->first, "F") + " (" +
           TechnologyOf(largest->second).name + ").";
  if (!TraitsOf(target.kind).oneShot && 1 / (goal.high + *goal.low) > f.fmax)
    return "The frequency is above what a " + std::string(f.name) + " timer reaches (" +
           EngineeringText(f.fmax, "Hz") + ").";
  if (answer.choices.empty()) return "No standard parts come within 100 % of the target.";
  const PartsChoice& first = answer.choices.front();
  if (first.broken > 0 && !first.warnings.empty())
    return "Every standard choice near the target breaks a limit (the nearest: " +
           first.warnings.front().code + ").";
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
  const FamilyParameters& f = Parameters(conditions.family);
  if (conditions.vcc < f.vccRecommendedMax) {
    other = bench;
    other.conditions.vcc = f.vccRecommendedMax;
    if (const auto c = Reaching(target, other, resistors, capacitors)) {
      say("A supply of " + FixedText(f.vccRecommendedMax, 0) + " V", *c);
      return;
    }
  }
  if (answer.exact.found) {
    answer.instead = "A trimmer reaches it: the exact parts are " +
                     Parts(kind, answer.exact.c1, answer.choices.front().capacitor,
                           answer.exact.r1, answer.exact.r2) +
                     ".";
    return;
  }
  answer.instead =
      "Widen the window, or divide the output of a faster timer with a counter.";
}

}  // namespace timer555
