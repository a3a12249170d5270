#pragma once
// What a GDI canvas keeps from one drawing to the next: the pixels of characters and the
// shapes of wide pens and small polygons. A drawing in bands runs one canvas per band on threads of
// its own, so each band has its own set; band 0's is the set every single-threaded canvas uses.

#include "platform/win32/GdiPolygonSprites.h"
#include "platform/win32/GdiTextSprites.h"
#include "platform/win32/GdiWidePenSprites.h"
#include "render/Bands.h"

namespace sxf {

struct TGdiDrawingCaches {
  TGdiTextSprites Texts;
  TGdiWidePenSprites WidePens;
  TGdiPolygonSprites Polygons;
};

// Band k's set (render/Bands.h: BandSet).
inline TGdiDrawingCaches& BandDrawingCaches(int band) { return BandSet<TGdiDrawingCaches>(band); }

}  // namespace sxf
