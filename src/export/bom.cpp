#include "export/bom.h"

#include <algorithm>
#include <set>
#include <vector>

namespace timer555 {

namespace {

std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Line(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t k = 0; k < fields.size(); ++k)
    line += (k ? "," : "") + Field(fields[k]);
  return line + "\r\n";
}

// R1 before R2 before R10.
bool DesignatorBefore(const std::string& a, const std::string& b) {
  const auto split = [](const std::string& s) {
    const size_t digits = s.find_first_of("0123456789");
    return std::pair{s.substr(0, digits),
                     digits == std::string::npos ? 0 : std::stoi(s.substr(digits))};
  };
  return split(a) < split(b);
}

}  // namespace

std::string BomCsv(const Board& board) {
  struct Group {
    const BoardPart* part;
    std::vector<std::string> designators;
  };
  std::vector<Group> groups;
  std::set<std::string> seen;  // a 556's two halves are one part
  for (const BoardPart& part : board.parts) {
    if (!seen.insert(part.reference).second) continue;
    const auto same = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
      return g.part->libId == part.libId && g.part->value == part.value &&
             g.part->footprint == part.footprint && g.part->description == part.description;
    });
    if (same != groups.end()) {
      same->designators.push_back(part.reference);
    } else {
      groups.push_back({&part, {part.reference}});
    }
  }
  std::string csv =
      Line({"Designator", "Quantity", "Value", "Description", "Footprint", "Manufacturer", "MPN"});
  for (Group& g : groups) {
    std::sort(g.designators.begin(), g.designators.end(), DesignatorBefore);
    std::string designators;
    for (const std::string& d : g.designators)
      designators += (designators.empty() ? "" : ",") + d;
    const std::string footprint = g.part->footprint.substr(g.part->footprint.find(':') + 1);
    csv += Line({designators, std::to_string(g.designators.size()), g.part->value,
                 g.part->description, footprint, "", ""});
  }
  return csv;
}

}  // namespace timer555
