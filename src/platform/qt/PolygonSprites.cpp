#include "platform/qt/PolygonSprites.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

#include "platform/qt/QtRgb.h"

namespace sxf {

bool TPolygonSprites::Draw(QImage& image, const TPen& pen, const TBrush& brush,
                           const QPolygon& polygon, int rowTop, int rowBottom) {
  if (polygon.size() < 3 || pen.Width > 1 || pen.Style != TPenStyle::Solid ||
      pen.Mode != TPenMode::Copy || brush.Style != TBrushStyle::Solid || brush.Color != pen.Color)
    return false;
  const QPoint origin = polygon.front();
  const QRect box = polygon.boundingRect();
  if (box.left() < 2 || box.top() < 2 || box.right() >= image.width() - 2 ||
      box.bottom() >= image.height() - 2 || box.left() < origin.x() - kMaxReach ||
      box.right() > origin.x() + kMaxReach || box.top() < origin.y() - kMaxReach ||
      box.bottom() > origin.y() + kMaxReach)
    return false;
  // The key: every point relative to the first.
  key_.resize(static_cast<std::size_t>(polygon.size()) * 2);
  for (qsizetype i = 0; i < polygon.size(); ++i) {
    const QPoint d = polygon[i] - origin;
    key_[static_cast<std::size_t>(2 * i)] = static_cast<char>(d.x());
    key_[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>(d.y());
  }

  auto it = sprites_.find(key_);
  if (it == sprites_.end()) {
    if (sprites_.size() >= 16384) sprites_.clear();
    // The shape drawn into a mask with its first point at (margin, margin) from the box.
    constexpr int kMargin = 2;
    const QPoint shift = QPoint(kMargin, kMargin) - box.topLeft();
    QImage mask(box.width() + 2 * kMargin, box.height() + 2 * kMargin, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
      QPainter p(&mask);
      p.setRenderHint(QPainter::Antialiasing, false);
      QPen qpen(Qt::white);
      qpen.setWidth(0);
      qpen.setCapStyle(Qt::FlatCap);
      p.setPen(qpen);
      p.setBrush(QBrush(Qt::white, Qt::SolidPattern));
      p.drawPolygon(polygon.translated(shift), Qt::OddEvenFill);
    }
    std::vector<TPixelSpan> spans = SpansOfMask(mask, origin + shift);
    it = sprites_.emplace(key_, std::move(spans)).first;
    ++made_;
  }

  FillSpans(image, it->second, origin, ToQRgb(pen.Color), rowTop, rowBottom);
  return true;
}

}  // namespace sxf
