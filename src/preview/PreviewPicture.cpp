#include "preview/PreviewPicture.h"

#include <memory>

#include "globals/UnitGval.h"
#include "preview/Preview.h"

namespace sxf {

std::string WritePreviewPicture(TRasterSurface& surface, const std::string& path, int width,
                                int height, const std::optional<TWorldBox>& view, int dpi) {
  // Attributes made here for the drawing are gone again on every way out.
  struct TOwnAttributes {
    bool Own = !GraAttr;
    TOwnAttributes() {
      if (Own) GraAttr = std::make_unique<TgraAttribute>();
    }
    ~TOwnAttributes() {
      if (Own) GraAttr.reset();
    }
  } attributes;
  ViewDpi = dpi;
  FitViewToDrawing(width, height);
  if (view) FitViewToBox((*view)[0], (*view)[1], (*view)[2], (*view)[3], 1.0);
  const std::vector<TBand> bands = PictureBands(height);
  const bool complete = DrawInBands(surface.BandCanvases(bands), [width, height](TCanvas& c) {
    return DrawPreview(c, width, height);
  });
  std::string problem = surface.WritePng(path);  // the surface's drawing ends here either way
  if (problem.empty() && !complete) problem = "the drawing was stopped";
  return problem;
}

TKeptView::TKeptView() noexcept
    : left_(ViewLeft),
      bottom_(ViewBottom),
      right_(ViewRight),
      top_(ViewTop),
      scale_(ViewScale),
      savedLeft_(SavedViewLeft),
      savedBottom_(SavedViewBottom),
      savedRight_(SavedViewRight),
      savedTop_(SavedViewTop),
      savedScale_(SavedViewScale),
      width_(ViewWidth),
      height_(ViewHeight),
      dpi_(ViewDpi) {}

TKeptView::~TKeptView() {
  ViewLeft = left_, ViewBottom = bottom_, ViewRight = right_, ViewTop = top_, ViewScale = scale_;
  SavedViewLeft = savedLeft_, SavedViewBottom = savedBottom_, SavedViewRight = savedRight_;
  SavedViewTop = savedTop_, SavedViewScale = savedScale_;
  ViewWidth = width_, ViewHeight = height_, ViewDpi = dpi_;
}

}  // namespace sxf
