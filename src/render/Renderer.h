#pragma once
// Draws the whole drawing of the model onto a canvas in a fixed order of lists (picture
// frames first, then solids, lines, circles, arcs, points, texts and dimensions), each
// record divided by its group scale. Returns early, leaving the rest undrawn, when the user breaks.

#include "graphics/Canvas.h"

namespace sxf {

// False when the user's break stopped the drawing.
bool RenderDrawing(TCanvas& c);

}  // namespace sxf
