#pragma once

#include "components/holders.h"
#include "render/canvas.h"

namespace timer555 {

// The page of application Page().ApplicationIndex (1 to 14). The gallery
// fills it in once the circuit renderer exists; until then the page is white.
void ShowApplicationPage(Canvas& canvas, StringHolders& holders);

}  // namespace timer555
