#pragma once
// The preview as a picture file: drawn off screen on a surface the platform provides and
// written as PNG. The report's --png and the window's saved picture both come from here, so
// that the same view and size give the same pixels.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"
#include "util/WorldBox.h"
#include "render/Bands.h"

namespace sxf {

// An off-screen picture to draw the preview on and write as PNG: QImage and QPainter on
// Linux, a GDI DIB section on Windows.
class TRasterSurface {
 public:
  virtual ~TRasterSurface() = default;
  // The canvas drawing into the picture; valid until WritePng.
  virtual TCanvas& Canvas() = 0;
  // Canvases for the bands of the picture (render/Bands.h), in their order, each writing only
  // its band's rows, for drawing on several threads; or the one canvas of Canvas() where the
  // surface draws on one thread only. Either is valid until WritePng; use one or the other.
  virtual std::vector<TCanvas*> BandCanvases(std::span<const TBand> bands) {
    (void)bands;
    return {&Canvas()};
  }
  // Finishes the drawing and writes the picture (path in UTF-8). Returns an empty string on
  // success, else what went wrong.
  virtual std::string WritePng(const std::string& path) = 0;
};

// The view of a picture of width x height pixels as the window shows it after fit-all, or,
// given a box, after a zoom to that box (the box fills the picture in its limiting direction,
// centred), with design lengths at dpi.
TView PictureView(const TWorldBox& extents, int width, int height,
                  const std::optional<TWorldBox>& box, int dpi);

// Draws the preview of the drawing in the view on surface (the view's width x height pixels)
// and writes it to path. Returns an empty string on success, else what went wrong.
std::string WritePreviewPicture(TRasterSurface& surface, const std::string& path,
                                const TDrawing& drawing, const TView& view);

}  // namespace sxf
