#pragma once

#include <optional>
#include <string>

#include "export/sheet.h"

namespace timer555 {

enum class Paper { A4, Letter };
// "a4" or "letter", in any case.
std::optional<Paper> PaperNamed(const std::string& name);

// The design sheet as one page of a PDF file: the schematic as the program
// draws it, the parts, the timings, the figures, the yield's histogram, the
// waveform, the warnings and the conditions. Texts stay text and the
// pictures vectors.
std::string DesignSheetPdf(const SheetRequest& request, Paper paper);

}  // namespace timer555
