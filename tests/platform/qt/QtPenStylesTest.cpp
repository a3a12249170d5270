#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/qt/QtCanvas.h"

namespace sxf {
namespace {

// The pixels a one-pixel pen of the given style paints along a 120-pixel horizontal line,
// as a string of '#' (painted) and '.' (left white).
std::string PaintedRun(TPenStyle style) {
  QImage image(130, 5, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TQtCanvas c(image);
    c.Pen = TPen{0, 0, style, TPenMode::Copy};
    c.MoveTo(2, 2);
    c.LineTo(122, 2);
  }
  std::string run;
  for (int x = 0; x < image.width(); ++x) run += image.pixel(x, 2) == 0xFFFFFFFFu ? '.' : '#';
  return run;
}

// Each style reaches the surface as its own pattern: no two dotted styles look alike, none
// looks solid, and the clear pen paints nothing.
TEST(QtCanvas, EveryPenStyleHasItsOwnPattern) {
  const TPenStyle styles[] = {TPenStyle::Solid, TPenStyle::Dash, TPenStyle::Dot, TPenStyle::DashDot,
                              TPenStyle::DashDotDot};
  std::vector<std::string> runs;
  for (const TPenStyle s : styles) runs.push_back(PaintedRun(s));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_NE(runs[i].find('#'), std::string::npos) << "style " << i;
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_NE(runs[i], runs[j]) << "styles " << j << " and " << i << ": " << runs[i];
  }
  EXPECT_EQ(runs[0].substr(2, 120), std::string(120, '#'));  // solid: every pixel
  EXPECT_EQ(PaintedRun(TPenStyle::Clear).find('#'), std::string::npos);
}

}  // namespace
}  // namespace sxf
