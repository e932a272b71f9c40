#pragma once

#include <QIcon>
#include <QImage>
#include <string>

namespace timer555 {

// The program's icon, MAINICON: an eight-pin chip seen from above with a
// square wave across its body. It is made of rectangles on a 256-unit grid,
// so that every size is drawn crisply from the same shapes and the SVG says
// exactly what the pictures show.

// The picture at size × size pixels, transparent around the chip.
QImage IconImage(int size);

// The scalable drawing.
std::string IconSvg();

// The window's icon, drawn at whatever size a desktop asks for.
QIcon MainIcon();

}  // namespace timer555
