#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace timer555 {

// The window program's own arguments: --help and --version answer without a
// display; anything else left after Qt took its options is a usage error.
// Returns the exit status when the program should end now.
std::optional<int> HandleWindowArguments(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err);

}  // namespace timer555
