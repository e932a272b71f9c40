#include "components/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "components/error_text.h"

namespace timer555 {

std::optional<std::string> StandardOutputFailure() {
  std::cout.flush();
  errno = 0;
  int reason = std::fflush(stdout) != 0 ? errno : 0;
  if (!std::ferror(stdout) && !std::cout.fail()) return std::nullopt;
  // A write that failed earlier took its reason with it: one byte more, lost
  // as the rest was, asks the descriptor again.
  if (reason == 0) {
    errno = 0;
    if (::write(STDOUT_FILENO, "\n", 1) < 0) reason = errno;
  }
  return std::string("cannot write standard output: ") +
         (reason != 0 ? ErrorText(reason) : "write error");
}

}  // namespace timer555
