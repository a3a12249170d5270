#include <gtest/gtest.h>

#include <cmath>

#include "graphics/PointMark.h"
#include "graphics/RecordingCanvas.h"
#include "graphics/SolidArc.h"
#include "graphics/ViewTestSupport.h"
#include "util/MyFunc.h"

namespace sxf {
namespace {

using test::TPolygon;
using test::TPolyline;
using test::TRecordingCanvas;

// 1000 pixels per unit around the origin: pixels show world points to 1e-3.
class ShapesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetDrawingState();
    test::SetView(-50, -50, 1000, 100000, 100000);
  }
  TDPoint World(const TPixelPoint& p) const {
    return {ViewLeft + p.X / ViewScale, ViewBottom + (ViewHeight - p.Y) / ViewScale};
  }
  std::vector<TPixelPoint> OnlyPolygon() const {
    const auto polygons = c.Only<TPolygon>();
    EXPECT_EQ(polygons.size(), 1u);
    return polygons.empty() ? std::vector<TPixelPoint>{} : polygons[0].Points;
  }
  TRecordingCanvas c;
};

const double kHalfPi = 1.5707963267948966;

TEST_F(ShapesTest, ScModesGiveEllipseSectorSegmentAndTangentShapes) {
  DrawSolidArc(c, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 1.0, 0.5, 100);  // angles ignored
  auto points = OnlyPolygon();
  ASSERT_EQ(points.size(), 72u);
  EXPECT_NEAR(World(points[0]).X, 10.0, 1e-3);
  EXPECT_NEAR(World(points[18]).Y, 10.0, 1e-3);

  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 0, kHalfPi, 0);  // quarter pie
  points = OnlyPolygon();
  ASSERT_EQ(points.size(), 74u);
  EXPECT_NEAR(World(points.back()).X, 0.0, 1e-3);
  EXPECT_NEAR(World(points.back()).Y, 0.0, 1e-3);

  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 0, kHalfPi, 5);  // up to the chord
  EXPECT_EQ(OnlyPolygon().size(), 73u);

  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 0, kHalfPi, 3);  // tangents meet at (10, 10)
  points = OnlyPolygon();
  ASSERT_EQ(points.size(), 74u);
  EXPECT_NEAR(World(points.back()).X, 10.0, 1e-3);
  EXPECT_NEAR(World(points.back()).Y, 10.0, 1e-3);

  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::Sc, 2, 3, 10, 1, 0, 0, 2 * kHalfPi, 3);  // parallel: the centre
  points = OnlyPolygon();
  ASSERT_EQ(points.size(), 74u);
  EXPECT_NEAR(World(points.back()).X, 2.0, 1e-3);
  EXPECT_NEAR(World(points.back()).Y, 3.0, 1e-3);
  EXPECT_EQ(WorldPointCount, 0);
}

TEST_F(ShapesTest, SeIsAnOutlineOrAnOpenArc) {
  DrawSolidArc(c, TSolidArcKind::Se, 0, 0, 10, 0.5, 0, 1.0, 1.0, 100);
  auto runs = c.Only<TPolyline>();
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].Points.size(), 73u);
  EXPECT_NEAR(World(runs[0].Points.back()).X, 10.0, 1e-3);  // closed at 360 degrees
  EXPECT_TRUE(c.Only<TPolygon>().empty());
  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::Se, 0, 0, 10, 1, 0, 0, kHalfPi, 0);
  runs = c.Only<TPolyline>();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_NEAR(World(runs[0].Points.back()).Y, 10.0, 1e-3);
}

TEST_F(ShapesTest, RingsRunOutAlongTheOuterArcAndBackAlongTheInner) {
  // sg keeps the band 2 wide on both axes: inner flatness (5 - 10) / 8 + 1 = 0.375.
  DrawSolidArc(c, TSolidArcKind::Sg, 0, 0, 10, 0.5, 0, 0, 2 * kHalfPi, 8);
  auto points = OnlyPolygon();
  ASSERT_EQ(points.size(), 146u);
  EXPECT_NEAR(World(points[36]).Y, 5.0, 1e-3);          // outer top: 10 * 0.5
  EXPECT_NEAR(World(points[73 + 36]).Y, 3.0, 1e-3);     // inner top: 8 * 0.375
  EXPECT_NEAR(World(points[73]).X, -8.0, 1e-3);         // inner run starts at start + sweep
  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::So, 0, 0, 10, 0.5, 0, 0, 2 * kHalfPi, 8);
  points = OnlyPolygon();
  EXPECT_NEAR(World(points[73 + 36]).Y, 4.0, 1e-3);     // so: 8 * 0.5
  c.Commands.clear();
  DrawSolidArc(c, TSolidArcKind::Sg, 0, 0, 10, 0.5, 0, 0, kHalfPi, 0);  // inner radius 0
  points = OnlyPolygon();
  EXPECT_NEAR(World(points.back()).X, 0.0, 1e-3);
}

TEST_F(ShapesTest, PointMarkArrowheads) {
  // 100 pixels per unit: a 15-unit arrowhead stays below the 10 000-pixel outline rule.
  test::SetView(-500, -500, 100, 100000, 100000);
  DrawPointMark(c, 1, 1, 2, 1, 0, 2, 0);
  auto points = OnlyPolygon();
  ASSERT_EQ(points.size(), 3u);
  EXPECT_NEAR(World(points[0]).X, 1.0, 1e-2);  // tip on the point
  EXPECT_NEAR(World(points[1]).X, -6.5, 1e-2);  // 7.5 long
  EXPECT_NEAR(World(points[1]).Y - World(points[2]).Y, 2.5, 1e-2);  // 2.5 wide
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush, (TBrush{RgbColor(255, 255, 255), TBrushStyle::Solid}));
  EXPECT_EQ(c.Only<TPolygon>()[0].Pen.Color, RgbColor(0, 0, 0));

  c.Commands.clear();
  DrawPointMark(c, 6, 0, 0, 2, DegToRad(90), 102, 0);  // scaled, turned, filled in its colour
  points = OnlyPolygon();
  EXPECT_NEAR(World(points[1]).Y, -15.0, 1e-2);
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush.Color, RgbColor(255, 0, 0));

  c.Commands.clear();
  DrawPointMark(c, 11, 0, 0, 0, 0, 2, 0);  // scale 0 counts as 1; outline only
  points = OnlyPolygon();
  EXPECT_NEAR(World(points[1]).X, -7.5, 1e-2);
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush.Style, TBrushStyle::Clear);
}

TEST_F(ShapesTest, PlainPointsAreDotsOfAtLeastOnePixel) {
  // Colour 1: pen width 0.1, dot size 0.2: radius 0.25.
  DrawPointMark(c, 0, 0, 0, 1, 0, 1, 0);
  auto moves = c.Only<test::TMoveTo>();
  ASSERT_EQ(moves.size(), 72u);
  EXPECT_NEAR(World({moves[0].X, moves[0].Y}).X, 0.25, 1e-3);
  // A line width of 50 hundredths: 0.25 + 0.2.
  c.Commands.clear();
  DrawPointMark(c, 0, 0, 0, 1, 0, 1, 50);
  moves = c.Only<test::TMoveTo>();
  EXPECT_NEAR(World({moves[0].X, moves[0].Y}).X, 0.45, 1e-3);
  // At 2 pixels per unit 0.25 units is half a pixel: the dot grows to one pixel.
  test::SetView(-50, -50, 2, 200, 200);
  c.Commands.clear();
  DrawPointMark(c, 0, 0, 0, 1, 0, 1, 0);
  const auto lines = c.Only<test::TLineTo>();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(c.Only<test::TMoveTo>()[0].X, 101);  // centre pixel 100, radius 1
}

TEST_F(ShapesTest, CodesThreeFourAndSevenLookAlike) {
  std::vector<std::vector<test::TCommand>> drawn;
  for (int code : {3, 4, 7, -2, 99}) {
    c.Commands.clear();
    DrawPointMark(c, code, 1, 1, 2, 0.3, 5, 0);
    drawn.push_back(c.Commands);
  }
  for (const auto& d : drawn) EXPECT_EQ(d, drawn[0]);
  EXPECT_EQ(c.Only<test::TMoveTo>().size(), 72u);
  EXPECT_NEAR(World({c.Only<test::TMoveTo>()[0].X, c.Only<test::TMoveTo>()[0].Y}).X, 3.5, 1e-3);
}

TEST_F(ShapesTest, StrokedMarksUseSegments) {
  const struct {
    int code;
    std::size_t segments;
  } cases[] = {{9, 2}, {10, 1}, {-1, 3}, {-4, 2}, {-5, 4}, {-6, 3}, {-7, 2}, {8, 144}};
  for (const auto& k : cases) {
    c.Commands.clear();
    DrawPointMark(c, k.code, 0, 0, 1, 0, 2, 0);
    EXPECT_EQ(c.Only<test::TLineTo>().size(), k.segments) << k.code;
    EXPECT_TRUE(c.Only<TPolygon>().empty()) << k.code;
  }
}

}  // namespace
}  // namespace sxf
