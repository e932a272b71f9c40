#pragma once

#include <map>
#include <string>
#include <vector>

#include "design/shell_view.h"
#include "render/recording_canvas.h"

namespace timer555 {

// The window's controls as plain values, over recording canvases.
class FakeView final : public ShellView {
 public:
  Canvas& PageCanvas() override { return page; }
  Canvas& WaveformCanvas() override { return waveform; }
  void SetCaption(const std::string& c) override { caption = c; }
  std::string Caption() const override { return caption; }
  void SetVisible(Control c, bool v) override { visible[c] = v; }
  void SetEnabled(Control c, bool e) override { enabled[c] = e; }
  void SetText(Control c, const std::string& t) override { text[c] = t; }
  std::string Text(Control c) const override {
    const auto it = text.find(c);
    return it == text.end() ? std::string() : it->second;
  }
  int PageCursor() const override { return cursor; }
  void SetPageCursor(int c) override { cursor = c; }
  void ShowError(const std::string& m) override { errors.push_back(m); }
  void CloseWindow() override { closed = true; }

  RecordingCanvas page{650, 308};
  RecordingCanvas waveform{203, 58};
  std::string caption;
  std::map<Control, bool> visible;
  std::map<Control, bool> enabled;
  std::map<Control, std::string> text;
  int cursor = kCursorDefault;
  std::vector<std::string> errors;
  bool closed = false;
};

}  // namespace timer555
