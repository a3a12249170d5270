#pragma once
// Characters without QPainter's text layout. QPainter::drawText lays out its string, shapes
// it and looks up its glyph each time; for a character too large for the font engine's glyph
// cache it also loads and hints the glyph's outline again before filling it. A zoomed-in view
// writes tens of thousands of characters. Here each character of a font record is looked up
// once: its glyph is then handed to QPainter::drawGlyphRun, or, when it is too large for the
// glyph cache, its outline, taken once, is filled the way QPainter fills it. Both give the
// pixels drawText gives; a character is only drawn this way after a scratch picture has shown,
// once, that it does. Everything else is left to the caller's drawText.

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTransform>
#include <string>
#include <string_view>
#include <unordered_map>

#include "graphics/Canvas.h"
#include "platform/qt/Fonts.h"

namespace sxf {

class TCharacterGlyphs {
 public:
  // QPainter's glyph cache ends at 64 x 64 pixels (the font's pixel size squared times the
  // transform's area scale); characters within a tenth of that limit keep to drawGlyphRun.
  static constexpr double kCachedGlyphArea = 64.0 * 64.0;
  static constexpr double kOutlineArea = kCachedGlyphArea * 1.1;

  // Writes the character as painter.setTransform(transform); painter.drawText(QPointF(0, 0),
  // chars) writes it with the font and the painter's pen; false, with nothing drawn, where
  // that is not known to give the same pixels. The transform is the painter's afterwards.
  bool Draw(QPainter& painter, const TQtFont& font, const TLogFont& record, std::string_view character,
            const QString& chars, const QTransform& transform);

  // Characters looked up so far, and those found to draw what drawText draws.
  int Made() const noexcept { return made_; }
  int Usable() const noexcept { return usable_; }

 private:
  enum class TWay { DrawText, GlyphRun, Outline };
  struct TGlyph {
    TWay Way = TWay::DrawText;
    QGlyphRun Run;
    QPainterPath Path;
  };
  TGlyph Make(const TQtFont& font, const QString& chars, const QTransform& transform, bool outline);
  std::unordered_map<std::string, TGlyph> glyphs_;
  std::string key_;
  int made_ = 0, usable_ = 0;
};


}  // namespace sxf
