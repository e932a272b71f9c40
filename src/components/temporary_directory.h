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
  // Where it could not be made, what for, where and why: "cannot make a
  // temporary folder for the simulation in '/x': Permission denied".
  std::string Failure(const std::string& purpose) const;

 private:
  std::string path_, folder_;
  int error_ = 0;
};

}  // namespace timer555
