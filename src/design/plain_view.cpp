#include "design/plain_view.h"

#include "design/adjustment.h"
#include "state/global.h"

namespace timer555 {

std::string PlainView::Text(Control c) const {
  const auto it = text.find(c);
  return it == text.end() ? std::string() : it->second;
}

bool PlainView::Checked(Control c) const {
  return c == checkedRadio;
}

void PlainView::RunAdjustDialog() {
  adjustName = PrepareAdjustment();
  const std::string entry = adjustEntry ? adjustEntry() : Global::Adjust().AdjustNumber;
  if (const auto refused = ApplyAdjustment(entry)) ShowError(*refused);
}

}  // namespace timer555
