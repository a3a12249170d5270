#pragma once
// Font names of the host's platform mapped to the fonts installed here, and the platform's
// font record (cell height, average character width, escapement, ...) turned into a QFont
// with the scaling that makes its characters fill the cells the record asks for.

#include <QFont>
#include <QString>

#include "graphics/Canvas.h"

namespace sxf {

// "ＭＳ ゴシック" and "MS Gothic" (and the Mincho faces) resolve to the metric-compatible IPA
// fonts. Call once after the application object exists.
void InstallFontSubstitutions();

// The installed family a face name resolves to: the face itself when installed (or
// substituted), else IPA Mincho for a mincho face and IPA Gothic for any other, so that kanji
// never show as boxes. A leading "@" (vertical writing) is not part of the family.
QString ResolveFontFamily(const QString& face);

// A font record made ready to draw: Font at PixelSize, and the scale that maps its cell
// (ascent + descent high, AverageWidth wide per one-byte character) onto the record's cell.
struct TQtFont {
  QFont Font;
  double Ascent = 0;  // pixels at PixelSize, before scaling
  double ScaleX = 1;
  double ScaleY = 1;
  bool Vertical = false;  // "@" face: two-byte characters stand upright in the turned run
  // Pixels of the record's cell (height, and width of a two-byte character) and of the
  // font's own at PixelSize: what the upright characters of a vertical face are fitted to.
  double CellHeight = 1, CellFullWidth = 1;
  double NaturalCell = 1, NaturalFullWidth = 1;
};
TQtFont MakeQtFont(const TLogFont& record);

}  // namespace sxf
