#pragma once

#include "components/string_holder.h"

namespace timer555 {

// The main window's string holders, filled with the built-in texts.
struct StringHolders {
  TStringHolder SHDesign{"SHDesign"};
  TStringHolder SHCircuits{"SHCircuits"};
  TStringHolder SHBuffer{"SHBuffer"};
  TStringHolder SHApps{"SHApps"};
  TStringHolder SHSpecs{"SHSpecs"};
  TStringHolder SHHelp{"SHHelp"};
  TStringHolder SHComponent{"SHComponent"};
  TStringHolder SH_Quellbox{"SH_Quellbox"};
};

StringHolders LoadBuiltinHolders();

// The maker's copyright notice and web address shown on the start, help and
// companion pages.
const std::string& MakerCopyright();
const std::string& MakerWebAddress();

// The twelve E12 mantissas "100" … "820" of the hidden list box.
const std::vector<std::string>& E12Mantissas();

}  // namespace timer555
