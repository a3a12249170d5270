#pragma once
// The bounding box of the whole drawing in world units (coordinates divided by each record's
// group scale), for fit-all: ExtentLeft .. ExtentTop are the box's sides. Each side is held
// within +-1e8 after every widening step.

#include <string_view>

#include "model/JwwGaibu2.h"
#include "util/WorldBox.h"

namespace sxf {

inline constexpr double kExtentLimit = 1e8;

TWorldBox ComputeExtents(const TDrawing& drawing);

// All four sides to the point (X / s, Y / s).
void ExtentInit(TWorldBox& box, double X, double Y, double s);
// Widens the box to take in (X / s, Y / s); strict comparisons.
void ExtentAdd(TWorldBox& box, double X, double Y, double s);
// Widens the box by an ellipse arc's end and quadrant points (angles in degrees). An arc
// whose start, end or sweep is not finite adds nothing.
void ExtentAddArc(TWorldBox& box, double Cx, double Cy, double R, double Start, double End,
                  double Flatness, double Tilt, double s);

// The far corner offset (w, h) of an image text "^@BM<name>,<w>[,<h>...]"; false when the
// text is not an image text or has no comma.
bool ImageTextSize(const std::string_view text, double& w, double& h);

}  // namespace sxf
