#pragma once

#include "components/holders.h"
#include "render/canvas.h"

namespace timer555 {

// The component advice page and the table of typical specifications.
void ShowComponentPage(Canvas& canvas, const StringHolders& holders);
void ShowSpecificationPage(Canvas& canvas, const StringHolders& holders);

}  // namespace timer555
