#pragma once

#include <QLineEdit>
#include <functional>

namespace timer555 {

// A single-line field for unsigned decimal numbers. Typed characters pass a
// key filter: digits, the point and backspace are taken, Enter moves the focus
// to the next control in tab order, anything else beeps and is swallowed.
// Keys that type nothing (arrows, Home, Delete) edit as in any line edit.
// Text arriving by paste or drag and drop passes the same filter as a whole.
// The typing limit holds for what the user types, pastes and drops; text the
// program writes stands whole, however long.
class TNumEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TNumEdit(QWidget* parent = nullptr);

  // Text the program writes, which the key filter does not judge.
  void SetProgramText(const QString& text);
  bool SettingText() const noexcept { return settingText_; }

  // The sound of a refused character; tests replace it to count beeps.
  static void SetBeepHandler(std::function<void()> handler);
  static void Beep();

  // True for the characters the filter lets through to the field.
  static bool Accepts(QChar key) noexcept;

  // The most characters the user may bring the text to; 0 for no limit.
  void SetTypingLimit(int limit) noexcept { typingLimit_ = limit; }
  int TypingLimit() const noexcept { return typingLimit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool settingText_ = false;
  int typingLimit_ = 0;
};

}  // namespace timer555
