#pragma once
// Wide solid pens without a GDI call per segment. GDI strokes every wide LineTo as regions of
// its own (round caps included), microseconds each; the numbered marks alone are 72 such
// segments each. A segment's pixels depend only on the pen's width and the segment's extent:
// each extent is drawn once by a TGdiCanvas into a scratch DIB section, kept as spans relative
// to the segment's start, and written again wherever it recurs, in any colour. Separate LineTo
// calls are separate strokes, so in copy mode the pixels of a run of them are the union of
// their own, whatever the order.

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

class TGdiWidePenSprites {
 public:
  // Strokes reaching further than this from their start are left to GDI.
  static constexpr int kMaxReach = 64;

  TGdiWidePenSprites();
  ~TGdiWidePenSprites();
  TGdiWidePenSprites(const TGdiWidePenSprites&) = delete;
  TGdiWidePenSprites& operator=(const TGdiWidePenSprites&) = delete;

  // Writes value into the pixels TGdiCanvas::LineTo from (x1, y1) to (x2, y2) writes with a
  // solid copy-mode pen width (> 1) pixels wide; false, with nothing written, for a stroke
  // the sprites do not take. Only target's columns and the rows it writes are written: GDI
  // cuts a stroke at the surface's edges as it cuts any drawing.
  bool Draw(const TPixelBuffer& target, int width, int x1, int y1, int x2, int y2,
            std::uint32_t value);

  // Writes value into the pixels of a chain of such strokes from each point to the next and
  // the end pixel of each (what MoveTo, LineTo and SetPixel of the end write for each
  // segment), in one step where the same chain shape recurs (the marks' rings): the same
  // conditions as Draw for every stroke, and points within the canvas's clamp
  // (TGdiCanvas::kPixelLimit); false, with nothing written, otherwise.
  bool DrawChain(const TPixelBuffer& target, int width, std::span<const TPixelPoint> points,
                 std::uint32_t value);

 private:
  struct TSpan {
    int Dy, Dx, Length;
  };
  struct TSprite {
    std::vector<TSpan> Spans;
    int Left = 0, Top = 0, Right = -1, Bottom = -1;  // the spans' bounds, inclusive
    bool Usable = true;  // false: the stroke reached the scratch's border
  };
  TSprite Make(int width, int dx, int dy);
  // The chain's pixels relative to its first point, from the strokes' sprites.
  TSprite MakeChain(int width, std::span<const TPixelPoint> points);

  TGdiScratch scratch_;
  std::unordered_map<std::uint64_t, TSprite> sprites_;
  std::unordered_map<std::string, TSprite> chains_;
  std::string key_;
};

}  // namespace sxf
