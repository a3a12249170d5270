#pragma once
// Characters without a GDI text call per occurrence. TextOut costs microseconds per
// character and the numbered marks alone write hundreds of thousands. Where the pixels a
// character touches are all of one colour beforehand (a mark's white square, the paper), the
// result depends only on the font record, the character, its colour, the background mode and
// that colour: it is drawn once by a TGdiCanvas into a scratch DIB section and its pixels are
// copied wherever the same case recurs. Everywhere else the caller draws through GDI.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/PixelRaster.h"

namespace sxf {

class TDibSurface;
class TGdiCanvas;

class TGdiTextSprites {
 public:
  // Characters whose cell or ink reaches further than this from their pixel are left to GDI.
  static constexpr int kMaxReach = 96;

  TGdiTextSprites();
  ~TGdiTextSprites();
  TGdiTextSprites(const TGdiTextSprites&) = delete;
  TGdiTextSprites& operator=(const TGdiTextSprites&) = delete;

  // Writes text at (x, y) into target as TGdiCanvas::TextOut writes it with this font
  // record, text calls (wide or not), font colour and brush (a solid brush paints the cell
  // in its colour), when every pixel it touches in the rows target writes has one colour;
  // false, with nothing written, otherwise. Target pixels are 0x00RRGGBB words.
  bool Draw(const TPixelBuffer& target, int x, int y, const TLogFont& font, bool wide,
            std::string_view text, TColor colour, const TBrush& brush);

  // Texts written from the cache so far, and those of them drawn by GDI first.
  long long Written() const noexcept { return written_; }
  long long Rendered() const noexcept { return rendered_; }

 private:
  struct TBox {
    int Left = 0, Top = 0, Right = -1, Bottom = -1;  // inclusive, relative to (x, y)
    bool Usable = true;                              // false: the ink reached the scratch's border
    bool Empty() const noexcept { return Right < Left; }
  };
  // Makes the scratch on first use; false when GDI refuses it.
  bool Ready();
  // Draws text at the scratch's centre on a scratch filled with background.
  void Render(const TLogFont& font, bool wide, std::string_view text, TColor colour, bool opaque,
              TColor cellColour, std::uint32_t background);

  std::unique_ptr<TDibSurface> scratch_;
  std::unique_ptr<TGdiCanvas> canvas_;
  std::unordered_map<std::string, TBox> footprints_;
  std::unordered_map<std::string, std::vector<std::uint32_t>> pixels_;
  std::string key_;
  long long written_ = 0, rendered_ = 0;
};

}  // namespace sxf
