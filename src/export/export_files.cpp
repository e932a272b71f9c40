#include "export/export_files.h"

#include <ctime>

#include "export/board.h"
#include "export/bom.h"
#include "export/kicad_schematic.h"
#include "report/figures.h"

#ifndef TIMER555_VERSION
#define TIMER555_VERSION "0"
#endif

namespace timer555 {

std::string ProgramVersion() {
  return TIMER555_VERSION;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm day{};
  gmtime_r(&now, &day);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &day);
  return text;
}

std::string ExportedBytes(const ExportJob& job, ExportFile file) {
  const SheetRequest& s = job.sheet;
  if (file == ExportFile::Sheet) return DesignSheetPdf(s, job.paper);
  const Conditions& at = s.question.bench.conditions;
  const Board board = BuildBoard(s.built, BoardOptionsOf(s, job.smd));
  if (file == ExportFile::Bom) return BomCsv(board);
  return KicadSchematic(
      board, {SheetTitle(s.built.kind), TargetText(s.question.target) + " at " + ConditionsText(at),
              s.version, s.date});
}

}  // namespace timer555
