#pragma once
// An off-screen picture to draw the preview on and write as PNG, from the platform: QImage
// and QPainter on Linux, a GDI DIB section on Windows. The report's code sees only this.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "graphics/Canvas.h"
#include "render/Bands.h"

namespace sxf {

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
  // Finishes the drawing and writes the picture. Returns an empty string on success, else
  // what went wrong.
  virtual std::string WritePng(const std::string& path) = 0;
};

// A width x height picture, or nothing when it cannot be had (memory).
std::unique_ptr<TRasterSurface> CreateRasterSurface(int width, int height);

}  // namespace sxf
