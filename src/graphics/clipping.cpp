#include "graphics/clipping.h"

#include <cmath>

namespace sxf {

int PointVisibility(double x, double y, double xmin, double ymin, double xmax,
                    double ymax) noexcept {
  return ClipOutcode(x, y, xmin, ymin, xmax, ymax) == 0 ? ClipInside : ClipOutside;
}

int SegmentVisibility(double x1, double y1, double x2, double y2, double xmin, double ymin,
                      double xmax, double ymax) noexcept {
  const int c1 = ClipOutcode(x1, y1, xmin, ymin, xmax, ymax);
  const int c2 = ClipOutcode(x2, y2, xmin, ymin, xmax, ymax);
  if (c1 == 0 && c2 == 0) return ClipInside;
  if ((c1 & c2) != 0) return ClipOutside;
  return ClipPartial;
}

namespace {

// The four steps for one end point, in the order left, right, bottom, top.
void ClipEndPoint(double& x, double& y, int code, double x0, double y0, double dx, double dy,
                  double xmin, double ymin, double xmax, double ymax) noexcept {
  if ((code & 1) && std::fabs(dx) > ClipTolerance) {
    x = xmin;
    y = (xmin - x0) * dy / dx + y0;
    code = ClipOutcode(x, y, xmin, ymin, xmax, ymax);
  }
  if ((code & 2) && std::fabs(dx) > ClipTolerance) {
    x = xmax;
    y = (xmax - x0) * dy / dx + y0;
    code = ClipOutcode(x, y, xmin, ymin, xmax, ymax);
  }
  if ((code & 4) && std::fabs(dy) > ClipTolerance) {
    y = ymin;
    x = (ymin - y0) * dx / dy + x0;
    code = ClipOutcode(x, y, xmin, ymin, xmax, ymax);
  }
  if ((code & 8) && std::fabs(dy) > ClipTolerance) {
    y = ymax;
    x = (ymax - y0) * dx / dy + x0;
  }
}

}  // namespace

int ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                double xmax, double ymax) noexcept {
  const int c1 = ClipOutcode(x1, y1, xmin, ymin, xmax, ymax);
  const int c2 = ClipOutcode(x2, y2, xmin, ymin, xmax, ymax);
  if (c1 == 0 && c2 == 0) return ClipInside;
  if ((c1 & c2) != 0) return ClipOutside;
  const double x0 = x1, y0 = y1;
  const double dx = x2 - x1, dy = y2 - y1;
  ClipEndPoint(x1, y1, c1, x0, y0, dx, dy, xmin, ymin, xmax, ymax);
  ClipEndPoint(x2, y2, c2, x0, y0, dx, dy, xmin, ymin, xmax, ymax);
  if (std::fabs(x2 - x1) < ClipTolerance && std::fabs(y2 - y1) < ClipTolerance) return ClipOutside;
  return ClipPartial;
}

}  // namespace sxf
