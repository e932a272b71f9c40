#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/options.h"
#include "simulation/ngspice.h"

namespace timer555 {

// The options only `simulate` has: --netlist, -o and --time-limit.
std::vector<Option> SimulateOptions(std::optional<std::string>& netlist,
                                    std::optional<std::string>& picture, double& seconds);

// The signal (SIGINT, SIGTERM, SIGHUP) that cancelled a simulation, or 0:
// the program ends by it once everything it made is removed.
int InterruptingSignal();

// ngspice on the circuit, ended by SIGINT, SIGTERM or SIGHUP (and then
// InterruptingSignal() says which) or after `seconds`.
SimulationResult SimulateInterruptibly(const DesignSnapshot& design, const Conditions& conditions,
                                       double seconds);

// timer555-cli simulate: the design's steps, then ngspice on its circuit.
// Exit 1 with the message where ngspice is missing or fails.
ExitStatus RunSimulateCommand(const std::vector<std::string>& args, std::ostream& out,
                              std::ostream& err);

}  // namespace timer555
