#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace timer555 {

// Writes `bytes` to `path` so that afterwards the file holds either all of
// them or what it held before, never a part: a temporary file in the same
// folder, every write, the flush to disk and the close checked, then renamed
// over the target. A device or pipe (/dev/stdout, /dev/full) is written in
// place, every write checked. A symbolic link is followed, so the link stays.
// Returns "cannot write 'PATH': REASON" with the system's reason on failure.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace timer555
