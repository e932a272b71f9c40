#include "components/num_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>

namespace timer555 {

namespace {

std::function<void()>& BeepHandler() {
  static std::function<void()> handler = [] { QApplication::beep(); };
  return handler;
}

QString Refused(const QString& text) {
  QString out;
  for (QChar c : text)
    if (!TNumEdit::Accepts(c) || c == QChar(8)) out += c;
  return out;
}

// True when every character of `part` occurs in `whole` in the same order.
bool IsSubsequence(const QString& part, const QString& whole) {
  qsizetype i = 0;
  for (QChar c : whole)
    if (i < part.size() && part[i] == c) ++i;
  return i == part.size();
}

// Guards every way text reaches the field other than typing (paste by
// shortcut or context menu, drag and drop): a change that would bring in a
// character the key filter refuses is refused whole, with the beep.
// Text the program itself wrote may hold other characters; deleting them
// stays possible, bringing in more is not. The field's text has already
// changed when the guard is asked, so it compares with the last accepted text.
class NumericTextGuard final : public QValidator {
 public:
  explicit NumericTextGuard(TNumEdit* edit) : QValidator(edit), edit_(edit) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { accepted_ = t; });
  }
  State validate(QString& input, int&) const override {
    if (edit_->SettingText() || IsSubsequence(Refused(input), Refused(accepted_)))
      return Acceptable;
    TNumEdit::Beep();
    return Invalid;
  }

 private:
  TNumEdit* edit_;
  QString accepted_;
};

}  // namespace

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new NumericTextGuard(this));
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TNumEdit::SetProgramText(const QString& text) {
  settingText_ = true;
  setText(text);
  settingText_ = false;
}

void TNumEdit::SetBeepHandler(std::function<void()> handler) {
  BeepHandler() = handler ? std::move(handler) : [] { QApplication::beep(); };
}

void TNumEdit::Beep() {
  BeepHandler()();
}

bool TNumEdit::Accepts(QChar key) noexcept {
  return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QLatin1Char('.') ||
         key == QChar(8);
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const QString text = event->text();
  const bool control = event->modifiers().testFlag(Qt::ControlModifier) ||
                       event->modifiers().testFlag(Qt::MetaModifier);
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  // Qt's codes for the character keys are their Latin-1 characters.
  const bool characterKey = key >= 0x20 && key <= 0x7e;
  if (control && (characterKey || enter || key == Qt::Key_Backspace || !text.isEmpty())) {
    // A Ctrl combination types a control character, which the filter refuses;
    // so are the clipboard shortcuts.
    Beep();
    event->accept();
    return;
  }
  if (enter) {
    focusNextChild();
    event->accept();
    return;
  }
  if (key == Qt::Key_Backspace || text.isEmpty()) {
    // Backspace deletes; keys that type nothing (arrows, Home, End, Delete)
    // edit as usual. Shift+Insert pastes, and the text guard checks the paste.
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (text.size() == 1 && Accepts(text.front())) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  Beep();
  event->accept();
}

void TNumEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Input methods are switched off; a stray commit is refused like a key.
  if (!event->commitString().isEmpty()) Beep();
  event->accept();
}

}  // namespace timer555
