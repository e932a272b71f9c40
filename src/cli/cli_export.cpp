#include "cli/cli_export.h"

#include <algorithm>
#include <ctime>

#include "cli/cli_check.h"
#include "cli/cli_design.h"
#include "cli/cli_parts.h"
#include "cli/cli_simulate.h"
#include "cli/output.h"
#include "export/bom.h"
#include "export/kicad_schematic.h"
#include "report/figures.h"

#ifndef TIMER555_VERSION
#define TIMER555_VERSION "0"
#endif

namespace timer555 {

std::vector<Option> ExportOptions(ExportRequest& r) {
  return {
      {{"--choice"},
       "N",
       "build the parts search's choice N (1 is the best)",
       [&r](const std::string& v) { r.choice = static_cast<int>(Whole("--choice", v, 1, 50)); }},
      {{"--kicad"},
       "SCHEMATIC",
       "write the schematic (.kicad_sch, KiCad 6 and later)",
       [&r](const std::string& v) { r.kicad = v; }},
      {{"--bom"},
       "CSV",
       "write the bill of materials (CSV)",
       [&r](const std::string& v) { r.bom = v; }},
      {{"--sheet"},
       "PDF",
       "write the design sheet (PDF, one page)",
       [&r](const std::string& v) { r.sheet = v; }},
      {{"--paper"},
       "SIZE",
       "the sheet's paper: a4 (the default) or letter",
       [&r](const std::string& v) {
         const auto paper = PaperNamed(v);
         if (!paper) throw UsageError("--paper wants a4 or letter, not '" + v + "'");
         r.paper = *paper;
       }},
      {{"--simulate"},
       "",
       "simulate the built circuit with ngspice for the sheet",
       [&r](const std::string&) { r.simulate = true; }},
      {{"--timer"},
       "VARIANT",
       "the timer as a 555 or either 556 half: 555, 556A or 556B",
       [&r](const std::string& v) { r.timer = ParseTimer(v); }},
      {{"--smd"},
       "",
       "surface-mount parts (0805, SOIC) instead of through-hole",
       [&r](const std::string&) { r.smd = true; }}};
}

namespace {

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm day{};
  gmtime_r(&now, &day);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &day);
  return text;
}

// The design's own parts: the window's design for the same figures.
std::optional<DesignSnapshot> OwnParts(const ExportRequest& r, std::ostream& err) {
  DesignRequest design;
  design.kind = r.parts.kind;
  design.frequency = r.parts.frequencyText;
  design.duty = r.parts.dutyText;
  design.pulse = r.parts.pulseText;
  DesignReport report;
  return CalculatedDesign("export", design, report, err);
}

}  // namespace

ExitStatus RunExportCommand(const std::vector<std::string>& args, std::ostream& /*out*/,
                            std::ostream& err) {
  ExportRequest r;
  ParseOptions(args,
               Joined(Joined(PartsOptions(r.parts), BenchPartOptions(r.bench)),
                      Joined(std::vector<Option>{C1TypeOption(r.bench)}, ExportOptions(r))),
               ModeArgument(r.parts.kind));
  if (!r.kicad && !r.bom && !r.sheet)
    throw UsageError("export wants at least one output: --kicad, --bom or --sheet");
  if (r.simulate && !r.sheet) throw UsageError("--simulate goes with --sheet");
  if (r.choice && (r.bench.r1 || r.bench.r2 || r.bench.c1))
    throw UsageError("export takes --choice or --r1, --r2 and --c1, not both");
  const PartsQuestion question = QuestionOf(r.parts, args);
  DesignSnapshot built = question.target;
  std::optional<CapacitorType> c1Type = r.bench.c1Type;
  if (r.choice) {
    const PartsAnswer answer = FindParts(question.target, question.bench, question.resistors,
                                         question.capacitors, std::max(*r.choice, 5));
    if (static_cast<size_t>(*r.choice) > answer.choices.size()) {
      PrintError(err, "the parts search offers " + std::to_string(answer.choices.size()) +
                          " choices, not " + std::to_string(*r.choice));
      return ExitStatus::Failed;
    }
    const PartsChoice& c = answer.choices[static_cast<size_t>(*r.choice - 1)];
    built = WithParts(question.target, c.c1, c.r1, c.r2, c.capacitor);
    c1Type = c.capacitor;
  } else if (r.bench.r1 || r.bench.c1 || r.bench.r2) {
    if (!r.bench.r1 || !r.bench.c1) throw UsageError("export wants --r1 and --c1 together");
    if (TraitsOf(built.kind).resistorPair && !r.bench.r2)
      throw UsageError("this design wants --r2 as well");
    built = WithBenchParts(WithParts(built, *r.bench.c1, *r.bench.r1,
                                     r.bench.r2.value_or(TraitsOf(built.kind).pullUp)),
                           r.bench);
  } else {
    const auto own = OwnParts(r, err);
    if (!own) return ExitStatus::Failed;
    built = WithParts(question.target, own->c1, own->r1, own->r2);
  }
  BoardOptions options;
  options.family = question.bench.conditions.family;
  options.variant = r.timer.value_or(TimerVariant::Timer555);
  options.capacitor = c1Type;
  options.resistorTolerance = question.bench.tolerance.resistor;
  options.vcc = question.bench.conditions.vcc;
  options.smd = r.smd;
  const Board board = BuildBoard(built, options);
  const SchematicTitle title{
      SheetTitle(built.kind),
      TargetText(question.target) + " at " + ConditionsText(question.bench.conditions),
      TIMER555_VERSION, Today()};
  std::string sheet;
  if (r.sheet) {
    SheetRequest request{question, built, options.variant, std::nullopt, TIMER555_VERSION, Today()};
    request.built.capacitor = c1Type;
    if (r.simulate) {
      request.simulation =
          SimulateInterruptibly(request.built, question.bench.conditions, kSimulationSeconds);
      if (request.simulation->error) {
        PrintError(err, *request.simulation->error);
        return ExitStatus::Failed;
      }
    }
    sheet = DesignSheetPdf(request, r.paper);
  }
  const std::pair<const std::optional<std::string>&, std::string> files[] = {
      {r.kicad, r.kicad ? KicadSchematic(board, title) : ""},
      {r.bom, r.bom ? BomCsv(board) : ""},
      {r.sheet, sheet}};
  for (const auto& [path, text] : files) {
    if (!path) continue;
    if (!WriteOutput(*path, text, err)) return ExitStatus::Failed;
  }
  return ExitStatus::Success;
}

}  // namespace timer555
