#pragma once

#include "components/holders.h"
#include "render/canvas.h"

namespace timer555 {

// The page of application Page().ApplicationIndex (1 to 14): the white page,
// the application's notes and part suggestions, then its schematic drawn over
// them.
void ShowApplicationPage(Canvas& canvas, StringHolders& holders);

}  // namespace timer555
