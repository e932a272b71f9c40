#pragma once

#include <optional>
#include <string>

namespace timer555 {

// Flushes standard output and says why what was written to it did not reach
// it ("cannot write standard output: No space left on device"), or nothing
// where it did. A program that printed its answer and exits 0 must know.
std::optional<std::string> StandardOutputFailure();

}  // namespace timer555
