#include "graphics/Curves.h"

#include <algorithm>
#include <cmath>

#include "globals/UnitGval.h"
#include "graphics/clipping.h"

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

TEllipseCurve::TEllipseCurve(double cx, double cy, double r, double flatness, double tilt) noexcept
    : Cx(cx), Cy(cy), R(r), RFlat(r * flatness), CosTilt(std::cos(tilt)), SinTilt(std::sin(tilt)) {}

TDPoint TEllipseCurve::At(double theta) const noexcept { return AtCosSin(std::cos(theta), std::sin(theta)); }

TDPoint TEllipseCurve::AtCosSin(double cosTheta, double sinTheta) const noexcept {
  const double u = R * cosTheta;
  const double v = RFlat * sinTheta;
  return {Cx + CosTilt * u - SinTilt * v, Cy + SinTilt * u + CosTilt * v};
}

namespace {

struct TWholeCurveAngles {
  double Cos[kCurveSegments + 1];
  double Sin[kCurveSegments + 1];
  TWholeCurveAngles() noexcept {
    double theta = 0.0;
    for (int k = 0; k <= kCurveSegments; ++k) {
      Cos[k] = std::cos(theta);
      Sin[k] = std::sin(theta);
      theta += kCurveStep;
    }
  }
};

// Every whole curve goes through the same 73 angles: their sines and cosines once.
const TWholeCurveAngles& WholeCurveAngles() noexcept {
  static const TWholeCurveAngles table;
  return table;
}

}  // namespace

// The pixels of a whole curve's 73 points, the same as WorldToScreen of AtWholeCurveStep, for
// a curve inside the view: every coordinate measured from the view's lower-left corner is then
// at least 0, so that rounding half away from zero is the integer part plus one when the
// fraction is at least a half, and nothing saturates. Written as plain loops over the table
// that the compiler turns into vector code (the same operations in the same order, so the
// same bits). False when the values are not of that kind.
namespace {
bool MapWholeCurveInsideView(const TEllipseCurve& curve, TPixelPoint* pixels) noexcept {
  constexpr double kLimit = 1073741824.0;  // 2^30: far inside int
  if (!(ViewScale > 0.0) || !((ViewRight - ViewLeft) * ViewScale < kLimit) ||
      !((ViewTop - ViewBottom) * ViewScale < kLimit) || !(ViewHeight >= 0 && ViewHeight < kLimit))
    return false;
  for (const double v : {curve.Cx, curve.Cy, curve.R, curve.RFlat, curve.CosTilt, curve.SinTilt})
    if (!std::isfinite(v)) return false;
  const TWholeCurveAngles& a = WholeCurveAngles();
  const double cx = curve.Cx, cy = curve.Cy, r = curve.R, rFlat = curve.RFlat;
  const double cosTilt = curve.CosTilt, sinTilt = curve.SinTilt;
  const double left = ViewLeft, bottom = ViewBottom, scale = ViewScale;
  double sx[kCurveSegments + 1], sy[kCurveSegments + 1];
  for (int k = 0; k <= kCurveSegments; ++k) {
    const double u = r * a.Cos[k];
    const double v = rFlat * a.Sin[k];
    sx[k] = ((cx + cosTilt * u - sinTilt * v) - left) * scale;
    sy[k] = ((cy + sinTilt * u + cosTilt * v) - bottom) * scale;
  }
  // A point of the curve inside the view lies at or beyond its lower-left corner; checked,
  // since the box test allows for rounding and nothing else may reach the shortcut below.
  for (int k = 0; k <= kCurveSegments; ++k)
    if (!(sx[k] >= 0.0 && sy[k] >= 0.0 && sx[k] < kLimit && sy[k] < kLimit)) return false;
  const int height = ViewHeight;
  for (int k = 0; k <= kCurveSegments; ++k) {
    const int wx = static_cast<int>(sx[k]);
    const int wy = static_cast<int>(sy[k]);
    pixels[k] = {wx + (sx[k] - static_cast<double>(wx) >= 0.5 ? 1 : 0),
                 height - (wy + (sy[k] - static_cast<double>(wy) >= 0.5 ? 1 : 0))};
  }
  return true;
}
}  // namespace

TDPoint TEllipseCurve::AtWholeCurveStep(int k) const noexcept {
  const TWholeCurveAngles& a = WholeCurveAngles();
  const double u = R * a.Cos[k];
  const double v = RFlat * a.Sin[k];
  return {Cx + CosTilt * u - SinTilt * v, Cy + SinTilt * u + CosTilt * v};
}

double TEllipseCurve::Reach() const noexcept {
  // Every point lies within max(|R|, |R * flatness|) of the centre; the margin covers the
  // rounding of the points themselves.
  return std::max(std::fabs(R), std::fabs(RFlat)) * (1.0 + 1e-9) + 1e-300;
}

bool TEllipseCurve::InsideView() const noexcept {
  // The outcode is monotonic in each coordinate: when both corners of the box have none, no
  // point inside it has one. (Comparisons with NaN are false, so a NaN corner or point has
  // no outcode either: such points are mapped unclipped on both paths.)
  const double reach = Reach();
  return ViewOutcode(Cx - reach, Cy - reach) == 0 && ViewOutcode(Cx + reach, Cy + reach) == 0;
}

bool TEllipseCurve::WithinOnePixel(TPixelPoint& pixel) const noexcept {
  const double reach = Reach();
  // Inside the view with every point's outcode 0, so that no segment is clipped.
  if (!InsideView()) return false;
  // The mapping is monotonic: when both corners of the box round to one pixel, so does
  // every point inside it.
  const TPixelPoint low = WorldToScreen(Cx - reach, Cy - reach);
  const TPixelPoint high = WorldToScreen(Cx + reach, Cy + reach);
  if (!(low == high)) return false;
  pixel = low;
  return true;
}

bool TEllipseCurve::OutsideView() const noexcept {
  // Comparisons with NaN are false: such a curve is left to the clipping.
  const double reach = Reach();
  return Cx + reach < ViewLeft || Cx - reach > ViewRight || Cy + reach < ViewBottom ||
         Cy - reach > ViewTop;
}

namespace {

// An arc's 72 segments with the points turned by the step, two sines and cosines in all
// instead of one pair per point. A turned point differs from the one of the accumulated
// angle (At) by far less than margin; it is used where every point within margin of it lies
// inside the view and maps to its pixel, so that the segments draw what At's points would
// draw. Elsewhere At's point is taken.
void DrawArcByRotation(TCanvas& c, const TEllipseCurve& curve, double start, double step) {
  // The turned angles drift by a few rounding errors a step, the accumulated ones by up to
  // half an ulp of the angle a step; the margin allows for a hundred times both.
  const double turns = std::fabs(start) + std::fabs(step) * kCurveSegments;
  const double margin = (std::fabs(curve.R) + std::fabs(curve.RFlat)) * (1e-11 + 2e-13 * turns) +
                        1e-14 * (std::fabs(curve.Cx) + std::fabs(curve.Cy));
  const bool turning = std::isfinite(margin) && turns < 1e3 && ViewScale > 0.0;  // monotonic mapping
  // Every point inside the view: no segment is clipped, and each point is mapped once.
  const bool inside = curve.InsideView();
  const double cosStep = std::cos(step), sinStep = std::sin(step);
  double cosTheta = std::cos(start), sinTheta = std::sin(start);
  double theta = start;
  TDPoint previous = curve.AtCosSin(cosTheta, sinTheta);
  TPixelPoint pixels[kCurveSegments + 1];
  if (inside) pixels[0] = WorldToScreen(previous.X, previous.Y);
  for (int k = 1; k <= kCurveSegments; ++k) {
    theta += step;
    const double nextCos = cosTheta * cosStep - sinTheta * sinStep;
    sinTheta = sinTheta * cosStep + cosTheta * sinStep;
    cosTheta = nextCos;
    TDPoint p = curve.AtCosSin(cosTheta, sinTheta);
    TPixelPoint low{}, high{};
    bool settled = turning && ViewOutcode(p.X - margin, p.Y - margin) == 0 &&
                   ViewOutcode(p.X + margin, p.Y + margin) == 0;
    if (settled) {
      low = WorldToScreen(p.X - margin, p.Y - margin);
      high = WorldToScreen(p.X + margin, p.Y + margin);
      settled = low == high;
    }
    if (!settled) p = curve.At(theta);
    if (inside) {
      // The mapping is monotonic: a settled point maps to the pixel of both its margins.
      pixels[k] = settled ? low : WorldToScreen(p.X, p.Y);
    } else {
      DrawWorldSegment(c, previous.X, previous.Y, p.X, p.Y);
    }
    previous = p;
  }
  if (inside) c.PixelLines(pixels);  // the segments between the pixels, in order
}

// 72 segments between the points at start, start + step, ... with the angle accumulated.
// A curve beyond one edge of the view draws nothing; one within a single pixel draws what its
// segments would, 72 zero-length lines with their end pixel, without computing its points.
// wholeCurve: the angles are those of a whole curve (from 0 by the 5-degree step), whose sines
// and cosines come from the table.
void DrawCurve(TCanvas& c, const TEllipseCurve& curve, double start, double step, bool wholeCurve) {
  if (curve.OutsideView()) return;
  TPixelPoint pixel;
  if (curve.WithinOnePixel(pixel)) {
    TPixelPoint same[kCurveSegments + 1];
    std::fill(std::begin(same), std::end(same), pixel);
    c.PixelLines(same);
    return;
  }
  if (!wholeCurve) {
    DrawArcByRotation(c, curve, start, step);
    return;
  }
  if (curve.InsideView()) {
    // No segment is clipped: each point is mapped once, as DrawWorldSegment would map it.
    TPixelPoint pixels[kCurveSegments + 1];
    if (!MapWholeCurveInsideView(curve, pixels))
      for (int k = 0; k <= kCurveSegments; ++k) {
        const TDPoint p = curve.AtWholeCurveStep(k);
        pixels[k] = WorldToScreen(p.X, p.Y);
      }
    c.PixelLines(pixels);
    return;
  }
  TDPoint previous = curve.AtWholeCurveStep(0);
  for (int k = 1; k <= kCurveSegments; ++k) {
    const TDPoint p = curve.AtWholeCurveStep(k);
    DrawWorldSegment(c, previous.X, previous.Y, p.X, p.Y);
    previous = p;
  }
}

}  // namespace

void DrawWorldEllipse(TCanvas& c, double cx, double cy, double r, double flatness, double tilt) {
  DrawCurve(c, TEllipseCurve(cx, cy, r, flatness, tilt), 0.0, kCurveStep, true);
}

void DrawWorldEllipseArc(TCanvas& c, double cx, double cy, double r, double flatness,
                         double tilt, double start, double sweep) {
  DrawCurve(c, TEllipseCurve(cx, cy, r, flatness, tilt), start, sweep / kCurveSegments, false);
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
