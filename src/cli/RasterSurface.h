#pragma once
// An off-screen picture to draw the preview on and write as PNG, from the platform: QImage
// and QPainter on Linux, a GDI DIB section on Windows. The report's code sees only this.

#include <memory>
#include <string>

#include "graphics/Canvas.h"

namespace sxf {

class TRasterSurface {
 public:
  virtual ~TRasterSurface() = default;
  // The canvas drawing into the picture; valid until WritePng.
  virtual TCanvas& Canvas() = 0;
  // Finishes the drawing and writes the picture. Returns an empty string on success, else
  // what went wrong.
  virtual std::string WritePng(const std::string& path) = 0;
};

// A width x height picture, or nothing when it cannot be had (memory).
std::unique_ptr<TRasterSurface> CreateRasterSurface(int width, int height);

}  // namespace sxf
