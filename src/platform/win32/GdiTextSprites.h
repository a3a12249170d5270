#pragma once
// Characters without a GDI text call per occurrence. TextOut costs microseconds per
// character and the numbered marks alone write hundreds of thousands. Where the pixels a
// character touches are all of one colour beforehand (a mark's white square, the paper), the
// result depends only on the font record, the character, its colour, the background mode and
// that colour: it is drawn once by a TGdiCanvas into a scratch DIB section and its pixels are
// copied wherever the same case recurs. Everywhere else the caller draws through GDI.
//
// Where the pixels GDI writes follow from what lay beneath pixel by pixel, a text is written
// on a background of any colours (the marks' digits drawn again a pixel aside at a higher dpi,
// texts over lines): a character that is not smoothed sets its covered pixels to its colour;
// a smoothed one moves each channel of a pixel it partly covers from its colour towards the
// channel beneath, in whole numbers cut towards its colour, by the share its pixel shows on
// white (the upper end) and on black (the lower end). That is kept for a text only where it
// gives GDI's pixels, every one, on two backgrounds of noise; everywhere else only the case of
// one colour beneath is.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
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
  // Those within kSmallReach are drawn on a scratch of that reach, the others on one of this.
  static constexpr int kMaxReach = 256;
  static constexpr int kSmallReach = 96;

  TGdiTextSprites();
  ~TGdiTextSprites();
  TGdiTextSprites(const TGdiTextSprites&) = delete;
  TGdiTextSprites& operator=(const TGdiTextSprites&) = delete;

  // Writes text at (x, y) into target as TGdiCanvas::TextOut writes it with this font
  // record, text calls (wide or not), font colour and brush (a solid brush paints the cell
  // in its colour), when every pixel it touches in the rows target writes has one colour;
  // false, with nothing written, otherwise. A text that is not turned may reach beyond
  // target's edges, and only its pixels inside are written; a turned one must lie inside.
  // Target pixels are 0x00RRGGBB words.
  bool Draw(const TPixelBuffer& target, int x, int y, const TLogFont& font, bool wide,
            std::string_view text, TColor colour, const TBrush& brush);

  // Texts written from the cache so far, those of them drawn by GDI first, and those written
  // on a background of any colours.
  long long Written() const noexcept { return written_; }
  long long Rendered() const noexcept { return rendered_; }
  long long Inked() const noexcept { return inked_; }

 private:
  struct TBox {
    int Left = 0, Top = 0, Right = -1, Bottom = -1;  // inclusive, relative to (x, y)
    bool Usable = true;                              // false: the ink reached the scratch's border
    bool Found = true;                               // false: met once, not looked at yet
    bool Empty() const noexcept { return Right < Left; }
  };
  // The pixels a text writes on any background: runs relative to (x, y), row by row; for each
  // pixel, one after another, the value it gets for each value of each channel beneath
  // (Tables[Levels[i]], blue, green, red). Values: the pixels themselves where none depends on
  // what lay beneath. Usable false where the scratches did not show the model above.
  struct TRun {
    int Dy, Dx, Length;
  };
  using TChannelTable = std::array<std::uint8_t, 3 * 256>;
  struct TInk {
    bool Usable = false;
    std::vector<TRun> Runs;
    std::vector<std::uint32_t> Values;
    std::vector<std::uint16_t> Levels;
    std::vector<TChannelTable> Tables;
  };
  // Pixel i of a text's runs written over the value beneath (tables, not Values).
  static std::uint32_t Blend(const TInk& ink, std::size_t i, std::uint32_t beneath) noexcept {
    const std::uint8_t* table = ink.Tables[ink.Levels[i]].data();
    return static_cast<std::uint32_t>(table[beneath & 0xFF]) |
           static_cast<std::uint32_t>(table[256 + ((beneath >> 8) & 0xFF)]) << 8 |
           static_cast<std::uint32_t>(table[512 + ((beneath >> 16) & 0xFF)]) << 16;
  }
  // A square scratch DIB section 2 * Reach + 1 pixels wide; texts are drawn at its centre.
  struct TScratch {
    int Reach = 0;
    std::unique_ptr<TDibSurface> Surface;
    std::unique_ptr<TGdiCanvas> Canvas;
    int Side() const noexcept { return 2 * Reach + 1; }
  };
  // The scratch for texts whose cell reaches this far, made on first use; null when GDI
  // refuses it.
  TScratch* ScratchFor(long long cell);
  // Draws text at the scratch's centre, on the whole scratch filled with fill[0] (box null),
  // or on the box (relative to the centre) filled with fill[0] or, given a pixel for each of
  // its pixels row by row, with those.
  static void Render(TScratch& scratch, const TLogFont& font, bool wide, std::string_view text,
                     TColor colour, bool opaque, TColor cellColour, const TBox* box,
                     std::span<const std::uint32_t> fill);
  // The box's pixels (relative to the centre) row by row.
  static std::vector<std::uint32_t> BoxPixels(const TScratch& scratch, const TBox& box);
  static TInk MakeInk(TScratch& scratch, const TBox& box, const TLogFont& font, bool wide,
                      std::string_view text, TColor colour, bool opaque, TColor cellColour);

  TScratch small_{kSmallReach, nullptr, nullptr}, large_{kMaxReach, nullptr, nullptr};
  std::unordered_map<std::string, TBox> footprints_;
  std::unordered_map<std::string, TInk> inks_;
  std::unordered_map<std::string, std::vector<std::uint32_t>> pixels_;
  std::string key_;
  long long written_ = 0, rendered_ = 0, inked_ = 0;
};

}  // namespace sxf
