#include "cli/RasterSurface.h"

#include <optional>

#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/PngWriter.h"
#include "platform/win32/TextLocale.h"

namespace sxf {

namespace {

class TGdiRasterSurface final : public TRasterSurface {
 public:
  TGdiRasterSurface(int width, int height) : dib_(width, height) {
    // The weekday and era codes of the picture's texts in the system's words, as the window
    // writes them.
    InstallSystemTextLocale();
    if (dib_.Valid()) canvas_.emplace(dib_.Dc());
  }
  bool Valid() const { return canvas_.has_value(); }
  TCanvas& Canvas() override { return *canvas_; }
  std::string WritePng(const std::string& path) override {
    canvas_.reset();  // the device context gets its own objects back
    return sxf::WritePng(path, dib_.Width(), dib_.Height(), dib_.Pixels());
  }

 private:
  TDibSurface dib_;
  std::optional<TGdiCanvas> canvas_;
};

}  // namespace

std::unique_ptr<TRasterSurface> CreateRasterSurface(int width, int height) {
  auto surface = std::make_unique<TGdiRasterSurface>(width, height);
  if (!surface->Valid()) return nullptr;
  return surface;
}

}  // namespace sxf
