#include "cli/cli_simulate.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>

#include "cli/cli_check.h"
#include "cli/cli_design.h"
#include "format/engineering.h"
#include "render/qt_canvas.h"
#include "render/svg_canvas.h"
#include "simulation/ngspice.h"
#include "simulation/wave_picture.h"

namespace timer555 {

namespace {

constexpr int kPictureWidth = 650;
constexpr int kPictureHeight = 308;

std::string Hertz(double v) {
  if (!std::isfinite(v)) return "-";
  if (v >= 1e6) return FixedText(v / 1e6, 4) + " MHz";
  if (v >= 1e3) return FixedText(v / 1e3, 4) + " kHz";
  return FixedText(v, 3) + " Hz";
}

std::string Cell(const std::string& text, size_t width = 16) {
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string SimulatedJson(const DesignSnapshot& d, const Timing& t) {
  if (d.mode == 4) return "{\"t_high_s\": " + Number(t.tHigh) + "}";
  return "{\"frequency_hz\": " + Number(t.frequency.value_or(NAN)) +
         ", \"duty_cycle\": " + Number(t.dutyCycle.value_or(NAN)) +
         ", \"t_high_s\": " + Number(t.tHigh) + ", \"t_low_s\": " + Number(t.tLow.value_or(NAN)) +
         ", \"first_t_high_s\": " + Number(t.firstTHigh) + "}";
}

bool WritePicture(const std::string& file, const DesignSnapshot& d, const Conditions& c,
                  const SimulationResult& r) {
  if (EndsWithNoCase(file, ".png")) {
    QtCanvas canvas(kPictureWidth, kPictureHeight);
    DrawSimulatedWave(canvas, d, c, r);
    return canvas.Image().save(QString::fromStdString(file), "PNG");
  }
  SvgCanvas canvas(kPictureWidth, kPictureHeight);
  DrawSimulatedWave(canvas, d, c, r);
  std::ofstream f(file, std::ios::binary | std::ios::trunc);
  f << canvas.Document();
  f.close();
  return static_cast<bool>(f);
}

}  // namespace

int RunSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DesignRequest request;
  Conditions conditions;
  bool json = false;
  std::optional<std::string> netlistFile, picture;
  std::vector<Option> options = DesignOptions(request);
  for (Option& o : ConditionOptions(conditions))
    options.push_back(std::move(o));
  options.push_back(
      {{"--netlist"}, "FILE", "write the netlist and do not run", [&](const std::string& v) {
         netlistFile = v;
       }});
  options.push_back({{"-o"}, "FILE", "", [&](const std::string& v) { picture = v; }, {"--output"}});
  options.push_back({{"--json"}, "", "", [&json](const std::string&) { json = true; }});
  ParseOptions(args, options, [&](const std::string& a) {
    if (request.mode != 0) throw UsageError("unexpected argument '" + a + "'");
    request.mode = ParseDesignMode(a);
  });
  if (picture && !EndsWithNoCase(*picture, ".png") && !EndsWithNoCase(*picture, ".svg"))
    throw UsageError("the output file must end in .png or .svg: '" + *picture + "'");
  DesignReport design;
  const auto calculated = CalculatedDesign("simulate", request, design, err);
  if (!calculated) return 1;
  const DesignSnapshot& snapshot = *calculated;
  if (netlistFile) {
    std::ofstream f(*netlistFile, std::ios::binary | std::ios::trunc);
    f << Netlist(snapshot, conditions, PlanSimulation(snapshot, conditions));
    f.close();
    if (!f) {
      err << "timer555-cli: error: cannot write '" << *netlistFile << "'\n";
      return 1;
    }
    return 0;
  }
  const SimulationResult result = Simulate(snapshot, conditions);
  if (result.error) {
    err << "timer555-cli: error: " << *result.error << "\n";
    return 1;
  }
  const Timing ideal = IdealTiming(snapshot);
  const Timing predicted = PredictTiming(snapshot, conditions);
  if (picture && !WritePicture(*picture, snapshot, conditions, result)) {
    err << "timer555-cli: error: cannot write '" << *picture << "'\n";
    return 1;
  }
  if (json) {
    out << "{\"mode\": " << snapshot.mode << ", \"vcc\": " << Number(conditions.vcc)
        << ", \"family\": " << Quoted(Parameters(conditions.family).name)
        << ", \"ideal\": " << TimingJson(ideal) << ", \"predicted\": " << TimingJson(predicted)
        << ", \"simulated\": " << SimulatedJson(snapshot, result.simulated)
        << ", \"seconds\": " << Number(result.seconds) << "}\n";
    return 0;
  }
  out << design.title << " at " << FixedText(conditions.vcc, 1) << " V, "
      << Parameters(conditions.family).name << " timer, simulated by ngspice in "
      << FixedText(result.seconds, 2) << " s\n\n";
  out << Cell("") << Cell("ideal") << Cell("predicted") << "simulated\n";
  const auto times = [&](const char* name, double a, double b, double c) {
    out << Cell(name) << Cell(TimeText(a, 5)) << Cell(TimeText(b, 5)) << TimeText(c, 5) << "\n";
  };
  if (snapshot.mode == 4) {
    times("Pulse", ideal.tHigh, predicted.tHigh, result.simulated.tHigh);
    return 0;
  }
  out << Cell("Frequency") << Cell(Hertz(*ideal.frequency))
      << Cell(Hertz(predicted.frequency.value_or(NAN))) << Hertz(*result.simulated.frequency)
      << "\n";
  out << Cell("Duty cycle") << Cell(FixedText(*ideal.dutyCycle * 100, 2) + " %")
      << Cell(FixedText(predicted.dutyCycle.value_or(NAN) * 100, 2) + " %")
      << FixedText(*result.simulated.dutyCycle * 100, 2) << " %\n";
  times("High time", ideal.tHigh, predicted.tHigh, result.simulated.tHigh);
  times("Low time", *ideal.tLow, predicted.tLow.value_or(NAN), *result.simulated.tLow);
  times("First high", ideal.firstTHigh, predicted.firstTHigh, result.simulated.firstTHigh);
  return 0;
}

}  // namespace timer555
