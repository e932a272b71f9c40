#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace timer555 {

// The texts of resources/, compiled into the program at build time.
struct ResourceEntry {
  const char* name;
  std::string_view data;
};

const std::vector<ResourceEntry>& ResourceTable();

// The lines of a built-in resource, without their line ends; an unknown name
// gives no lines.
std::vector<std::string> ResourceLines(std::string_view name);

}  // namespace timer555
