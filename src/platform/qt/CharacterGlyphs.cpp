#include "platform/qt/CharacterGlyphs.h"

#include <QImage>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/qt/CharacterKey.h"

namespace sxf {

namespace {

// The glyph cache's limit can be moved by the environment; then nothing is assumed about it.
bool CacheLimitIsTheDefault() {
  static const bool unset = std::getenv("QT_MAX_CACHED_GLYPH_SIZE") == nullptr;
  return unset;
}

void FillOutline(QPainter& p, const QPainterPath& path) {
  // What the painter's text path does: the outline filled with the pen's brush, smoothed.
  const bool smoothed = p.testRenderHint(QPainter::Antialiasing);
  if (!smoothed) p.setRenderHint(QPainter::Antialiasing, true);
  p.fillPath(path, p.pen().brush());
  if (!smoothed) p.setRenderHint(QPainter::Antialiasing, false);
}

// QPainter's product of a colour and a coverage, each channel rounded as it rounds.
inline uint ByteMul(uint x, uint a) noexcept {
  quint64 t =
      ((static_cast<quint64>(x) | (static_cast<quint64>(x) << 24)) & 0x00ff00ff00ff00ffULL) * a;
  t = (t + ((t >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
  t &= 0x00ff00ff00ff00ffULL;
  return static_cast<uint>(t) | static_cast<uint>(t >> 24);
}

// The whole-pixel part of a transform's offset, and the transform less it.
QPoint WholeOffset(const QTransform& t) noexcept {
  return {static_cast<int>(std::floor(t.dx())), static_cast<int>(std::floor(t.dy()))};
}
QTransform LessWholeOffset(const QTransform& t) noexcept {
  const QPoint whole = WholeOffset(t);
  return QTransform(t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.dx() - whole.x(),
                    t.dy() - whole.y(), t.m33());
}

// Blends the mask at whole-pixel offset `at` into rows rowTop .. rowBottom - 1 of the image, in
// the colour, as QPainter blends a smoothed fill of an opaque colour.
template <typename Mask>
void BlendMask(QImage& image, const Mask& mask, QPoint at, QRgb colour, int rowTop, int rowBottom) {
  const QRect target = mask.Box.translated(at);
  const int x0 = std::max(0, target.left()), x1 = std::min(image.width(), target.right() + 1);
  const int y0 = std::max({0, rowTop, target.top()}),
            y1 = std::min({image.height(), rowBottom, target.bottom() + 1});
  for (int y = y0; y < y1; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uchar* cover = mask.Coverage.data() +
                         static_cast<std::ptrdiff_t>(y - target.top()) * target.width() -
                         target.left();
    for (int x = x0; x < x1; ++x) {
      const uint c = cover[x];
      if (c == 0) continue;
      row[x] = c == 255 ? colour : ByteMul(colour, c) + ByteMul(row[x], 255 - c);
    }
  }
}

}  // namespace

TCharacterGlyphs::TGlyph TCharacterGlyphs::Make(const TQtFont& font, const QString& chars,
                                                const QTransform& transform, bool outline) {
  ++made_;
  TGlyph out;
  const QRawFont raw = QRawFont::fromFont(font.Font);
  if (!raw.isValid()) return out;
  const QList<quint32> indexes = raw.glyphIndexesForString(chars);
  if (indexes.size() != 1 || indexes.front() == 0) return out;  // not one glyph of the face itself
  QPainterPath path = raw.pathForGlyph(indexes.front());
  path.setFillRule(Qt::WindingFill);
  out.Run.setRawFont(raw);
  out.Run.setGlyphIndexes({indexes.front()});
  out.Run.setPositions({QPointF(0.0, 0.0)});
  if (outline) out.Path = path;
  const TWay way = outline ? TWay::Outline : TWay::GlyphRun;

  // Once: the character written both ways into a scratch picture with the same turn, scale
  // and fraction of a pixel, on a background of two colours.
  const QRectF box = transform.mapRect(path.boundingRect().adjusted(-2, -2, 2, 2));
  const int left = static_cast<int>(std::floor(box.left())) - 4;
  const int top = static_cast<int>(std::floor(box.top())) - 4;
  const int width = std::max(1, static_cast<int>(std::ceil(box.right())) + 4 - left);
  const int height = std::max(1, static_cast<int>(std::ceil(box.bottom())) + 4 - top);
  if (!box.isValid() || static_cast<long long>(width) * height > 2048LL * 2048LL) return out;
  QImage written(width, height, QImage::Format_RGB32), drawn(width, height, QImage::Format_RGB32);
  for (QImage* image : {&written, &drawn}) {
    image->fill(Qt::white);
    QPainter p(image);
    p.fillRect(0, height / 3, width, height / 3, QColor(0, 160, 40));
  }
  const QTransform shifted = transform * QTransform::fromTranslate(-left, -top);
  const QColor colour(200, 30, 90);
  {
    QPainter p(&written);
    p.setFont(font.Font);
    p.setPen(colour);
    p.setTransform(shifted);
    p.drawText(QPointF(0.0, 0.0), chars);
  }
  {
    QPainter p(&drawn);
    p.setPen(colour);
    p.setTransform(shifted);
    if (outline)
      FillOutline(p, out.Path);
    else
      p.drawGlyphRun(QPointF(0.0, 0.0), out.Run);
  }
  if (written == drawn) {
    out.Way = way;
    ++usable_;
  }
  if (outline && out.Way == TWay::Outline) {
    // The mask: the outline's coverage of each pixel, filled at the transform's fraction.
    TMask mask;
    mask.Linear = LessWholeOffset(transform);
    const QRectF reach = mask.Linear.mapRect(path.boundingRect()).adjusted(-2, -2, 2, 2);
    mask.Box = QRect(QPoint(static_cast<int>(std::floor(reach.left())),
                            static_cast<int>(std::floor(reach.top()))),
                     QPoint(static_cast<int>(std::ceil(reach.right())),
                            static_cast<int>(std::ceil(reach.bottom()))));
    QImage coverage(mask.Box.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    {
      QPainter p(&coverage);
      p.setPen(Qt::white);
      p.setTransform(mask.Linear * QTransform::fromTranslate(-mask.Box.left(), -mask.Box.top()));
      FillOutline(p, path);
    }
    mask.Coverage.reserve(static_cast<std::size_t>(mask.Box.width()) *
                          static_cast<std::size_t>(mask.Box.height()));
    for (int y = 0; y < coverage.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
      for (int x = 0; x < coverage.width(); ++x)
        mask.Coverage.push_back(static_cast<uchar>(qAlpha(line[x])));
    }
    // Kept only where it gives drawText's pixels on the scratch's two colours.
    QImage masked(width, height, QImage::Format_RGB32);
    masked.fill(Qt::white);
    {
      QPainter p(&masked);
      p.fillRect(0, height / 3, width, height / 3, QColor(0, 160, 40));
    }
    BlendMask(masked, mask, WholeOffset(shifted), colour.rgb(), 0, height);
    ++outlines_;
    if (masked == written) {
      out.Mask = std::move(mask);
      ++masks_;
    }
  }
  return out;
}

bool TCharacterGlyphs::Draw(QPainter& painter, const TQtFont& font, const TLogFont& record,
                            std::string_view character, const QString& chars,
                            const QTransform& transform, int rowTop, int rowBottom) {
  // Underlines and strike-outs are drawn by drawText besides the glyphs.
  if (record.Underline || record.StrikeOut || !CacheLimitIsTheDefault()) return false;
  if (!transform.isAffine()) return false;
  // Which way QPainter takes the character: cached glyphs, or its outline. Near the limit
  // the way is left to drawText.
  const double pixelSize = font.Font.pixelSize();
  const double area = pixelSize * pixelSize * std::fabs(transform.determinant());
  if (!(area <= kCachedGlyphArea || area > kOutlineArea)) return false;
  const bool outline = area > kOutlineArea;

  MakeCharacterKey(key_, record, character);
  auto it = glyphs_.find(key_);
  if (it == glyphs_.end()) {
    if (glyphs_.size() >= 8192) glyphs_.clear();
    it = glyphs_.emplace(key_, Make(font, chars, transform, outline)).first;
  }
  const TGlyph& glyph = it->second;
  if (glyph.Way == TWay::DrawText || (glyph.Way == TWay::Outline) != outline) return false;
  if (glyph.Mask && MasksOn && glyph.Mask->Linear == LessWholeOffset(transform) &&
      painter.device()->devType() == QInternal::Image &&
      painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
      painter.pen().color().alpha() == 255) {
    auto& image = *static_cast<QImage*>(painter.device());
    if (image.format() == QImage::Format_RGB32) {
      BlendMask(image, *glyph.Mask, WholeOffset(transform), painter.pen().color().rgb(), rowTop,
                rowBottom);
      ++maskedWrites_;
      painter.setTransform(transform);
      return true;
    }
  }
  painter.setTransform(transform);
  if (glyph.Way == TWay::Outline)
    FillOutline(painter, glyph.Path);
  else
    painter.drawGlyphRun(QPointF(0.0, 0.0), glyph.Run);
  return true;
}

}  // namespace sxf
