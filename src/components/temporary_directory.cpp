#include "components/temporary_directory.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace timer555 {

TemporaryDirectory::TemporaryDirectory(const std::string& prefix) {
  const char* base = std::getenv("TMPDIR");
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
         "': " + std::strerror(error_);
}

TemporaryDirectory::~TemporaryDirectory() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace timer555
