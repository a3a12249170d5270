#pragma once
// The preview of the current model and view drawn into a new RGB32 image through a canvas on
// that image (QtCanvas, or one that wraps it): for the Qt-side pixel tests only.

#include <QImage>

#include "preview/Preview.h"

namespace sxf::test {

template <typename Canvas>
QImage DrawPreviewImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  Canvas canvas(image);
  DrawPreview(canvas, width, height);
  canvas.Flush();
  return image;
}

}  // namespace sxf::test
