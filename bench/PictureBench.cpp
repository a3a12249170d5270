// The preview picture's time on the platform's own surface (QPainter on Linux, the DIB
// canvas on Windows), drawn in bands as the report's --png draws it; no benchmark library,
// so that the Windows build runs the same program under Wine.
//
//   picture-bench stages FILE WxH SCALE [RUNS [STAGE]]
//                                               the fit-all picture at display scale SCALE,
//                                               whole and one stage at a time (or that one)
//   picture-bench views FILE [RUNS [VIEW]]      views of 1, 10 and 100 % of the extents' area
//                                               into 1920 x 1080 at 100 % and its 2880 x 1620
//                                               at 150 %, with the drawing index (the
//                                               tiled floor plan of make-drawing --tile), each
//                                               drawn again on one surface
//   picture-bench read FILE [RUNS]              reading FILE and counting its line types
//
// Each row gives the wall milliseconds of RUNS runs (5 unless told) after one not counted:
// median, least and most, and the one before them (with the caches of characters and shapes
// as the rows above left them: a stage's first is a new process's). A stage row times a fresh
// surface, the paper and that stage's lists only (the marks: the marks only); "paper" is the
// surface and the paper alone.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "globals/UnitGval.h"
#include "graphics/Primitives.h"
#include "model/JwwGaibu2.h"
#include "platform/RasterSurface.h"
#include "preview/Preview.h"
#include "render/Bands.h"
#include "render/DrawingIndex.h"
#include "render/Renderer.h"
#include "search/LineTypeMarks.h"
#include "search/LineTypeTally.h"
#include "util/MyFunc.h"

namespace {

using TClock = std::chrono::steady_clock;

// The stage or view the command line names (lines, TiledView/10/150), or empty for every one.
std::string onlyStage;

void PrintRow(const std::string& name, int runs, const std::function<void()>& run) {
  if (!onlyStage.empty() && name != onlyStage && name.rfind(onlyStage + " ", 0) != 0) return;
  std::vector<double> ms;
  const auto time = [&] {
    const auto start = TClock::now();
    run();
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
  };
  const double first = time();  // not counted: empty caches, the first touch of the memory
  for (int i = 0; i < runs; ++i) ms.push_back(time());
  std::sort(ms.begin(), ms.end());
  std::printf("%-28s median %9.1f ms  min %9.1f  max %9.1f  first %9.1f\n", name.c_str(),
              ms[ms.size() / 2], ms.front(), ms.back(), first);
  std::fflush(stdout);
}

// A fresh surface of the size drawn on in bands with draw, and finished.
void DrawOnSurface(int width, int height, const std::function<bool(sxf::TCanvas&)>& draw) {
  const auto surface = sxf::CreateRasterSurface(width, height);
  if (!surface) {
    std::fprintf(stderr, "picture-bench: no surface of %dx%d\n", width, height);
    std::exit(1);
  }
  sxf::DrawInBands(surface->BandCanvases(sxf::PictureBands(height)), draw);
}

// Which lists a stage draws.
enum : unsigned {
  kLines = 1,
  kCurves = 2,
  kSolids = 4,
  kTexts = 8,
  kPoints = 16,
};

// Swaps every drawn list that is not among keep with the one aside (and its count); a second
// call with the same arguments puts them back.
void SwapOutLists(unsigned keep, sxf::TEntityLists& aside, int (&counts)[14]) {
  int i = 0;
  const auto one = [&](unsigned stage, auto& list, int& count, auto& other) {
    if (!(keep & stage)) std::swap(list, other), std::swap(count, counts[i]);
    ++i;
  };
  one(kLines, sxf::LinList, sxf::LinCount, aside.LinList);
  one(kCurves, sxf::CirList, sxf::CirCount, aside.CirList);
  one(kCurves, sxf::ArcList, sxf::ArcCount, aside.ArcList);
  one(kTexts, sxf::TxtList, sxf::TxtCount, aside.TxtList);
  one(kTexts, sxf::DimList, sxf::DimCount, aside.DimList);
  one(kPoints, sxf::PntList, sxf::PntCount, aside.PntList);
  one(kPoints, sxf::PntExList, sxf::PntExCount, aside.PntExList);
  one(kSolids, sxf::Sl2List, sxf::Sl2Count, aside.Sl2List);
  one(kSolids, sxf::Sl3List, sxf::Sl3Count, aside.Sl3List);
  one(kSolids, sxf::Sl4List, sxf::Sl4Count, aside.Sl4List);
  one(kSolids, sxf::ScList, sxf::ScCount, aside.ScList);
  one(kSolids, sxf::SeList, sxf::SeCount, aside.SeList);
  one(kSolids, sxf::SoList, sxf::SoCount, aside.SoList);
  one(kSolids, sxf::SgList, sxf::SgCount, aside.SgList);
}

bool Load(const char* file) {
  sxf::InitJwwModel();
  if (!sxf::LoadJwcTempFile(file)) {
    std::fprintf(stderr, "picture-bench: cannot read %s\n", file);
    return false;
  }
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  return true;
}

int Stages(const char* file, int width, int height, double scale, int runs) {
  if (!Load(file)) return 1;
  sxf::ViewDpi = sxf::DpiOfScaleFactor(scale);
  sxf::FitViewToDrawing(width, height);
  const std::string at =
      " " + std::to_string(width) + "x" + std::to_string(height) + " @" + std::to_string(scale);
  PrintRow("paper" + at, runs, [&] {
    DrawOnSurface(width, height, [&](sxf::TCanvas& c) {
      sxf::ClearCanvas(c, width, height);
      return true;
    });
  });
  const std::pair<const char*, unsigned> stages[] = {{"lines", kLines},
                                                     {"curves", kCurves},
                                                     {"solids", kSolids},
                                                     {"texts", kTexts},
                                                     {"points", kPoints}};
  for (const auto& [name, keep] : stages) {
    sxf::TEntityLists aside;
    int counts[14] = {};
    SwapOutLists(keep, aside, counts);
    PrintRow(name + at, runs, [&] {
      DrawOnSurface(width, height, [&](sxf::TCanvas& c) {
        sxf::ClearCanvas(c, width, height);
        return sxf::RenderDrawing(c);
      });
    });
    SwapOutLists(keep, aside, counts);
  }
  PrintRow("marks" + at, runs, [&] {
    DrawOnSurface(width, height, [&](sxf::TCanvas& c) {
      sxf::ClearCanvas(c, width, height);
      return sxf::DrawLineTypeMarks(c, sxf::MarkRadiusPixels() / sxf::ViewScale);
    });
  });
  PrintRow("whole" + at, runs, [&] {
    DrawOnSurface(width, height,
                  [&](sxf::TCanvas& c) { return sxf::DrawPreview(c, width, height); });
  });
  return 0;
}

int Views(const char* file, int runs) {
  if (!Load(file)) return 1;
  sxf::BuildDrawingIndex();
  sxf::SetDrawingIndexAreaShare(0.25);
  for (const int percent : {1, 10, 100})
    for (const int scale : {100, 150}) {
      const int width = 1920 * scale / 100, height = 1080 * scale / 100;
      sxf::ViewDpi = sxf::DpiOfScaleFactor(scale / 100.0);
      sxf::FitViewToDrawing(width, height);
      const double w = sxf::ExtentRight - sxf::ExtentLeft, h = sxf::ExtentTop - sxf::ExtentBottom;
      sxf::ViewScale = std::sqrt(1.0 * width * height / (percent / 100.0 * w * h));
      sxf::CentreViewOn((sxf::ExtentLeft + sxf::ExtentRight) / 2,
                        (sxf::ExtentBottom + sxf::ExtentTop) / 2);
      // One surface for the row, drawn anew each run, as the window redraws its picture.
      const auto surface = sxf::CreateRasterSurface(width, height);
      if (!surface) return 1;
      const std::vector<sxf::TBand> bands = sxf::PictureBands(height);
      PrintRow("TiledView/" + std::to_string(percent) + "/" + std::to_string(scale), runs, [&] {
        sxf::DrawInBands(surface->BandCanvases(bands),
                         [&](sxf::TCanvas& c) { return sxf::DrawPreview(c, width, height); });
      });
    }
  return 0;
}

int ReadAndCount(const char* file, int runs) {
  PrintRow("ReadAndCount", runs, [&] {
    sxf::InitJwwModel();
    sxf::LoadJwcTempFile(file);
    const sxf::TTallyGrid grid = sxf::BuildTallyGrid();
    if (grid.Rows.empty()) std::puts("no rows");
  });
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: picture-bench stages FILE WxH SCALE [RUNS [STAGE]]\n"
               "       picture-bench views FILE [RUNS [VIEW]]\n"
               "       picture-bench read FILE [RUNS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  // Kept for the program's life: on Linux the first surface holds the Qt application that
  // every later one draws its characters with.
  const auto first = sxf::CreateRasterSurface(1, 1);
  const std::string what = argv[1];
  const auto runsAt = [&](int i) { return argc > i ? std::max(1, std::atoi(argv[i])) : 5; };
  if (what == "stages" && argc >= 5) {
    int width = 0, height = 0;
    if (std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width < 1 || height < 1)
      return Usage();
    if (argc > 6) onlyStage = argv[6];
    return Stages(argv[2], width, height, std::atof(argv[4]), runsAt(5));
  }
  if (what == "views") {
    if (argc > 4) onlyStage = argv[4];
    return Views(argv[2], runsAt(3));
  }
  if (what == "read") return ReadAndCount(argv[2], runsAt(3));
  return Usage();
}
