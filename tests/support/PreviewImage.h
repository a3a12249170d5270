#pragma once
// The preview of a drawing in a view drawn into a new RGB32 image through a canvas on
// that image (QtCanvas, or one that wraps it): for the Qt-side pixel tests only.

#include <QImage>

#include "preview/Preview.h"
#include "search/Extents.h"

namespace sxf::test {

// The fit-all view of a width x height preview zoomed by zoom about its centre, moved by panX
// view widths and panY view heights.
inline void ZoomAndPan(TView& view, const TDrawing& drawing, int width, int height, double zoom,
                       double panX, double panY) {
  FitViewToDrawing(view, ComputeExtents(drawing), width, height);
  const double cx = (view.ViewLeft + view.ViewRight) / 2;
  const double cy = (view.ViewBottom + view.ViewTop) / 2;
  const double w = view.ViewRight - view.ViewLeft, h = view.ViewTop - view.ViewBottom;
  view.ViewScale *= zoom;
  CentreViewOn(view, cx + panX * w, cy + panY * h);
}

template <typename Canvas>
QImage DrawPreviewImage(const TView& view, const TDrawing& drawing, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  Canvas canvas(image);
  DrawPreview(canvas, view, drawing, width, height);
  canvas.Flush();
  return image;
}

}  // namespace sxf::test
