#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "render/canvas.h"

namespace timer555 {

inline constexpr const char* kProgram = "timer555-cli";

// "timer555-cli: error: MESSAGE" on its own line.
void PrintError(std::ostream& err, const std::string& message);

// Writes a file the user named through the one atomic path: the old file
// survives any failure, which is reported ("cannot write 'FILE': REASON").
bool WriteOutput(const std::string& file, std::string_view bytes, std::ostream& err);

// The page area's size in pixels: every page is drawn at it.
int PageWidth();
int PageHeight();

// A picture's format from the file's extension; a usage error for any other.
enum class PictureFormat { Png, Svg };
PictureFormat PictureFormatOf(const std::string& file);

// A drawing that may fail part-way (TimerError); what was drawn is still written.
using Drawing = std::function<void(Canvas&)>;

// Draws onto a white `width` x `height` page in the file's format and writes
// it; the drawing's error, if any, is reported after the file is written.
// Returns false on either failure.
bool DrawAndWrite(const Drawing& draw, const std::string& file, int width, int height,
                  std::ostream& err);

}  // namespace timer555
