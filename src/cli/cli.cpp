#include "cli/cli.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "app/layout.h"
#include "app/pages.h"
#include "cli/cli_check.h"
#include "cli/cli_design.h"
#include "cli/cli_export.h"
#include "cli/cli_parts.h"
#include "cli/cli_simulate.h"
#include "cli/options.h"
#include "cli/output.h"
#include "components/holders.h"
#include "design/application_pages.h"
#include "design/data_pages.h"
#include "render/checked.h"
#include "render/draw555.h"
#include "render/measuring_canvas.h"
#include "render/qt_canvas.h"
#include "render/svg_canvas.h"
#include "state/global.h"

#ifndef TIMER555_VERSION
#define TIMER555_VERSION "0"
#endif

namespace timer555 {

namespace {

// Every page is drawn at the page area's size.
ExitStatus DrawPage(const Drawing& draw, const std::string& file, std::ostream& err) {
  return DrawAndWrite(draw, file, PageWidth(), PageHeight(), err) ? ExitStatus::Success
                                                                  : ExitStatus::Failed;
}

Drawing PageDrawing(const std::string& page) {
  static const StringHolders holders = LoadBuiltinHolders();
  if (page == "start") return [](Canvas& c) { DrawStartPage(c); };
  if (page == "designs") return [](Canvas& c) { DrawDesignSelection(c, holders.SHDesign); };
  if (page == "applications") return [](Canvas& c) { DrawApplicationList(c, holders.SHApps); };
  if (page == "data") return [](Canvas& c) { DrawDataList(c); };
  if (page == "help") return [](Canvas& c) { DrawTextPage(c, holders.SHHelp); };
  if (page == "companion") return [](Canvas& c) { DrawTextPage(c, holders.SH_Quellbox); };
  // The reference pages are drawn over the list they are picked from, as in the window.
  if (page == "components" || page == "specifications") {
    return [page](Canvas& c) {
      DrawDataList(c);
      if (page == "components") {
        ShowComponentPage(c, holders);
      } else {
        ShowSpecificationPage(c, holders);
      }
    };
  }
  if (page.rfind("app", 0) == 0 && page.size() <= 5) {
    int k = 0;
    const auto [end, ec] = std::from_chars(page.data() + 3, page.data() + page.size(), k);
    if (ec == std::errc() && end == page.data() + page.size() && k >= 1 && k <= 14) {
      return [k](Canvas& c) {
        StringHolders working = holders;
        DrawApplicationList(c, working.SHApps);
        Global::Page().PageMode = PageMode::Other;
        Global::Page().ApplicationIndex = k;
        ShowApplicationPage(c, working);
      };
    }
  }
  throw UsageError("unknown page '" + page + "'");
}

double ParseValue(const std::string& name, const std::string& text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec == std::errc() && end == text.data() + text.size() && !text.empty()) return v;
  // Engineering and RKM notation alike: 4.7k, 4k7, 1n5.
  if (const std::optional<double> part = ParsePartValue(text)) return *part;
  throw UsageError("--set " + name + ": '" + text + "' is not a number");
}

void ApplySet(const std::string& assignment) {
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos) throw UsageError("--set wants NAME=VALUE, not '" + assignment + "'");
  const std::string name = assignment.substr(0, eq);
  const double value = ParseValue(name, assignment.substr(eq + 1));
  TimerDesignState& d = Global::TimerDesign();
  double* target = name == "R1"   ? &d.R1
                   : name == "R2" ? &d.R2
                   : name == "R3" ? &d.R3
                   : name == "C1" ? &d.C1
                   : name == "C2" ? &d.C2
                   : name == "C3" ? &d.C3
                   : name == "C4" ? &d.C4
                                  : nullptr;
  if (!target) throw UsageError("--set: unknown part '" + name + "' (R1, R2, R3, C1 ... C4)");
  *target = value;
}

// A stored script is ten lines of 59 characters; 64 KiB leaves room for any
// hand-written one and keeps a run within a second whatever file is given.
constexpr std::streamsize kMaxScriptBytes = 64 * 1024;

std::vector<std::string> ReadScript(const std::string& file) {
  std::ifstream f(file, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read '" + file + "'");
  std::string bytes(static_cast<size_t>(kMaxScriptBytes) + 1, '\0');
  f.read(bytes.data(), kMaxScriptBytes + 1);
  if (f.bad()) throw std::runtime_error("cannot read '" + file + "'");
  bytes.resize(static_cast<size_t>(f.gcount()));
  if (f.gcount() > kMaxScriptBytes) {
    throw std::runtime_error("'" + file + "' is larger than a script can be (64 KiB)");
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool IsDesignPage(const std::string& a) {
  return a.size() == 7 && a.rfind("design", 0) == 0 && a[6] >= '1' && a[6] <= '4';
}

// The options of `render --script`.
struct ScriptRequest {
  std::optional<std::string> script;
  std::vector<std::string> sets;
  std::optional<TimerVariant> timer;
  bool values = false;
};

std::vector<Option> ScriptOptions(ScriptRequest& r) {
  return {
      {{"--values"},
       "",
       "print the part values beside the parts",
       [&r](const std::string&) { r.values = true; }},
      {{"--set"},
       "NAME=VALUE",
       "R1, R2, R3 in ohms, C1 ... C4 in farads",
       [&r](const std::string& v) { r.sets.push_back(v); },
       {},
       true},
      {{"--timer"},
       "VARIANT",
       "draw the chip as a 555 or either 556 half",
       [&r](const std::string& v) { r.timer = ParseTimer(v); }},
  };
}

Option OutputOption(std::optional<std::string>& output) {
  return {{"-o"},
          "FILE",
          "the picture to write",
          [&output](const std::string& v) { output = v; },
          {"--output"}};
}

std::vector<Option> GeneralOptions() {
  return {{{"-h", "--help"}, "", "show this help and exit", {}},
          {{"--version"}, "", "show the version and exit", {}}};
}

// render designN: the design page, calculated when the request asks for it.
ExitStatus RenderDesign(const std::vector<std::string>& args, std::ostream& err) {
  DesignRequest request;
  std::optional<std::string> output;
  ParseOptions(args, Joined(DesignOptions(request), {OutputOption(output)}),
               [&](const std::string& a) {
                 if (!IsDesignPage(a) || request.kind)
                   throw UsageError("unexpected argument '" + a + "'");
                 request.kind = DesignKindOf(a[6] - '0');
               });
  if (!output) throw UsageError("render wants an output file: -o FILE");
  PictureFormatOf(*output);
  std::optional<std::string> failure;
  const ExitStatus status = DrawPage(
      [&](Canvas& c) {
        DesignReport report;
        failure = RunDesign(request, c, report);
      },
      *output, err);
  if (failure) {
    PrintError(err, *failure);
    return ExitStatus::Failed;
  }
  return status;
}

ExitStatus Render(const std::vector<std::string>& args, std::ostream& err) {
  for (const std::string& a : args) {
    if (IsDesignPage(a)) return RenderDesign(args, err);
  }
  std::optional<std::string> page, output;
  ScriptRequest request;
  const Option script{
      {"--script"}, "FILE", "the circuit script to run", [&request](const std::string& v) {
        request.script = v;
      }};
  ParseOptions(args, Joined(ScriptOptions(request), {script, OutputOption(output)}),
               [&](const std::string& a) {
                 if (page) throw UsageError("unexpected argument '" + a + "'");
                 page = a;
               });
  if (!output) throw UsageError("render wants an output file: -o FILE");
  if (page && request.script) throw UsageError("render takes a PAGE or --script FILE, not both");
  if (!page && !request.script) throw UsageError("render wants a PAGE or --script FILE");
  if (page) {
    if (request.values || !request.sets.empty())
      throw UsageError("--values and --set go with --script");
    const Drawing drawing = PageDrawing(*page);
    Global::Reset();
    if (request.timer) Global::Drawing().TimerVariant = *request.timer;
    return DrawPage(drawing, *output, err);
  }
  PictureFormatOf(*output);  // a usage error before anything is read or set
  Global::Reset();
  for (const std::string& s : request.sets)
    ApplySet(s);
  if (request.timer) Global::Drawing().TimerVariant = *request.timer;
  Global::Page().PageMode = PageMode::Other;
  TStringHolder holder("script");
  try {
    holder.SetStrings(ReadScript(*request.script));
  } catch (const std::runtime_error& e) {
    PrintError(err, e.what());
    return ExitStatus::Failed;
  }
  // A script's error names where it stands: the line and the token in it.
  ScriptPosition position;
  return DrawPage(
      [&](Canvas& c) {
        try {
          DrawCircuit(holder, c, {0, 0, c.Width(), c.Height()}, request.values, &position);
        } catch (const TimerError& e) {
          throw TimerError("line " + std::to_string(position.line) + ", token " +
                           std::to_string(position.token) + ": " + e.what());
        }
      },
      *output, err);
}

ExitStatus Design(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DesignRequest request;
  bool json = false;
  ParseOptions(args, Joined(DesignOptions(request), {JsonOption(json)}),
               ModeArgument(request.kind));
  if (!request.kind) throw UsageError("design wants a MODE");
  MeasuringCanvas page(PageWidth(), PageHeight());
  DesignReport report;
  if (const auto failure = RunDesign(request, page, report)) {
    PrintError(err, *failure);
    return ExitStatus::Failed;
  }
  PrintDesign(report, json, out);
  return ExitStatus::Success;
}

// One command of the command line: its name, the synopsis and description
// --help prints, the options it lists under them (declared where the command
// parses them), and what runs it.
struct Command {
  const char* name;
  std::string usage;
  int column;  // where the listed options' help starts
  std::function<std::vector<Option>()> listed;
  std::function<ExitStatus(const std::vector<std::string>&, std::ostream&, std::ostream&)> run;
};

std::string RenderUsage() {
  return "  render PAGE [--timer VARIANT] -o FILE\n"
         "      Draw a page as the window shows it (" +
         std::to_string(PageWidth()) + " x " + std::to_string(PageHeight()) +
         " pixels).\n"
         "      PAGE is start, designs, applications, data, help, companion,\n"
         "      app1 ... app14, components or specifications; --timer VARIANT\n"
         "      draws the chips of an application as that timer.\n"
         "  render designN [DESIGN OPTIONS] -o FILE\n"
         "      Draw design page N (1 to 4), calculated when options are given.\n"
         "  render --script FILE [--values] [--set NAME=VALUE ...]\n"
         "         [--timer 555|556A|556B] -o FILE\n"
         "      Run a circuit script over a white page.\n";
}

// The commands of the built circuit: the parts for it, and the board.
std::vector<Command> BoardCommands() {
  return {
      {"parts",
       "  parts MODE (-f HZ [-d PERCENT] | -t SECONDS) [PARTS OPTIONS] [--json]\n"
       "      Find standard resistors and capacitors whose built circuit meets the\n"
       "      target inside every limit, best first, with the share of boards that\n"
       "      meet the wanted window over the parts' tolerances, and the exact parts.\n",
       24,
       [] {
         static PartsRequest parts;
         return PartsOptions(parts);
       },
       RunPartsCommand},
      {"export",
       "  export MODE (-f HZ [-d PERCENT] | -t SECONDS) [PARTS OPTIONS]\n"
       "         [--choice N | --r1 OHM [--r2 OHM] --c1 FARAD [--c1-type KIND]]\n"
       "         [--kicad SCHEMATIC] [--bom CSV] [--sheet PDF [--paper SIZE] [--simulate]]\n"
       "         [--timer VARIANT] [--smd]\n"
       "      Write the built circuit as a KiCad schematic, a bill of materials and\n"
       "      a one-page design sheet: the parts search's choice N, the parts\n"
       "      given, or the design's own.\n",
       24,
       [] {
         static ExportRequest request;
         return ExportOptions(request);
       },
       RunExportCommand},
  };
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = Joined(
      std::vector<Command>{
          {"design",
           "  design MODE [DESIGN OPTIONS] [--json]\n"
           "      Design as the window does and print the result: the title, the part\n"
           "      labels with their exact values, the two entry fields and the\n"
           "      waveform's times. MODE is astable-above, astable-square,\n"
           "      astable-below or monostable (or 1 to 4).\n",
           0,
           {},
           Design},
          {"render", RenderUsage(), 18,
           [] {
             static ScriptRequest script;
             return ScriptOptions(script);
           },
           [](const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
             return Render(args, err);
           }},
          {"check",
           "  check MODE [DESIGN OPTIONS] [CHECK OPTIONS] [--json]\n"
           "      Check the design as a built circuit: the timing it really has\n"
           "      (ideal against predicted), the limits it breaks, the best standard\n"
           "      resistors for its C1 and the worst case of the part tolerances.\n",
           23,
           [] {
             static CheckSettings check;
             static BenchParts bench;
             return Joined(Joined(ConditionOptions(check.conditions), CheckOptions(check)),
                           Joined(BenchPartOptions(bench), {C1TypeOption(bench)}));
           },
           RunCheckCommand},
          {"simulate",
           "  simulate MODE [DESIGN OPTIONS] [--vcc VOLTS] [--family FAMILY]\n"
           "           [--r1 OHM] [--r2 OHM] [--c1 FARAD]\n"
           "           [--netlist FILE] [-o FILE] [--time-limit SECONDS] [--json]\n"
           "      Simulate the design's circuit with ngspice and print the simulated\n"
           "      frequency, duty cycle and times beside the ideal and predicted ones.\n"
           "      --vcc, --family, --r1, --r2 and --c1 as for check.\n",
           23,
           [] {
             static std::optional<std::string> netlist, picture;
             static double seconds = 0;
             return SimulateOptions(netlist, picture, seconds);
           },
           RunSimulateCommand}},
      BoardCommands());
  return commands;
}

}  // namespace

namespace {

std::string DesignOptionsHelp() {
  DesignRequest design;
  bool json = false;
  return "Design options, the texts and clicks a user would give the window:\n" +
         OptionHelp(Joined(DesignOptions(design), {JsonOption(json)}), 2, 18);
}

// One command's part of the help: its usage and options, the design options
// where it takes them, and the exit status.
std::string CommandHelp(const Command& command) {
  std::string help = "Usage: " + std::string(kProgram) + " COMMAND [OPTIONS]\n\n" + command.usage;
  if (command.listed) help += OptionHelp(command.listed(), 6, command.column);
  if (command.usage.find("DESIGN OPTIONS") != std::string::npos) help += "\n" + DesignOptionsHelp();
  if (command.usage.find("FILE") != std::string::npos)
    help += "\nFILE ending in .png writes a PNG picture, ending in .svg an SVG drawing.\n";
  return help + "\nExit status: 0 success, 1 the request failed, 2 a usage error.\n";
}

const Command* CommandNamed(const std::string& name) {
  for (const Command& command : Commands())
    if (name == command.name) return &command;
  return nullptr;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin() + 1, args.end(),
                     [](const std::string& a) { return a == "-h" || a == "--help"; });
}

}  // namespace

const std::string& CliHelp() {
  static const std::string text = [] {
    std::string help =
        "Usage: timer555-cli COMMAND [OPTIONS]\n"
        "\n"
        "Designs 555 and 556 timer circuits and draws the designer's pages.\n"
        "\n"
        "Commands:\n";
    for (const Command& command : Commands()) {
      help += command.usage;
      if (command.listed) help += OptionHelp(command.listed(), 6, command.column);
    }
    return help + "\n" + DesignOptionsHelp() +
           "\n"
           "FILE ending in .png writes a PNG picture, ending in .svg an SVG drawing.\n"
           "\n"
           "Options:\n" +
           OptionHelp(GeneralOptions(), 2, 15) +
           "\n"
           "Exit status: 0 success, 1 the request failed, 2 a usage error.\n";
  }();
  return text;
}

ExitStatus RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    if (args.empty()) throw UsageError("no command given");
    const std::string& name = args[0];
    if (name == "-h" || name == "--help") {
      out << CliHelp();
      return ExitStatus::Success;
    }
    if (name == "--version") {
      out << kProgram << " " << TIMER555_VERSION << "\n";
      return ExitStatus::Success;
    }
    // "help COMMAND" and "COMMAND --help": that command's part of the help.
    if (name == "help") {
      if (args.size() == 1) {
        out << CliHelp();
        return ExitStatus::Success;
      }
      const Command* command = CommandNamed(args[1]);
      if (command == nullptr || args.size() > 2)
        throw UsageError("help wants one command (design, render, check, simulate, parts), not '" +
                         args[1] + "'");
      out << CommandHelp(*command);
      return ExitStatus::Success;
    }
    if (const Command* command = CommandNamed(name)) {
      if (AsksForHelp(args)) {
        out << CommandHelp(*command);
        return ExitStatus::Success;
      }
      return command->run({args.begin() + 1, args.end()}, out, err);
    }
    throw UsageError("unknown command '" + name + "'");
  } catch (const UsageError& e) {
    PrintError(err, e.what());
    err << "Try '" << kProgram << " --help'.\n";
    return ExitStatus::Usage;
  }
}

}  // namespace timer555
