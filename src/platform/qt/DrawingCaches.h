#pragma once
// What a canvas keeps from one drawing to the next: the shapes of wide pens and small
// polygons, and the pixels and glyphs of characters. A drawing in bands runs one canvas per
// band on threads of its own, so each band has its own set; band 0's is the set every
// single-threaded canvas uses.

#include "platform/qt/CharacterGlyphs.h"
#include "platform/qt/PolygonSprites.h"
#include "platform/qt/TextSprites.h"
#include "platform/qt/WidePenSprites.h"
#include "render/Bands.h"

namespace sxf {

struct TQtDrawingCaches {
  TWidePenSprites WidePens;
  TPolygonSprites Polygons;
  TTextSprites Texts;
  TCharacterGlyphs Glyphs;
};

// Band k's set (render/Bands.h: BandSet).
inline TQtDrawingCaches& BandDrawingCaches(int band) { return BandSet<TQtDrawingCaches>(band); }

}  // namespace sxf
