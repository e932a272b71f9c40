#pragma once

#include <string>

#include "render/canvas.h"

namespace timer555 {

// The controls of the main window that the page and design code change.
enum class Control { GB1, GB2, GB3, Label1, Label2, Label3, Label4, NumEdit1, NumEdit2, RB1, RB2 };

// Screen cursor numbers; 0 is the default arrow.
inline constexpr int kCursorDefault = 0;
inline constexpr int kCursorCrosshair = 20;
inline constexpr int kCursorCalculate = 21;
inline constexpr int kCursorCapacitor = 22;
inline constexpr int kCursorResistor = 23;

// What the page and design logic needs of the main window. The window
// implements it over its widgets; tests implement it over recording canvases.
class ShellView {
 public:
  virtual ~ShellView() = default;

  virtual Canvas& PageCanvas() = 0;      // Image2, the page area
  virtual Canvas& WaveformCanvas() = 0;  // Image5, inside "Vout"
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void SetText(Control control, const std::string& text) = 0;
  virtual std::string Text(Control control) const = 0;
  virtual int PageCursor() const = 0;
  virtual void SetPageCursor(int cursor) = 0;
  // Whether a radio button is checked.
  virtual bool Checked(Control control) const = 0;
  // A modal error box with one OK button.
  virtual void ShowError(const std::string& message) = 0;
  // Shows the component adjustment dialog modally and returns once it has
  // closed (the dialog reads and writes Global::Adjust() and the design).
  virtual void RunAdjustDialog() = 0;
  virtual void CloseWindow() = 0;
  // What the waveform shows, for screen readers ("output high for 250.0
  // microseconds, low for 750.0 microseconds"); nothing to do without one.
  virtual void DescribeWaveform(const std::string& description) { (void)description; }
};

// Shows or hides the three group boxes of the input panel and resets the
// labels to the frequency and duty-cycle layout.
enum class Panel : bool { Hidden = false, Shown = true };
void ShowInputPanel(ShellView& view, Panel panel);

}  // namespace timer555
