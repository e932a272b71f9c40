#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_check.h"
#include "cli/cli_parts.h"
#include "export/pdf_sheet.h"

namespace timer555 {

// What `export` is asked: the parts question, the parts it builds with (a
// choice of the search, the parts given, or the design's own), the outputs.
struct ExportRequest {
  PartsRequest parts;
  BenchParts bench;
  std::optional<int> choice;
  std::optional<std::string> kicad, bom, sheet;
  std::optional<TimerVariant> timer;
  bool smd = false;
  Paper paper = Paper::A4;
  bool simulate = false;  // the sheet shows the simulated figures and waveform
};
// --choice, --kicad, --bom, --sheet, --paper, --simulate, --timer and --smd.
std::vector<Option> ExportOptions(ExportRequest& request);

// timer555-cli export: the built circuit as a KiCad schematic, a bill of
// materials and a printable design sheet, from a parts choice, the parts
// given, or the design's own.
ExitStatus RunExportCommand(const std::vector<std::string>& args, std::ostream& out,
                            std::ostream& err);

}  // namespace timer555
