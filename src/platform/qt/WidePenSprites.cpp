#include "platform/qt/WidePenSprites.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstring>

namespace sxf {

namespace {

QColor ToQColor(TColor c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace

bool TWidePenSprites::Draw(QImage& image, const TPen& pen, std::span<const QLine> chain, int rowTop,
                           int rowBottom) {
  if (chain.empty() || pen.Width <= 1 || pen.Width > 16 || pen.Style != TPenStyle::Solid ||
      pen.Mode != TPenMode::Copy)
    return false;
  const QPoint origin = chain.front().p1();
  // The key: the width and every point relative to the first.
  key_.resize(1 + 2 * chain.size());
  char* at = key_.data();
  *at++ = static_cast<char>(pen.Width);
  for (const QLine& l : chain) {
    const int dx = l.p2().x() - origin.x();
    const int dy = l.p2().y() - origin.y();
    if (dx < -kMaxReach || dx > kMaxReach || dy < -kMaxReach || dy > kMaxReach) return false;
    *at++ = static_cast<char>(dx);
    *at++ = static_cast<char>(dy);
  }

  auto it = sprites_.find(key_);
  if (it == sprites_.end()) {
    if (sprites_.size() >= 16384) sprites_.clear();
    // Draw the chain into a mask just large enough, its first point at (mx, my).
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (const QLine& l : chain) {
      const QPoint d = l.p2() - origin;
      minX = std::min(minX, d.x());
      minY = std::min(minY, d.y());
      maxX = std::max(maxX, d.x());
      maxY = std::max(maxY, d.y());
    }
    const int margin = pen.Width + 2;
    const int mx = margin - minX;
    const int my = margin - minY;
    QImage mask(maxX - minX + 2 * margin + 1, maxY - minY + 2 * margin + 1, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
      QPainter p(&mask);
      p.setRenderHint(QPainter::Antialiasing, false);
      QPen qpen(Qt::white);
      qpen.setWidth(pen.Width);
      qpen.setCapStyle(Qt::RoundCap);
      qpen.setJoinStyle(Qt::RoundJoin);
      p.setPen(qpen);
      const QPoint shift = QPoint(mx, my) - origin;
      for (const QLine& l : chain) p.drawLine(l.translated(shift));
    }
    std::vector<TPixelSpan> spans = SpansOfMask(mask, QPoint(mx, my));
    it = sprites_.emplace(key_, std::move(spans)).first;
    ++made_;
  }

  FillSpans(image, it->second, origin, ToQColor(pen.Color).rgb(), rowTop, rowBottom);
  return true;
}

}  // namespace sxf
