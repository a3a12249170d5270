#include "search/Extents.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "support/ModelTestSupport.h"
#include "util/MyFunc.h"

namespace sxf {
namespace {

using ExtentsTest = test::FreshModel;
using Box = std::array<double, 4>;

Box Extents(const TDrawing& drawing) {
  const TWorldBox e = ComputeExtents(drawing);
  return {e.Left, e.Bottom, e.Right, e.Top};
}

TEST_F(ExtentsTest, SmallDrawingRules) {
  EXPECT_EQ(Extents(drawing), (Box{-100, -100, 100, 100}));
  Parse({"pt 500 300"});
  EXPECT_EQ(Extents(drawing), (Box{400, 200, 600, 400}));

  Reset();
  Parse({"0 0 10 0"});  // widened before its own points are added
  EXPECT_EQ(Extents(drawing), (Box{-100, -100, 100, 100}));
  Reset();
  Parse({"0 0 300 0"});
  EXPECT_EQ(Extents(drawing), (Box{-100, -100, 300, 100}));
  Reset();
  Parse({"0 0 10 0", "0 5 10 5"});
  EXPECT_EQ(Extents(drawing), (Box{0, 0, 10, 5}));
  Reset();
  Parse({"ci 0 0 10"});
  EXPECT_EQ(Extents(drawing), (Box{-100, -100, 100, 100}));
  Parse({"pt 50 0"});
  EXPECT_EQ(Extents(drawing), (Box{-10, -10, 50, 10}));
}

TEST_F(ExtentsTest, ArcsAddEndAndQuadrantPoints) {
  Parse({"pt 0 0", "pt 0 0", "ci 0 0 10 350 10 1 0"});  // through 0 degrees
  Box b = Extents(drawing);
  EXPECT_DOUBLE_EQ(b[2], 10.0);
  EXPECT_NEAR(b[1], 10 * std::sin(DegToRad(350)), 1e-12);
  EXPECT_NEAR(b[3], 10 * std::sin(DegToRad(10)), 1e-12);

  Reset();
  Parse({"pt 0 0", "pt 0 0", "ci 0 0 10 10 80 1 0"});  // only its two end points
  b = Extents(drawing);
  EXPECT_NEAR(b[2], 10 * std::cos(DegToRad(10)), 1e-12);
  EXPECT_NEAR(b[3], 10 * std::sin(DegToRad(80)), 1e-12);

  Reset();
  Parse({"pt 0 0", "pt 0 0", "ci 0 0 10 80 190 1 0"});  // passes 90 and 180
  b = Extents(drawing);
  EXPECT_DOUBLE_EQ(b[0], -10.0);
  EXPECT_DOUBLE_EQ(b[3], 10.0);

  // An arc with a huge or overflowing angle ends and adds nothing beyond what is finite.
  Reset();
  Parse({"pt 0 0", "pt 1 1", "ci 0 0 10 -1e308 1e308 1 0"});
  EXPECT_EQ(Extents(drawing), (Box{0, 0, 1, 1}));
  Reset();
  Parse({"pt 0 0", "pt 1 1", "ci 0 0 10 1e20 1e20 1 0"});
  EXPECT_EQ(Extents(drawing), (Box{-10, -10, 10, 10}));
}

TEST_F(ExtentsTest, GroupScaleBoundsAndImageTexts) {
  Parse({"hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "0 0 1000 0", "lg1", "0 0 0 5"});
  EXPECT_EQ(Extents(drawing), (Box{0, 0, 10, 5}));

  Reset();
  Parse({"pt 0 0", "pt 5e8 0"});
  EXPECT_EQ(Extents(drawing)[2], 1e8);

  Reset();
  Parse({"pt 0 0", "ch 10 10 1 0 \"^@BMpicture.bmp,40,30", "ch 0 -20 1 0 \"^@BMsquare.bmp,7"});
  EXPECT_EQ(Extents(drawing), (Box{0, -20, 50, 40}));
  double w = 0, h = 0;
  EXPECT_FALSE(ImageTextSize("^@BMnocomma", w, h));
  EXPECT_FALSE(ImageTextSize("plain,1,2", w, h));
  EXPECT_TRUE(ImageTextSize("^@BMa.bmp,12.5,8,rest", w, h));
  EXPECT_EQ(w, 12.5);
  EXPECT_EQ(h, 8.0);
}

TEST_F(ExtentsTest, DimensionsAndArcSolids) {
  Parse({"pt -5 -5", "msg", "0 0 10 0", "cs 5 20 1 0 \"10"});
  EXPECT_EQ(Extents(drawing), (Box{-5, -5, 10, 20}));
  Reset();
  // A quarter sc solid from 0 to pi/2 radians, written with a negative sweep from pi/2.
  Parse({"pt 0 0", "sc 0 0 10 1 0 1.5707963267948966 -1.5707963267948966 0"});
  const Box b = Extents(drawing);
  EXPECT_NEAR(b[2], 10.0, 1e-12);
  EXPECT_NEAR(b[3], 10.0, 1e-12);
  EXPECT_NEAR(b[0], 0.0, 1e-12);
}

TEST_F(ExtentsTest, BlocksOnlyGiveTheEmptyBoxEveryTime) {
  // No list gives a start point: the box must not grow by 100 on every fit-all.
  Parse({"BL 5000 5000 door"});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Extents(drawing), (Box{-100, -100, 100, 100}));
  Parse({"BL 0 0 a", "BL 9 9 b"});
  EXPECT_EQ(Extents(drawing), (Box{-100, -100, 100, 100}));
}

}  // namespace
}  // namespace sxf
