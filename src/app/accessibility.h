#pragma once

namespace timer555 {

// Lets screen readers see into the drawn pictures: the menu bar's captions as
// menu items, the page's designs, applications and parts as buttons, the
// Calculate picture and the arrows as buttons. Call once; later calls do
// nothing.
void InstallAccessibility();

}  // namespace timer555
