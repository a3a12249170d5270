#pragma once
// Small filled polygons without the cost of QPainter's polygon path. A zoomed-out view of a
// large drawing fills tens of thousands of solids a few pixels across (arc solids of 146
// points, triangles, quadrilaterals), and QPainter sets up its rasteriser for each. A polygon
// outlined and filled in one colour is drawn once by QPainter into a mask; its pixels are
// kept as spans relative to its first point and written again wherever the same shape
// recurs. Aliased drawing at whole-pixel positions does not depend on where the shape lies
// while the painter clips nothing of it, so the pixels are those QPainter would have drawn.

#include <QImage>
#include <QPolygon>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/Canvas.h"
#include "platform/qt/SpanMask.h"

namespace sxf {

class TPolygonSprites {
 public:
  // Polygons reaching further than this from their first point are left to QPainter.
  static constexpr int kMaxReach = 64;
  // Writes the polygon, outlined by the pen and filled odd-even by the brush, into rows
  // rowTop .. rowBottom - 1 of the image. False, with nothing written, when it is not one
  // this cache takes: a pen that is not one pixel, solid and in copy mode, a brush that is
  // not solid in the pen's colour, too large a shape, or one within two pixels of the
  // image's edge.
  bool Draw(QImage& image, const TPen& pen, const TBrush& brush, const QPolygon& polygon,
            int rowTop, int rowBottom);
  // Shapes drawn by QPainter so far (the others were reused).
  int SpritesMade() const noexcept { return made_; }

 private:
  std::unordered_map<std::string, std::vector<TPixelSpan>> sprites_;
  std::string key_;  // scratch
  int made_ = 0;
};

}  // namespace sxf
