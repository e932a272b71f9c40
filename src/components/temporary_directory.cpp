#include "components/temporary_directory.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "components/error_text.h"

namespace timer555 {

TemporaryDirectory::TemporaryDirectory(const std::string& prefix) {
  // Asked on the thread that makes the folder; the program never changes
  // TMPDIR.
  const char* base = std::getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe)
  folder_ = base && *base ? base : "/tmp";
  std::string pattern = folder_ + "/" + prefix + "-XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) {
    path_ = pattern;
  } else {
    error_ = errno;
  }
}

std::string TemporaryDirectory::Failure(const std::string& purpose) const {
  return "cannot make a temporary folder for " + purpose + " in '" + folder_ +
         "': " + ErrorText(error_);
}

TemporaryDirectory::~TemporaryDirectory() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace timer555
