#include "graphics/Curves.h"

#include <cmath>

#include "graphics/Primitives.h"
#include "util/MyFunc.h"

namespace sxf {

double NormalizeDegrees(double degrees) noexcept {
  if (!std::isfinite(degrees)) return degrees;
  if (std::fabs(degrees) > 360.0 * 4096.0) degrees = std::fmod(degrees, 360.0);
  while (degrees < 0.0) degrees += 360.0;
  while (degrees >= 360.0) degrees -= 360.0;
  return degrees;
}

void DrawWorldEllipse(TCanvas& c, double cx, double cy, double r, double flatness, double tilt) {
  double theta = 0.0;
  TDPoint previous = EllipsePoint(cx, cy, r, flatness, tilt, theta);
  for (int k = 1; k <= kCurveSegments; ++k) {
    theta += kCurveStep;
    const TDPoint p = EllipsePoint(cx, cy, r, flatness, tilt, theta);
    DrawWorldSegment(c, previous.X, previous.Y, p.X, p.Y);
    previous = p;
  }
}

void DrawWorldEllipseArc(TCanvas& c, double cx, double cy, double r, double flatness,
                         double tilt, double start, double sweep) {
  const double step = sweep / kCurveSegments;
  double theta = start;
  TDPoint previous = EllipsePoint(cx, cy, r, flatness, tilt, theta);
  for (int k = 1; k <= kCurveSegments; ++k) {
    theta += step;
    const TDPoint p = EllipsePoint(cx, cy, r, flatness, tilt, theta);
    DrawWorldSegment(c, previous.X, previous.Y, p.X, p.Y);
    previous = p;
  }
}

void DrawArcDegrees(TCanvas& c, double cx, double cy, double r, double startDeg,
                    double endDeg, double flatness, double tiltDeg) {
  const double sweepRaw = endDeg - startDeg;
  if (!std::isfinite(startDeg) || !std::isfinite(endDeg) || !std::isfinite(sweepRaw)) return;
  const double s = NormalizeDegrees(startDeg);
  const double w = NormalizeDegrees(sweepRaw);
  const double tilt = DegToRad(tiltDeg);
  if (std::fabs(w) <= 1e-8) {
    DrawWorldEllipse(c, cx, cy, r, flatness, tilt);
  } else {
    DrawWorldEllipseArc(c, cx, cy, r, flatness, tilt, DegToRad(s), DegToRad(w));
  }
}

}  // namespace sxf
