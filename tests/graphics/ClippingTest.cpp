#include "graphics/clipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

TEST(WorldToScreen, RoundsEachAxisHalfAwayFromZero) {
  const TView view = test::MakeView(0, 0, 2, 100, 100);
  EXPECT_EQ(WorldToScreen(view, 1.25, 0.25), (TPixelPoint{3, 99}));  // 2.5 -> 3, 0.5 -> 1
  EXPECT_EQ(WorldToScreen(view, -1.25, -0.25), (TPixelPoint{-3, 101}));
  EXPECT_EQ(WorldToScreen(view, 1.2, 0.7), (TPixelPoint{2, 99}));  // 2.4 -> 2, 1.4 -> 1
  // Saturation: NaN gives 0, huge values the 32-bit ends.
  EXPECT_EQ(WorldToScreen(view, std::nan(""), 0).X, 0);
  EXPECT_EQ(WorldToScreen(view, 1e300, 0).X, std::numeric_limits<int>::max());
  EXPECT_EQ(WorldToScreen(view, -std::numeric_limits<double>::infinity(), 0).X,
            std::numeric_limits<int>::min());
  // y = ViewHeight - R(...) must not overflow either.
  EXPECT_EQ(WorldToScreen(view, 0, -1e300).Y, std::numeric_limits<int>::max());
  EXPECT_EQ(WorldToScreen(view, 0, 1e300).Y, 100 - std::numeric_limits<int>::max());
}

TEST(ClipOutcode, EdgesAndTheToleranceCountAsOutside) {
  EXPECT_EQ(ClipOutcode(5, 5, 0, 0, 10, 10), 0);
  EXPECT_EQ(ClipOutcode(0, 5, 0, 0, 10, 10), 1);
  EXPECT_EQ(ClipOutcode(10, 5, 0, 0, 10, 10), 2);
  EXPECT_EQ(ClipOutcode(5, 0, 0, 0, 10, 10), 4);
  EXPECT_EQ(ClipOutcode(5, 10, 0, 0, 10, 10), 8);
  EXPECT_EQ(ClipOutcode(-1, 11, 0, 0, 10, 10), 1 | 8);
  EXPECT_EQ(ClipOutcode(5e-13, 5, 0, 0, 10, 10), 1);  // within 1e-12 inside
  EXPECT_EQ(ClipOutcode(2e-12, 5, 0, 0, 10, 10), 0);
  EXPECT_EQ(PointVisibility(0, 5, 0, 0, 10, 10), ClipOutside);
  EXPECT_EQ(PointVisibility(1, 5, 0, 0, 10, 10), ClipInside);
  EXPECT_EQ(SegmentVisibility(1, 1, 2, 2, 0, 0, 10, 10), ClipInside);
  EXPECT_EQ(SegmentVisibility(-1, 1, -2, 2, 0, 0, 10, 10), ClipOutside);
  EXPECT_EQ(SegmentVisibility(-1, 1, 5, 5, 0, 0, 10, 10), ClipPartial);
  EXPECT_EQ(SegmentVisibility(-1, 5, 5, 11, 0, 0, 10, 10), ClipPartial);  // undecided
}

struct ClipCase {
  const char* what;
  double x1, y1, x2, y2;
  int result;
  double ex1, ey1, ex2, ey2;
};

TEST(ClipSegment, SinglePassCases) {
  const ClipCase cases[] = {
      {"inside", 1, 2, 3, 4, ClipInside, 1, 2, 3, 4},
      {"on the top edge", 2, 10, 8, 10, ClipOutside, 2, 10, 8, 10},
      {"vertical through bottom and top", 5, -5, 5, 15, ClipPartial, 5, 0, 5, 10},
      {"horizontal through left and right", -5, 5, 15, 5, ClipPartial, 0, 5, 10, 5},
      // Both end points meet at one point of the top edge's line: reported as 2.
      {"left to top, missing the corner", -2, 9, 1, 12, ClipOutside, -1, 10, -1, 10},
      {"left to top, crossing", -1, 5, 5, 11, ClipPartial, 0, 6, 4, 10},
      {"near the left edge, inside", 5e-13, 5, 5, 5, ClipPartial, 0, 5, 5, 5},
      {"diagonal through two corners", -1, -1, 11, 11, ClipPartial, 0, 0, 10, 10},
  };
  for (const ClipCase& c : cases) {
    double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    EXPECT_EQ(ClipSegment(x1, y1, x2, y2, 0, 0, 10, 10), c.result) << c.what;
    EXPECT_DOUBLE_EQ(x1, c.ex1) << c.what;
    EXPECT_DOUBLE_EQ(y1, c.ey1) << c.what;
    EXPECT_DOUBLE_EQ(x2, c.ex2) << c.what;
    EXPECT_DOUBLE_EQ(y2, c.ey2) << c.what;
  }
}

TEST(ClipSegment, InvariantsOnRandomSegments) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> coordinate(-20.0, 30.0);
  for (int n = 0; n < 20000; ++n) {
    const double ax = coordinate(rng), ay = coordinate(rng), bx = coordinate(rng),
                 by = coordinate(rng);
    double x1 = ax, y1 = ay, x2 = bx, y2 = by;
    const int r = ClipSegment(x1, y1, x2, y2, 0, 0, 10, 10);
    if (r == ClipInside) {
      // A segment inside the view clips to itself, bit for bit.
      EXPECT_EQ(x1, ax);
      EXPECT_EQ(y2, by);
    }
    if (r == ClipPartial) {
      // Both end points end up on the closed view rectangle, on the original line.
      for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
        EXPECT_GE(x, -1e-9);
        EXPECT_LE(x, 10 + 1e-9);
        EXPECT_GE(y, -1e-9);
        EXPECT_LE(y, 10 + 1e-9);
        EXPECT_NEAR((x - ax) * (by - ay) - (y - ay) * (bx - ax), 0.0, 1e-7);
      }
    }
  }
}

}  // namespace
}  // namespace sxf
