#pragma once
// What a canvas keeps from one drawing to the next: the shapes of wide pens and small
// polygons, and the pixels and glyphs of characters. A drawing in bands runs one canvas per band on threads of its own, so
// each band has its own set; band 0's is the set every single-threaded canvas uses.

#include "platform/qt/CharacterGlyphs.h"
#include "platform/qt/PolygonSprites.h"
#include "platform/qt/TextSprites.h"
#include "platform/qt/WidePenSprites.h"

namespace sxf {

struct TQtDrawingCaches {
  TWidePenSprites WidePens;
  TPolygonSprites Polygons;
  TTextSprites Texts;
  TCharacterGlyphs Glyphs;
};

// Band k's set (0 .. kMaxDrawingBands - 1, others clamped), kept for the program's life. A
// band draws on one thread at a time.
inline constexpr int kMaxDrawingBands = 8;
TQtDrawingCaches& BandDrawingCaches(int band);

}  // namespace sxf
