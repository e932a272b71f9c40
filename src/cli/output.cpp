#include "cli/output.h"

#include <memory>
#include <optional>

#include "app/layout.h"
#include "cli/cli_design.h"
#include "cli/options.h"
#include "components/atomic_file.h"
#include "render/checked.h"
#include "render/qt_canvas.h"
#include "render/svg_canvas.h"
#include "state/global.h"

namespace timer555 {

void PrintError(std::ostream& err, const std::string& message) {
  err << kProgram << ": error: " << message << "\n";
}

bool WriteOutput(const std::string& file, std::string_view bytes, std::ostream& err) {
  if (const auto failure = WriteFileAtomically(file, bytes)) {
    PrintError(err, *failure);
    return false;
  }
  return true;
}

int PageWidth() {
  return MainWindowLayout()[LayoutControl::Image2].scaled.width;
}

int PageHeight() {
  return MainWindowLayout()[LayoutControl::Image2].scaled.height;
}

PictureFormat PictureFormatOf(const std::string& file) {
  if (EndsWithNoCase(file, ".png")) return PictureFormat::Png;
  if (EndsWithNoCase(file, ".svg")) return PictureFormat::Svg;
  throw UsageError("the output file must end in .png or .svg: '" + file + "'");
}

bool DrawAndWrite(const Drawing& draw, const std::string& file, int width, int height,
                  std::ostream& err) {
  const PictureFormat format = PictureFormatOf(file);
  std::unique_ptr<Canvas> canvas;
  if (format == PictureFormat::Png) {
    canvas = std::make_unique<QtCanvas>(width, height);
  } else {
    canvas = std::make_unique<SvgCanvas>(width, height);
  }
  std::optional<std::string> failure;
  try {
    draw(*canvas);
  } catch (const TimerError& e) {
    failure = e.what();
  }
  const std::string bytes = format == PictureFormat::Png
                                ? PngBytes(static_cast<QtCanvas&>(*canvas).Image())
                                : static_cast<SvgCanvas&>(*canvas).Document();
  if (!WriteOutput(file, bytes, err)) return false;
  if (failure) {
    PrintError(err, *failure);
    return false;
  }
  return true;
}

}  // namespace timer555
