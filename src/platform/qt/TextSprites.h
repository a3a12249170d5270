#pragma once
// Characters without the cost of QPainter's text path. Writing one character through
// QPainter (layout, font engine, glyph cache) costs a microsecond or more; the numbered marks
// alone write hundreds of thousands. Where the pixels a character touches are all of one
// colour beforehand (a mark's white square, the paper), the result depends only on the font
// record, the character, its colour and that background: it is drawn once by QPainter into a
// scratch image and its pixels are written again wherever the same case recurs. Everywhere
// else the caller draws through QPainter as usual.

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

 private:
  struct TFootprint {
    QRect Box;  // relative to (x, y); empty when the character has no ink
  };
  std::unordered_map<std::string, TFootprint> footprints_;
  std::unordered_map<std::string, std::vector<QRgb>> pixels_;
  std::string key_;
};


}  // namespace sxf
