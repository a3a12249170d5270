#include "preview/Preview.h"

#include <gtest/gtest.h>

#include "globals/UnitGval.h"
#include "support/RecordingCanvas.h"
#include "search/Extents.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

class PreviewTest : public test::FreshModel {
 protected:
  TView view;
};

TEST_F(PreviewTest, FitAllOfAnEmptyDrawing) {
  view.ViewScale = 7;
  view.ViewLeft = 1;
  FitViewToDrawing(view, ComputeExtents(drawing), 381, 368);
  EXPECT_DOUBLE_EQ(view.ViewScale, 368.0 / 200.0 * 0.9);
  EXPECT_DOUBLE_EQ(view.ViewLeft + view.ViewRight, 0.0);
  EXPECT_DOUBLE_EQ(view.ViewBottom + view.ViewTop, 0.0);
  EXPECT_DOUBLE_EQ(view.ViewTop - view.ViewBottom, 368 / view.ViewScale);
  EXPECT_EQ(view.ViewWidth, 381);
  EXPECT_EQ(view.ViewHeight, 368);
}

// Fit-all depends on the extents and the preview's size alone: whatever view it replaces (the
// window keeps that one as its previous view before fitting), every edge and the scale come
// out the same, and the dpi stays the view's.
TEST_F(PreviewTest, FitAllIsTheSameWhateverViewItReplaces) {
  Parse({"0 0 40 30"});
  const TWorldBox extents = ComputeExtents(drawing);
  TView fresh;
  FitViewToDrawing(fresh, extents, 400, 300);
  view = {-11.5, -22.25, 33.75, 44.125, 5.5, 10, 20, 144};
  FitViewToDrawing(view, extents, 400, 300);
  EXPECT_EQ(view.Box(), fresh.Box());
  EXPECT_EQ(view.ViewScale, fresh.ViewScale);
  EXPECT_EQ(view.ViewWidth, 400);
  EXPECT_EQ(view.ViewHeight, 300);
  EXPECT_EQ(view.ViewDpi, 144);
  // A second fit to another size starts from the first fit's view: again as from nothing.
  fresh = TView();
  FitViewToDrawing(fresh, extents, 200, 100);
  FitViewToDrawing(view, extents, 200, 100);
  EXPECT_EQ(view.Box(), fresh.Box());
  EXPECT_EQ(view.ViewScale, fresh.ViewScale);
}

TEST_F(PreviewTest, FitAllOfAZeroWidthDrawingTakesTheScaleFromItsHeight) {
  Parse({"5 0 5 10", "5 20 5 40"});
  const TWorldBox extents = ComputeExtents(drawing);
  FitViewToDrawing(view, extents, 400, 300);
  EXPECT_DOUBLE_EQ(view.ViewScale, 300.0 / 40.0 * 0.9);
  EXPECT_DOUBLE_EQ((view.ViewLeft + view.ViewRight) / 2, 5.0);
  FitViewToDrawing(view, extents, 0, 0);  // a squeezed preview keeps a positive scale
  EXPECT_GT(view.ViewScale, 0.0);
  EXPECT_LT(view.ViewLeft, view.ViewRight);
}

TEST_F(PreviewTest, EmptyDrawingShowsFrameAndOriginCrossOnly) {
  GraAttr = std::make_unique<TgraAttribute>();
  FitViewToDrawing(view, ComputeExtents(drawing), 381, 368);
  test::TRecordingCanvas c;
  EXPECT_TRUE(DrawPreview(c, view, drawing, 381, 368));
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
  FitViewToDrawing(view, ComputeExtents(drawing), 381, 368);
  EXPECT_TRUE(UsableView(view));
  EXPECT_DOUBLE_EQ((view.ViewLeft + view.ViewRight) / 2, 1e8);
  EXPECT_DOUBLE_EQ(view.ViewScale, 368.0 / 200.0 * 0.9);
  // A group scale near 0 sends the extents beyond the double range.
  Reset();
  Parse({"hs 1e-308 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "pt 1e300 1e300", "pt -1e300 -1e300"});
  FitViewToDrawing(view, ComputeExtents(drawing), 381, 368);
  EXPECT_TRUE(UsableView(view));
}

}  // namespace
}  // namespace sxf
