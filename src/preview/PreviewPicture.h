#pragma once
// The preview as a picture file: drawn off screen on a surface the platform provides and
// written as PNG. The report's --png and the window's saved picture both come from here, so
// that the same view and size give the same pixels.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "graphics/Canvas.h"
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

// A box in world units: left, bottom, right, top.
using TWorldBox = std::array<double, 4>;

// Draws the preview on surface (width x height pixels) as the window shows it after fit-all,
// or, given a box, after a zoom to that box (the box fills the picture in its limiting
// direction, centred), with design lengths at dpi, and writes it to path. Leaves the view it
// drew (and ViewDpi) set. Returns an empty string on success, else what went wrong.
std::string WritePreviewPicture(TRasterSurface& surface, const std::string& path, int width,
                                int height, const std::optional<TWorldBox>& view, int dpi);

// Puts the view, the previous view, the preview's size and ViewDpi back as they were when it
// was made: a picture drawn between the window's own drawings leaves its view alone.
class TKeptView {
 public:
  TKeptView() noexcept;
  ~TKeptView();
  TKeptView(const TKeptView&) = delete;
  TKeptView& operator=(const TKeptView&) = delete;

 private:
  double left_, bottom_, right_, top_, scale_;
  double savedLeft_, savedBottom_, savedRight_, savedTop_, savedScale_;
  int width_, height_, dpi_;
};

}  // namespace sxf
