#pragma once
// Wide solid pens without the cost of stroking. QPainter strokes every wide segment as a path
// of its own (tens of microseconds each) although a short chain has few pixels: the numbered
// marks alone are 72 such segments each. A chain of segments that continue one another is
// drawn once by QPainter into a mask; its pixels are kept as spans relative to the chain's
// first point and written again wherever the same chain shape recurs, in any colour. Aliased
// drawing at whole-pixel positions does not depend on where the shape lies, so the pixels
// are those QPainter would have drawn.

#include <QImage>
#include <QLine>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/Canvas.h"
#include "platform/qt/SpanMask.h"

namespace sxf {

class TWidePenSprites {
 public:
  // Chains reaching further than this from their first point are left to QPainter.
  static constexpr int kMaxReach = 96;

  // Writes the chain (segments each starting where the previous one ended) in the pen's
  // colour into rows rowTop .. rowBottom - 1 of the image. False, with nothing written, when the
  // chain is not one this cache takes (too long, a pen that is not solid, copy-mode and wider than
  // one pixel).
  bool Draw(QImage& image, const TPen& pen, std::span<const QLine> chain, int rowTop,
            int rowBottom);

  // Shapes drawn by QPainter so far (the others were reused).
  int SpritesMade() const noexcept { return made_; }

 private:
  std::unordered_map<std::string, std::vector<TPixelSpan>> sprites_;
  std::string key_;  // scratch
  int made_ = 0;
};

}  // namespace sxf
