#include "graphics/Curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/RecordingCanvas.h"
#include "graphics/clipping.h"
#include "support/ViewTestSupport.h"
#include "util/MyFunc.h"

namespace sxf {
namespace {

using test::TLineTo;
using test::TMoveTo;
using test::TRecordingCanvas;

// A fine view (1000 pixels per unit) around the origin, so that pixels show world points
// to 1e-3.
class CurvesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetDrawingState(view);
    test::SetView(view, -50, -50, 1000, 100000, 100000);
  }
  TDPoint World(int px, int py) const {
    return {view.ViewLeft + px / view.ViewScale,
            view.ViewBottom + (view.ViewHeight - py) / view.ViewScale};
  }
  // The world points the segments went through: each segment's start, then the last end.
  std::vector<TDPoint> Vertices() const {
    std::vector<TDPoint> out;
    const auto moves = c.Only<TMoveTo>();
    const auto lines = c.Only<TLineTo>();
    for (const auto& m : moves) out.push_back(World(m.X, m.Y));
    if (!lines.empty()) out.push_back(World(lines.back().X, lines.back().Y));
    return out;
  }
  TRecordingCanvas c;
  TView view;
};

TEST_F(CurvesTest, EllipseHas72SegmentsWithEveryVertexOnTheCurve) {
  DrawWorldEllipse(c, view, 3, 4, 10, 0.5, DegToRad(30));
  const auto v = Vertices();
  ASSERT_EQ(v.size(), 73u);
  const double t = DegToRad(30);
  for (const TDPoint& p : v) {
    // Back into the ellipse's own frame: (u / r)^2 + (v / (r f))^2 = 1.
    const double dx = p.X - 3, dy = p.Y - 4;
    const double u = std::cos(t) * dx + std::sin(t) * dy;
    const double w = -std::sin(t) * dx + std::cos(t) * dy;
    EXPECT_NEAR(std::hypot(u / 10, w / 5), 1.0, 2e-4);
  }
  EXPECT_NEAR(v.front().X, v.back().X, 2e-3);  // closes
  EXPECT_NEAR(v.front().Y, v.back().Y, 2e-3);
}

TEST_F(CurvesTest, ArcRuleNormalisesAnglesAndFindsFullCurves) {
  // 350 to 10 degrees: a 20-degree sweep counter-clockwise through 0.
  DrawArcDegrees(c, view, 0, 0, 10, 350, 10, 1, 0);
  auto v = Vertices();
  ASSERT_EQ(v.size(), 73u);
  EXPECT_NEAR(v.front().X, 10 * std::cos(DegToRad(350)), 1e-3);
  EXPECT_NEAR(v.front().Y, 10 * std::sin(DegToRad(350)), 1e-3);
  EXPECT_NEAR(v[36].Y, 0.0, 1e-3);  // the middle vertex lies at 0 degrees
  EXPECT_NEAR(v.back().Y, 10 * std::sin(DegToRad(10)), 1e-3);

  // Start angles of -90 and 630 are both 270.
  for (double start : {-90.0, 630.0}) {
    c.Commands.clear();
    DrawArcDegrees(c, view, 0, 0, 10, start, start + 45, 1, 0);
    v = Vertices();
    EXPECT_NEAR(v.front().X, 0.0, 1e-3) << start;
    EXPECT_NEAR(v.front().Y, -10.0, 1e-3) << start;
  }
  // Equal angles, or a difference of whole turns: the full curve from angle 0.
  for (double end : {45.0, 405.0, -675.0}) {
    c.Commands.clear();
    DrawArcDegrees(c, view, 0, 0, 10, 45, end, 1, 0);
    v = Vertices();
    ASSERT_EQ(v.size(), 73u);
    EXPECT_NEAR(v.front().X, 10.0, 1e-3) << end;
    EXPECT_NEAR(v.front().Y, 0.0, 1e-3) << end;
  }
  // Flatness 0.5, tilt 90: the long axis along y.
  c.Commands.clear();
  DrawArcDegrees(c, view, 0, 0, 10, 0, 90, 0.5, 90);
  v = Vertices();
  EXPECT_NEAR(v.front().X, 0.0, 1e-3);
  EXPECT_NEAR(v.front().Y, 10.0, 1e-3);
  EXPECT_NEAR(v.back().X, -5.0, 1e-3);
  EXPECT_NEAR(v.back().Y, 0.0, 1e-3);
}

TEST_F(CurvesTest, HugeOrInfiniteAnglesEndAndDrawSafely) {
  // Adding 360 to 1e20 no longer changes it: the loops must not run forever.
  DrawArcDegrees(c, view, 0, 0, 10, 1e20, 1e20 + 90, 1, 0);
  EXPECT_EQ(c.Only<TLineTo>().size(), 72u);
  c.Commands.clear();
  DrawArcDegrees(c, view, 0, 0, 10, -1e308, 1e308, 1, 0);  // the sweep overflows to infinity
  DrawArcDegrees(c, view, 0, 0, 10, std::numeric_limits<double>::infinity(), 0, 1, 0);
  DrawArcDegrees(c, view, 0, 0, 10, 0, std::nan(""), 1, 0);
  EXPECT_TRUE(c.Commands.empty());
  EXPECT_EQ(NormalizeDegrees(-90), 270.0);
  EXPECT_EQ(NormalizeDegrees(720), 0.0);
  EXPECT_EQ(NormalizeDegrees(359.5), 359.5);
  const double big = NormalizeDegrees(1e20);
  EXPECT_GE(big, 0.0);
  EXPECT_LT(big, 360.0);
}

// What a curve must draw: the 72 segments between the points at start, start + step, ...
// (the angle accumulated), each through DrawWorldSegment.
template <typename PointAt>
TRecordingCanvas PlainSegments(const TView& view, PointAt pointAt, double start, double step) {
  TRecordingCanvas plain;
  double theta = start;
  TDPoint previous = pointAt(theta);
  for (int k = 1; k <= 72; ++k) {
    theta += step;
    const TDPoint p = pointAt(theta);
    DrawWorldSegment(plain, view, previous.X, previous.Y, p.X, p.Y);
    previous = p;
  }
  return plain;
}

// The curve code takes shortcuts (the tilt's sine and cosine once, curves beyond an edge
// skipped, curves within one pixel drawn without their points): the canvas must see exactly
// what 72 segments between EllipsePoint vertices give.
TEST_F(CurvesTest, ShortcutsDrawWhatThePlainSegmentsDraw) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> centre(-60, 60), size(0, 1), angle(-7, 7);
  for (const double scale : {0.3, 3.0, 40.0}) {
    test::SetView(view, -50, -50, scale, static_cast<int>(100 * scale),
                  static_cast<int>(100 * scale));
    for (int n = 0; n < 400; ++n) {
      const double cx = centre(rng), cy = centre(rng);
      const double r = std::pow(10.0, 3 * size(rng) - 2.5);  // 0.003 .. 3
      const double flatness = 2 * size(rng), tilt = angle(rng), start = angle(rng),
                   sweep = angle(rng);
      const auto at = [&](double t) { return EllipsePoint(cx, cy, r, flatness, tilt, t); };
      TRecordingCanvas fast;
      DrawWorldEllipseArc(fast, view, cx, cy, r, flatness, tilt, start, sweep);
      ASSERT_EQ(fast.Commands, PlainSegments(view, at, start, sweep / 72).Commands)
          << cx << " " << cy << " " << r << " scale " << scale;
      // The whole curve, from the table of its angles.
      fast.Commands.clear();
      DrawWorldEllipse(fast, view, cx, cy, r, flatness, tilt);
      ASSERT_EQ(fast.Commands, PlainSegments(view, at, 0.0, kCurveStep).Commands)
          << "whole " << cx << " " << cy << " " << r;
    }
  }
}

// Arc points turned by the step instead of taken from their angles: the segments must be
// the same, also where a point lies on a pixel's edge (centres on half pixels, sweeps of
// quarter turns, whose end points' cosines are rounding noise), on an edge of the view
// (centres a radius away from it, the points beyond it being taken only for segments that
// may be drawn) and for large radii.
TEST_F(CurvesTest, TurnedArcPointsDrawWhatTheirAnglesDraw) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> unit(0, 1);
  const double kQuarter = 1.5707963267948966;
  for (const double scale : {0.7, 9.0, 250.0}) {
    test::SetView(view, -50, -50, scale, static_cast<int>(100 * scale),
                  static_cast<int>(100 * scale));
    for (int n = 0; n < 6000; ++n) {
      double cx = -60 + 120 * unit(rng), cy = -60 + 120 * unit(rng);
      if (n % 2 == 0) {  // on a pixel's edge
        cx = view.ViewLeft + (std::floor((cx - view.ViewLeft) * scale) + 0.5) / scale;
        cy = view.ViewBottom + (std::floor((cy - view.ViewBottom) * scale) + 0.5) / scale;
      }
      const double r = std::pow(10.0, 4 * unit(rng) - 2);  // 0.01 .. 100
      const bool touching = n % 9 == 1 || n % 9 == 4 || n % 9 == 5 || n % 9 == 7;
      const bool alongEdge = n % 9 == 8;
      const double flatness = alongEdge ? 0.0 : (n % 3 == 0 || touching ? 1.0 : 2 * unit(rng));
      const double tilt = n % 4 == 0 || touching || alongEdge ? 0.0 : 7 * unit(rng);
      switch (n % 9) {
        // A round arc whose quarter points touch an edge of the view.
        case 1: cx = view.ViewLeft + r; break;
        case 4: cx = view.ViewRight - r; break;
        case 5: cy = view.ViewBottom + r; break;
        case 7: cy = view.ViewTop - r; break;
        // A flat one along the bottom edge, inside by less than its points' margin.
        case 8: cy = view.ViewBottom + 5e-12 * (1 + r); break;
        default: break;
      }
      const double start = n % 5 < 2 ? kQuarter * std::floor(4 * unit(rng)) : 7 * unit(rng);
      const double sweep =
          n % 5 < 3 ? kQuarter * (1 + std::floor(4 * unit(rng))) : -7 + 14 * unit(rng);
      const auto at = [&](double t) { return EllipsePoint(cx, cy, r, flatness, tilt, t); };
      TRecordingCanvas fast;
      DrawWorldEllipseArc(fast, view, cx, cy, r, flatness, tilt, start, sweep);
      ASSERT_EQ(fast.Commands, PlainSegments(view, at, start, sweep / 72).Commands)
          << cx << " " << cy << " " << r << " " << start << " " << sweep << " scale " << scale;
    }
  }
}

// Where a segment of an arc is cut by an edge of the view, the cut follows the points of the
// accumulated angles exactly. Here the top point of each arc lies just beyond the top of the
// view and its neighbours just inside; the segment from one neighbour into the top point
// (even n) or out of it (odd n) is cut at the top edge on a pixel's edge, where a point
// turned by the step instead, a rounding error away, often moves the cut into the pixel
// beside it. The points are the curve's own (At), which the drawing promises to follow.
TEST_F(CurvesTest, ArcSegmentsCutByTheViewFollowThePointsOfTheirAngles) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int n = 0; n < 3000; ++n) {
    const double r = 1 + 150 * unit(rng), sweep = 0.5 + 5.5 * unit(rng);
    const double step = sweep / 72,
                 start = 1.5707963267948966 - sweep / 2 + step * (unit(rng) - 0.5) * 1e-3;
    const TEllipseCurve curve(15.3 + unit(rng), 20 * unit(rng), r, 1.0, 0.0);
    double theta = start;
    for (int k = 1; k <= 35; ++k) theta += step;
    const TDPoint before = curve.At(theta);
    theta += step;
    const TDPoint top = curve.At(theta);
    theta += step;
    const TDPoint after = curve.At(theta);
    const double bottom = (top.Y + std::max(before.Y, after.Y)) / 2 - 100;
    test::SetView(view, 0, bottom, 1.0, 100, 100);
    // Where the clipping cuts the chosen segment, computed as it does, put at 10.5 pixels
    // from the left edge (the difference of two doubles within a factor of two is exact).
    const TDPoint& from = n % 2 == 0 ? before : top;
    const TDPoint& to = n % 2 == 0 ? top : after;
    const double cut = (view.ViewTop - from.Y) * (to.X - from.X) / (to.Y - from.Y) + from.X;
    test::SetView(view, cut - 10.5, bottom, 1.0, 100, 100);
    ASSERT_EQ(cut - view.ViewLeft, 10.5);
    ASSERT_EQ(ViewOutcode(view, top.X, top.Y), 8);
    TRecordingCanvas fast;
    DrawWorldEllipseArc(fast, view, curve.Cx, curve.Cy, r, 1.0, 0.0, start, sweep);
    const auto at = [&](double t) { return curve.At(t); };
    ASSERT_EQ(fast.Commands, PlainSegments(view, at, start, step).Commands)
        << "r " << r << " sweep " << sweep << " n " << n;
  }
}

// Whole curves inside the view map their 73 points in one batch: the same pixels as each
// point mapped on its own, also for points on a pixel's edge (centres on half pixels with
// flat curves, whose points then share that coordinate) and views that start off the origin.
TEST_F(CurvesTest, WholeCurvesMappedInOneBatchDrawWhatTheirPointsDraw) {
  std::mt19937 rng(23);
  std::uniform_real_distribution<double> unit(0, 1);
  for (const double scale : {0.45, 6.0, 333.0}) {
    test::SetView(view, -37.25, 12.5, scale, static_cast<int>(100 * scale),
                  static_cast<int>(100 * scale));
    for (int n = 0; n < 6000; ++n) {
      double cx = view.ViewLeft + 100 * unit(rng), cy = view.ViewBottom + 100 * unit(rng);
      if (n % 2 == 0) {  // on a pixel's edge
        cx = view.ViewLeft + (std::floor((cx - view.ViewLeft) * scale) + 0.5) / scale;
        cy = view.ViewBottom + (std::floor((cy - view.ViewBottom) * scale) + 0.5) / scale;
      }
      const double r = std::pow(10.0, 3 * unit(rng) - 2) / (n % 7 == 0 ? 1 : scale / 10);
      const double flatness = n % 3 == 0 ? 0.0 : (n % 3 == 1 ? 1.0 : 2 * unit(rng));
      const double tilt = n % 4 == 0 ? 0.0 : 7 * unit(rng);
      const auto at = [&](double t) { return EllipsePoint(cx, cy, r, flatness, tilt, t); };
      TRecordingCanvas fast;
      DrawWorldEllipse(fast, view, cx, cy, r, flatness, tilt);
      ASSERT_EQ(fast.Commands, PlainSegments(view, at, 0.0, kCurveStep).Commands)
          << cx << " " << cy << " " << r << " " << flatness << " " << tilt << " scale " << scale;
    }
  }
}

TEST_F(CurvesTest, ZeroRadiusPaintsTheCentrePixel) {
  DrawWorldEllipse(c, view, 1, 1, 0, 1, 0);
  const auto pixels = c.Only<test::TSetPixel>();
  ASSERT_EQ(pixels.size(), 72u);
  for (const auto& p : pixels) EXPECT_EQ((TPixelPoint{p.X, p.Y}), WorldToScreen(view, 1, 1));
}

TEST_F(CurvesTest, ACurveOutsideTheViewDrawsNothing) {
  DrawWorldEllipse(c, view, 500, 500, 10, 1, 0);
  EXPECT_TRUE(c.Commands.empty());
  // Half in view: only the segments inside are drawn, clipped.
  test::SetView(view, 0, -50, 10, 1000, 1000);
  DrawWorldEllipse(c, view, 0, 0, 10, 1, 0);
  const auto lines = c.Only<TLineTo>();
  EXPECT_GT(lines.size(), 30u);
  EXPECT_LT(lines.size(), 40u);
  for (const auto& l : lines) EXPECT_GE(l.X, 0);
}

}  // namespace
}  // namespace sxf
