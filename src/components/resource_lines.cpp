#include "components/resource_data.h"

namespace timer555 {

std::vector<std::string> ResourceLines(std::string_view name) {
  std::vector<std::string> lines;
  for (const ResourceEntry& entry : ResourceTable()) {
    if (name != entry.name) continue;
    std::string_view rest = entry.data;
    while (!rest.empty()) {
      const size_t end = rest.find('\n');
      if (end == std::string_view::npos) {
        lines.emplace_back(rest);
        break;
      }
      lines.emplace_back(rest.substr(0, end));
      rest.remove_prefix(end + 1);
    }
  }
  return lines;
}

}  // namespace timer555
