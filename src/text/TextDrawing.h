#pragma once
// Texts of the drawing as characters on the canvas: one platform font per run of text, each
// character written at its own computed position so that the pitch is the drawing's, not the
// font's. Sizes are sheet units (world units, y up); the font record is in pixels.
//
// Texts are Shift-JIS bytes; a byte 0x80..0x9F or 0xE0..0xFD starts a two-byte character.
// Font sizes, the escapement and character positions round half to even (RoundHalfEven),
// not half away from zero as the world-to-pixel mapping does.

#include <string>
#include <string_view>

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"

namespace sxf {

// Style bits of a run of text.
inline constexpr int kStyleBold = 1;
inline constexpr int kStyleItalic = 2;
inline constexpr int kStyleUnderline = 4;
inline constexpr int kStyleStrikeOut = 8;

// Texts smaller than this or larger than kMaxTextPixels on screen (height or width) are drawn
// as a 3-pixel line from their start to their end point; both bounds are drawn as characters.
inline constexpr double kMinTextPixels = 6.0;
inline constexpr double kMaxTextPixels = 1000.0;

// Rounds half to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2); NaN gives 0 and values beyond the
// 32-bit range give the range's ends.
int RoundHalfEven(double x) noexcept;

// True for an image text: "^@BM" at the start and a comma somewhere. Those are drawn by the
// image pass as frames, never as characters.
bool IsImageText(std::string_view text) noexcept;

// One text record, or the value text of a dimension. colorOverride >= 0 replaces the record's
// colour (pen and font colour); -1 keeps it. divisor is the record's group-scale divisor
// (TDrawing::GroupScaleDivisor).
void DrawTextEntity(TCanvas& c, const TView& view, int colorOverride, const TJwwEntTxt& text,
                    double divisor);

// A text from (sx, sy) towards (ex, ey) with character height, width (of a two-byte
// character) and spacing in sheet units. Too small or too large on screen: a 3-pixel line.
void DrawTextString(TCanvas& c, const TView& view, int styleBits, const std::string& face,
                    double sx, double sy, double ex, double ey, double height, double width,
                    double spacing, std::string_view text);

// Characters from the lower-left corner (x, y) of the first cell along the angle (radians),
// in one font. A face starting with "@@" is drawn with the rest of the name, turned half a
// revolution, each character hanging back from one full width after its own start.
void DrawTextRun(TCanvas& c, const TView& view, int styleBits, std::string_view face, double x,
                 double y, double angle, double height, double width, double spacing,
                 std::string_view text, bool nonAntialiased = false);

// One character (one or two bytes) at the reference point (x, y) with the given alignment
// (0..8: rows bottom, middle, top of three columns left, centre, right); written only when a
// corner of its cell is inside the view.
void DrawTextChar(TCanvas& c, const TView& view, int alignment, double x, double y, double height,
                  double width, double angle, std::string_view face, std::string_view character);

}  // namespace sxf
