#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "design/shell_view.h"

namespace timer555 {

// The window's controls as plain values over canvases the owner provides:
// what the command line and the tests drive the design engine through.
class PlainView : public ShellView {
 public:
  PlainView(Canvas& page, Canvas& waveform) : page_(page), waveform_(waveform) {}

  Canvas& PageCanvas() override { return page_; }
  Canvas& WaveformCanvas() override { return waveform_; }
  void SetCaption(const std::string& c) override { caption = c; }
  std::string Caption() const override { return caption; }
  void SetVisible(Control c, bool v) override { visible[c] = v; }
  void SetEnabled(Control c, bool e) override { enabled[c] = e; }
  void SetText(Control c, const std::string& t) override { text[c] = t; }
  std::string Text(Control c) const override;
  bool Checked(Control c) const override;
  int PageCursor() const override { return cursor; }
  void SetPageCursor(int c) override { cursor = c; }
  void ShowError(const std::string& m) override { errors.push_back(m); }
  void CloseWindow() override { closed = true; }
  // Opens the dialog's values, "types" adjustEntry's text (the shown number
  // when there is none) and presses OK.
  void RunAdjustDialog() override;

  std::string caption;
  std::map<Control, bool> visible;
  std::map<Control, bool> enabled;
  std::map<Control, std::string> text;
  Control checkedRadio = Control::RB1;
  int cursor = kCursorDefault;
  std::vector<std::string> errors;
  bool closed = false;
  std::function<std::string()> adjustEntry;
  std::string adjustName;  // the component the last dialog showed

 private:
  Canvas& page_;
  Canvas& waveform_;
};

}  // namespace timer555
