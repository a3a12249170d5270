#pragma once
// Characters without the cost of QPainter's text path. Writing one character through
// QPainter (layout, font engine, glyph cache) costs a microsecond or more; the numbered marks
// alone write hundreds of thousands. Where the pixels a character touches are all of one
// colour beforehand (a mark's white square, the paper), the result depends only on the font
// record, the character, its colour and that background: it is drawn once by QPainter into a
// scratch image and its pixels are written again wherever the same case recurs. Everywhere
// else the caller draws through QPainter as usual.
//
// A character of a record that is not smoothed sets each pixel it covers to its colour and
// leaves every other one as it was, whatever lay there: its covered pixels are written in its
// colour on any background, also one of several colours (the marks' digits drawn again a
// pixel aside, at a higher dpi). That is kept only where two scratch pictures on different
// backgrounds show exactly this.

#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/Canvas.h"

namespace sxf {

class TTextSprites {
 public:
  // Draws the character whose upper-left cell corner is at the painter's origin.
  using TRender = std::function<void(QPainter&)>;

  // Characters whose cell reaches further than this from their pixel are left to QPainter.
  static constexpr int kMaxReach = 48;

  // Writes the character at (x, y) into rows rowTop .. rowBottom - 1 of the image when every
  // pixel it touches there has one colour; false, with nothing written, otherwise. reach:
  // how far from (x, y) the cell can extend in any direction, in pixels. (A character's
  // pixels in some rows depend only on what lay in those rows: a band of a picture drawn on
  // several threads decides for its own rows.)
  bool Draw(QImage& image, int x, int y, const TLogFont& font, std::string_view character,
            TColor colour, int reach, const TRender& render, int rowTop, int rowBottom);

  // Solid characters written from the pixels they cover.
  int InkWrites() const noexcept { return inkWrites_; }

  // The pixels a character touches: Box relative to (x, y), empty when it has no ink; not
  // Usable where they reach beyond the scratch. Found once for every band of every picture
  // (under a lock), kept by each band for the lookups that follow.
  struct TFootprint {
    QRect Box;
    bool Usable = true;
  };

 private:
  static TFootprint SharedFootprint(const std::string& key, int reach, const TRender& render);
  // The runs of pixels a character that is not smoothed covers, relative to its footprint's
  // corner; Usable false where the scratch pictures did not show pixels of two colours only.
  struct TRun {
    int Row, Left, Length;
  };
  struct TInk {
    bool Usable = false;
    std::vector<TRun> Runs;
  };
  TInk MakeInk(const QRect& box, QRgb colour, int reach, const TRender& render) const;
  // Writes the covered pixels of a character that is not smoothed into target's rows (box:
  // its footprint; whole: the footprint where it is written); false where that is not known
  // to give QPainter's pixels.
  bool DrawInk(QImage& image, const QRect& box, const QRect& whole, const QRect& target,
               TColor colour, int reach, const TRender& render);
  std::unordered_map<std::string, TFootprint> footprints_;
  std::unordered_map<std::string, std::vector<QRgb>> pixels_;
  std::unordered_map<std::string, TInk> inks_;
  std::string key_;
  int inkWrites_ = 0;
};

}  // namespace sxf
