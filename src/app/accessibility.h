#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QString;

namespace timer555 {

// Lets screen readers see into the drawn pictures: the menu bar's captions as
// menu items, the page's designs, applications and parts as buttons, the
// Calculate picture and the arrows as buttons. Call once; later calls do
// nothing.
void InstallAccessibility();

// Says `sentence` without moving the focus: a child of no size of the
// focused window, a notification to a screen reader, shows with the
// sentence as its name (Orca speaks a notification as it shows; it does not
// speak this toolkit's name and description changes). Where the keyboard is
// between windows (a dialog has just closed), the sentence waits until it
// lands, or a second, and then goes to the active window or `fallback`.
void Announce(const QString& sentence, QWidget* fallback = nullptr);

// A reader names a combo box by its label and does not say the choice in it
// (this toolkit's box reports no chosen item while closed): the choice goes
// in the description, said after the role, and a choice changed by the
// keyboard is announced.
void DescribeChoice(QComboBox* box);

// Sets a label's text; an empty one reads "blank", as a reader says of an
// empty field (a nameless label would be read by its group's title).
void ShowText(QLabel* label, const QString& text);

// Held while a modal dialog runs: when it ends, the window the dialog was
// opened from is the active one again, with its focus where it was. (A
// window manager hands the keyboard to the main window when a dialog of the
// tool window closes.)
class FocusReturn {
 public:
  FocusReturn();
  ~FocusReturn();
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

}  // namespace timer555
