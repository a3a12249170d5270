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
//   picture-bench view-stages FILE [RUNS [VIEW]]
//                                               those views whole and one stage at a time
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
#include "search/Extents.h"
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
void DrawOnSurface(const sxf::TDrawing& drawing, int width, int height,
                   const std::function<bool(sxf::TCanvas&)>& draw) {
  const auto surface = sxf::CreateRasterSurface(width, height);
  if (!surface) {
    std::fprintf(stderr, "picture-bench: no surface of %dx%d\n", width, height);
    std::exit(1);
  }
  sxf::DrawInBands(surface->BandCanvases(sxf::PictureBands(drawing, height)), draw);
}

// Which lists a stage draws.
enum : unsigned {
  kLines = 1,
  kCurves = 2,
  kSolids = 4,
  kTexts = 8,
  kPoints = 16,
};
constexpr std::pair<const char*, unsigned> kStages[] = {{"lines", kLines},
                                                        {"curves", kCurves},
                                                        {"solids", kSolids},
                                                        {"texts", kTexts},
                                                        {"points", kPoints}};

// The drawing with only the lists of the stage keep drawn (the block references stay: they
// draw nothing).
sxf::TDrawing OnlyStage(const sxf::TDrawing& drawing, unsigned keep) {
  sxf::TDrawing stage = drawing;
  const auto drop = [&](unsigned of, auto& list) {
    if (!(keep & of)) list.clear();
  };
  drop(kLines, stage.LinList);
  drop(kCurves, stage.CirList), drop(kCurves, stage.ArcList);
  drop(kTexts, stage.TxtList), drop(kTexts, stage.DimList);
  drop(kPoints, stage.PntList), drop(kPoints, stage.PntExList);
  drop(kSolids, stage.Sl2List), drop(kSolids, stage.Sl3List), drop(kSolids, stage.Sl4List);
  drop(kSolids, stage.ScList), drop(kSolids, stage.SeList), drop(kSolids, stage.SoList);
  drop(kSolids, stage.SgList);
  return stage;
}

bool Load(const char* file, sxf::TDrawing& drawing) {
  sxf::TJwcLoad read = sxf::ReadJwcTempFile(file);
  if (!read.Result.ReadToEnd) {
    std::fprintf(stderr, "picture-bench: cannot read %s\n", file);
    return false;
  }
  drawing = std::move(read.Drawing);
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  return true;
}

int Stages(const char* file, int width, int height, double scale, int runs) {
  sxf::TDrawing drawing;
  if (!Load(file, drawing)) return 1;
  sxf::TView view;
  view.ViewDpi = sxf::DpiOfScaleFactor(scale);
  sxf::FitViewToDrawing(view, sxf::ComputeExtents(drawing), width, height);
  const std::string at =
      " " + std::to_string(width) + "x" + std::to_string(height) + " @" + std::to_string(scale);
  PrintRow("paper" + at, runs, [&] {
    DrawOnSurface(drawing, width, height, [&](sxf::TCanvas& c) {
      sxf::ClearCanvas(c, width, height);
      return true;
    });
  });
  for (const auto& [name, keep] : kStages) {
    const sxf::TDrawing stage = OnlyStage(drawing, keep);
    PrintRow(name + at, runs, [&] {
      DrawOnSurface(stage, width, height, [&](sxf::TCanvas& c) {
        sxf::ClearCanvas(c, width, height);
        return sxf::RenderDrawing(c, view, stage);
      });
    });
  }
  PrintRow("marks" + at, runs, [&] {
    DrawOnSurface(drawing, width, height, [&](sxf::TCanvas& c) {
      sxf::ClearCanvas(c, width, height);
      return sxf::DrawLineTypeMarks(c, view, drawing, sxf::MarkRadiusPixels(view) / view.ViewScale);
    });
  });
  PrintRow("whole" + at, runs, [&] {
    DrawOnSurface(drawing, width, height, [&](sxf::TCanvas& c) {
      return sxf::DrawPreview(c, view, drawing, width, height);
    });
  });
  return 0;
}

// The rows of one view: the whole picture, or (split) the paper and each stage's lists alone
// and the marks alone, as Stages times them, each on the same surface as the whole.
void ViewRows(const std::string& name, const sxf::TDrawing& drawing,
              const std::vector<std::pair<std::string, sxf::TDrawing>>& stages,
              const sxf::TView& view, int width, int height, int runs, bool split) {
  // One surface for the row, drawn anew each run, as the window redraws its picture.
  const auto surface = sxf::CreateRasterSurface(width, height);
  if (!surface) {
    std::fprintf(stderr, "picture-bench: no surface of %dx%d\n", width, height);
    std::exit(1);
  }
  const std::vector<sxf::TBand> bands = sxf::PictureBands(drawing, height);
  const auto row = [&](const std::string& rowName, const std::function<bool(sxf::TCanvas&)>& draw) {
    PrintRow(rowName, runs, [&] { sxf::DrawInBands(surface->BandCanvases(bands), draw); });
  };
  if (split) {
    row(name + " paper", [&](sxf::TCanvas& c) {
      sxf::ClearCanvas(c, width, height);
      return true;
    });
    for (const auto& [stageName, stage] : stages)
      row(name + " " + stageName, [&](sxf::TCanvas& c) {
        sxf::ClearCanvas(c, width, height);
        return sxf::RenderDrawing(c, view, stage);
      });
    row(name + " marks", [&](sxf::TCanvas& c) {
      sxf::ClearCanvas(c, width, height);
      return sxf::DrawLineTypeMarks(c, view, drawing, sxf::MarkRadiusPixels(view) / view.ViewScale);
    });
  }
  row(split ? name + " whole" : name,
      [&](sxf::TCanvas& c) { return sxf::DrawPreview(c, view, drawing, width, height); });
}

int Views(const char* file, int runs, bool split) {
  sxf::TDrawing drawing;
  if (!Load(file, drawing)) return 1;
  const sxf::TWorldBox extents = sxf::ComputeExtents(drawing);
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(0.25);
  std::vector<std::pair<std::string, sxf::TDrawing>> stages;
  if (split) {
    for (const auto& [name, keep] : kStages) stages.emplace_back(name, OnlyStage(drawing, keep));
    for (const auto& stage : stages) sxf::BuildDrawingIndex(stage.second);
  }
  for (const int percent : {1, 10, 100})
    for (const int scale : {100, 150}) {
      const int width = 1920 * scale / 100, height = 1080 * scale / 100;
      sxf::TView view;
      view.ViewDpi = sxf::DpiOfScaleFactor(scale / 100.0);
      sxf::FitViewToDrawing(view, extents, width, height);
      const double w = extents.Right - extents.Left, h = extents.Top - extents.Bottom;
      view.ViewScale = std::sqrt(1.0 * width * height / (percent / 100.0 * w * h));
      sxf::CentreViewOn(view, (extents.Left + extents.Right) / 2,
                        (extents.Bottom + extents.Top) / 2);
      ViewRows("TiledView/" + std::to_string(percent) + "/" + std::to_string(scale), drawing,
               stages, view, width, height, runs, split);
    }
  return 0;
}

int ReadAndCount(const char* file, int runs) {
  PrintRow("ReadAndCount", runs, [&] {
    const sxf::TJwcLoad read = sxf::ReadJwcTempFile(file);
    const sxf::TTallyGrid grid = sxf::BuildTallyGrid(read.Drawing);
    if (grid.Rows.empty()) std::puts("no rows");
  });
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: picture-bench stages FILE WxH SCALE [RUNS [STAGE]]\n"
               "       picture-bench views FILE [RUNS [VIEW]]\n"
               "       picture-bench view-stages FILE [RUNS [VIEW]]\n"
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
  if (what == "views" || what == "view-stages") {
    if (argc > 4) onlyStage = argv[4];
    return Views(argv[2], runsAt(3), what == "view-stages");
  }
  if (what == "read") return ReadAndCount(argv[2], runsAt(3));
  return Usage();
}
