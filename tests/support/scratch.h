#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace timer555 {

// A scratch folder's path for the running test: PREFIX_PID_NAME in the
// temporary folder, one level deep whatever the name (a parameterised test's
// name holds a '/', which would leave its parent behind).
inline std::filesystem::path ScratchFolder(const std::string& prefix) {
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(name.begin(), name.end(), '/', '_');
  return std::filesystem::temp_directory_path() /
         (prefix + "_" + std::to_string(getpid()) + "_" + name);
}

// The whole text of a file; empty where it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  return text.str();
}

}  // namespace timer555
