#pragma once
// Circles, ellipses and their arcs as 72 clipped straight segments in world units, drawn
// with the canvas's current pen. Angles in radians unless a name says degrees.

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "util/MyFunc.h"

namespace sxf {

// The 5-degree step of full curves, as the double the curve code accumulates.
inline constexpr double kCurveStep = 0.0872664625997165;
inline constexpr int kCurveSegments = 72;

// Points of one ellipse: EllipsePoint with the tilt's cosine and sine taken once. Drawing
// works in double precision; the pixels are the same.
struct TEllipseCurve {
  TEllipseCurve(double cx, double cy, double r, double flatness, double tilt) noexcept;
  TDPoint At(double theta) const noexcept;
  // The point whose angle has this cosine and sine.
  TDPoint AtCosSin(double cosTheta, double sinTheta) const noexcept;
  // The point at the k-th angle of a whole curve (0, 5, 10, ... degrees with the step
  // accumulated), k = 0..72; the same as At of that angle, from a table of its sine and cosine.
  TDPoint AtWholeCurveStep(int k) const noexcept;
  // True when every point of the curve lies beyond one and the same edge of the view, so
  // that no segment of it can be drawn.
  bool OutsideView(const TView& view) const noexcept;
  // True when every point of the curve lies strictly inside the view (outcode 0), so that
  // none of its segments is clipped.
  bool InsideView(const TView& view) const noexcept;
  // The pixel every point of the curve maps to, when the whole curve lies inside the view
  // and within one pixel; false otherwise.
  bool WithinOnePixel(const TView& view, TPixelPoint& pixel) const noexcept;
  // Furthest distance of a point of the curve from its centre, with a margin for rounding.
  double Reach() const noexcept;

  double Cx, Cy, R, RFlat, CosTilt, SinTilt;
};

void DrawWorldEllipse(TCanvas& c, const TView& view, double cx, double cy, double r,
                      double flatness, double tilt);
void DrawWorldEllipseArc(TCanvas& c, const TView& view, double cx, double cy, double r,
                         double flatness, double tilt, double start, double sweep);

// An arc record (angles in degrees, centre and radius already divided by the group scale):
// the whole curve when the sweep is within 1e-8 degrees of 0, otherwise the arc. An arc whose
// start, end or sweep is not finite draws nothing.
void DrawArcDegrees(TCanvas& c, const TView& view, double cx, double cy, double r, double startDeg,
                    double endDeg, double flatness, double tiltDeg);

// Brings an angle in degrees into [0, 360) by adding or subtracting 360 one turn at a time;
// magnitudes beyond a few thousand turns are first reduced with fmod, where repeated
// addition would no longer change the value. Not finite: returned as it is.
double NormalizeDegrees(double degrees) noexcept;

}  // namespace sxf
