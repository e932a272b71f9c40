#include "cli/cli_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/cli.h"
#include "format/engineering.h"

namespace timer555 {

namespace {

// A number from the command line, locale-free; finite and within [lo, hi].
double Real(const std::string& option, const std::string& text, double lo, double hi,
            const char* what) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v) ||
      v < lo || v > hi) {
    throw UsageError(option + " wants " + what + ", not '" + text + "'");
  }
  return v;
}

// "A,B" as two numbers.
std::pair<double, double> Pair(const std::string& option, const std::string& text, double lo,
                               double hi, const char* what) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos)
    throw UsageError(option + " wants " + what + ", not '" + text + "'");
  return {Real(option, text.substr(0, comma), lo, hi, what),
          Real(option, text.substr(comma + 1), lo, hi, what)};
}

QJsonValue Range(const std::optional<Band>& b) {
  if (!b) return QJsonValue();
  return QJsonArray{JsonNumber(b->min), JsonNumber(b->max)};
}

QJsonObject ChoiceJson(const DesignSnapshot& s, const StandardChoice& c) {
  const bool oneShot = s.mode == 4;
  return {{"r1_ohm", JsonNumber(c.r1)},
          {"r2_ohm", JsonNumber(c.r2)},
          {"frequency_hz", JsonNumber(c.ideal.frequency)},
          {"duty_cycle", JsonNumber(c.ideal.dutyCycle)},
          {"t_high_s", JsonNumber(c.ideal.tHigh)},
          {"frequency_error", oneShot ? QJsonValue() : JsonNumber(c.frequencyError)},
          {"duty_error", oneShot ? QJsonValue() : JsonNumber(c.dutyError)},
          {"pulse_error", oneShot ? JsonNumber(c.frequencyError) : QJsonValue()},
          {"warnings", c.warnings}};
}

void PrintJson(const DesignSnapshot& s, const CheckSettings& settings, const CheckReport& r,
               std::ostream& out) {
  QJsonArray warnings, choices;
  for (const Warning& w : r.warnings)
    warnings.append(QJsonObject{{"code", QString::fromStdString(w.code)},
                                {"message", QString::fromStdString(w.message)}});
  for (const StandardChoice& c : r.choices)
    choices.append(ChoiceJson(s, c));
  const QJsonObject conditions{{"vcc", JsonNumber(settings.conditions.vcc)},
                               {"family", Parameters(settings.conditions.family).name},
                               {"series", QString::fromStdString(SeriesName(settings.series))}};
  const QJsonObject parts{{"r1_ohm", JsonNumber(s.r1)},
                          {"r2_ohm", s.mode == 4 ? QJsonValue() : JsonNumber(s.r2)},
                          {"c1_farad", JsonNumber(s.c1)}};
  const QJsonObject tolerance{{"frequency_hz", Range(r.band.frequency)},
                              {"duty_cycle", Range(r.band.dutyCycle)},
                              {"t_high_s", Range(r.band.tHigh)},
                              {"stopped_corners", r.band.stopped}};
  PrintJsonLine(QJsonObject{{"mode", s.mode},
                            {"conditions", conditions},
                            {"parts", parts},
                            {"ideal", TimingJson(r.ideal)},
                            {"predicted", TimingJson(r.predicted)},
                            {"warnings", warnings},
                            {"standard_values", choices},
                            {"tolerance", tolerance}},
                out);
}

// `text` and blanks to `width` characters (UTF-8 counted as characters), at
// least one blank after it.
std::string Padded(const std::string& text, size_t width) {
  const size_t shown = static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  return text + std::string(shown < width ? width - shown : 1, ' ');
}

void PrintText(const DesignReport& design, const DesignSnapshot& s, const CheckSettings& settings,
               const CheckReport& r, std::ostream& out) {
  const Conditions& c = settings.conditions;
  out << design.title << " at " << FixedText(c.vcc, 1) << " V, " << Parameters(c.family).name
      << " timer\n";
  out << "R1 " << EngineeringText(s.r1, "\u03a9");
  if (s.mode != 4) out << ", R2 " << EngineeringText(s.r2, "\u03a9");
  out << ", C1 " << EngineeringText(s.c1, "F") << "\n\n";
  out << "                ideal          built circuit\n";
  const auto row = [&](const char* name, double ideal, double real, const char* unit,
                       bool relative) {
    out << Padded(name, 16) << Padded(EngineeringText(ideal, unit), 15)
        << EngineeringText(real, unit);
    if (relative && ideal != 0 && real != 0 && std::isfinite(real))
      out << "  (" << (real >= ideal ? "+" : "") << FixedText((real / ideal - 1) * 100, 1) << " %)";
    out << "\n";
  };
  if (s.mode == 4) {
    row("Pulse", r.ideal.tHigh, r.predicted.tHigh, "s", true);
  } else {
    row("Frequency", *r.ideal.frequency, *r.predicted.frequency, "Hz", true);
    const std::string idealDuty = FixedText(*r.ideal.dutyCycle * 100, 1) + " %";
    const double duty = r.predicted.dutyCycle.value_or(NAN);
    out << Padded("Duty cycle", 16) << Padded(idealDuty, 15)
        << (std::isfinite(duty) ? FixedText(duty * 100, 1) + " %" : "-") << "\n";
    row("High time", r.ideal.tHigh, r.predicted.tHigh, "s", true);
    row("Low time", *r.ideal.tLow, *r.predicted.tLow, "s", true);
    row("First high", r.ideal.firstTHigh, r.predicted.firstTHigh, "s", true);
  }
  out << "\n";
  if (r.warnings.empty()) {
    out << "No warnings.\n";
  } else {
    out << "Warnings:\n";
    for (const Warning& w : r.warnings)
      out << "  " << w.code << ": " << w.message << "\n";
  }
  out << "\nStandard values (" << SeriesName(settings.series)
      << ") for C1 = " << EngineeringText(s.c1, "F") << ", best first:\n";
  for (const StandardChoice& ch : r.choices) {
    out << "  R1 " << EngineeringText(ch.r1, "\u03a9");
    if (ch.r2 && s.mode != 2) out << ", R2 " << EngineeringText(*ch.r2, "\u03a9");
    if (s.mode == 4) {
      out << ": " << EngineeringText(ch.ideal.tHigh, "s") << ", error "
          << FixedText(ch.frequencyError * 100, 2) << " %";
    } else {
      out << ": " << EngineeringText(*ch.ideal.frequency, "Hz") << ", "
          << FixedText(*ch.ideal.dutyCycle * 100, 1) << " %, error "
          << FixedText(ch.Score() * 100, 2) << " %";
    }
    if (ch.warnings) out << " (" << ch.warnings << (ch.warnings == 1 ? " warning)" : " warnings)");
    out << "\n";
  }
  const ToleranceSpec& t = settings.tolerance;
  out << "\nWorst case with R " << FixedText(t.resistor * 100, 1) << " %, C "
      << FixedText(t.capacitor * 100, 1) << " %, " << FixedText(t.minCelsius, 0) << " to "
      << FixedText(t.maxCelsius, 0) << " \u00b0C:\n";
  out << "  " << WorstCaseText(r.band, s.mode == 4) << "\n";
}

}  // namespace

std::vector<Option> ConditionOptions(Conditions& c) {
  return {
      {{"--vcc"},
       "VOLTS",
       "supply voltage (default 9)",
       [&c](const std::string& v) {
         c.vcc = Real("--vcc", v, 0.1, 100, "a supply voltage in volts");
       }},
      {{"--family"},
       "FAMILY",
       "bipolar (NE555 class, the default) or cmos (7555 class)",
       [&c](const std::string& v) {
         if (v == "bipolar") {
           c.family = TimerFamily::Bipolar;
         } else if (v == "cmos") {
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
         const auto series = SeriesNamed(v);
         if (!series) throw UsageError("--series wants E6, E12, E24, E48 or E96, not '" + v + "'");
         s.series = *series;
       }},
      {{"--tolerance"},
       "R,C",
       "part tolerances in % (default 5,10)",
       [&s](const std::string& v) {
         const auto [r, c] =
             Pair("--tolerance", v, 0, 50, "two tolerances in % from 0 to 50 (R,C)");
         s.tolerance.resistor = r / 100;
         s.tolerance.capacitor = c / 100;
       }},
      {{"--temperature"},
       "MIN,MAX",
       "temperature range in degrees C (default 0,70)",
       [&s](const std::string& v) {
         const auto [lo, hi] =
             Pair("--temperature", v, -55, 150, "two temperatures from -55 to 150 C (MIN,MAX)");
         if (lo > hi)
           throw UsageError("--temperature wants MIN,MAX with MIN at most MAX, not '" + v + "'");
         s.tolerance.minCelsius = lo;
         s.tolerance.maxCelsius = hi;
       }},
  };
}

Option JsonOption(bool& json) {
  return {{"--json"},
          "",
          "print one JSON object (duty_cycle as a fraction)",
          [&json](const std::string&) { json = true; }};
}

QJsonValue JsonNumber(double v) {
  return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QJsonValue JsonNumber(const std::optional<double>& v) {
  return v ? JsonNumber(*v) : QJsonValue();
}

QJsonObject TimingJson(const Timing& t) {
  return {{"frequency_hz", JsonNumber(t.frequency)},
          {"duty_cycle", JsonNumber(t.dutyCycle)},
          {"t_high_s", JsonNumber(t.tHigh)},
          {"t_low_s", JsonNumber(t.tLow)},
          {"first_t_high_s", JsonNumber(t.firstTHigh)}};
}

void PrintJsonLine(const QJsonObject& object, std::ostream& out) {
  out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << "\n";
}

int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DesignRequest request;
  CheckSettings settings;
  bool json = false;
  std::vector<Option> options = DesignOptions(request);
  for (Option& o : ConditionOptions(settings.conditions))
    options.push_back(std::move(o));
  for (Option& o : CheckOptions(settings))
    options.push_back(std::move(o));
  options.push_back(JsonOption(json));
  ParseOptions(args, options, [&](const std::string& a) {
    if (request.mode != 0) throw UsageError("unexpected argument '" + a + "'");
    request.mode = ParseDesignMode(a);
  });
  DesignReport design;
  const auto calculated = CalculatedDesign("check", request, design, err);
  if (!calculated) return 1;
  const DesignSnapshot& snapshot = *calculated;
  const CheckReport report = RunCheck(snapshot, settings);
  if (json) {
    PrintJson(snapshot, settings, report, out);
  } else {
    PrintText(design, snapshot, settings, report, out);
  }
  return 0;
}

}  // namespace timer555
