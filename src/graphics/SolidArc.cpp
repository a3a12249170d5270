#include "graphics/SolidArc.h"

#include <cmath>

#include "graphics/Curves.h"
#include "graphics/Primitives.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr double kModeTolerance = 1e-10;

bool IsMode(double mode, double value) noexcept { return std::fabs(mode - value) <= kModeTolerance; }

void AddPoint(const TDPoint& p) {
  WorldPoints.push_back(p);
  ++WorldPointCount;
}

// The 73 arc points at start, start + s, ... with s = sweep / 72 accumulated.
void AddArcPoints(double cx, double cy, double r, double flatness, double tilt, double start,
                  double sweep) {
  const TEllipseCurve curve(cx, cy, r, flatness, tilt);
  const double s = sweep / kCurveSegments;
  double theta = start;
  for (int k = 0; k <= kCurveSegments; ++k) {
    AddPoint(curve.At(theta));
    theta += s;
  }
}

// Points at 0, 5, 10, ... degrees with the accumulated 5-degree step.
void AddWholeCurvePoints(double cx, double cy, double r, double flatness, double tilt, int count) {
  const TEllipseCurve curve(cx, cy, r, flatness, tilt);
  for (int k = 0; k < count; ++k) AddPoint(curve.AtWholeCurveStep(k));
}

// Where the tangents at the arc's two ends meet; the centre when they are parallel.
TDPoint TangentPoint(double cx, double cy, double tilt, double start, double sweep,
                     const TDPoint& a1, const TDPoint& b1) {
  const double halfPi = static_cast<double>(kPi / 2.0L);
  const double alpha = start + tilt + halfPi;
  const double beta = start + sweep + tilt - halfPi;
  double x = 0.0, y = 0.0;
  const int result = SegmentIntersection(a1.X, a1.Y, a1.X + 10.0 * std::cos(alpha),
                                         a1.Y + 10.0 * std::sin(alpha), b1.X, b1.Y,
                                         b1.X + 10.0 * std::cos(beta), b1.Y + 10.0 * std::sin(beta),
                                         x, y);
  if (result == 0) return {cx, cy};
  return {x, y};
}

}  // namespace

void DrawSolidArc(TCanvas& c, TSolidArcKind kind, double cx, double cy, double r,
                  double flatness, double tilt, double start, double sweep, double modeOrInner) {
  ClearWorldPoints();
  switch (kind) {
    case TSolidArcKind::Sc:
      if (IsMode(modeOrInner, 100)) {
        AddWholeCurvePoints(cx, cy, r, flatness, tilt, 72);
      } else {
        AddArcPoints(cx, cy, r, flatness, tilt, start, sweep);
        if (IsMode(modeOrInner, 0)) {
          AddPoint({cx, cy});
        } else if (!IsMode(modeOrInner, 5)) {
          const TDPoint a1 = WorldPoints.front();
          const TDPoint b1 = WorldPoints.back();
          AddPoint(TangentPoint(cx, cy, tilt, start, sweep, a1, b1));
        }
      }
      DrawWorldPolygon(c);
      break;
    case TSolidArcKind::Se:
      if (IsMode(modeOrInner, 100)) AddWholeCurvePoints(cx, cy, r, flatness, tilt, 73);
      else AddArcPoints(cx, cy, r, flatness, tilt, start, sweep);
      DrawWorldPolyline(c);
      break;
    case TSolidArcKind::So:
    case TSolidArcKind::Sg: {
      const double r2 = modeOrInner;
      // The sg band keeps the same width on both axes. An inner radius of 0 puts every inner
      // point on the centre whatever the flatness; keep the ratio finite there.
      double innerFlatness = flatness;
      if (kind == TSolidArcKind::Sg && r2 != 0.0) innerFlatness = (r * flatness - r) / r2 + 1.0;
      AddArcPoints(cx, cy, r, flatness, tilt, start, sweep);
      const TEllipseCurve inner(cx, cy, r2, innerFlatness, tilt);
      const double s = sweep / kCurveSegments;
      double theta = start + sweep;
      for (int k = 0; k <= kCurveSegments; ++k) {
        AddPoint(inner.At(theta));
        theta -= s;
      }
      DrawWorldPolygon(c);
      break;
    }
  }
  ClearWorldPoints();
}

}  // namespace sxf
