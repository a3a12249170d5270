#pragma once
// Pictures placed in the drawing. The host stores a picture as a text
// "^@BM<file name>,<f1>[,<f2>[,<f3>[,<f4>[,<f5>]]]]"; the preview does not load the file and
// shows a hatched frame of the picture's size at its corner instead.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"

namespace sxf {

struct TImageText {
  std::string FileName;            // Shift-JIS, may be empty
  std::array<double, 5> Fields{};  // f1 width, f2 height (sheet units), f3, f4, f5
};

// The file name and the five fields of an image text; empty when the text does not start
// with "^@BM" or has no comma. One field gives f1 = f2 = that number; a missing f3 or f4
// reads 0 and a missing f5 reads 1; beyond five fields the fifth takes the whole remainder (and so
// reads 0). Fields that are not numbers read 0.
std::optional<TImageText> ParseImageText(std::string_view text);

// The frame of an image text: its corner (X, Y) divided by the group scale, its size f1 x f2
// not divided, outlined with the text's colour and filled with a backward diagonal hatch.
// divisor is the record's group-scale divisor (TDrawing::GroupScaleDivisor).
// colorOverride >= 0 replaces the colour of pen and brush. Other texts draw nothing.
void DrawImageEntity(TCanvas& c, const TView& view, int colorOverride, const TJwwEntTxt& text,
                     double divisor);

}  // namespace sxf
