#include "components/holders.h"

#include "components/resource_data.h"

namespace timer555 {

namespace {

std::string MakerLine(size_t index) {
  const std::vector<std::string> lines = ResourceLines("maker");
  return index < lines.size() ? lines[index] : std::string();
}

}  // namespace

StringHolders LoadBuiltinHolders() {
  StringHolders h;
  h.SHDesign.SetStrings(ResourceLines("design"));
  h.SHCircuits.SetStrings(ResourceLines("circuits"));
  h.SHApps.SetStrings(ResourceLines("apps"));
  h.SHHelp.SetStrings(ResourceLines("help"));
  h.SHSpecs.SetStrings(ResourceLines("specs"));
  h.SHComponent.SetStrings(ResourceLines("component"));
  h.SH_Quellbox.SetStrings(ResourceLines("quellbox"));
  return h;
}

const std::string& MakerCopyright() {
  static const std::string text = MakerLine(0);
  return text;
}

const std::string& MakerWebAddress() {
  static const std::string text = MakerLine(1);
  return text;
}

const std::vector<std::string>& E12Mantissas() {
  static const std::vector<std::string> items = ResourceLines("e12");
  return items;
}

}  // namespace timer555
