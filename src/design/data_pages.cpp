#include "design/data_pages.h"

namespace timer555 {

namespace {

void WhitePage(Canvas& canvas) {
  canvas.SetBrushColor(kWhite);
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
}

}  // namespace

// Both pages start white; their texts arrive with the reference pages.
void ShowComponentPage(Canvas& canvas, const StringHolders&) {
  WhitePage(canvas);
}

void ShowSpecificationPage(Canvas& canvas, const StringHolders&) {
  WhitePage(canvas);
}

}  // namespace timer555
