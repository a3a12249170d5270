#include "graphics/Curves.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

TDPoint TEllipseCurve::At(double theta) const noexcept {
  return AtCosSin(std::cos(theta), std::sin(theta));
}

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

namespace {

constexpr double kMapLimit = 1073741824.0;  // 2^30: far inside int

// True when every point inside the view lies less than 2^30 pixels from its lower-left
// corner along each axis, and the preview's height is of that kind too: the pixels of such
// points need no saturation.
bool SmallView(const TView& view) noexcept {
  return view.ViewScale > 0.0 && (view.ViewRight - view.ViewLeft) * view.ViewScale < kMapLimit &&
         (view.ViewTop - view.ViewBottom) * view.ViewScale < kMapLimit && view.ViewHeight >= 0 &&
         view.ViewHeight < kMapLimit;
}

#if defined(__SSE2__)
// RoundHalfAway of two values known to lie in [0, 2^30): the integer part plus one where the
// fraction, exact in a double, is at least a half. The two results are the low two lanes.
inline __m128i RoundTwoNonNegative(__m128d v) noexcept {
  const __m128i whole = _mm_cvttpd_epi32(v);
  const __m128d fraction = _mm_sub_pd(v, _mm_cvtepi32_pd(whole));
  const __m128d up = _mm_cmpge_pd(fraction, _mm_set1_pd(0.5));  // all ones where it rounds up
  return _mm_sub_epi32(whole, _mm_shuffle_epi32(_mm_castpd_si128(up), _MM_SHUFFLE(3, 3, 2, 0)));
}
#endif

// The pixels of a whole curve's 73 points, the same as WorldToScreen of AtWholeCurveStep, for
// a curve inside the view: every coordinate measured from the view's lower-left corner is then
// at least 0, so that rounding half away from zero is the integer part plus one when the
// fraction is at least a half, and nothing saturates. Two points at a time where the machine
// has SSE2 (the same operations in the same order, so the same bits). False when the values
// are not of that kind.
bool MapWholeCurveInsideView(const TView& view, const TEllipseCurve& curve,
                             TPixelPoint* pixels) noexcept {
  if (!SmallView(view)) return false;
  for (const double v : {curve.Cx, curve.Cy, curve.R, curve.RFlat, curve.CosTilt, curve.SinTilt})
    if (!std::isfinite(v)) return false;
  const TWholeCurveAngles& a = WholeCurveAngles();
  const double cx = curve.Cx, cy = curve.Cy, r = curve.R, rFlat = curve.RFlat;
  const double cosTilt = curve.CosTilt, sinTilt = curve.SinTilt;
  const double left = view.ViewLeft, bottom = view.ViewBottom, scale = view.ViewScale;
  const int height = view.ViewHeight;
  int k = 0;
#if defined(__SSE2__)
  const __m128d vcx = _mm_set1_pd(cx), vcy = _mm_set1_pd(cy), vr = _mm_set1_pd(r),
                vrFlat = _mm_set1_pd(rFlat);
  const __m128d vCosTilt = _mm_set1_pd(cosTilt), vSinTilt = _mm_set1_pd(sinTilt);
  const __m128d vLeft = _mm_set1_pd(left), vBottom = _mm_set1_pd(bottom),
                vScale = _mm_set1_pd(scale);
  const __m128d zero = _mm_setzero_pd(), limit = _mm_set1_pd(kMapLimit);
  for (; k + 1 <= kCurveSegments; k += 2) {
    const __m128d u = _mm_mul_pd(vr, _mm_loadu_pd(&a.Cos[k]));
    const __m128d v = _mm_mul_pd(vrFlat, _mm_loadu_pd(&a.Sin[k]));
    const __m128d x = _mm_mul_pd(
        _mm_sub_pd(_mm_sub_pd(_mm_add_pd(vcx, _mm_mul_pd(vCosTilt, u)), _mm_mul_pd(vSinTilt, v)),
                   vLeft),
        vScale);
    const __m128d y = _mm_mul_pd(
        _mm_sub_pd(_mm_add_pd(_mm_add_pd(vcy, _mm_mul_pd(vSinTilt, u)), _mm_mul_pd(vCosTilt, v)),
                   vBottom),
        vScale);
    const __m128d ok = _mm_and_pd(_mm_and_pd(_mm_cmpge_pd(x, zero), _mm_cmpge_pd(y, zero)),
                                  _mm_and_pd(_mm_cmplt_pd(x, limit), _mm_cmplt_pd(y, limit)));
    if (_mm_movemask_pd(ok) != 3) return false;
    const __m128i px = RoundTwoNonNegative(x), py = RoundTwoNonNegative(y);
    pixels[k] = {_mm_cvtsi128_si32(px), height - _mm_cvtsi128_si32(py)};
    pixels[k + 1] = {_mm_cvtsi128_si32(_mm_srli_si128(px, 4)),
                     height - _mm_cvtsi128_si32(_mm_srli_si128(py, 4))};
  }
#endif
  for (; k <= kCurveSegments; ++k) {
    const double u = r * a.Cos[k];
    const double v = rFlat * a.Sin[k];
    const double x = ((cx + cosTilt * u - sinTilt * v) - left) * scale;
    const double y = ((cy + sinTilt * u + cosTilt * v) - bottom) * scale;
    // A point of the curve inside the view lies at or beyond its lower-left corner; checked,
    // since the box test allows for rounding and nothing else may reach the shortcut below.
    if (!(x >= 0.0 && y >= 0.0 && x < kMapLimit && y < kMapLimit)) return false;
    const int wx = static_cast<int>(x);
    const int wy = static_cast<int>(y);
    pixels[k] = {wx + (x - static_cast<double>(wx) >= 0.5 ? 1 : 0),
                 height - (wy + (y - static_cast<double>(wy) >= 0.5 ? 1 : 0))};
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

bool TEllipseCurve::InsideView(const TView& view) const noexcept {
  // The outcode is monotonic in each coordinate: when both corners of the box have none, no
  // point inside it has one. (Comparisons with NaN are false, so a NaN corner or point has
  // no outcode either: such points are mapped unclipped on both paths.)
  const double reach = Reach();
  return ViewOutcode(view, Cx - reach, Cy - reach) == 0 &&
         ViewOutcode(view, Cx + reach, Cy + reach) == 0;
}

bool TEllipseCurve::WithinOnePixel(const TView& view, TPixelPoint& pixel) const noexcept {
  const double reach = Reach();
  // Inside the view with every point's outcode 0, so that no segment is clipped.
  if (!InsideView(view)) return false;
  // The mapping is monotonic: when both corners of the box round to one pixel, so does
  // every point inside it.
  const TPixelPoint low = WorldToScreen(view, Cx - reach, Cy - reach);
  const TPixelPoint high = WorldToScreen(view, Cx + reach, Cy + reach);
  if (!(low == high)) return false;
  pixel = low;
  return true;
}

bool TEllipseCurve::OutsideView(const TView& view) const noexcept {
  // Comparisons with NaN are false: such a curve is left to the clipping.
  const double reach = Reach();
  return Cx + reach < view.ViewLeft || Cx - reach > view.ViewRight ||
         Cy + reach < view.ViewBottom || Cy - reach > view.ViewTop;
}

namespace {

// An arc's 72 segments with the points turned by the step, two sines and cosines in all
// instead of one pair per point. A turned point differs from the one of the accumulated
// angle (At) by far less than margin, and stands for At's point where that gives the same
// pixels:
// - where every point within margin of it lies inside the view and maps to its pixel, for a
//   segment whose other end lies inside the view too (a segment that is not cut, whose ends
//   are only mapped);
// - where every point within margin of it lies beyond an edge of the view, for a segment
//   whose other end lies beyond that edge too (a segment that draws nothing).
// Every other segment is drawn between At's points: where a segment is cut, the cut follows
// its ends exactly.
void DrawArcByRotation(TCanvas& c, const TView& view, const TEllipseCurve& curve, double start,
                       double step) {
  // The turned angles drift by a few rounding errors a step, the accumulated ones by up to
  // half an ulp of the angle a step; the margin allows for a hundred times both.
  const double turns = std::fabs(start) + std::fabs(step) * kCurveSegments;
  const double margin = (std::fabs(curve.R) + std::fabs(curve.RFlat)) * (1e-11 + 2e-13 * turns) +
                        1e-14 * (std::fabs(curve.Cx) + std::fabs(curve.Cy));
  const bool turning =
      std::isfinite(margin) && turns < 1e3 && view.ViewScale > 0.0;  // monotonic mapping
  // Every point inside the view: no segment is clipped, and each point is mapped once.
  const bool inside = curve.InsideView(view);
  const double cosStep = std::cos(step), sinStep = std::sin(step);
  double cosTheta = std::cos(start), sinTheta = std::sin(start);
  double theta = start;
  TDPoint previous = curve.AtCosSin(cosTheta, sinTheta);
  TPixelPoint pixels[kCurveSegments + 1];
  if (inside) pixels[0] = WorldToScreen(view, previous.X, previous.Y);
  // The previous point: whether it is At's, its angle, and edges of the view it certainly
  // lies beyond (outcode bits; none for a point certainly inside the view).
  bool previousExact = true;
  double previousTheta = theta;
  int previousBeyond = ViewOutcode(view, previous.X, previous.Y);
#if defined(__SSE2__)
  // The margins' test two coordinates at a time where that is exact; anything else takes the
  // plain test below.
  const bool quick = turning && SmallView(view);
  const __m128d vMargin = _mm_set1_pd(margin), vScale = _mm_set1_pd(view.ViewScale);
  const __m128d vMin = _mm_set_pd(view.ViewBottom, view.ViewLeft),
                vMax = _mm_set_pd(view.ViewTop, view.ViewRight);
  const __m128d vTolerance = _mm_set1_pd(ClipTolerance),
                vMinusTolerance = _mm_set1_pd(-ClipTolerance);
#endif
  for (int k = 1; k <= kCurveSegments; ++k) {
    theta += step;
    const double nextCos = cosTheta * cosStep - sinTheta * sinStep;
    sinTheta = sinTheta * cosStep + cosTheta * sinStep;
    cosTheta = nextCos;
    TDPoint p = curve.AtCosSin(cosTheta, sinTheta);
    TPixelPoint low{}, high{};
    bool settled = false;
#if defined(__SSE2__)
    if (quick) {
      // Both margins strictly inside the view in ordered comparisons (no NaN), so that their
      // coordinates from the lower-left corner lie in [0, 2^30) and round as plain values.
      const __m128d point = _mm_set_pd(p.Y, p.X);
      const __m128d lo = _mm_sub_pd(point, vMargin), hi = _mm_add_pd(point, vMargin);
      const __m128d loFromMin = _mm_sub_pd(lo, vMin), hiFromMin = _mm_sub_pd(hi, vMin);
      const __m128d in =
          _mm_and_pd(_mm_and_pd(_mm_cmpge_pd(loFromMin, vTolerance),
                                _mm_cmple_pd(_mm_sub_pd(lo, vMax), vMinusTolerance)),
                     _mm_and_pd(_mm_cmpge_pd(hiFromMin, vTolerance),
                                _mm_cmple_pd(_mm_sub_pd(hi, vMax), vMinusTolerance)));
      if (_mm_movemask_pd(in) == 3) {
        const __m128i lowPixel = RoundTwoNonNegative(_mm_mul_pd(loFromMin, vScale));
        const __m128i highPixel = RoundTwoNonNegative(_mm_mul_pd(hiFromMin, vScale));
        if ((_mm_movemask_epi8(_mm_cmpeq_epi32(lowPixel, highPixel)) & 0xFF) == 0xFF) {
          settled = true;
          low = {_mm_cvtsi128_si32(lowPixel),
                 view.ViewHeight - _mm_cvtsi128_si32(_mm_srli_si128(lowPixel, 4))};
        }
      }
    }
#endif
    if (!settled) {
      settled = turning && ViewOutcode(view, p.X - margin, p.Y - margin) == 0 &&
                ViewOutcode(view, p.X + margin, p.Y + margin) == 0;
      if (settled) {
        low = WorldToScreen(view, p.X - margin, p.Y - margin);
        high = WorldToScreen(view, p.X + margin, p.Y + margin);
        settled = low == high;
      }
    }
    bool exact = false;
    int beyond = 0;  // a settled point lies inside the view
    if (!settled && turning && !inside) {
      // Outcode bits that both corners of the margin's box have, every point in it has too.
      beyond = ViewOutcode(view, p.X - margin, p.Y - margin) &
               ViewOutcode(view, p.X + margin, p.Y + margin);
    }
    if (!settled && beyond == 0) {
      p = curve.At(theta);
      exact = true;
      beyond = ViewOutcode(view, p.X, p.Y);
    }
    if (inside) {
      // The mapping is monotonic: a settled point maps to the pixel of both its margins.
      pixels[k] = settled ? low : WorldToScreen(view, p.X, p.Y);
    } else if ((previousBeyond & beyond) == 0) {
      if ((previousBeyond | beyond) != 0) {  // a segment that may be cut
        if (!previousExact) previous = curve.At(previousTheta);
        if (!exact) p = curve.At(theta), exact = true;
      }
      DrawWorldSegment(c, view, previous.X, previous.Y, p.X, p.Y);
    }
    previous = p;
    previousExact = exact;
    previousTheta = theta;
    previousBeyond = beyond;
  }
  if (inside) c.PixelLines(pixels);  // the segments between the pixels, in order
}

// 72 segments between the points at start, start + step, ... with the angle accumulated.
// A curve beyond one edge of the view draws nothing; one within a single pixel draws what its
// segments would, 72 zero-length lines with their end pixel, without computing its points.
// wholeCurve: the angles are those of a whole curve (from 0 by the 5-degree step), whose sines
// and cosines come from the table.
void DrawCurve(TCanvas& c, const TView& view, const TEllipseCurve& curve, double start, double step,
               bool wholeCurve) {
  if (curve.OutsideView(view)) return;
  TPixelPoint pixel;
  if (curve.WithinOnePixel(view, pixel)) {
    TPixelPoint same[kCurveSegments + 1];
    std::fill(std::begin(same), std::end(same), pixel);
    c.PixelLines(same);
    return;
  }
  if (!wholeCurve) {
    DrawArcByRotation(c, view, curve, start, step);
    return;
  }
  if (curve.InsideView(view)) {
    // No segment is clipped: each point is mapped once, as DrawWorldSegment would map it.
    TPixelPoint pixels[kCurveSegments + 1];
    if (!MapWholeCurveInsideView(view, curve, pixels))
      for (int k = 0; k <= kCurveSegments; ++k) {
        const TDPoint p = curve.AtWholeCurveStep(k);
        pixels[k] = WorldToScreen(view, p.X, p.Y);
      }
    c.PixelLines(pixels);
    return;
  }
  TDPoint previous = curve.AtWholeCurveStep(0);
  for (int k = 1; k <= kCurveSegments; ++k) {
    const TDPoint p = curve.AtWholeCurveStep(k);
    DrawWorldSegment(c, view, previous.X, previous.Y, p.X, p.Y);
    previous = p;
  }
}

}  // namespace

void DrawWorldEllipse(TCanvas& c, const TView& view, double cx, double cy, double r,
                      double flatness, double tilt) {
  DrawCurve(c, view, TEllipseCurve(cx, cy, r, flatness, tilt), 0.0, kCurveStep, true);
}

void DrawWorldEllipseArc(TCanvas& c, const TView& view, double cx, double cy, double r,
                         double flatness, double tilt, double start, double sweep) {
  DrawCurve(c, view, TEllipseCurve(cx, cy, r, flatness, tilt), start, sweep / kCurveSegments,
            false);
}

void DrawArcDegrees(TCanvas& c, const TView& view, double cx, double cy, double r, double startDeg,
                    double endDeg, double flatness, double tiltDeg) {
  const double sweepRaw = endDeg - startDeg;
  if (!std::isfinite(startDeg) || !std::isfinite(endDeg) || !std::isfinite(sweepRaw)) return;
  const double s = NormalizeDegrees(startDeg);
  const double w = NormalizeDegrees(sweepRaw);
  const double tilt = DegToRad(tiltDeg);
  if (std::fabs(w) <= 1e-8) {
    DrawWorldEllipse(c, view, cx, cy, r, flatness, tilt);
  } else {
    DrawWorldEllipseArc(c, view, cx, cy, r, flatness, tilt, DegToRad(s), DegToRad(w));
  }
}

}  // namespace sxf
