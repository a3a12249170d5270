#pragma once
// The platform's off-screen picture for the preview (preview/PreviewPicture.h): QImage and
// QPainter in platform/qt, a GDI DIB section in platform/win32.

#include <memory>

#include "preview/PreviewPicture.h"

namespace sxf {

// A width x height picture, or nothing when it cannot be had (memory).
std::unique_ptr<TRasterSurface> CreateRasterSurface(int width, int height);

}  // namespace sxf
