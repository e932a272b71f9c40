#include "app/arguments.h"

#ifndef TIMER555_VERSION
#define TIMER555_VERSION "0"
#endif

namespace timer555 {

std::optional<int> HandleWindowArguments(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err) {
  if (args.empty()) return std::nullopt;
  const std::string& first = args.front();
  if (args.size() == 1 && (first == "-h" || first == "--help")) {
    out << "Usage: timer555 [Qt options]\n"
           "\n"
           "Opens the 555 and 556 timer designer window.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Qt's own options, such as -platform NAME or -style NAME, are accepted.\n"
           "timer555-cli designs and draws the pages from the shell.\n";
    return 0;
  }
  if (args.size() == 1 && first == "--version") {
    out << "timer555 " << TIMER555_VERSION << "\n";
    return 0;
  }
  err << "timer555: unknown argument '" << first << "'\nTry 'timer555 --help'.\n";
  return 2;
}

}  // namespace timer555
