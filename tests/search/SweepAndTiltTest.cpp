// Full sweeps at their exact tolerance and tilts in the unit each record holds: where the
// extents differ from a careless reading.

#include <gtest/gtest.h>

#include <array>

#include "search/Extents.h"

namespace sxf {
namespace {

using Box = std::array<double, 4>;

Box ArcBox(double start, double end) {
  TWorldBox box;
  ExtentInit(box, 0, 0, 1);
  ExtentAddArc(box, 0, 0, 10, start, end, 1, 0, 1);
  return {box.Left, box.Bottom, box.Right, box.Top};
}

TEST(SweepAndTilt, ExtentsTakeASweepOfExactly1e8AsFull) {
  // Full: the four quadrant points. An arc from 0 to a hair past 0 adds only its ends.
  EXPECT_EQ(ArcBox(0, 1e-8), (Box{-10, -10, 10, 10}));
  EXPECT_EQ(ArcBox(0, 2e-8)[0], 0.0);
  EXPECT_LT(ArcBox(0, 2e-8)[3], 1e-6);
}

TEST(SweepAndTilt, ArcSolidTiltsAreRadians) {
  // A whole ellipse solid, semi-axes 10 and 5, tilted by pi/2 radians: standing upright.
  const TWorldBox extents = ComputeExtents(
      ParseJwcText("pt 0 0\nsc 0 0 10 0.5 1.5707963267948966 0 6.283185307179586 100\n"
                   "so 100 0 10 0.5 1.5707963267948966 0 6.283185307179586 2\n"));
  EXPECT_NEAR(extents.Left, -5.0, 1e-9);
  EXPECT_NEAR(extents.Top, 10.0, 1e-9);
  EXPECT_NEAR(extents.Bottom, -10.0, 1e-9);
  EXPECT_NEAR(extents.Right, 105.0, 1e-9);
}

TEST(SweepAndTilt, ArcTiltsAreDegrees) {
  const TWorldBox extents = ComputeExtents(ParseJwcText("pt 0 0\nci 0 0 10 0 0 0.5 90\n"));
  EXPECT_NEAR(extents.Left, -5.0, 1e-9);
  EXPECT_NEAR(extents.Right, 5.0, 1e-9);
  EXPECT_NEAR(extents.Top, 10.0, 1e-9);
}

}  // namespace
}  // namespace sxf
