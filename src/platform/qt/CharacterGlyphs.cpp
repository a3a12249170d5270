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
  return out;
}

bool TCharacterGlyphs::Draw(QPainter& painter, const TQtFont& font, const TLogFont& record,
                            std::string_view character, const QString& chars,
                            const QTransform& transform) {
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
  painter.setTransform(transform);
  if (glyph.Way == TWay::Outline)
    FillOutline(painter, glyph.Path);
  else
    painter.drawGlyphRun(QPointF(0.0, 0.0), glyph.Run);
  return true;
}

}  // namespace sxf
