#include "cli/cli_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>

#include "cli/cli.h"
#include "format/engineering.h"
#include "report/figures.h"
#include "report/json.h"

namespace timer555 {

namespace {

// What the check says where no standard value brings the design's C1 to its
// target: the search that chooses C1 as well does better.
std::string NoStandardValueText(const DesignSnapshot& s, Series series, bool nearest) {
  const std::string what = TraitsOf(s.kind).oneShot
                               ? "the pulse within \u00b15.0 %"
                               : "the frequency within \u00b15.0 % and the duty cycle within "
                                 "\u00b12.0 points";
  return "No " + std::string(SeriesName(series)) +
         " resistors with C1 = " + EngineeringText(s.c1, "F") + " keep every limit and bring " +
         what + "; 'timer555-cli parts' chooses C1 as well." + (nearest ? " The nearest:" : "");
}

void PrintText(const DesignReport& design, const DesignSnapshot& s, const CheckSettings& settings,
               const CheckReport& r, std::ostream& out) {
  out << design.title << " at " << ConditionsText(settings.conditions) << "\n";
  out << PartsText(s) << "\n\n";
  out << TimingTable(s.kind, {{kIdealColumn, r.ideal}, {kPredictedColumn, r.predicted}}, true);
  const std::string band = BandText(s.kind, settings.conditions.family, r.range);
  if (!band.empty()) out << "Predicted " << band << ".\n";
  out << "\n";
  if (r.warnings.empty()) {
    out << "No warnings.\n";
  } else {
    out << "Warnings:\n";
    for (const Warning& w : r.warnings)
      out << "  " << WarningText(w) << "\n";
  }
  out << "\nStandard values (" << SeriesName(settings.series)
      << ") for C1 = " << EngineeringText(s.c1, "F") << ", best first:\n";
  const bool anyOnTarget = std::any_of(r.choices.begin(), r.choices.end(), [](const auto& ch) {
    return ch.onTarget && ch.broken == 0;
  });
  if (!anyOnTarget)
    out << "  " << NoStandardValueText(s, settings.series, !r.choices.empty()) << "\n";
  for (const StandardChoice& ch : r.choices) {
    out << "  " << ChoiceText(s.kind, ch);
    if (ch.broken) out << " (" << ch.broken << (ch.broken == 1 ? " warning)" : " warnings)");
    out << "\n";
    if (!anyOnTarget) break;  // the nearest is enough to show how far they miss
  }
  out << "\nWorst case with " << ToleranceText(settings.tolerance) << ":\n";
  out << "  " << WorstCaseText(r.band, TraitsOf(s.kind).oneShot) << "\n";
}

}  // namespace

std::vector<Option> ConditionOptions(Conditions& c) {
  return {
      {{"--vcc"},
       "VOLTS",
       "supply voltage (default 9)",
       [&c](const std::string& v) {
         c.vcc = RealValue("--vcc", v, kSupplyBounds.lo, kSupplyBounds.hi,
                           "a supply voltage from 1 to 40 V");
       }},
      {{"--family"},
       "FAMILY",
       "bipolar (NE555 class, the default) or cmos (7555 class)",
       [&c](const std::string& v) {
         if (Lowered(v) == "bipolar") {
           c.family = TimerFamily::Bipolar;
         } else if (Lowered(v) == "cmos") {
           c.family = TimerFamily::Cmos;
         } else {
           throw UsageError("--family wants bipolar or cmos, not '" + v + "'");
         }
       }},
  };
}

std::vector<Option> CheckOptions(CheckSettings& s) {
  return {
      {{"--series"},
       "SERIES",
       "E6, E12, E24 (the default), E48 or E96",
       [&s](const std::string& v) {
         const auto series = SeriesNamed(Uppered(v));
         if (!series) throw UsageError("--series wants E6, E12, E24, E48 or E96, not '" + v + "'");
         s.series = *series;
       }},
      {{"--tolerance"},
       "R,C",
       "part tolerances in % (default 5,10)",
       [&s](const std::string& v) {
         const auto [r, c] = RealPair("--tolerance", v, kToleranceBounds.lo, kToleranceBounds.hi,
                                      "two tolerances in % from 0 to 50 (R,C)");
         s.tolerance.resistor = r / 100;
         s.tolerance.capacitor = c / 100;
       }},
      {{"--temperature"},
       "MIN,MAX",
       "temperature range in degrees C (default 0,70)",
       [&s](const std::string& v) {
         const auto [lo, hi] =
             RealPair("--temperature", v, kTemperatureBounds.lo, kTemperatureBounds.hi,
                      "two temperatures from -55 to 150 C (MIN,MAX)");
         if (lo > hi)
           throw UsageError("--temperature wants MIN,MAX with MIN at most MAX, not '" + v + "'");
         s.tolerance.minCelsius = lo;
         s.tolerance.maxCelsius = hi;
       }},
  };
}

std::vector<Option> BenchPartOptions(BenchParts& parts) {
  const auto part = [](std::optional<double>& target, const char* option, PartQuantity q) {
    return [&target, option, q](const std::string& v) { target = PartValue(option, v, q); };
  };
  return {
      {{"--r1"},
       "OHM",
       "build with this R1 instead of the design's",
       part(parts.r1, "--r1", PartQuantity::Resistance)},
      {{"--r2"},
       "OHM",
       "build with this R2 (the 50 % design: its pull-up)",
       part(parts.r2, "--r2", PartQuantity::Resistance)},
      {{"--c1"}, "FARAD", "build with this C1", part(parts.c1, "--c1", PartQuantity::Capacitance)}};
}

Option C1TypeOption(BenchParts& parts) {
  return {{"--c1-type"},
          "KIND",
          "C1 as c0g, film, tantalum, low-leakage, electrolytic or x7r",
          [&parts](const std::string& v) {
            parts.c1Type = CapacitorTypeNamed(v);
            if (!parts.c1Type)
              throw UsageError(
                  "--c1-type wants c0g, film, tantalum, low-leakage, electrolytic "
                  "or x7r, not '" +
                  v + "'");
          }};
}

DesignSnapshot WithBenchParts(DesignSnapshot design, const BenchParts& parts) {
  if (parts.r2 && !TraitsOf(design.kind).hasR2) throw UsageError("the monostable has no R2");
  design.r1 = parts.r1.value_or(design.r1);
  design.r2 = parts.r2.value_or(design.r2);
  design.c1 = parts.c1.value_or(design.c1);
  design.capacitor = parts.c1Type;
  return design;
}

Option JsonOption(bool& json) {
  return {{"--json"},
          "",
          "print one JSON object (duty_cycle as a fraction)",
          [&json](const std::string&) { json = true; }};
}

ExitStatus RunCheckCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err) {
  DesignRequest request;
  CheckSettings settings;
  bool json = false;
  BenchParts bench;
  ParseOptions(args,
               Joined(Joined(Joined(DesignOptions(request), ConditionOptions(settings.conditions)),
                             Joined(CheckOptions(settings), BenchPartOptions(bench))),
                      {C1TypeOption(bench), JsonOption(json)}),
               ModeArgument(request.kind));
  DesignReport design;
  const auto calculated = CalculatedDesign("check", request, design, err);
  if (!calculated) return ExitStatus::Failed;
  const DesignSnapshot snapshot = WithBenchParts(*calculated, bench);
  const CheckReport report = RunCheck(snapshot, settings);
  if (json) {
    PrintJsonLine(CheckJson(snapshot, settings, report), out);
  } else {
    PrintText(design, snapshot, settings, report, out);
  }
  return ExitStatus::Success;
}

}  // namespace timer555
