#pragma once
// Draws the whole drawing onto a canvas in the view in a fixed order of lists (picture
// frames first, then solids, lines, circles, arcs, points, texts and dimensions), each
// record divided by its group scale. Returns early, leaving the rest undrawn, when the user breaks.

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"

namespace sxf {

// False when the user's break stopped the drawing.
bool RenderDrawing(TCanvas& c, const TView& view, const TDrawing& drawing);

}  // namespace sxf
