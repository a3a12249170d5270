// Hostile drawings through the whole picture: extents, fit-all and drawing. Nothing may crash,
// hang or trip the sanitizers, and the pixel operations stay within the 32-bit range.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "preview/Preview.h"
#include "globals/UnitGval.h"
#include "support/RecordingCanvas.h"
#include "search/Extents.h"

namespace sxf {
namespace {

const char* const kNumbers[] = {
    "0",          "1",         "-1",   "1e308", "-1e308",
    "1e-308",     "4.9e-324",  "1e20", "-1e20", "123456789012345678901234567890",
    "0.5",        "360",       "-720", "1e9",   "3.14159265358979",
    "2147483648", "$7FFFFFFF", "x"};
const char* const kKeys[] = {"ci", "sl", "sc", "se",   "so",  "sg",   "pt",  "msg",  "cs",  "ch",
                             "BL", "hs", "bz", "lc10", "lc3", "lt47", "lg1", "lw50", "pn2", ""};

TEST(PreviewRobustness, ExtremeDrawingsDrawWithoutFault) {
  GraAttr = std::make_unique<TgraAttribute>();
  std::mt19937 rng(99);
  for (int round = 0; round < 60; ++round) {
    TJwcReader reader;
    for (int line = 0; line < 80; ++line) {
      std::string text = kKeys[rng() % std::size(kKeys)];
      const int fields = static_cast<int>(rng() % 18);
      for (int f = 0; f < fields; ++f) {
        if (!text.empty()) text += ' ';
        text += kNumbers[rng() % std::size(kNumbers)];
      }
      reader.ParseLine(text);
    }
    const TDrawing& drawing = reader.Drawing();
    for (const auto& [w, h] : {std::pair{381, 368}, std::pair{1, 1}, std::pair{0, 0}}) {
      TView view;
      FitViewToDrawing(view, ComputeExtents(drawing), w, h);
      ASSERT_TRUE(std::isfinite(view.ViewScale) && view.ViewScale > 0.0) << view.ViewScale;
      ASSERT_LT(view.ViewLeft, view.ViewRight);
      ASSERT_LT(view.ViewBottom, view.ViewTop);
      test::TRecordingCanvas c;
      DrawPreview(c, view, drawing, w, h);
      EXPECT_FALSE(c.Commands.empty());  // at least the clearing
    }
  }
  GraAttr.reset();
}

}  // namespace
}  // namespace sxf
