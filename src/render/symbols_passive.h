#pragma once

#include "render/canvas.h"
#include "render/draw555.h"

namespace timer555 {

// Capacitor "C": 36 pixels along the symbol, labels by LabelSide, values when
// shown; index 1 stores CapacitorHitRect.
void DrawCapacitor(Canvas& canvas, bool showValues);
// Diode "d": 24 pixels from anode to cathode, labelled "D" + index.
void DrawDiode(Canvas& canvas);
// Lead, the filled triangle pointing along the axis, the bar, lead: 24
// pixels, in the brush colour.
void DrawDiodeBody(Canvas& canvas, const SymbolAxis& axis);
// Three bars at the current point; the pen ends on the lowest bar.
void DrawGround(Canvas& canvas);
// "Z": two columns right, one row down, then a ground there.
void DrawGroundLead(Canvas& canvas);
// A filled dot of five short lines in the pen colour; the pen ends on the point.
void DrawJunction(Canvas& canvas);

}  // namespace timer555
