// A redraw through the drawing index, and a redraw in bands on several threads, paint exactly
// the pixels of one canvas visiting every record, on generated and tiled drawings at several
// zooms and pans.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "platform/qt/QtCanvas.h"
#include "preview/Preview.h"
#include "DrawingTiler.h"
#include "render/Bands.h"
#include "render/DrawingIndex.h"
#include "support/ModelTestSupport.h"
#include "support/PreviewImage.h"

namespace sxf {
namespace {

// Every drawn kind, small and large, some records with coordinates that are not finite, lines
// of all line types and pens, a few group scales.
void GenerateDrawing(unsigned seed, int records) {
  InitJwwModel();
  std::mt19937 rng(seed);
  auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  auto head = [&](TJwwEntHdr& h) {
    h.Group = static_cast<int>(rng() % 4);
    h.Color = 1 + static_cast<int>(rng() % 9);
    h.LType = rng() % 3 == 0 ? 47 + static_cast<int>(rng() % 16) : 1 + static_cast<int>(rng() % 9);
  };
  LayerGroupScale[1] = 2.0;
  LayerGroupScale[2] = 0.5;
  for (int i = 0; i < records; ++i) {
    const double x = uniform(-1000, 9000), y = uniform(-500, 6000);
    const double size = rng() % 20 == 0 ? uniform(500, 8000) : uniform(0, 150);
    switch (rng() % 9) {
      case 0:
      case 1:
      case 2: {
        TJwwEntLin e;
        head(e.Hdr);
        e.X1 = x, e.Y1 = y, e.X2 = x + uniform(-size, size), e.Y2 = y + uniform(-size, size);
        if (rng() % 200 == 0) e.X2 = NAN;
        LinList.push_back(e);
        break;
      }
      case 3: {
        TJwwEntCir e;
        head(e.Hdr);
        e.Cx = x, e.Cy = y, e.R = size / 2;
        CirList.push_back(e);
        break;
      }
      case 4: {
        TJwwEntArc e;
        head(e.Hdr);
        e.Cx = x, e.Cy = y, e.R = size / 2, e.StartAngle = uniform(0, 360), e.EndAngle = uniform(0, 720);
        e.Flatness = rng() % 2 ? 1.0 : uniform(0.2, 3.0);
        e.Tilt = uniform(0, 180);
        ArcList.push_back(e);
        break;
      }
      case 5: {
        TJwwEntPntEx e;
        head(e.Hdr);
        e.X = x, e.Y = y, e.Scale = uniform(0, 3), e.Angle = uniform(0, 360);
        e.Code = static_cast<int>(rng() % 19) - 7;
        PntExList.push_back(e);
        TJwwEntPnt p;
        head(p.Hdr);
        p.X = y, p.Y = x;
        PntList.push_back(p);
        break;
      }
      case 6: {
        TJwwEntSl3 e;
        head(e.Hdr);
        e.X1 = x, e.Y1 = y, e.X2 = x + size, e.Y2 = y, e.X3 = x, e.Y3 = y + size / 2;
        Sl3List.push_back(e);
        TJwwEntSl2 f;
        head(f.Hdr);
        f.X1 = x, f.Y1 = y, f.X2 = x - size, f.Y2 = y + 3;
        Sl2List.push_back(f);
        break;
      }
      case 7: {
        TJwwEntSlArc e;
        head(e.Hdr);
        e.Cx = x, e.Cy = y, e.R = size / 3, e.Flatness = uniform(0.3, 1.5), e.Tilt = uniform(0, 3);
        e.StartAngle = uniform(0, 6), e.SweepAngle = uniform(0.1, 6.3), e.ArcMode = rng() % 2 ? 100 : 0;
        ScList.push_back(e);
        TJwwEntSlArc2 r;
        head(r.Hdr);
        r.Cx = x, r.Cy = y, r.R = size / 3, r.R2 = size / 5, r.Flatness = 1, r.StartAngle = 0, r.SweepAngle = 3;
        SoList.push_back(r);
        break;
      }
      default: {
        TJwwEntDim e;
        head(e.Hdr);
        head(e.Line.Hdr);
        e.Line.X1 = x, e.Line.Y1 = y, e.Line.X2 = x + size, e.Line.Y2 = y;
        DimList.push_back(e);
        break;
      }
    }
  }
  test::SyncListCounts();
}

TEST(DrawingIndex, PaintsTheSamePixelsAsVisitingEveryRecord) {
  GraAttr = std::make_unique<TgraAttribute>();
  constexpr int kWidth = 640, kHeight = 400;
  int indexedViews = 0;
  for (unsigned seed : {1u, 2u, 3u}) {
    GenerateDrawing(seed, 6000);
    BuildDrawingIndex();
    const struct {
      double zoom, panX, panY;  // pan in view widths and heights
    } views[] = {{1, 0, 0}, {3, 0.2, -0.1}, {10, 0, 0}, {10, -1.3, 0.7}, {40, 0.45, 0.3}, {200, 0.1, 0.1},
                 {7, 3.0, 0}};
    for (const auto& v : views) {
      test::ZoomAndPan(kWidth, kHeight, v.zoom, v.panX, v.panY);
      SetDrawingIndexAreaShare(0.0);
      const QImage everyRecord = test::DrawPreviewImage<TQtCanvas>(kWidth, kHeight);
      SetDrawingIndexAreaShare(1e9);
      if (RecordsNearView(LinList.data(), LinCount) != nullptr) ++indexedViews;
      const QImage indexed = test::DrawPreviewImage<TQtCanvas>(kWidth, kHeight);
      EXPECT_TRUE(indexed == everyRecord) << "seed " << seed << " zoom " << v.zoom << " pan " << v.panX << ", " << v.panY;
    }
  }
  EXPECT_GE(indexedViews, 15);
  SetDrawingIndexAreaShare(0.25);
  ClearDrawingIndex();
  InitJwwModel();
  GraAttr.reset();
}

TEST(DrawingIndex, GridsAreBuiltForTheFirstSmallViewAndMatchTheirList) {
  GenerateDrawing(4, 2000);
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
  EXPECT_TRUE(DrawInBands(CanvasPointers(canvases), [=](TCanvas& c) { return DrawPreview(c, width, height); }));
  canvases.clear();
  return image;
}

TEST(DrawingInBands, PaintsTheSamePixelsAsOneCanvas) {
  GraAttr = std::make_unique<TgraAttribute>();
  constexpr int kWidth = 640, kHeight = 400;
  // Two and three even bands, and eight uneven ones: one row high, a few rows, most of it.
  const std::vector<std::vector<TBand>> layouts = {
      SplitIntoBands(kHeight, 2), SplitIntoBands(kHeight, 3),
      {{0, 1}, {1, 8}, {8, 9}, {9, 150}, {150, 157}, {157, 300}, {300, 301}, {301, 400}}};
  // A generated drawing of every kind, and the floor plan (texts, dimensions, marks) tiled.
  const auto tiled = std::filesystem::temp_directory_path() / "sxf-bands-tiled.txt";
  ASSERT_TRUE(bench::WriteTiledDrawing(std::string(std::getenv("SXF_SAMPLES")) + "/floor-plan/JWC_TEMP.TXT",
                                       20000, tiled.string()));
  for (const int drawing : {0, 1}) {
    if (drawing == 0) GenerateDrawing(5, 6000);
    else ASSERT_TRUE(LoadJwcTempFile(tiled.string()));
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
