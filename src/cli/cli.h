#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace timer555 {

// Exit statuses of timer555-cli.
enum class ExitStatus { Success = 0, Failed = 1, Usage = 2 };

// Runs timer555-cli with its arguments (without the program name). Needs a
// QGuiApplication for text metrics; writes only the files it is asked to.
ExitStatus RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text --help prints.
const std::string& CliHelp();

}  // namespace timer555
