#include "platform/qt/DrawingCaches.h"

#include <algorithm>
#include <array>

namespace sxf {

TQtDrawingCaches& BandDrawingCaches(int band) {
  static std::array<TQtDrawingCaches, kMaxDrawingBands> sets;
  return sets[static_cast<std::size_t>(std::clamp(band, 0, kMaxDrawingBands - 1))];
}

}  // namespace sxf
