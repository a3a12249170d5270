#pragma once
// A canvas colour (0x00BBGGRR) as the pixel value of a 32-bit QImage.

#include <QColor>

#include "attributes/UnitGraAtt.h"

namespace sxf {

inline QRgb ToQRgb(TColor c) noexcept {
  return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
              static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace sxf
