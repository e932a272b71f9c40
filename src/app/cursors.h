#pragma once

#include <QCursor>
#include <string>

namespace timer555 {

// The program's cursor pictures (CALCULATE, CAPACITOR, CROSSHAIR, RESISTOR,
// ZOOM), built from their built-in pictures.
QCursor LoadCursor(const std::string& name);

// The numbered screen cursors. Registering replaces what a number held;
// an unregistered number gives the default arrow.
void RegisterScreenCursor(int number, const QCursor& cursor);
QCursor ScreenCursor(int number);

}  // namespace timer555
