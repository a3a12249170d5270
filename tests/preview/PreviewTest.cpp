#include "preview/Preview.h"

#include <gtest/gtest.h>

#include "globals/UnitGval.h"
#include "support/RecordingCanvas.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

using PreviewTest = test::FreshModel;
using test::Parse;

TEST_F(PreviewTest, FitAllOfAnEmptyDrawing) {
  ViewScale = 7;
  ViewLeft = 1;
  FitViewToDrawing(381, 368);
  EXPECT_DOUBLE_EQ(ViewScale, 368.0 / 200.0 * 0.9);
  EXPECT_DOUBLE_EQ(ViewLeft + ViewRight, 0.0);
  EXPECT_DOUBLE_EQ(ViewBottom + ViewTop, 0.0);
  EXPECT_DOUBLE_EQ(ViewTop - ViewBottom, 368 / ViewScale);
  EXPECT_EQ(ViewWidth, 381);
  EXPECT_EQ(SavedViewScale, 7);  // the view it replaced
  EXPECT_EQ(SavedViewLeft, 1);
}

// Fit-all keeps the whole view it replaces, every edge and the scale, for the previous-view key.
TEST_F(PreviewTest, FitAllSavesEveryValueOfTheViewItReplaces) {
  Parse({"0 0 40 30"});
  ViewLeft = -11.5;
  ViewBottom = -22.25;
  ViewRight = 33.75;
  ViewTop = 44.125;
  ViewScale = 5.5;
  FitViewToDrawing(400, 300);
  EXPECT_EQ(SavedViewLeft, -11.5);
  EXPECT_EQ(SavedViewBottom, -22.25);
  EXPECT_EQ(SavedViewRight, 33.75);
  EXPECT_EQ(SavedViewTop, 44.125);
  EXPECT_EQ(SavedViewScale, 5.5);
  // A second fit saves the first fit's view, not the one before it.
  const double left = ViewLeft, bottom = ViewBottom, right = ViewRight, top = ViewTop,
               scale = ViewScale;
  FitViewToDrawing(200, 100);
  EXPECT_EQ(SavedViewLeft, left);
  EXPECT_EQ(SavedViewBottom, bottom);
  EXPECT_EQ(SavedViewRight, right);
  EXPECT_EQ(SavedViewTop, top);
  EXPECT_EQ(SavedViewScale, scale);
}

TEST_F(PreviewTest, FitAllOfAZeroWidthDrawingTakesTheScaleFromItsHeight) {
  Parse({"5 0 5 10", "5 20 5 40"});
  FitViewToDrawing(400, 300);
  EXPECT_DOUBLE_EQ(ViewScale, 300.0 / 40.0 * 0.9);
  EXPECT_DOUBLE_EQ((ViewLeft + ViewRight) / 2, 5.0);
  FitViewToDrawing(0, 0);  // a squeezed preview keeps a positive scale
  EXPECT_GT(ViewScale, 0.0);
  EXPECT_LT(ViewLeft, ViewRight);
}

TEST_F(PreviewTest, EmptyDrawingShowsFrameAndOriginCrossOnly) {
  GraAttr = std::make_unique<TgraAttribute>();
  FitViewToDrawing(381, 368);
  test::TRecordingCanvas c;
  EXPECT_TRUE(DrawPreview(c, 381, 368));
  const auto rects = c.Only<test::TRectangle>();
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].Brush.Color, RgbColor(255, 255, 255));  // the clearing
  EXPECT_EQ(rects[1], (test::TRectangle{0, 0, 380, 367, TPen{RgbColor(0, 255, 255), 0},
                                        TBrush{RgbColor(255, 255, 255), TBrushStyle::Clear}}));
  const auto lines = c.Only<test::TLineTo>();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Pen, (TPen{RgbColor(255, 0, 0), 2}));
  // Five pixels each way from the origin (one more where a half pixel rounds outwards).
  const auto moves = c.Only<test::TMoveTo>();
  EXPECT_GE(lines[0].X - moves[0].X, 10);
  EXPECT_LE(lines[0].X - moves[0].X, 11);
  EXPECT_GE(moves[1].Y - lines[1].Y, 10);
  EXPECT_LE(moves[1].Y - lines[1].Y, 11);
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

TEST_F(PreviewTest, ExtentsWithoutAUsableViewFallBackToAHundredUnits) {
  // Two points at the same far place: the 1e-10 floor gives a view doubles cannot hold.
  Parse({"pt 1e8 5", "pt 1e8 5"});
  FitViewToDrawing(381, 368);
  EXPECT_TRUE(UsableView());
  EXPECT_DOUBLE_EQ((ViewLeft + ViewRight) / 2, 1e8);
  EXPECT_DOUBLE_EQ(ViewScale, 368.0 / 200.0 * 0.9);
  // A group scale near 0 sends the extents beyond the double range.
  InitJwwModel();
  Parse({"hs 1e-308 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "pt 1e300 1e300", "pt -1e300 -1e300"});
  FitViewToDrawing(381, 368);
  EXPECT_TRUE(UsableView());
}

}  // namespace
}  // namespace sxf
