#pragma once

#include <string_view>

namespace timer555 {

// Every key of the main window and what it does: the keys' dialog (F1) and
// the window's manual page list these lines.
struct KeyUse {
  std::string_view keys;
  std::string_view use;
};

inline constexpr KeyUse kKeyUses[] = {
    {"F10, Alt", "the menu bar: Left and Right choose, Enter opens, Escape leaves"},
    {"Alt+D, Alt+A, Alt+T, Alt+Q, Alt+H, Alt+B",
     "Design, Applications, Data, Quit, Help, the companion page"},
    {"Tab, Shift+Tab",
     "the menu bar, the page, the entry fields, Calculate, C1 or Timer, the arrows"},
    {"Arrow keys",
     "the items of the page (designs, applications, data pages, R1, R2, C1), the arrows, "
     "C1 or Timer"},
    {"Enter, Space", "press the item with the focus mark (R1, R2, C1: adjust it)"},
    {"Up, Down on the arrows", "step C1 through the E12 values, or the timer"},
    {"Enter in the first field", "on to the second field"},
    {"Shift+F10, Menu", "the page's menu: real-world check, copy, save picture, export, keyboard"},
    {"F9", "the real-world check"},
    {"F1", "the list of keys"},
    {"Escape", "close a dialog, a menu or the check window"},
};

}  // namespace timer555
