#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
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

}  // namespace timer555
