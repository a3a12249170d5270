#include "preview/PreviewPicture.h"

#include <memory>

#include "globals/UnitGval.h"
#include "preview/Preview.h"

namespace sxf {

TView PictureView(const TWorldBox& extents, int width, int height,
                  const std::optional<TWorldBox>& box, int dpi) {
  TView view;
  view.ViewDpi = dpi;
  FitViewToDrawing(view, extents, width, height);
  if (box) FitViewToBox(view, box->Left, box->Bottom, box->Right, box->Top, 1.0);
  return view;
}

std::string WritePreviewPicture(TRasterSurface& surface, const std::string& path,
                                const TDrawing& drawing, const TView& view) {
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
  const int width = view.ViewWidth, height = view.ViewHeight;
  const std::vector<TBand> bands = PictureBands(drawing, height);
  const bool complete =
      DrawInBands(surface.BandCanvases(bands), [&view, &drawing, width, height](TCanvas& c) {
        return DrawPreview(c, view, drawing, width, height);
      });
  std::string problem = surface.WritePng(path);  // the surface's drawing ends here either way
  if (problem.empty() && !complete) problem = "the drawing was stopped";
  return problem;
}

}  // namespace sxf
