#pragma once

#include <string>

#include "export/pdf_sheet.h"
#include "export/sheet.h"

namespace timer555 {

// Everything an export writes from: the sheet's question, parts, timer,
// simulation, version and day, and how the board is bought and printed.
struct ExportJob {
  SheetRequest sheet;
  bool smd = false;
  Paper paper = Paper::A4;
};

enum class ExportFile { Kicad, Bom, Sheet };

// The bytes of one output: the KiCad schematic, the bill of materials (CSV)
// or the design sheet (PDF).
std::string ExportedBytes(const ExportJob& job, ExportFile file);

// The program's version and today's date ("2026-12-10", UTC), as exports
// stamp them.
std::string ProgramVersion();
std::string Today();

}  // namespace timer555
