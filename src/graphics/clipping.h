#pragma once
// The one rule by which a world point becomes a pixel, and outcode clipping of points and
// segments against the view. World units (y up) in, pixels (y down) out.

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "util/MyFunc.h"

namespace sxf {

inline constexpr int ClipInside = 0;
inline constexpr int ClipPartial = 1;
inline constexpr int ClipOutside = 2;
inline constexpr double ClipTolerance = 1e-12;

// Outcode bits: 1 left, 2 right, 4 bottom, 8 top. A point on an edge, or within 1e-12 inside
// it, has that edge's bit: the edges count as outside.
constexpr int ClipOutcode(double x, double y, double xmin, double ymin, double xmax,
                          double ymax) noexcept {
  int code = 0;
  if (x - xmin < ClipTolerance) code |= 1;
  if (x - xmax > -ClipTolerance) code |= 2;
  if (y - ymin < ClipTolerance) code |= 4;
  if (y - ymax > -ClipTolerance) code |= 8;
  return code;
}

// Outcode against the view.
inline int ViewOutcode(const TView& view, double x, double y) noexcept {
  return ClipOutcode(x, y, view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop);
}

// Pixel of a world point in the view. Each axis is rounded half away from zero after
// the product is formed in double precision; NaN gives 0 and values beyond the 32-bit range
// saturate.
inline TPixelPoint WorldToScreen(const TView& view, double x, double y) noexcept {
  // The subtraction from ViewHeight saturates too.
  const long long py = static_cast<long long>(view.ViewHeight) -
                       RoundHalfAway((y - view.ViewBottom) * view.ViewScale);
  return {RoundHalfAway((x - view.ViewLeft) * view.ViewScale),
          static_cast<int>(py < -2147483648LL ? -2147483648LL
                                              : (py > 2147483647LL ? 2147483647LL : py))};
}

// 0 when the point is inside, else 2.
int PointVisibility(double x, double y, double xmin, double ymin, double xmax,
                    double ymax) noexcept;

// 0 both inside, 2 both beyond one and the same edge, 1 otherwise. Nothing is moved.
int SegmentVisibility(double x1, double y1, double x2, double y2, double xmin, double ymin,
                      double xmax, double ymax) noexcept;

// One pass of outcode clipping. Moves the end points onto the view's edges in place; every
// intersection is computed from the unmoved first end point and the original deltas.
// Returns 0 (inside, unchanged), 1 (clipped) or 2 (nothing visible, also when the clipped
// segment collapsed to a point). Callers pass copies: the end points are moved in place.
int ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                double xmax, double ymax) noexcept;

}  // namespace sxf
