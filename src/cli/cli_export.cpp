#include "cli/cli_export.h"

#include <algorithm>

#include "cli/cli_check.h"
#include "cli/cli_design.h"
#include "cli/cli_parts.h"
#include "cli/cli_simulate.h"
#include "cli/output.h"
#include "export/export_files.h"
#include "report/figures.h"

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

// The parts the board is built with (C1's kind as its capacitor): the
// search's choice, the parts given, or the design's own.
std::optional<DesignSnapshot> BuiltParts(const ExportRequest& r, const PartsQuestion& question,
                                         std::ostream& err) {
  DesignSnapshot built = question.target;
  std::optional<CapacitorType> c1Type = r.bench.c1Type;
  if (r.choice) {
    const PartsAnswer answer = FindParts(question.target, question.bench, question.resistors,
                                         question.capacitors, std::max(*r.choice, 5));
    if (static_cast<size_t>(*r.choice) > answer.choices.size()) {
      PrintError(err, "the parts search offers " + std::to_string(answer.choices.size()) +
                          " choices, not " + std::to_string(*r.choice));
      return std::nullopt;
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
    if (!own) return std::nullopt;
    built = WithParts(question.target, own->c1, own->r1, own->r2);
  }
  built.capacitor = c1Type;
  return built;
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
  const auto built = BuiltParts(r, question, err);
  if (!built) return ExitStatus::Failed;
  ExportJob job;
  job.sheet = {question,     *built,           r.timer.value_or(TimerVariant::Timer555),
               std::nullopt, ProgramVersion(), Today()};
  job.smd = r.smd;
  job.paper = r.paper;
  if (r.simulate) {
    job.sheet.simulation =
        SimulateInterruptibly(job.sheet.built, question.bench.conditions, kSimulationSeconds);
    if (job.sheet.simulation->error) {
      PrintError(err, *job.sheet.simulation->error);
      return ExitStatus::Failed;
    }
  }
  const std::pair<const std::optional<std::string>&, ExportFile> files[] = {
      {r.kicad, ExportFile::Kicad}, {r.bom, ExportFile::Bom}, {r.sheet, ExportFile::Sheet}};
  for (const auto& [path, file] : files) {
    if (path && !WriteOutput(*path, ExportedBytes(job, file), err)) return ExitStatus::Failed;
  }
  return ExitStatus::Success;
}

}  // namespace timer555
