// A redraw through the drawing index, and a redraw in bands on several threads, paint exactly
// the pixels of one canvas visiting every record, on generated and tiled drawings at several
// zooms and pans.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "platform/qt/QtCanvas.h"
#include "preview/Preview.h"
#include "DrawingTiler.h"
#include "render/Bands.h"
#include "render/DrawingIndex.h"
#include "support/ModelTestSupport.h"
#include "support/RandomDrawing.h"
#include "support/PreviewImage.h"

namespace sxf {
namespace {

TEST(DrawingIndex, PaintsTheSamePixelsAsVisitingEveryRecord) {
  GraAttr = std::make_unique<TgraAttribute>();
  constexpr int kWidth = 640, kHeight = 400;
  int indexedViews = 0;
  for (unsigned seed : {1u, 2u, 3u}) {
    const TDrawing drawing = test::MakeRandomDrawing(test::TRandomProfile::OddValues, seed, 6000);
    BuildDrawingIndex(drawing);
    TView view;
    const struct {
      double zoom, panX, panY;  // pan in view widths and heights
    } views[] = {{1, 0, 0},       {3, 0.2, -0.1},  {10, 0, 0}, {10, -1.3, 0.7},
                 {40, 0.45, 0.3}, {200, 0.1, 0.1}, {7, 3.0, 0}};
    for (const auto& v : views) {
      test::ZoomAndPan(view, drawing, kWidth, kHeight, v.zoom, v.panX, v.panY);
      SetDrawingIndexAreaShare(0.0);
      const QImage everyRecord = test::DrawPreviewImage<TQtCanvas>(view, drawing, kWidth, kHeight);
      SetDrawingIndexAreaShare(1e9);
      if (RecordsNearView(view, drawing.LinList.data(), drawing.LinCount()) != nullptr)
        ++indexedViews;
      const QImage indexed = test::DrawPreviewImage<TQtCanvas>(view, drawing, kWidth, kHeight);
      EXPECT_TRUE(indexed == everyRecord)
          << "seed " << seed << " zoom " << v.zoom << " pan " << v.panX << ", " << v.panY;
    }
    ClearDrawingIndex(drawing);
  }
  EXPECT_GE(indexedViews, 15);
  SetDrawingIndexAreaShare(0.25);
  GraAttr.reset();
}

TEST(DrawingIndex, GridsAreBuiltForTheFirstSmallViewAndMatchTheirList) {
  const TDrawing drawing = test::MakeRandomDrawing(test::TRandomProfile::OddValues, 4, 2000);
  PrepareDrawingIndex(drawing, ComputeExtents(drawing));
  const std::size_t registered = DrawingIndexBytes();
  TView view;
  FitViewToDrawing(view, ComputeExtents(drawing), 100, 100);
  EXPECT_EQ(RecordsNearView(view, drawing.LinList.data(), drawing.LinCount()),
            nullptr);  // the whole drawing shows
  EXPECT_EQ(DrawingIndexBytes(), registered);
  view.ViewScale *= 50;
  CentreViewOn(view, view.ViewLeft, view.ViewBottom);
  EXPECT_NE(RecordsNearView(view, drawing.LinList.data(), drawing.LinCount()), nullptr);
  EXPECT_GT(DrawingIndexBytes(), registered);
  EXPECT_EQ(RecordsNearView(view, drawing.LinList.data(), drawing.LinCount() - 1), nullptr);
  ClearDrawingIndex(drawing);
  EXPECT_EQ(RecordsNearView(view, drawing.LinList.data(), drawing.LinCount()), nullptr);
}

// The preview drawn by one canvas per band, on the band threads.
QImage DrawBandedImage(const TView& view, const TDrawing& drawing, int width, int height,
                       const std::vector<TBand>& bands) {
  QImage image(width, height, QImage::Format_RGB32);
  auto canvases = MakeBandCanvases(image, bands);
  EXPECT_TRUE(DrawInBands(CanvasPointers(canvases), [&](TCanvas& c) {
    return DrawPreview(c, view, drawing, width, height);
  }));
  canvases.clear();
  return image;
}

TEST(DrawingInBands, PaintsTheSamePixelsAsOneCanvas) {
  GraAttr = std::make_unique<TgraAttribute>();
  constexpr int kWidth = 640, kHeight = 400;
  // Two and three even bands, and eight uneven ones: one row high, a few rows, most of it.
  const std::vector<std::vector<TBand>> layouts = {
      SplitIntoBands(kHeight, 2),
      SplitIntoBands(kHeight, 3),
      {{0, 1}, {1, 8}, {8, 9}, {9, 150}, {150, 157}, {157, 300}, {300, 301}, {301, 400}}};
  // A generated drawing of every kind, and the floor plan (texts, dimensions, marks) tiled.
  const auto tiled = std::filesystem::temp_directory_path() / "sxf-bands-tiled.txt";
  ASSERT_TRUE(bench::WriteTiledDrawing(
      std::string(std::getenv("SXF_SAMPLES")) + "/floor-plan/JWC_TEMP.TXT", 20000, tiled.string()));
  for (const int which : {0, 1}) {
    const TJwcLoad load =
        which == 0 ? TJwcLoad{test::MakeRandomDrawing(test::TRandomProfile::OddValues, 5, 6000),
                              {.ReadToEnd = true}}
                   : ReadJwcTempFile(tiled.string());
    ASSERT_TRUE(load.Result.ReadToEnd);
    const TDrawing& drawing = load.Drawing;
    BuildDrawingIndex(drawing);
    TView view;
    const struct {
      double zoom, panX, panY;
    } views[] = {{1, 0, 0}, {3.16, 0, 0}, {10, 0, 0}, {10, 0.31, -0.22}, {60, -0.4, 0.1}};
    for (const auto& v : views) {
      test::ZoomAndPan(view, drawing, kWidth, kHeight, v.zoom, v.panX, v.panY);
      const QImage one = test::DrawPreviewImage<TQtCanvas>(view, drawing, kWidth, kHeight);
      for (const auto& bands : layouts)
        EXPECT_TRUE(DrawBandedImage(view, drawing, kWidth, kHeight, bands) == one)
            << "drawing " << which << " zoom " << v.zoom << " bands " << bands.size();
    }
    ClearDrawingIndex(drawing);
  }
  std::filesystem::remove(tiled);
  GraAttr.reset();
}

}  // namespace
}  // namespace sxf
