#pragma once
// Characters without QPainter's text layout. QPainter::drawText lays out its string, shapes
// it and looks up its glyph each time; for a character too large for the font engine's glyph
// cache it also loads and hints the glyph's outline again before filling it. A zoomed-in view
// writes tens of thousands of characters. Here each character of a font record is looked up
// once: its glyph is then handed to QPainter::drawGlyphRun, or, when it is too large for the
// glyph cache, its outline, taken once, is filled the way QPainter fills it. Both give the
// pixels drawText gives; a character is only drawn this way after a scratch picture has shown,
// once, that it does. Everything else is left to the caller's drawText.
//
// A large character lands on the same fraction of a pixel wherever it is written (the canvas
// rounds its offset in the cell to 1/64 pixel and adds whole pixels), so its outline's
// coverage of each pixel is the same everywhere: it is filled once into a mask, and the mask
// is blended wherever the character recurs, with the arithmetic QPainter blends a smoothed
// fill with. A scratch picture shows once that this gives drawText's pixels.

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTransform>
#include <string>
#include <string_view>
#include <optional>
#include <unordered_map>
#include <vector>

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
  // A mask is written into rows rowTop .. rowBottom - 1 of the painter's image only.
  bool Draw(QPainter& painter, const TQtFont& font, const TLogFont& record,
            std::string_view character, const QString& chars, const QTransform& transform,
            int rowTop, int rowBottom);

  // Large characters written from their masks so far; outlines found to draw what drawText
  // draws, and those of them whose masks do too (for measurements and tests).
  int MaskedWrites() const noexcept { return maskedWrites_; }
  int Outlines() const noexcept { return outlines_; }
  int Masks() const noexcept { return masks_; }
  // Masks on (the default), or every large character filled from its outline.
  bool MasksOn = true;

  // Characters looked up so far, and those found to draw what drawText draws.
  int Made() const noexcept { return made_; }
  int Usable() const noexcept { return usable_; }

 private:
  enum class TWay { DrawText, GlyphRun, Outline };
  // The coverage of each pixel of Box (whole pixels from the transform's whole-pixel offset).
  struct TMask {
    QTransform Linear;  // the transform it was made for, less its whole-pixel offset
    QRect Box;
    std::vector<uchar> Coverage;
  };
  struct TGlyph {
    TWay Way = TWay::DrawText;
    QGlyphRun Run;
    QPainterPath Path;
    std::optional<TMask> Mask;  // an outline's, once shown to give drawText's pixels
  };
  TGlyph Make(const TQtFont& font, const QString& chars, const QTransform& transform, bool outline);
  std::unordered_map<std::string, TGlyph> glyphs_;
  std::string key_;
  int made_ = 0, usable_ = 0, maskedWrites_ = 0, outlines_ = 0, masks_ = 0;
};

}  // namespace sxf
