#include "components/num_edit.h"

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QKeyEvent>
#include <QValidator>
#include <algorithm>

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
// Inserted text beyond the typing limit is cut, as a limited edit control
// cuts a paste.
class NumericTextGuard final : public QValidator {
 public:
  explicit NumericTextGuard(TNumEdit* edit) : QValidator(edit), edit_(edit) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { accepted_ = t; });
  }
  State validate(QString& input, int& pos) const override {
    if (edit_->SettingText()) return Acceptable;
    if (!IsSubsequence(Refused(input), Refused(accepted_))) {
      TNumEdit::Beep();
      return Invalid;
    }
    CutToLimit(input, pos);
    return Acceptable;
  }

 private:
  // The change from the accepted text replaced its middle; the inserted part
  // keeps only as many characters as the limit leaves room for.
  void CutToLimit(QString& input, int& pos) const {
    const qsizetype limit = edit_->TypingLimit();
    if (limit <= 0 || input.size() <= limit || input.size() <= accepted_.size()) return;
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(input.size(), accepted_.size());
    while (prefix < shorter && input[prefix] == accepted_[prefix])
      ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           input[input.size() - 1 - suffix] == accepted_[accepted_.size() - 1 - suffix])
      ++suffix;
    const qsizetype kept = accepted_.size() - (accepted_.size() - prefix - suffix);
    const qsizetype room = std::max<qsizetype>(0, limit - kept);
    const qsizetype inserted = input.size() - prefix - suffix;
    if (inserted <= room) return;
    input.remove(prefix + room, inserted - room);
    pos = static_cast<int>(prefix + room);
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
  // The start of the number in view, as an edit control shows a text set
  // for it: "2032.537392" in a narrow field reads "2032.5", not "2.537392".
  setCursorPosition(0);
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
  const QString typed = event->text();
  const bool control = event->modifiers().testFlag(Qt::ControlModifier) ||
                       event->modifiers().testFlag(Qt::MetaModifier);
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  // Qt's codes for the character keys are their Latin-1 characters.
  const bool characterKey = key >= 0x20 && key <= 0x7e;
  // Delete, with or without Shift or Ctrl, types nothing (Qt gives it the text
  // U+007F); it edits as in any line edit.
  if (key == Qt::Key_Delete) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (control && (characterKey || enter || key == Qt::Key_Backspace || !typed.isEmpty())) {
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
  if (key == Qt::Key_Escape && qobject_cast<QDialog*>(window()) != nullptr) {
    // In a dialog Escape is the dialog's, which closes, as from any other
    // control; elsewhere it is a character the field refuses.
    event->ignore();
    return;
  }
  if (key == Qt::Key_Backspace || typed.isEmpty() || typed == QChar(0x7f)) {
    // Backspace deletes; keys that type nothing (arrows, Home, End) edit as
    // usual. Shift+Insert pastes, and the text guard checks the paste.
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (typed.size() == 1 && Accepts(typed.front())) {
    // A full field takes no more characters, silently, as a limited edit control.
    const bool full = typingLimit_ > 0 && text().size() - selectedText().size() >= typingLimit_;
    if (!full) QLineEdit::keyPressEvent(event);
    event->accept();
    return;
  }
  Beep();
  event->accept();
}

void TNumEdit::dropEvent(QDropEvent* event) {
  const QString before = text();
  QLineEdit::dropEvent(event);
  // A refused drop must not tell the drag source the text was moved: a source
  // that moves text would delete it from its own document.
  if (text() == before) {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
  }
}

void TNumEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Input methods are switched off; a stray commit is refused like a key.
  if (!event->commitString().isEmpty()) Beep();
  event->accept();
}

}  // namespace timer555
