#include "preview/Preview.h"

#include <algorithm>
#include <cmath>

#include "graphics/Primitives.h"
#include "render/Renderer.h"
#include "search/LineTypeMarks.h"
#include "util/VectorState.h"

namespace sxf {

void FitViewToDrawing(TView& view, const TWorldBox& extents, int width, int height) {
  view.ViewWidth = std::max(1, width);
  view.ViewHeight = std::max(1, height);
  const TWorldBox& e = extents;
  FitViewToBox(view, e.Left, e.Bottom, e.Right, e.Top);
  if (UsableView(view)) return;
  // Extents that overflow (coordinates near the double range, group scales near 0), or a box
  // so small that doubles cannot tell its edges apart, leave no usable view: show 100 units
  // around the drawing's centre, or around the origin.
  const double cx = (e.Left + e.Right) / 2.0;
  const double cy = (e.Bottom + e.Top) / 2.0;
  if (std::fabs(cx) < 1e12 && std::fabs(cy) < 1e12)
    FitViewToBox(view, cx - 100, cy - 100, cx + 100, cy + 100);
  if (!UsableView(view)) FitViewToBox(view, -100.0, -100.0, 100.0, 100.0);
}

bool UsableView(const TView& v) noexcept {
  return std::isfinite(v.ViewScale) && v.ViewScale > 0.0 && std::isfinite(v.ViewLeft) &&
         std::isfinite(v.ViewRight) && std::isfinite(v.ViewBottom) && std::isfinite(v.ViewTop) &&
         v.ViewLeft < v.ViewRight && v.ViewBottom < v.ViewTop;
}

void FitViewToBox(TView& view, double left, double bottom, double right, double top, double share) {
  double dx = std::fabs(right - left);
  if (dx <= 1e-10) dx = 1e-10;
  double dy = std::fabs(top - bottom);
  if (dy <= 1e-10) dy = 1e-10;
  const double sx = view.ViewWidth / dx * share;
  const double sy = view.ViewHeight / dy * share;
  view.ViewScale = sx < sy ? sx : sy;
  CentreViewOn(view, (left + right) / 2.0, (bottom + top) / 2.0);
}

void CentreViewOn(TView& v, double cx, double cy) {
  v.ViewLeft = cx - v.ViewWidth / 2.0 / v.ViewScale;
  v.ViewBottom = cy - v.ViewHeight / 2.0 / v.ViewScale;
  v.ViewRight = cx + v.ViewWidth / 2.0 / v.ViewScale;
  v.ViewTop = cy + v.ViewHeight / 2.0 / v.ViewScale;
}

bool DrawPreview(TCanvas& c, const TView& view, const TDrawing& drawing, int width, int height) {
  ClearUpperVectorState();
  ClearCanvas(c, width, height);
  SetPlainPen(c, RgbColor(0, 255, 255), 0, 0);
  DrawPixelBox(c, 0, 0, width - 1, height - 1);
  SetPlainPen(c, RgbColor(255, 0, 0), 0, view.ViewPixels(kOriginCrossPenPixels));
  const double d = view.ViewPixels(kOriginCrossArmPixels) / view.ViewScale;
  DrawWorldSegment(c, view, -d, 0.0, d, 0.0);
  DrawWorldSegment(c, view, 0.0, -d, 0.0, d);
  const bool drawn = RenderDrawing(c, view, drawing);
  // The marks go on after a break too; they poll the break themselves.
  const bool marked = DrawLineTypeMarks(c, view, drawing, MarkRadiusPixels(view) / view.ViewScale);
  return drawn && marked;
}

}  // namespace sxf
