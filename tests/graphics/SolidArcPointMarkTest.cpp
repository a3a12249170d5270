#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "graphics/PointMark.h"
#include "support/RecordingCanvas.h"
#include "graphics/SolidArc.h"
#include "support/ViewTestSupport.h"
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
    test::ResetDrawingState(view);
    test::SetView(view, -50, -50, 1000, 100000, 100000);
  }
  TDPoint World(const TPixelPoint& p) const {
    return {view.ViewLeft + p.X / view.ViewScale,
            view.ViewBottom + (view.ViewHeight - p.Y) / view.ViewScale};
  }
  std::vector<TPixelPoint> OnlyPolygon() const {
    const auto polygons = c.Only<TPolygon>();
    EXPECT_EQ(polygons.size(), 1u);
    return polygons.empty() ? std::vector<TPixelPoint>{} : polygons[0].Points;
  }
  TRecordingCanvas c;
  TView view;
};

const double kHalfPi = 1.5707963267948966;

TEST_F(ShapesTest, ScModesGiveEllipseSectorSegmentAndTangentShapes) {
  DrawSolidArc(c, view, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 1.0, 0.5, 100);  // angles ignored
  auto points = OnlyPolygon();
  ASSERT_EQ(points.size(), 72u);
  EXPECT_NEAR(World(points[0]).X, 10.0, 1e-3);
  EXPECT_NEAR(World(points[18]).Y, 10.0, 1e-3);

  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 0, kHalfPi, 0);  // quarter pie
  points = OnlyPolygon();
  ASSERT_EQ(points.size(), 74u);
  EXPECT_NEAR(World(points.back()).X, 0.0, 1e-3);
  EXPECT_NEAR(World(points.back()).Y, 0.0, 1e-3);

  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 0, kHalfPi, 5);  // up to the chord
  EXPECT_EQ(OnlyPolygon().size(), 73u);

  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::Sc, 0, 0, 10, 1, 0, 0, kHalfPi,
               3);  // tangents meet at (10, 10)
  points = OnlyPolygon();
  ASSERT_EQ(points.size(), 74u);
  EXPECT_NEAR(World(points.back()).X, 10.0, 1e-3);
  EXPECT_NEAR(World(points.back()).Y, 10.0, 1e-3);

  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::Sc, 2, 3, 10, 1, 0, 0, 2 * kHalfPi,
               3);  // parallel: the centre
  points = OnlyPolygon();
  ASSERT_EQ(points.size(), 74u);
  EXPECT_NEAR(World(points.back()).X, 2.0, 1e-3);
  EXPECT_NEAR(World(points.back()).Y, 3.0, 1e-3);
  EXPECT_EQ(c.Points.WorldPointCount, 0);
}

// Every sc mode other than 0, 5 and 100 closes the arc at the point where the tangents at its
// two ends meet, for arcs of any start, sweep, tilt and flatness.
TEST_F(ShapesTest, ScTangentModesCloseWhereTheEndTangentsMeet) {
  const double deg = kHalfPi / 90.0;
  const auto polar = [](double d, double a) {
    return TDPoint{2 + d * std::cos(a), 3 + d * std::sin(a)};
  };
  const auto tilted = [deg](double u, double v) {  // (u, v) turned by 30 degrees about (2, 3)
    return TDPoint{2 + u * std::cos(30 * deg) - v * std::sin(30 * deg),
                   3 + u * std::sin(30 * deg) + v * std::cos(30 * deg)};
  };
  const struct {
    double flatness, tilt, start, sweep;  // degrees
    TDPoint corner;
  } arcs[] = {
      // On a circle the tangents meet r / cos(sweep / 2) out along the arc's middle.
      {1, 20, 30, 60, polar(10 / std::cos(30 * deg), 80 * deg)},
      {1, 0, 200, 90, polar(10 / std::cos(45 * deg), 245 * deg)},
      {1, 45, 0, 120, polar(20, 105 * deg)},
      {1, -10, -40, 20, polar(10 / std::cos(10 * deg), -40 * deg)},
      // On a flattened curve the corner of its bounding box.
      {0.5, 0, 0, 90, {12, 8}},
      {0.5, 30, 90, 90, tilted(-10, 5)},
  };
  for (const int mode : {1, 2, 3, 4, 6, 99, 101, -1, -100}) {
    for (const auto& a : arcs) {
      c.Commands.clear();
      DrawSolidArc(c, view, TSolidArcKind::Sc, 2, 3, 10, a.flatness, a.tilt * deg, a.start * deg,
                   a.sweep * deg, mode);
      const auto points = OnlyPolygon();
      ASSERT_EQ(points.size(), 74u) << "mode " << mode;
      const std::string what = "mode " + std::to_string(mode) + " start " +
                               std::to_string(a.start) + " tilt " + std::to_string(a.tilt);
      EXPECT_NEAR(World(points.back()).X, a.corner.X, 2e-3) << what;
      EXPECT_NEAR(World(points.back()).Y, a.corner.Y, 2e-3) << what;
    }
  }
  // The other modes: no tangent point.
  const struct {
    int mode;
    std::size_t count;
  } others[] = {{0, 74}, {5, 73}, {100, 72}};
  for (const auto& o : others) {
    c.Commands.clear();
    DrawSolidArc(c, view, TSolidArcKind::Sc, 2, 3, 10, 1, 20 * deg, 30 * deg, 60 * deg, o.mode);
    EXPECT_EQ(OnlyPolygon().size(), o.count) << "mode " << o.mode;
  }
}

TEST_F(ShapesTest, SeIsAnOutlineOrAnOpenArc) {
  DrawSolidArc(c, view, TSolidArcKind::Se, 0, 0, 10, 0.5, 0, 1.0, 1.0, 100);
  auto runs = c.Only<TPolyline>();
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].Points.size(), 73u);
  EXPECT_NEAR(World(runs[0].Points.back()).X, 10.0, 1e-3);  // closed at 360 degrees
  EXPECT_TRUE(c.Only<TPolygon>().empty());
  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::Se, 0, 0, 10, 1, 0, 0, kHalfPi, 0);
  runs = c.Only<TPolyline>();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_NEAR(World(runs[0].Points.back()).Y, 10.0, 1e-3);
}

TEST_F(ShapesTest, RingsRunOutAlongTheOuterArcAndBackAlongTheInner) {
  // sg keeps the band 2 wide on both axes: inner flatness (5 - 10) / 8 + 1 = 0.375.
  DrawSolidArc(c, view, TSolidArcKind::Sg, 0, 0, 10, 0.5, 0, 0, 2 * kHalfPi, 8);
  auto points = OnlyPolygon();
  ASSERT_EQ(points.size(), 146u);
  EXPECT_NEAR(World(points[36]).Y, 5.0, 1e-3);       // outer top: 10 * 0.5
  EXPECT_NEAR(World(points[73 + 36]).Y, 3.0, 1e-3);  // inner top: 8 * 0.375
  EXPECT_NEAR(World(points[73]).X, -8.0, 1e-3);      // inner run starts at start + sweep
  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::So, 0, 0, 10, 0.5, 0, 0, 2 * kHalfPi, 8);
  points = OnlyPolygon();
  EXPECT_NEAR(World(points[73 + 36]).Y, 4.0, 1e-3);  // so: 8 * 0.5
  c.Commands.clear();
  DrawSolidArc(c, view, TSolidArcKind::Sg, 0, 0, 10, 0.5, 0, 0, kHalfPi, 0);  // inner radius 0
  points = OnlyPolygon();
  EXPECT_NEAR(World(points.back()).X, 0.0, 1e-3);
}

TEST_F(ShapesTest, PointMarkArrowheads) {
  // 100 pixels per unit: a 15-unit arrowhead stays below the 10 000-pixel outline rule.
  test::SetView(view, -500, -500, 100, 100000, 100000);
  DrawPointMark(c, view, 1, 1, 2, 1, 0, 2, 0);
  auto points = OnlyPolygon();
  ASSERT_EQ(points.size(), 3u);
  EXPECT_NEAR(World(points[0]).X, 1.0, 1e-2);                       // tip on the point
  EXPECT_NEAR(World(points[1]).X, -6.5, 1e-2);                      // 7.5 long
  EXPECT_NEAR(World(points[1]).Y - World(points[2]).Y, 2.5, 1e-2);  // 2.5 wide
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush, (TBrush{RgbColor(255, 255, 255), TBrushStyle::Solid}));
  EXPECT_EQ(c.Only<TPolygon>()[0].Pen.Color, RgbColor(0, 0, 0));

  c.Commands.clear();
  DrawPointMark(c, view, 6, 0, 0, 2, DegToRad(90), 102, 0);  // scaled, turned, filled in its colour
  points = OnlyPolygon();
  EXPECT_NEAR(World(points[1]).Y, -15.0, 1e-2);
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush.Color, RgbColor(255, 0, 0));

  c.Commands.clear();
  DrawPointMark(c, view, 11, 0, 0, 0, 0, 2, 0);  // scale 0 counts as 1; outline only
  points = OnlyPolygon();
  EXPECT_NEAR(World(points[1]).X, -7.5, 1e-2);
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush.Style, TBrushStyle::Clear);
}

TEST_F(ShapesTest, PlainPointsAreDotsOfAtLeastOnePixel) {
  // Colour 1: pen width 0.1, dot size 0.2: radius 0.25.
  DrawPointMark(c, view, 0, 0, 0, 1, 0, 1, 0);
  auto moves = c.Only<test::TMoveTo>();
  ASSERT_EQ(moves.size(), 72u);
  EXPECT_NEAR(World({moves[0].X, moves[0].Y}).X, 0.25, 1e-3);
  // A line width of 50 hundredths: 0.25 + 0.2.
  c.Commands.clear();
  DrawPointMark(c, view, 0, 0, 0, 1, 0, 1, 50);
  moves = c.Only<test::TMoveTo>();
  EXPECT_NEAR(World({moves[0].X, moves[0].Y}).X, 0.45, 1e-3);
  // At 2 pixels per unit 0.25 units is half a pixel: the dot grows to one pixel.
  test::SetView(view, -50, -50, 2, 200, 200);
  c.Commands.clear();
  DrawPointMark(c, view, 0, 0, 0, 1, 0, 1, 0);
  const auto lines = c.Only<test::TLineTo>();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(c.Only<test::TMoveTo>()[0].X, 101);  // centre pixel 100, radius 1
}

TEST_F(ShapesTest, CodesThreeFourAndSevenLookAlike) {
  std::vector<std::vector<test::TCommand>> drawn;
  for (int code : {3, 4, 7, -2, 99}) {
    c.Commands.clear();
    DrawPointMark(c, view, code, 1, 1, 2, 0.3, 5, 0);
    drawn.push_back(c.Commands);
  }
  for (const auto& d : drawn) EXPECT_EQ(d, drawn[0]);
  EXPECT_EQ(c.Only<test::TMoveTo>().size(), 72u);
  EXPECT_NEAR(World({c.Only<test::TMoveTo>()[0].X, c.Only<test::TMoveTo>()[0].Y}).X, 3.5, 1e-3);
}

// The box of everything a mark draws, relative to its point, in world units.
struct TBox {
  double Left, Bottom, Right, Top;
};

TBox DrawnBox(const TRecordingCanvas& c, const std::function<TDPoint(const TPixelPoint&)>& world,
              const TDPoint& origin) {
  TBox b{1e300, 1e300, -1e300, -1e300};
  const auto add = [&](const TPixelPoint& p) {
    const TDPoint w = world(p);
    b.Left = std::min(b.Left, w.X - origin.X);
    b.Right = std::max(b.Right, w.X - origin.X);
    b.Bottom = std::min(b.Bottom, w.Y - origin.Y);
    b.Top = std::max(b.Top, w.Y - origin.Y);
  };
  for (const test::TCommand& cmd : c.Commands) {
    if (const auto* m = std::get_if<test::TMoveTo>(&cmd)) add({m->X, m->Y});
    if (const auto* l = std::get_if<test::TLineTo>(&cmd)) add({l->X, l->Y});
    if (const auto* g = std::get_if<TPolygon>(&cmd))
      for (const TPixelPoint& p : g->Points) add(p);
    if (const auto* g = std::get_if<TPolyline>(&cmd))
      for (const TPixelPoint& p : g->Points) add(p);
  }
  return b;
}

// The size of every mark code at scale 2, drawn along the mark angle and turned a quarter.
TEST_F(ShapesTest, EveryMarkCodeHasItsSize) {
  test::SetView(view, -100, -100, 500, 100000, 100000);               // 1/500 unit per pixel
  constexpr double arrow = 15.0, half = 2.5, t = 3.5355339059327378;  // 1.25 * sqrt(2) * 2
  constexpr double starX = 2.1650635094610966;                        // 2.5 * cos 30
  constexpr double triX = 2.8867513459481287, triLow = 1.6666666666666667,
                   triHigh = 3.3333333333333335;
  constexpr double xArm = 1.7677669529663689;  // 2.5 * cos 45
  // Colour 2: pen width 0.15, dot size 0.3; the dot (code 0) does not scale with the mark.
  const struct {
    int code;
    TBox box;
  } cases[] = {
      {0, {-0.375, -0.375, 0.375, 0.375}},
      {1, {-arrow, -half, 0, half}},
      {2, {-half, -half, half, half}},
      {3, {-half, -half, half, half}},
      {4, {-half, -half, half, half}},
      {5, {-half, -half, half, half}},
      {6, {-arrow, -half, 0, half}},
      {7, {-half, -half, half, half}},
      {8, {-t, -t, t, t}},
      {9, {-arrow, -half, 0, half}},
      {10, {-t, -t, t, t}},
      {11, {-arrow, -half, 0, half}},
      {12, {-half, -half, half, half}},
      {99, {-half, -half, half, half}},
      {-1, {-starX, -half, starX, half}},
      {-2, {-half, -half, half, half}},
      {-3, {-0.3, -0.3, 0.3, 0.3}},
      {-4, {-half, -half, half, half}},
      {-5, {-half, -half, half, half}},
      {-6, {-triX, -triLow, triX, triHigh}},
      {-7, {-xArm, -xArm, xArm, xArm}},
      {-8, {-half, -half, half, half}},
  };
  const auto world = [this](const TPixelPoint& p) { return World(p); };
  for (const auto& k : cases) {
    for (const bool turned : {false, true}) {
      c.Commands.clear();
      DrawPointMark(c, view, k.code, 1, 2, 2, turned ? kHalfPi : 0.0, 2, 0);
      // A quarter turn maps (x, y) to (-y, x).
      const TBox e = turned ? TBox{-k.box.Top, k.box.Left, -k.box.Bottom, k.box.Right} : k.box;
      const TBox b = DrawnBox(c, world, {1, 2});
      const std::string what = "code " + std::to_string(k.code) + (turned ? " turned" : "");
      EXPECT_NEAR(b.Left, e.Left, 3e-3) << what;
      EXPECT_NEAR(b.Bottom, e.Bottom, 3e-3) << what;
      EXPECT_NEAR(b.Right, e.Right, 3e-3) << what;
      EXPECT_NEAR(b.Top, e.Top, 3e-3) << what;
    }
  }
}

// The stroked marks end to end, scaled by 2, turned by 30 degrees and placed at (1, 2).
TEST_F(ShapesTest, StrokedMarksJoinTheirOwnPoints) {
  test::SetView(view, -100, -100, 500, 100000, 100000);
  const double deg = kHalfPi / 90.0;
  const auto at = [deg](double u, double v) {  // mark frame, units of k = 2
    return TDPoint{1 + 2 * (u * std::cos(30 * deg) - v * std::sin(30 * deg)),
                   2 + 2 * (u * std::sin(30 * deg) + v * std::cos(30 * deg))};
  };
  const auto polar = [&](double d, double degrees) {
    return at(d * std::cos(degrees * deg), d * std::sin(degrees * deg));
  };
  using TSeg = std::pair<TDPoint, TDPoint>;
  const double h = 1.25, d = 5.0 / 3.0;
  const struct {
    int code;
    std::vector<TSeg> segments;
  } cases[] = {
      {9, {{at(0, 0), at(-7.5, h)}, {at(0, 0), at(-7.5, -h)}}},
      {10, {{polar(2.5, 45), polar(2.5, 225)}}},
      {-1, {{at(0, h), at(0, -h)}, {polar(h, 30), polar(h, 210)}, {polar(h, 150), polar(h, 330)}}},
      {-4, {{at(0, h), at(0, -h)}, {at(-h, 0), at(h, 0)}}},
      {-5,
       {{at(-h, -h), at(h, -h)},
        {at(h, -h), at(h, h)},
        {at(h, h), at(-h, h)},
        {at(-h, h), at(-h, -h)}}},
      {-6,
       {{polar(d, 90), polar(d, 210)},
        {polar(d, 210), polar(d, 330)},
        {polar(d, 330), polar(d, 90)}}},
      {-7, {{polar(h, 45), polar(h, 225)}, {polar(h, 135), polar(h, 315)}}},
  };
  for (const auto& k : cases) {
    c.Commands.clear();
    DrawPointMark(c, view, k.code, 1, 2, 2, 30 * deg, 2, 0);
    const auto moves = c.Only<test::TMoveTo>();
    const auto lines = c.Only<test::TLineTo>();
    ASSERT_EQ(moves.size(), k.segments.size()) << "code " << k.code;
    ASSERT_EQ(lines.size(), k.segments.size()) << "code " << k.code;
    for (std::size_t i = 0; i < k.segments.size(); ++i) {
      const TDPoint a = World({moves[i].X, moves[i].Y}), b = World({lines[i].X, lines[i].Y});
      const std::string what = "code " + std::to_string(k.code) + " segment " + std::to_string(i);
      EXPECT_NEAR(a.X, k.segments[i].first.X, 2e-3) << what;
      EXPECT_NEAR(a.Y, k.segments[i].first.Y, 2e-3) << what;
      EXPECT_NEAR(b.X, k.segments[i].second.X, 2e-3) << what;
      EXPECT_NEAR(b.Y, k.segments[i].second.Y, 2e-3) << what;
    }
  }

  // Code 8: two quarter arcs of 72 segments, from (t, t) into the point and from (-t, -t) into it.
  c.Commands.clear();
  DrawPointMark(c, view, 8, 1, 2, 2, 30 * deg, 2, 0);
  const auto moves = c.Only<test::TMoveTo>();
  const auto lines = c.Only<test::TLineTo>();
  ASSERT_EQ(lines.size(), 144u);
  const double t = 1.7677669529663689;
  const TDPoint ends[][2] = {{at(t, t), at(0, 0)}, {at(-t, -t), at(0, 0)}};
  for (std::size_t arc = 0; arc < 2; ++arc) {
    const TDPoint first = World({moves[arc * 72].X, moves[arc * 72].Y});
    const TDPoint last = World({lines[arc * 72 + 71].X, lines[arc * 72 + 71].Y});
    EXPECT_NEAR(first.X, ends[arc][0].X, 2e-3) << "arc " << arc;
    EXPECT_NEAR(first.Y, ends[arc][0].Y, 2e-3) << "arc " << arc;
    EXPECT_NEAR(last.X, ends[arc][1].X, 2e-3) << "arc " << arc;
    EXPECT_NEAR(last.Y, ends[arc][1].Y, 2e-3) << "arc " << arc;
  }
}

// The filled marks: the arrowhead and square of codes 1 and 2 are white inside, those of
// codes 6 and 5 take the entity's colour, and code 11 is an outline only.
TEST_F(ShapesTest, FilledMarksTakeTheirOwnBrush) {
  test::SetView(view, -100, -100, 500, 100000, 100000);
  const TColor red = RgbColor(255, 0, 0), white = RgbColor(255, 255, 255);
  const struct {
    int code;
    TBrushStyle style;
    TColor color;
  } cases[] = {{1, TBrushStyle::Solid, white},
               {2, TBrushStyle::Solid, white},
               {5, TBrushStyle::Solid, red},
               {6, TBrushStyle::Solid, red},
               {11, TBrushStyle::Clear, white}};
  for (const auto& k : cases) {
    c.Commands.clear();
    c.Brush = TBrush{white, TBrushStyle::Clear};
    DrawPointMark(c, view, k.code, 1, 2, 2, 0, 102, 0);
    const auto polygons = c.Only<TPolygon>();
    ASSERT_EQ(polygons.size(), 1u) << "code " << k.code;
    EXPECT_EQ(polygons[0].Brush.Style, k.style) << "code " << k.code;
    if (k.style == TBrushStyle::Solid) {
      EXPECT_EQ(polygons[0].Brush.Color, k.color) << "code " << k.code;
    }
    EXPECT_EQ(polygons[0].Pen, (TPen{red, 0, TPenStyle::Solid, TPenMode::Copy}))
        << "code " << k.code;
  }
}

TEST_F(ShapesTest, StrokedMarksUseSegments) {
  const struct {
    int code;
    std::size_t segments;
  } cases[] = {{9, 2}, {10, 1}, {-1, 3}, {-4, 2}, {-5, 4}, {-6, 3}, {-7, 2}, {8, 144}};
  for (const auto& k : cases) {
    c.Commands.clear();
    DrawPointMark(c, view, k.code, 0, 0, 1, 0, 2, 0);
    EXPECT_EQ(c.Only<test::TLineTo>().size(), k.segments) << k.code;
    EXPECT_TRUE(c.Only<TPolygon>().empty()) << k.code;
  }
}

}  // namespace
}  // namespace sxf
