#pragma once
// What a text becomes before its characters are written: spacing marks at its end change
// the spacing or the width and disappear; a text that is as a whole one of the host's codes
// ("$j", "%f", "=F", ...) shows its value; "^" sequences switch styles and colours and draw
// superscripts, subscripts and overlays. Texts are Shift-JIS bytes; sizes are sheet units.

#include <string>
#include <string_view>

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "text/TextLocale.h"

namespace sxf {

// The spacing marks at the end of a text: a half-width middle dot (0xA5) or full-width
// middle dots spread the room of the removed marks over the remaining gaps (spacing changes);
// "^" with a digit 1..9 narrows the characters and gaps by (L - digit) / L.
void ApplySpacingMarks(std::string& text, double& width, double& spacing);

// The expansion of a text that is as a whole one of the codes, or of a "%%" variable; false
// when the text is neither (and for a "%%" text that names no variable). Codes that divide by
// a scale of 0 expand to nothing.
bool ExpandSpecialCode(std::string_view text, const TTextLocale& locale, std::string& out);

// The escape walk: runs of characters with their styles and colours, and overlays, each
// written by DrawTextRun from (x, y) along the angle (radians).
void DrawEscapedText(TCanvas& c, const TView& view, int styleBits, const std::string& face,
                     double x, double y, double angle, double height, double width, double spacing,
                     std::string_view text);

// Spacing marks, then codes, then escapes: a text as DrawTextString hands it on after fixing
// its direction.
void DrawSpecialText(TCanvas& c, const TView& view, int styleBits, const std::string& face,
                     double x, double y, double angle, double height, double width, double spacing,
                     std::string_view text);

// A number in the shortest general form with up to 15 significant digits, with the given
// decimal separator.
std::string FormatGeneralNumber(double value, const std::string& decimalSeparator);

}  // namespace sxf
