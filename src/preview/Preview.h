#pragma once
// The preview's picture without the window: fitting the view to the whole drawing and
// drawing the frame, the origin cross and the drawing on a canvas. The window and the
// report's PNG both use these.

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"
#include "util/WorldBox.h"

namespace sxf {

// Fits the drawing's extents (search/Extents) into a preview of width x height pixels with a
// 0.9 margin, centred. A preview smaller than one pixel counts as one pixel, so that the scale
// stays positive. The dpi is left as it is.
void FitViewToDrawing(TView& view, const TWorldBox& extents, int width, int height);

// A positive, finite scale and finite edges with left < right and bottom < top.
bool UsableView(const TView& view) noexcept;

// Sets ViewScale and the edges so that the box fills 90 % of the preview (or the given share)
// in its limiting direction, centred (ViewWidth and ViewHeight as they are).
void FitViewToBox(TView& view, double left, double bottom, double right, double top,
                  double share = 0.9);

// Keeps ViewScale and puts the view's edges around (cx, cy) for its ViewWidth and ViewHeight.
void CentreViewOn(TView& view, double cx, double cy);

// The red origin cross's pen and arms, pixels at 96 dpi (drawn at ViewPixels(length)).
inline constexpr int kOriginCrossPenPixels = 2;
inline constexpr int kOriginCrossArmPixels = 5;

// Clears the surface, frames it (aqua), draws the red origin cross, the drawing and the
// numbered marks of the user line types. False when the user's break stopped the drawing.
bool DrawPreview(TCanvas& c, const TView& view, const TDrawing& drawing, int width, int height);

}  // namespace sxf
