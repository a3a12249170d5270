#include "graphics/Primitives.h"

#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

using test::TLineTo;
using test::TMoveTo;
using test::TPolygon;
using test::TPolyline;
using test::TRecordingCanvas;
using test::TRectangle;
using test::TSetPixel;

class PrimitivesTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ResetDrawingState(view); }
  TRecordingCanvas c;
  TView view;
};

TEST_F(PrimitivesTest, ZeroLengthSegmentPaintsItsOnePixel) {
  SetEntityPen(c, 2, 1);
  DrawWorldSegment(c, view, 10, 10, 10, 10);
  const std::vector<test::TCommand> expected = {TMoveTo{10, 90}, TLineTo{10, 90, c.Pen},
                                                TSetPixel{10, 90, RgbColor(0, 0, 0)}};
  EXPECT_EQ(c.Commands, expected);
}

TEST_F(PrimitivesTest, SegmentsAreClippedBeforeTheyAreMapped) {
  SetEntityPen(c, 2, 1);
  DrawWorldSegment(c, view, -50, 50, 50, 50);  // enters at the left edge
  DrawWorldSegment(c, view, 0, 100, 50, 100);  // on the top edge: not drawn
  DrawWorldSegment(c, view, 200, 0, 300, 50);  // outside
  const std::vector<test::TCommand> expected = {TMoveTo{0, 50}, TLineTo{50, 50, c.Pen},
                                                TSetPixel{50, 50, RgbColor(0, 0, 0)}};
  EXPECT_EQ(c.Commands, expected);
}

TEST_F(PrimitivesTest, PixelBoxThinCases) {
  DrawPixelBox(c, 5, 5, 7, 7);  // 2 x 2: nothing
  EXPECT_TRUE(c.Commands.empty());
  DrawPixelBox(c, 5, 5, 7, 15);  // 2 wide, 10 high: vertical line at x1
  DrawPixelBox(c, 5, 5, 15, 6);  // 10 wide, 1 high: horizontal line at y1
  DrawPixelBox(c, 5, 5, 15, 15);
  const auto lines = c.Only<TLineTo>();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(c.Only<TMoveTo>()[0], (TMoveTo{5, 5}));
  EXPECT_EQ(lines[0].X, 5);
  EXPECT_EQ(lines[0].Y, 15);
  EXPECT_EQ(lines[1].X, 15);
  EXPECT_EQ(lines[1].Y, 5);
  const auto rects = c.Only<TRectangle>();
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].X2, 15);
}

TEST_F(PrimitivesTest, EntityPensAndBrushes) {
  const struct {
    int color, ltype;
    TColor expectedColor;
    TPenStyle style;
  } cases[] = {
      {2, 1, RgbColor(0, 0, 0), TPenStyle::Solid},
      {2, 31, RgbColor(0, 0, 0), TPenStyle::Solid},
      {3, 2, RgbColor(0, 192, 0), TPenStyle::Dot},
      {1, 47, RgbColor(0, 192, 192), TPenStyle::Dot},
      {1, 62, RgbColor(0, 192, 192), TPenStyle::Dot},
      {0, 1, RgbColor(255, 255, 255), TPenStyle::Solid},
      {100, 1, RgbColor(255, 255, 255), TPenStyle::Solid},
      {102, 9, RgbColor(255, 0, 0), TPenStyle::Dot},
  };
  for (const auto& k : cases) {
    c.Brush.Style = TBrushStyle::Solid;
    SetEntityPen(c, k.color, k.ltype);
    EXPECT_EQ(c.Pen.Color, k.expectedColor) << k.color;
    EXPECT_EQ(c.Pen.Style, k.style) << k.ltype;
    EXPECT_EQ(c.Pen.Width, 0);
    EXPECT_EQ(c.Brush.Style, TBrushStyle::Clear);
  }
  SetEntityBrush(c, 100, 1);
  EXPECT_EQ(c.Brush.Color, RgbColor(255, 255, 255));
  EXPECT_EQ(c.Brush.Style, TBrushStyle::Solid);
  SetPlainBrush(c, 5, 7);
  EXPECT_EQ(c.Brush.Style, TBrushStyle::DiagCross);
  SetPlainBrush(c, 5, 0);
  EXPECT_EQ(c.Brush.Style, TBrushStyle::Clear);
  SetPlainPen(c, 9, 5, 3);
  EXPECT_EQ(c.Pen.Style, TPenStyle::Clear);
  EXPECT_EQ(c.Pen.Width, 3);
  SetPlainPen(c, 9, 9, 1);
  EXPECT_EQ(c.Pen.Style, TPenStyle::Solid);
  SetXorPen(c);
  EXPECT_EQ(c.Pen.Mode, TPenMode::Xor);

  ClearCanvas(c, 40, 30);
  const auto rect = c.Only<TRectangle>().back();
  EXPECT_EQ(rect, (TRectangle{0, 0, 40, 30,
                              TPen{RgbColor(255, 255, 255), 1, TPenStyle::Solid, TPenMode::Copy},
                              TBrush{RgbColor(255, 255, 255), TBrushStyle::Solid}}));
  EXPECT_EQ(c.Brush.Style, TBrushStyle::Clear);
}

// Every plain pen code has its own style; only the named codes leave solid.
TEST_F(PrimitivesTest, EveryPlainPenCodeHasItsOwnStyle) {
  const struct {
    int code;
    TPenStyle style;
  } cases[] = {{0, TPenStyle::Solid},   {1, TPenStyle::Dash},       {2, TPenStyle::Dot},
               {3, TPenStyle::DashDot}, {4, TPenStyle::DashDotDot}, {5, TPenStyle::Clear},
               {6, TPenStyle::Solid},   {-1, TPenStyle::Solid}};
  for (const auto& k : cases) {
    c.Pen.Style = TPenStyle::Clear;
    SetPlainPen(c, RgbColor(1, 2, 3), k.code, 1);
    EXPECT_EQ(c.Pen.Style, k.style) << "code " << k.code;
  }
}

// The line types are shown only as solid (1 and 31) or dotted (every other value), whatever
// style an earlier pen left behind.
TEST_F(PrimitivesTest, EveryLineTypeIsSolidOrDotted) {
  for (int ltype = -2; ltype <= 100; ++ltype) {
    for (TPenStyle before : {TPenStyle::Solid, TPenStyle::Dash, TPenStyle::DashDot}) {
      c.Pen.Style = before;
      SetEntityPen(c, 2, ltype);
      const TPenStyle expected = (ltype == 1 || ltype == 31) ? TPenStyle::Solid : TPenStyle::Dot;
      EXPECT_EQ(c.Pen.Style, expected) << "line type " << ltype;
    }
  }
}

TEST_F(PrimitivesTest, PolylinesDrawOnlyTheirVisibleRuns) {
  SetWorldPoints(c, {{10, 10}});
  DrawWorldPolyline(c, view);  // one point: nothing
  SetWorldPoints(c, {{10, 110}, {50, 120}, {90, 130}});
  DrawWorldPolyline(c, view);  // all above the top edge: nothing
  EXPECT_TRUE(c.Commands.empty());

  // Inside, out through the right edge, back in, inside again.
  SetWorldPoints(c, {{10, 50}, {50, 50}, {150, 50}, {50, 60}, {20, 60}});
  DrawWorldPolyline(c, view);
  const auto runs = c.Only<TPolyline>();
  ASSERT_EQ(runs.size(), 3u) << ::testing::PrintToString(c.Commands);
  EXPECT_EQ(runs[0].Points, (std::vector<TPixelPoint>{{10, 50}, {50, 50}, {100, 50}}));
  EXPECT_EQ(runs[1].Points, (std::vector<TPixelPoint>{{100, 45}, {50, 40}}));
  EXPECT_EQ(runs[2].Points, (std::vector<TPixelPoint>{{50, 40}, {20, 40}}));
  EXPECT_EQ(c.Points.ScreenPointCount, 0);

  c.Commands.clear();
  SetWorldPoints(c, {{10, 150}, {20, 130}, {30, 50}});  // only the last point is inside
  DrawWorldPolyline(c, view);
  EXPECT_EQ(c.Only<TPolyline>().size(), 1u);
}

TEST_F(PrimitivesTest, PolygonsAndTheTenThousandPixelRule) {
  SetWorldPoints(c, {{10, 10}, {20, 20}});
  DrawWorldPolygon(c, view);  // two points: nothing
  EXPECT_TRUE(c.Commands.empty());

  SetWorldPoints(c, {{10, 10}, {20, 10}, {20, 20}});
  DrawWorldPolygon(c, view);
  ASSERT_EQ(c.Only<TPolygon>().size(), 1u);
  EXPECT_EQ(c.Only<TPolygon>()[0].Points, (std::vector<TPixelPoint>{{10, 90}, {20, 90}, {20, 80}}));

  // First edge 10 000 pixels long: still filled. Just over: a clipped, unfilled outline.
  c.Commands.clear();
  SetWorldPoints(c, {{-5000, 50}, {5000, 50}, {50, 60}});
  DrawWorldPolygon(c, view);
  EXPECT_EQ(c.Only<TPolygon>().size(), 1u);
  c.Commands.clear();
  SetWorldPoints(c, {{-5000, 50}, {5000.5, 50}, {50, 60}});
  DrawWorldPolygon(c, view);
  EXPECT_TRUE(c.Only<TPolygon>().empty());
  EXPECT_FALSE(c.Only<TPolyline>().empty());
  EXPECT_EQ(c.Points.WorldPointCount, 4);  // closed by a copy of the first point
}

TEST_F(PrimitivesTest, WorldRectangles) {
  SetPlainPen(c, 0, 0, 1);
  DrawWorldRect(c, view, 10, 10, 30, 20);  // inside: one box
  ASSERT_EQ(c.Only<TRectangle>().size(), 1u);
  EXPECT_EQ(c.Only<TRectangle>()[0].Y1, 90);
  DrawWorldRect(c, view, 90, 90, 110, 110);  // partly visible: a polygon
  EXPECT_EQ(c.Only<TPolygon>().size(), 1u);
  EXPECT_EQ(c.Points.WorldPointCount, 0);
  DrawWorldRect(c, view, 110, 10, 130, 20);  // outside
  EXPECT_EQ(c.Commands.size(), 2u);
}

}  // namespace
}  // namespace sxf
