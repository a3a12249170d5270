#include "platform/qt/SpanMask.h"

#include <algorithm>

namespace sxf {

std::vector<TPixelSpan> SpansOfMask(const QImage& mask, QPoint origin) {
  std::vector<TPixelSpan> spans;
  for (int y = 0; y < mask.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    int x = 0;
    while (x < mask.width()) {
      if ((row[x] & 0xFFFFFF) == 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < mask.width() && (row[x] & 0xFFFFFF) != 0) ++x;
      spans.push_back({y - origin.y(), start - origin.x(), x - start});
    }
  }
  return spans;
}

void FillSpans(QImage& image, const std::vector<TPixelSpan>& spans, QPoint origin, QRgb colour,
               int rowTop, int rowBottom) {
  const int width = image.width();
  const int firstRow = std::max(0, rowTop);
  const int endRow = std::min(image.height(), rowBottom);
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  for (const TPixelSpan& s : spans) {
    const int y = origin.y() + s.Dy;
    if (y < firstRow || y >= endRow) continue;
    const int x0 = std::max(0, origin.x() + s.Dx);
    const int x1 = std::min(width, origin.x() + s.Dx + s.Length);
    if (x0 >= x1) continue;
    auto* row = reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * stride);
    std::fill(row + x0, row + x1, colour);
  }
}

}  // namespace sxf
