#include "design/application_pages.h"

namespace timer555 {

void ShowApplicationPage(Canvas& canvas, StringHolders&) {
  canvas.SetBrushColor(kWhite);
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
}

}  // namespace timer555
