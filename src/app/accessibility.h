#pragma once

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
// speak this toolkit's name and description changes).
void Announce(const QString& sentence);

}  // namespace timer555
