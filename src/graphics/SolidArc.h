#pragma once
// Arc-shaped solids: a full ellipse, a sector, a segment cut by its chord, an arc closed by
// its end tangents (sc); an arc or ellipse outline (se); ring sectors (so, sg). World units,
// angles in radians, drawn with the pen and brush the caller has set.

#include "globals/View.h"
#include "graphics/Canvas.h"

namespace sxf {

enum class TSolidArcKind { Sc, Se, So, Sg };

// modeOrInner: ArcMode for sc and se, the inner radius R2 for so and sg.
void DrawSolidArc(TCanvas& c, const TView& view, TSolidArcKind kind, double cx, double cy, double r,
                  double flatness, double tilt, double start, double sweep, double modeOrInner);

}  // namespace sxf
