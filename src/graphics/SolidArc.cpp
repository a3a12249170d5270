#include "graphics/SolidArc.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

#include "graphics/Curves.h"
#include "graphics/Primitives.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr double kModeTolerance = 1e-10;

bool IsMode(double mode, double value) noexcept {
  return std::fabs(mode - value) <= kModeTolerance;
}

void AddPoint(TCanvas& c, const TDPoint& p) { AddWorldPoint(c, p); }

}  // namespace

// The cosines and sines of the 73 angles from, from + step, ... accumulated, for the arcs
// drawn lately: a drawing repeats its symbols, whose arcs differ in place and size but not
// in their angles. A table holds exactly the values At would compute.
struct TArcAngleCache {
  static constexpr std::size_t kSlots = 64;
  struct TTable {
    std::uint64_t From = 0, Step = 0;
    bool Filled = false;
    double Cos[kCurveSegments + 1];
    double Sin[kCurveSegments + 1];
  };
  TTable Tables[kSlots];

  const TTable& Angles(double from, double step) noexcept {
    const auto f = std::bit_cast<std::uint64_t>(from), s = std::bit_cast<std::uint64_t>(step);
    std::uint64_t h = (f ^ (s * 0x9E3779B97F4A7C15u)) * 0xFF51AFD7ED558CCDu;
    TTable& t = Tables[(h >> 58) % kSlots];
    if (t.Filled && t.From == f && t.Step == s) return t;
    double theta = from;
    for (int k = 0; k <= kCurveSegments; ++k) {
      t.Cos[k] = std::cos(theta);
      t.Sin[k] = std::sin(theta);
      theta += step;
    }
    t.From = f;
    t.Step = s;
    t.Filled = true;
    return t;
  }
};

namespace {

// The 73 points of the curve at from, from + step, ... accumulated.
void AddAccumulatedPoints(TCanvas& c, const TEllipseCurve& curve, double from, double step) {
  if (!c.ArcAngles) c.ArcAngles = std::make_shared<TArcAngleCache>();
  const TArcAngleCache::TTable& a = c.ArcAngles->Angles(from, step);
  for (int k = 0; k <= kCurveSegments; ++k) AddPoint(c, curve.AtCosSin(a.Cos[k], a.Sin[k]));
}

// The 73 arc points at start, start + s, ... with s = sweep / 72 accumulated.
void AddArcPoints(TCanvas& c, double cx, double cy, double r, double flatness, double tilt,
                  double start, double sweep) {
  AddAccumulatedPoints(c, TEllipseCurve(cx, cy, r, flatness, tilt), start, sweep / kCurveSegments);
}

// Points at 0, 5, 10, ... degrees with the accumulated 5-degree step.
void AddWholeCurvePoints(TCanvas& c, double cx, double cy, double r, double flatness, double tilt,
                         int count) {
  const TEllipseCurve curve(cx, cy, r, flatness, tilt);
  for (int k = 0; k < count; ++k) AddPoint(c, curve.AtWholeCurveStep(k));
}

// Where the tangents at the arc's two ends meet; the centre when they are parallel.
TDPoint TangentPoint(double cx, double cy, double tilt, double start, double sweep,
                     const TDPoint& a1, const TDPoint& b1) {
  const double halfPi = static_cast<double>(kPi / 2.0L);
  const double alpha = start + tilt + halfPi;
  const double beta = start + sweep + tilt - halfPi;
  double x = 0.0, y = 0.0;
  const int result = SegmentIntersection(
      a1.X, a1.Y, a1.X + 10.0 * std::cos(alpha), a1.Y + 10.0 * std::sin(alpha), b1.X, b1.Y,
      b1.X + 10.0 * std::cos(beta), b1.Y + 10.0 * std::sin(beta), x, y);
  if (result == 0) return {cx, cy};
  return {x, y};
}

}  // namespace

void DrawSolidArc(TCanvas& c, const TView& view, TSolidArcKind kind, double cx, double cy, double r,
                  double flatness, double tilt, double start, double sweep, double modeOrInner) {
  ClearWorldPoints(c);
  switch (kind) {
    case TSolidArcKind::Sc:
      if (IsMode(modeOrInner, 100)) {
        AddWholeCurvePoints(c, cx, cy, r, flatness, tilt, 72);
      } else {
        AddArcPoints(c, cx, cy, r, flatness, tilt, start, sweep);
        if (IsMode(modeOrInner, 0)) {
          AddPoint(c, {cx, cy});
        } else if (!IsMode(modeOrInner, 5)) {
          const TDPoint a1 = c.Points.WorldPoints.front();
          const TDPoint b1 = c.Points.WorldPoints.back();
          AddPoint(c, TangentPoint(cx, cy, tilt, start, sweep, a1, b1));
        }
      }
      DrawWorldPolygon(c, view);
      break;
    case TSolidArcKind::Se:
      if (IsMode(modeOrInner, 100))
        AddWholeCurvePoints(c, cx, cy, r, flatness, tilt, 73);
      else
        AddArcPoints(c, cx, cy, r, flatness, tilt, start, sweep);
      DrawWorldPolyline(c, view);
      break;
    case TSolidArcKind::So:
    case TSolidArcKind::Sg: {
      const double r2 = modeOrInner;
      // The sg band keeps the same width on both axes. An inner radius of 0 puts every inner
      // point on the centre whatever the flatness; keep the ratio finite there.
      double innerFlatness = flatness;
      if (kind == TSolidArcKind::Sg && r2 != 0.0) innerFlatness = (r * flatness - r) / r2 + 1.0;
      AddArcPoints(c, cx, cy, r, flatness, tilt, start, sweep);
      // Back from the end: start + sweep, then minus s at each step (the same as adding -s).
      AddAccumulatedPoints(c, TEllipseCurve(cx, cy, r2, innerFlatness, tilt), start + sweep,
                           -(sweep / kCurveSegments));
      DrawWorldPolygon(c, view);
      break;
    }
  }
  ClearWorldPoints(c);
}

}  // namespace sxf
