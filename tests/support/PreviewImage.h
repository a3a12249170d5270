#pragma once
// The preview of the current model and view drawn into a new RGB32 image through a canvas on
// that image (QtCanvas, or one that wraps it): for the Qt-side pixel tests only.

#include <QImage>

#include "globals/UnitGval.h"
#include "preview/Preview.h"

namespace sxf::test {

// The fit-all view of a width x height preview zoomed by zoom about its centre, moved by panX
// view widths and panY view heights.
inline void ZoomAndPan(int width, int height, double zoom, double panX, double panY) {
  FitViewToDrawing(width, height);
  const double cx = (ViewLeft + ViewRight) / 2, cy = (ViewBottom + ViewTop) / 2;
  const double w = ViewRight - ViewLeft, h = ViewTop - ViewBottom;
  ViewScale *= zoom;
  CentreViewOn(cx + panX * w, cy + panY * h);
}

template <typename Canvas>
QImage DrawPreviewImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  Canvas canvas(image);
  DrawPreview(canvas, width, height);
  canvas.Flush();
  return image;
}

}  // namespace sxf::test
