#include "cli/cli_parts.h"

#include <algorithm>

#include "cli/cli_check.h"
#include "cli/cli_design.h"
#include "cli/output.h"
#include "report/json.h"

namespace timer555 {

namespace {

// "film,c0g": each kind once, in the order of preference.
std::vector<CapacitorType> CapacitorTypesOf(const std::string& text) {
  std::vector<CapacitorType> types;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string key = text.substr(start, comma - start);
    const auto type = CapacitorTypeNamed(key);
    if (!type)
      throw UsageError(
          "--capacitor-types wants kinds from c0g, film, tantalum, low-leakage, "
          "electrolytic and x7r, not '" +
          key + "'");
    if (std::find(types.begin(), types.end(), *type) == types.end()) types.push_back(*type);
    start = comma + 1;
  }
  std::vector<CapacitorType> ordered;
  for (const CapacitorTechnology& t : CapacitorTechnologies())
    if (std::find(types.begin(), types.end(), t.type) != types.end()) ordered.push_back(t.type);
  return ordered;
}

// The question the request asks, checked against what the design has.
PartsQuestion TargetQuestion(const PartsRequest& r) {
  if (!r.kind) throw UsageError("parts wants a MODE");
  const DesignTraits& traits = TraitsOf(*r.kind);
  PartsQuestion q;
  q.target.kind = *r.kind;
  if (traits.oneShot) {
    if (r.frequency || r.dutyPercent)
      throw UsageError("the monostable takes its pulse length with -t, not -f or -d");
    if (!r.pulse) throw UsageError("parts wants the pulse length: -t SECONDS");
    q.target.pulseLength = *r.pulse;
  } else {
    if (r.pulse) throw UsageError("-t is the monostable's pulse length");
    if (!r.frequency) throw UsageError("parts wants the frequency: -f HZ");
    q.target.frequency = *r.frequency;
    if (!traits.resistorPair && r.dutyPercent)
      throw UsageError("the square-wave astable's duty cycle is 50 %");
    if (traits.resistorPair && !r.dutyPercent)
      throw UsageError("parts wants the duty cycle: -d PERCENT");
    const double duty = traits.resistorPair ? *r.dutyPercent / 100 : 0.5;
    if (*r.kind == DesignKind::AstableAbove && !(duty > 0.5))
      throw UsageError("-d: this design's duty cycle is above 50 %");
    if (*r.kind == DesignKind::AstableBelow && !(duty < 0.5))
      throw UsageError("-d: this design's duty cycle is below 50 %");
    q.target.dutyCycle = duty;
  }
  q.bench.conditions = r.settings.conditions;
  q.bench.vccRange = r.vccRange;
  q.bench.tolerance = r.settings.tolerance;
  if (r.spec) {
    q.bench.frequencyWindow = r.spec->first / 100;
    q.bench.dutyWindow = r.spec->second / 100;
  }
  q.bench.samples = r.samples;
  q.bench.seed = r.seed;
  q.resistors = r.settings.series;
  q.capacitors = r.capacitors;
  q.bench.capacitorTypes = r.capacitorTypes;
  return q;
}

// The target: -f and -d, or the one-shot's -t.
std::vector<Option> TargetOptions(PartsRequest& r) {
  return {
      {{"-f"},
       "HZ",
       "the frequency in hertz",
       [&r](const std::string& v) {
         r.frequency = RealValue("-f", v, 1e-6, 1e8, "a frequency in Hz");
         r.frequencyText = v;
       },
       {"--frequency"}},
      {{"-d"},
       "PERCENT",
       "the duty cycle in %",
       [&r](const std::string& v) {
         r.dutyPercent = RealValue("-d", v, 0.01, 99.99, "a duty cycle in % above 0 and below 100");
         r.dutyText = v;
       },
       {"--duty"}},
      {{"-t"},
       "SECONDS",
       "the monostable's pulse length",
       [&r](const std::string& v) {
         r.pulse = RealValue("-t", v, 1e-8, 1e6, "a pulse length in seconds");
         r.pulseText = v;
       }},
  };
}

// What the parts may be and the window a board must meet.
std::vector<Option> SearchOptions(PartsRequest& r) {
  return {
      {{"--vcc-range"},
       "MIN,MAX",
       "the supply over its range, e.g. a draining battery",
       [&r](const std::string& v) {
         const auto range = RealPair("--vcc-range", v, kSupplyBounds.lo, kSupplyBounds.hi,
                                     "two voltages from 1 to 40 V (MIN,MAX)");
         if (range.first > range.second)
           throw UsageError("--vcc-range wants MIN,MAX with MIN at most MAX, not '" + v + "'");
         r.vccRange = range;
       }},
      {{"--capacitors"},
       "SERIES",
       "C1 from E3, E6 (the default) or E12, 1 nF to 1000 uF",
       [&r](const std::string& v) {
         const auto series = CapacitorSeriesNamed(Uppered(v));
         if (!series) throw UsageError("--capacitors wants E3, E6 or E12, not '" + v + "'");
         r.capacitors = *series;
       }},
      {{"--capacitor-types"},
       "LIST",
       "C1's kinds: c0g,film,tantalum,low-leakage,electrolytic,x7r (all but x7r)",
       [&r](const std::string& v) { r.capacitorTypes = CapacitorTypesOf(v); }},
      {{"--window"},
       "F,D",
       "the window a board must meet: % of frequency, points of duty (5,2)",
       [&r](const std::string& v) {
         r.spec = RealPair("--window", v, 0, 100, "two widths in % (F,D)");
       },
       {"--spec"}},
  };
}

// The Monte Carlo of the yield and what is shown of it.
std::vector<Option> YieldOptions(PartsRequest& r) {
  return {
      {{"--samples"},
       "N",
       "boards in the yield's Monte Carlo (default 10000)",
       [&r](const std::string& v) {
         r.samples = static_cast<int>(Whole("--samples", v, 1, 1000000));
       }},
      {{"--seed"},
       "N",
       "the Monte Carlo's seed (default 555)",
       [&r](const std::string& v) { r.seed = Whole("--seed", v, 0, (1ULL << 53) - 1); }},
      {{"--count"},
       "N",
       "how many choices (default 5)",
       [&r](const std::string& v) { r.count = static_cast<int>(Whole("--count", v, 1, 50)); }},
      {{"-o"},
       "FILE",
       "draw the first choice's histogram (.png or .svg)",
       [&r](const std::string& v) { r.picture = v; },
       {"--output"}},
  };
}

}  // namespace

PartsQuestion QuestionOf(const PartsRequest& request, const std::vector<std::string>& args) {
  PartsQuestion question = TargetQuestion(request);
  if (request.vccRange && !std::count(args.begin(), args.end(), std::string("--vcc")))
    question.bench.conditions.vcc = (request.vccRange->first + request.vccRange->second) / 2;
  question.bench.technologyTolerance = !std::any_of(
      args.begin(), args.end(),
      [](const std::string& a) { return a == "--tolerance" || a.rfind("--tolerance=", 0) == 0; });
  return question;
}

std::vector<Option> PartsOptions(PartsRequest& r) {
  return Joined(Joined(TargetOptions(r), ConditionOptions(r.settings.conditions)),
                Joined(Joined(CheckOptions(r.settings), SearchOptions(r)), YieldOptions(r)));
}

ExitStatus RunPartsCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err) {
  PartsRequest request;
  ParseOptions(args, Joined(PartsOptions(request), {JsonOption(request.json)}),
               ModeArgument(request.kind));
  if (request.picture) PictureFormatOf(*request.picture);
  const PartsQuestion question = QuestionOf(request, args);
  const PartsAnswer answer = FindParts(question.target, question.bench, question.resistors,
                                       question.capacitors, request.count);
  if (request.picture && !answer.choices.empty() &&
      !DrawAndWrite([&](Canvas& c) { DrawHistogram(c, question, answer.choices.front()); },
                    *request.picture, kHistogramWidth, kHistogramHeight, err))
    return ExitStatus::Failed;
  if (request.json) {
    PrintJsonLine(PartsJson(question, answer), out);
  } else {
    out << PartsAnswerText(question, answer);
  }
  return ExitStatus::Success;
}

}  // namespace timer555
