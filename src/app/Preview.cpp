#include "app/Preview.h"

#include <algorithm>
#include <cmath>

#include "app/UnitGval.h"
#include "graphics/Primitives.h"
#include "render/Renderer.h"
#include "search/Extents.h"

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
  double dx = std::fabs(ExtentRight - ExtentLeft);
  if (dx <= 1e-10) dx = 1e-10;
  double dy = std::fabs(ExtentTop - ExtentBottom);
  if (dy <= 1e-10) dy = 1e-10;
  const double sx = ViewWidth / dx * 0.9;
  const double sy = ViewHeight / dy * 0.9;
  ViewScale = sx < sy ? sx : sy;
  CentreViewOn((ExtentLeft + ExtentRight) / 2.0, (ExtentBottom + ExtentTop) / 2.0);
}

void CentreViewOn(double cx, double cy) {
  ViewLeft = cx - ViewWidth / 2.0 / ViewScale;
  ViewBottom = cy - ViewHeight / 2.0 / ViewScale;
  ViewRight = cx + ViewWidth / 2.0 / ViewScale;
  ViewTop = cy + ViewHeight / 2.0 / ViewScale;
}

bool DrawPreview(TCanvas& c, int width, int height) {
  ClearCanvas(c, width, height);
  SetPlainPen(c, RgbColor(0, 255, 255), 0, 0);
  DrawPixelBox(c, 0, 0, width - 1, height - 1);
  SetPlainPen(c, RgbColor(255, 0, 0), 0, 2);
  const double d = 5.0 / ViewScale;
  DrawWorldSegment(c, -d, 0.0, d, 0.0);
  DrawWorldSegment(c, 0.0, -d, 0.0, d);
  return RenderDrawing(c);
}

}  // namespace sxf
