#include "platform/RasterSurface.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/win32/DibCanvas.h"
#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/PngWriter.h"
#include "platform/win32/TextLocale.h"
#include "render/BandCanvases.h"

namespace sxf {

namespace {

class TGdiRasterSurface final : public TRasterSurface {
 public:
  // SXF_GDI_CANVAS=1 draws every operation through GDI: the plain path the picture and the
  // time of the DIB canvas are compared with.
  TGdiRasterSurface(int width, int height) : dib_(width, height) {
    // The weekday and era codes of the picture's texts in the system's words, as the window
    // writes them.
    InstallSystemTextLocale();
    if (!dib_.Valid()) return;
    const char* plain = std::getenv("SXF_GDI_CANVAS");
    plain_ = plain != nullptr && *plain != '\0' && *plain != '0';
    if (plain_)
      canvas_ = std::make_unique<TGdiCanvas>(dib_.Dc());
    else
      canvas_ = std::make_unique<TDibCanvas>(dib_);
  }
  bool Valid() const { return canvas_ != nullptr; }
  TCanvas& Canvas() override { return *canvas_; }
  std::vector<TCanvas*> BandCanvases(std::span<const TBand> bands) override {
    return HandOutBandCanvases(
        bands_, bands,
        [&] {
          // The plain path stays on one thread.
          return plain_ ? std::vector<std::unique_ptr<TDibCanvas>>()
                        : MakeBandCanvases(dib_, bands);
        },
        [&]() -> TCanvas& { return *canvas_; });
  }
  std::string WritePng(const std::string& path) override {
    canvas_.reset();  // the device context gets its own objects back
    bands_.clear();
    return sxf::WritePng(path, dib_.Width(), dib_.Height(), dib_.Pixels());
  }

 private:
  TDibSurface dib_;
  bool plain_ = false;
  std::unique_ptr<TCanvas> canvas_;
  std::vector<std::unique_ptr<TDibCanvas>> bands_;
};

}  // namespace

std::unique_ptr<TRasterSurface> CreateRasterSurface(int width, int height) {
  auto surface = std::make_unique<TGdiRasterSurface>(width, height);
  if (!surface->Valid()) return nullptr;
  return surface;
}

}  // namespace sxf
