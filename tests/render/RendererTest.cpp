#include "render/Renderer.h"

#include <gtest/gtest.h>

#include "graphics/RecordingCanvas.h"
#include "graphics/ViewTestSupport.h"
#include "model/ModelTestSupport.h"
#include "render/UserBreak.h"

namespace sxf {
namespace {

using test::Parse;
using test::TLineTo;
using test::TPolygon;
using test::TPolyline;
using test::TRecordingCanvas;

class RendererTest : public test::FreshModel {
 protected:
  void SetUp() override {
    test::FreshModel::SetUp();
    test::ResetDrawingState();
    SetUserBreakSource(nullptr);
  }
  void TearDown() override { SetUserBreakSource(nullptr); }
  TRecordingCanvas c;
};

// Index of the first command of type T, or the command count.
template <typename T>
std::size_t FirstOf(const TRecordingCanvas& c) {
  for (std::size_t i = 0; i < c.Commands.size(); ++i)
    if (std::holds_alternative<T>(c.Commands[i])) return i;
  return c.Commands.size();
}

TEST_F(RendererTest, SolidsAreBelowEverythingWhateverTheFileOrder) {
  Parse({"10 10 20 20", "ci 50 50 5", "pt 30 30", "lc3", "sl 10 10 40 10 40 40 10 40"});
  EXPECT_TRUE(RenderDrawing(c));
  const std::size_t polygon = FirstOf<TPolygon>(c);
  ASSERT_LT(polygon, c.Commands.size());
  EXPECT_LT(polygon, FirstOf<TLineTo>(c));
  const auto solid = c.Only<TPolygon>()[0];
  EXPECT_EQ(solid.Brush, (TBrush{RgbColor(0, 192, 0), TBrushStyle::Solid}));
  EXPECT_EQ(solid.Pen.Style, TPenStyle::Solid);
  EXPECT_EQ(c.Brush.Style, TBrushStyle::Solid);  // the plain point's own dot brush
}

TEST_F(RendererTest, SolidsOfColourTenUseTheirRgbAndTwoCornersAreALine) {
  Parse({"lc10 255", "lt47", "sl 10 10 40 40", "lc10 16711680", "sl 10 10 40 10 40 40"});
  RenderDrawing(c);
  const auto lines = c.Only<TPolyline>();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen, (TPen{255, 0, TPenStyle::Solid, TPenMode::Copy}));  // solid despite type 47
  const auto polygons = c.Only<TPolygon>();
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].Brush, (TBrush{0xFF0000, TBrushStyle::Solid}));
}

TEST_F(RendererTest, ColoursWithoutAnEntryDrawInTheBackground) {
  Parse({"lc0", "10 10 20 20", "lc100", "ci 50 50 5", "lc357", "sl 10 10 40 10 40 40"});
  RenderDrawing(c);
  for (const auto& l : c.Only<TLineTo>()) EXPECT_EQ(l.Pen.Color, RgbColor(255, 255, 255));
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush.Color, RgbColor(255, 255, 255));
}

TEST_F(RendererTest, GroupScaleDividesCoordinatesAndBlocksDrawNothing) {
  Parse({"hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "0 50 1000 50", "BL 10 10 door"});
  RenderDrawing(c);
  const auto lines = c.Only<TLineTo>();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].X, 10);
  c.Commands.clear();
  Parse({"bz"});
  RenderDrawing(c);
  EXPECT_EQ(c.Only<test::TMoveTo>()[0].X, 0);
  EXPECT_EQ(c.Only<TLineTo>()[0].X, 100);  // full length, clipped at the view's edge
  InitJwwModel();
  Parse({"BL 10 10 door", "BL 20 20 window"});
  c.Commands.clear();
  RenderDrawing(c);
  EXPECT_TRUE(c.Commands.empty());
}

TEST_F(RendererTest, EveryLayerTypeAndAuxiliaryColourIsDrawn) {
  Parse({"lgF", "lyF 0", "lc9", "lt9", "10 10 20 20", "z1", "20 20 30 30"});
  RenderDrawing(c);
  EXPECT_EQ(c.Only<TLineTo>().size(), 2u);
}

TEST_F(RendererTest, DimensionLinesUseTheLinesOwnHead) {
  Parse({"msg", "lc2", "lt47", "10 10 60 10", "lc3", "lt1", "cs 30 12 1 0 \"50"});
  RenderDrawing(c);
  const auto lines = c.Only<TLineTo>();
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Color, RgbColor(0, 0, 0));
  EXPECT_EQ(lines[0].Pen.Style, TPenStyle::Dot);
}

TEST_F(RendererTest, HoldingEscapeStopsWithinTenRecords) {
  for (int i = 0; i < 100; ++i) ParseJwwLine("10 10 20 " + std::to_string(20 + i % 50));
  int polls = 0;
  bool held = false;
  SetUserBreakSource([&] {
    ++polls;
    return held;
  });
  EXPECT_TRUE(RenderDrawing(c));
  // The image pass and seven solid lists before the lines, each polled once; 10 polls in the
  // lines and one after them; then the six lists after the lines (texts again).
  EXPECT_EQ(polls, 8 + 10 + 1 + 6);
  EXPECT_EQ(c.Only<TLineTo>().size(), 100u);

  c.Commands.clear();
  polls = 0;
  SetUserBreakSource([&] {
    ++polls;
    held = polls >= 10;  // the second poll in the lines finds Escape held
    return held;
  });
  EXPECT_FALSE(RenderDrawing(c));
  EXPECT_EQ(c.Only<TLineTo>().size(), 11u);  // records 0 .. 10, up to that poll
}

}  // namespace
}  // namespace sxf
