#pragma once
// Point entities: a small circle for plain points, or one of the coded marks (arrowheads,
// squares, crosses, stars) for points with marker values. World units; the mark's own sizes
// are sheet units times the mark scale.

#include "globals/View.h"
#include "graphics/Canvas.h"

namespace sxf {

// code: 0 for plain points; k: mark scale (<= 1e-8 counts as 1); angle in radians;
// colorNumber and lineWidth (hundredths, 0 = the colour's width) from the record's head.
// Sets its own pen and brush.
void DrawPointMark(TCanvas& c, const TView& view, int code, double x, double y, double k,
                   double angle, int colorNumber, int lineWidth);

}  // namespace sxf
