// Full sweeps at their exact tolerance and tilts in the unit each record holds: where the
// extents differ from a careless reading.

#include <gtest/gtest.h>

#include <array>

#include "globals/UnitGval.h"
#include "support/ModelTestSupport.h"
#include "search/Extents.h"

namespace sxf {
namespace {

using SweepAndTilt = test::FreshModel;
using Box = std::array<double, 4>;

Box ArcBox(double start, double end) {
  ExtentInit(0, 0, 1);
  ExtentAddArc(0, 0, 10, start, end, 1, 0, 1);
  return {ExtentLeft, ExtentBottom, ExtentRight, ExtentTop};
}

TEST_F(SweepAndTilt, ExtentsTakeASweepOfExactly1e8AsFull) {
  // Full: the four quadrant points. An arc from 0 to a hair past 0 adds only its ends.
  EXPECT_EQ(ArcBox(0, 1e-8), (Box{-10, -10, 10, 10}));
  EXPECT_EQ(ArcBox(0, 2e-8)[0], 0.0);
  EXPECT_LT(ArcBox(0, 2e-8)[3], 1e-6);
}

TEST_F(SweepAndTilt, ArcSolidTiltsAreRadians) {
  // A whole ellipse solid, semi-axes 10 and 5, tilted by pi/2 radians: standing upright.
  test::Parse({"pt 0 0", "sc 0 0 10 0.5 1.5707963267948966 0 6.283185307179586 100",
               "so 100 0 10 0.5 1.5707963267948966 0 6.283185307179586 2"});
  ComputeExtents();
  EXPECT_NEAR(ExtentLeft, -5.0, 1e-9);
  EXPECT_NEAR(ExtentTop, 10.0, 1e-9);
  EXPECT_NEAR(ExtentBottom, -10.0, 1e-9);
  EXPECT_NEAR(ExtentRight, 105.0, 1e-9);
}

TEST_F(SweepAndTilt, ArcTiltsAreDegrees) {
  test::Parse({"pt 0 0", "ci 0 0 10 0 0 0.5 90"});
  ComputeExtents();
  EXPECT_NEAR(ExtentLeft, -5.0, 1e-9);
  EXPECT_NEAR(ExtentRight, 5.0, 1e-9);
  EXPECT_NEAR(ExtentTop, 10.0, 1e-9);
}

}  // namespace
}  // namespace sxf
