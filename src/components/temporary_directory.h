#pragma once

#include <string>

namespace timer555 {

// A private folder (mode 0700) under $TMPDIR (else /tmp), named
// PREFIX-XXXXXX, removed with all it holds when it goes. Path() is empty
// where it could not be made.
class TemporaryDirectory {
 public:
  explicit TemporaryDirectory(const std::string& prefix = "timer555");
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  const std::string& Path() const noexcept { return path_; }

 private:
  std::string path_;
};

}  // namespace timer555
