#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace timer555 {

// timer555-cli simulate: the design's steps, then ngspice on its circuit.
// Exit 1 with the message where ngspice is missing or fails.
int RunSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace timer555
