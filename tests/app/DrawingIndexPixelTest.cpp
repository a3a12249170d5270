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
    test::MakeRandomDrawing(test::TRandomProfile::OddValues, seed, 6000);
    BuildDrawingIndex();
    const struct {
      double zoom, panX, panY;  // pan in view widths and heights
    } views[] = {{1, 0, 0},       {3, 0.2, -0.1},  {10, 0, 0}, {10, -1.3, 0.7},
                 {40, 0.45, 0.3}, {200, 0.1, 0.1}, {7, 3.0, 0}};
    for (const auto& v : views) {
      test::ZoomAndPan(kWidth, kHeight, v.zoom, v.panX, v.panY);
      SetDrawingIndexAreaShare(0.0);
      const QImage everyRecord = test::DrawPreviewImage<TQtCanvas>(kWidth, kHeight);
      SetDrawingIndexAreaShare(1e9);
      if (RecordsNearView(LinList.data(), LinCount) != nullptr) ++indexedViews;
      const QImage indexed = test::DrawPreviewImage<TQtCanvas>(kWidth, kHeight);
      EXPECT_TRUE(indexed == everyRecord)
          << "seed " << seed << " zoom " << v.zoom << " pan " << v.panX << ", " << v.panY;
    }
  }
  EXPECT_GE(indexedViews, 15);
  SetDrawingIndexAreaShare(0.25);
  ClearDrawingIndex();
  InitJwwModel();
  GraAttr.reset();
}

TEST(DrawingIndex, GridsAreBuiltForTheFirstSmallViewAndMatchTheirList) {
  test::MakeRandomDrawing(test::TRandomProfile::OddValues, 4, 2000);
  PrepareDrawingIndex();
  const std::size_t registered = DrawingIndexBytes();
  FitViewToDrawing(100, 100);
  EXPECT_EQ(RecordsNearView(LinList.data(), LinCount), nullptr);  // the whole drawing shows
  EXPECT_EQ(DrawingIndexBytes(), registered);
  ViewScale *= 50;
  CentreViewOn(ViewLeft, ViewBottom);
  EXPECT_NE(RecordsNearView(LinList.data(), LinCount), nullptr);
  EXPECT_GT(DrawingIndexBytes(), registered);
  EXPECT_EQ(RecordsNearView(LinList.data(), LinCount - 1), nullptr);
  ClearDrawingIndex();
  EXPECT_EQ(RecordsNearView(LinList.data(), LinCount), nullptr);
  InitJwwModel();
}

// The preview drawn by one canvas per band, on the band threads.
QImage DrawBandedImage(int width, int height, const std::vector<TBand>& bands) {
  QImage image(width, height, QImage::Format_RGB32);
  auto canvases = MakeBandCanvases(image, bands);
  EXPECT_TRUE(DrawInBands(CanvasPointers(canvases),
                          [=](TCanvas& c) { return DrawPreview(c, width, height); }));
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
  for (const int drawing : {0, 1}) {
    if (drawing == 0)
      test::MakeRandomDrawing(test::TRandomProfile::OddValues, 5, 6000);
    else
      ASSERT_TRUE(LoadJwcTempFile(tiled.string()));
    BuildDrawingIndex();
    const struct {
      double zoom, panX, panY;
    } views[] = {{1, 0, 0}, {3.16, 0, 0}, {10, 0, 0}, {10, 0.31, -0.22}, {60, -0.4, 0.1}};
    for (const auto& v : views) {
      test::ZoomAndPan(kWidth, kHeight, v.zoom, v.panX, v.panY);
      const QImage one = test::DrawPreviewImage<TQtCanvas>(kWidth, kHeight);
      for (const auto& bands : layouts)
        EXPECT_TRUE(DrawBandedImage(kWidth, kHeight, bands) == one)
            << "drawing " << drawing << " zoom " << v.zoom << " bands " << bands.size();
    }
  }
  std::filesystem::remove(tiled);
  ClearDrawingIndex();
  InitJwwModel();
  GraAttr.reset();
}

}  // namespace
}  // namespace sxf
