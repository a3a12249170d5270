#include "preview/Preview.h"

#include <algorithm>
#include <cmath>

#include "globals/UnitGval.h"
#include "graphics/Primitives.h"
#include "render/Renderer.h"
#include "search/Extents.h"
#include "search/LineTypeMarks.h"
#include "util/VectorState.h"

namespace sxf {

void FitViewToDrawing(int width, int height) {
  SavedViewScale = ViewScale;
  SavedViewLeft = ViewLeft;
  SavedViewBottom = ViewBottom;
  SavedViewRight = ViewRight;
  SavedViewTop = ViewTop;
  ViewWidth = std::max(1, width);
  ViewHeight = std::max(1, height);
  ComputeExtents();
  FitViewToBox(ExtentLeft, ExtentBottom, ExtentRight, ExtentTop);
  if (UsableView()) return;
  // Extents that overflow (coordinates near the double range, group scales near 0), or a box
  // so small that doubles cannot tell its edges apart, leave no usable view: show 100 units
  // around the drawing's centre, or around the origin.
  const double cx = (ExtentLeft + ExtentRight) / 2.0;
  const double cy = (ExtentBottom + ExtentTop) / 2.0;
  if (std::fabs(cx) < 1e12 && std::fabs(cy) < 1e12)
    FitViewToBox(cx - 100, cy - 100, cx + 100, cy + 100);
  if (!UsableView()) FitViewToBox(-100.0, -100.0, 100.0, 100.0);
}

bool UsableView() noexcept {
  return std::isfinite(ViewScale) && ViewScale > 0.0 && std::isfinite(ViewLeft) &&
         std::isfinite(ViewRight) && std::isfinite(ViewBottom) && std::isfinite(ViewTop) &&
         ViewLeft < ViewRight && ViewBottom < ViewTop;
}

void FitViewToBox(double left, double bottom, double right, double top, double share) {
  double dx = std::fabs(right - left);
  if (dx <= 1e-10) dx = 1e-10;
  double dy = std::fabs(top - bottom);
  if (dy <= 1e-10) dy = 1e-10;
  const double sx = ViewWidth / dx * share;
  const double sy = ViewHeight / dy * share;
  ViewScale = sx < sy ? sx : sy;
  CentreViewOn((left + right) / 2.0, (bottom + top) / 2.0);
}

void CentreViewOn(double cx, double cy) {
  ViewLeft = cx - ViewWidth / 2.0 / ViewScale;
  ViewBottom = cy - ViewHeight / 2.0 / ViewScale;
  ViewRight = cx + ViewWidth / 2.0 / ViewScale;
  ViewTop = cy + ViewHeight / 2.0 / ViewScale;
}

bool DrawPreview(TCanvas& c, int width, int height) {
  ClearUpperVectorState();
  ClearCanvas(c, width, height);
  SetPlainPen(c, RgbColor(0, 255, 255), 0, 0);
  DrawPixelBox(c, 0, 0, width - 1, height - 1);
  SetPlainPen(c, RgbColor(255, 0, 0), 0, ViewPixels(kOriginCrossPenPixels));
  const double d = ViewPixels(kOriginCrossArmPixels) / ViewScale;
  DrawWorldSegment(c, -d, 0.0, d, 0.0);
  DrawWorldSegment(c, 0.0, -d, 0.0, d);
  const bool drawn = RenderDrawing(c);
  // The marks go on after a break too; they poll the break themselves.
  const bool marked = DrawLineTypeMarks(c, MarkRadiusPixels() / ViewScale);
  return drawn && marked;
}

}  // namespace sxf
