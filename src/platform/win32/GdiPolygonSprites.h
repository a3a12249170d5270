#pragma once
// Small filled polygons without a GDI call each. A zoomed-out view of a large drawing fills
// tens of thousands of solids a few pixels across (arc solids, triangles, quadrilaterals), and
// GDI makes a region of each, tens of microseconds under Wine. A polygon outlined with a solid
// one-pixel pen and filled with a solid brush has pixels that depend only on its points
// relative to the first: it is drawn once by a TGdiCanvas into a scratch DIB section, kept as
// spans of the pen's and of the brush's pixels relative to its first point and written again
// wherever the same shape recurs, in any colours.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/PixelRaster.h"
#include "platform/win32/GdiScratch.h"

namespace sxf {

class TGdiPolygonSprites {
 public:
  // Polygons with a point further than this from their first point are left to GDI.
  static constexpr int kMaxReach = 64;

  TGdiPolygonSprites();
  ~TGdiPolygonSprites();
  TGdiPolygonSprites(const TGdiPolygonSprites&) = delete;
  TGdiPolygonSprites& operator=(const TGdiPolygonSprites&) = delete;

  // Writes the pixels TGdiCanvas::Polygon writes for these points with this pen and brush,
  // in target's columns and the rows it writes; false, with nothing written, where the cache
  // does not take the polygon: fewer than three points, a pen that is not solid, one pixel
  // wide and in copy mode, a brush that is not solid, too large a shape, or one beyond the
  // canvas's clamp (TGdiCanvas::kPixelLimit).
  bool Draw(const TPixelBuffer& target, const TPen& pen, const TBrush& brush,
            std::span<const TPixelPoint> points);

  // Shapes drawn by GDI so far (the others were written from the cache).
  long long Made() const noexcept { return made_; }

 private:
  struct TSpan {
    int Dy, Dx, Length;
    bool Fill;  // the brush's pixels; else the pen's
  };
  struct TSprite {
    std::vector<TSpan> Spans;
    bool Usable = true;  // false: the shape reached the scratch's border
  };
  TSprite Make(std::span<const TPixelPoint> points);

  TGdiScratch scratch_;
  std::unordered_map<std::string, TSprite> sprites_;
  std::string key_;
  long long made_ = 0;
};

}  // namespace sxf
