#include "design/shell_view.h"

namespace timer555 {

void ShowInputPanel(ShellView& view, Panel panel) {
  const bool show = panel == Panel::Shown;
  view.SetVisible(Control::GB1, show);
  view.SetVisible(Control::GB2, show);
  view.SetVisible(Control::GB3, show);
  view.SetEnabled(Control::Label2, true);
  view.SetEnabled(Control::Label3, true);
  view.SetEnabled(Control::NumEdit2, true);
  view.SetText(Control::Label1, "Frequency");
  view.SetText(Control::Label4, "Hz");
}

}  // namespace timer555
