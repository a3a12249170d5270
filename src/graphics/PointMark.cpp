#include "graphics/PointMark.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "globals/UnitGval.h"
#include "graphics/Curves.h"
#include "graphics/Primitives.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// A mark: the point P, the frame's angle and the scale of its units.
struct TMarkFrame {
  double X, Y, Angle, K;

  // Point (u, v) in units of k in the mark frame.
  TDPoint At(double u, double v) const noexcept {
    const TDPoint r = RotatePoint(u * K, v * K, 0.0, 0.0, Angle);
    return {X + r.X, Y + r.Y};
  }
  // Point at distance d (units of k) in direction degrees of the mark frame.
  TDPoint Polar(double d, double degrees) const noexcept {
    const double phi = DegToRad(degrees);
    return At(d * std::cos(phi), d * std::sin(phi));
  }
};

void Segment(TCanvas& c, const TView& view, const TDPoint& a, const TDPoint& b) {
  DrawWorldSegment(c, view, a.X, a.Y, b.X, b.Y);
}

void Circle(TCanvas& c, const TView& view, double x, double y, double radius) {
  DrawWorldEllipse(c, view, x, y, radius, 1.0, 0.0);
}

void Polygon(TCanvas& c, const TView& view, const TMarkFrame& f,
             std::initializer_list<TDPoint> frame) {
  ClearWorldPoints(c);
  for (const TDPoint& p : frame) AddWorldPoint(c, f.At(p.X, p.Y));
  DrawWorldPolygon(c, view);
  ClearWorldPoints(c);
}

void Arrowhead(TCanvas& c, const TView& view, const TMarkFrame& f) {
  Polygon(c, view, f, {{0, 0}, {-7.5, 1.25}, {-7.5, -1.25}});
}
void Square(TCanvas& c, const TView& view, const TMarkFrame& f) {
  Polygon(c, view, f, {{-1.25, -1.25}, {1.25, -1.25}, {1.25, 1.25}, {-1.25, 1.25}});
}

double AtLeastOnePixel(const TView& view, double radius) noexcept {
  const double pixel = view.ViewScale > 0.0 ? 1.0 / view.ViewScale : 0.0;
  return std::max(radius, pixel);
}

bool InTable(int code) noexcept { return code >= -7 && code <= 11; }

}  // namespace

void DrawPointMark(TCanvas& c, const TView& view, int code, double x, double y, double k,
                   double angle, int colorNumber, int lineWidth) {
  if (k <= 1e-8) k = 1.0;
  const double penWidth = GraAttr ? GraAttr->GetPenWidth(colorNumber) : 0.0;
  const double dotSize = GraAttr ? GraAttr->GetDotSize(colorNumber) : 0.1;
  const double w = lineWidth != 0 ? lineWidth * 0.01 : penWidth;
  const TColor back = GraAttr ? GraAttr->GetBackColor() : RgbColor(255, 255, 255);

  SetEntityPen(c, colorNumber, 1);
  if (code == 0 || code == 5 || code == 6 || code == 7 || code == -3 || !InTable(code)) {
    SetEntityBrush(c, colorNumber, 1);
  } else if (code == 1 || code == 2 || code == 3) {
    SetPlainBrush(c, back, 1);
  }

  const TMarkFrame f{x, y, angle, k};
  switch (code) {
    case 0: Circle(c, view, x, y, AtLeastOnePixel(view, w / 2.0 + dotSize)); break;
    case 1:
    case 6:
    case 11: Arrowhead(c, view, f); break;
    case 2:
    case 5: Square(c, view, f); break;
    case 3:
    case 4:
    case 7:
    case -2: Circle(c, view, x, y, 1.25 * k); break;
    case 8: {
      constexpr double t = 1.7677669529663689;  // 1.25 * sqrt(2)
      const TDPoint right = f.At(t, 0.0);
      const TDPoint left = f.At(-t, 0.0);
      DrawWorldEllipseArc(c, view, right.X, right.Y, t * k, 1.0, angle, DegToRad(90), DegToRad(90));
      DrawWorldEllipseArc(c, view, left.X, left.Y, t * k, 1.0, angle, DegToRad(270), DegToRad(90));
      break;
    }
    case 9:
      Segment(c, view, f.At(0, 0), f.At(-7.5, 1.25));
      Segment(c, view, f.At(0, 0), f.At(-7.5, -1.25));
      break;
    case 10: Segment(c, view, f.Polar(2.5, 45), f.Polar(2.5, 225)); break;
    case -1:
      Segment(c, view, f.At(0, 1.25), f.At(0, -1.25));
      Segment(c, view, f.Polar(1.25, 30), f.Polar(1.25, 210));
      Segment(c, view, f.Polar(1.25, 150), f.Polar(1.25, 330));
      break;
    case -3: Circle(c, view, x, y, AtLeastOnePixel(view, penWidth * k)); break;
    case -4:
      Segment(c, view, f.At(0, 1.25), f.At(0, -1.25));
      Segment(c, view, f.At(-1.25, 0), f.At(1.25, 0));
      break;
    case -5:
      Segment(c, view, f.At(-1.25, -1.25), f.At(1.25, -1.25));
      Segment(c, view, f.At(1.25, -1.25), f.At(1.25, 1.25));
      Segment(c, view, f.At(1.25, 1.25), f.At(-1.25, 1.25));
      Segment(c, view, f.At(-1.25, 1.25), f.At(-1.25, -1.25));
      break;
    case -6: {
      constexpr double d = 1.6666666666666667;  // 5/3
      Segment(c, view, f.Polar(d, 90), f.Polar(d, 210));
      Segment(c, view, f.Polar(d, 210), f.Polar(d, 330));
      Segment(c, view, f.Polar(d, 330), f.Polar(d, 90));
      break;
    }
    case -7:
      Segment(c, view, f.Polar(1.25, 45), f.Polar(1.25, 225));
      Segment(c, view, f.Polar(1.25, 135), f.Polar(1.25, 315));
      break;
    default: Circle(c, view, x, y, 1.25 * k); break;
  }
}

}  // namespace sxf
