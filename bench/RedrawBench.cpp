// Drawing the preview of a large drawing: a full redraw after fit-all into 1920 x 1080,
// zoomed-in redraws that show about 1 % and 10 % of the drawing (with the drawing index and
// without it: second argument 1 or 0), and a baseline that hands the same already-mapped
// segments straight to QPainter::drawLine. Also reading the drawing and building its index.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "DrawingGenerator.h"
#include "preview/Preview.h"
#include "render/DrawingIndex.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "platform/qt/QtCanvas.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Loads the generated drawing of the size the benchmark asks for, once.
void LoadDrawing(std::size_t entities) {
  static std::size_t loaded = 0;
  if (loaded == entities) return;
  const auto path = std::filesystem::temp_directory_path() / ("sxf-redraw-" + std::to_string(entities) + ".txt");
  sxf::bench::WriteGeneratedDrawing(path.string(), entities);
  sxf::InitJwwModel();
  sxf::LoadJwcTempFile(path.string());
  std::filesystem::remove(path);
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  loaded = entities;
}

void FitAll() { sxf::FitViewToDrawing(kWidth, kHeight); }

// Zoom into the middle so that 1 / zoom of the width and height shows.
void ZoomInto(double zoom) {
  FitAll();
  const double cx = (sxf::ViewLeft + sxf::ViewRight) / 2, cy = (sxf::ViewBottom + sxf::ViewTop) / 2;
  sxf::ViewScale *= zoom;
  sxf::ViewLeft = cx - kWidth / 2.0 / sxf::ViewScale;
  sxf::ViewRight = cx + kWidth / 2.0 / sxf::ViewScale;
  sxf::ViewBottom = cy - kHeight / 2.0 / sxf::ViewScale;
  sxf::ViewTop = cy + kHeight / 2.0 / sxf::ViewScale;
}

void ZoomToOnePercent() { ZoomInto(10.0); }
void ZoomToTenPercent() { ZoomInto(std::sqrt(10.0)); }

void Redraw(benchmark::State& state, void (*setView)()) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)));
  sxf::BuildDrawingIndex();
  sxf::SetDrawingIndexAreaShare(state.range(1) == 1 ? 0.25 : 0.0);
  setView();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    sxf::TQtCanvas canvas(image);
    sxf::DrawPreview(canvas, kWidth, kHeight);
    canvas.Flush();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["entities"] = sxf::EntOrderCount;
}

void BM_RedrawFitAll(benchmark::State& state) { Redraw(state, FitAll); }
void BM_RedrawZoomedOnePercent(benchmark::State& state) { Redraw(state, ZoomToOnePercent); }
void BM_RedrawZoomedTenPercent(benchmark::State& state) { Redraw(state, ZoomToTenPercent); }

void BM_ReadDrawing(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "sxf-read-bench.txt";
  sxf::bench::WriteGeneratedDrawing(path.string(), static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    sxf::InitJwwModel();
    sxf::LoadJwcTempFile(path.string());
  }
  std::filesystem::remove(path);
  state.counters["entities"] = sxf::EntOrderCount;
}

void BM_BuildIndex(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) sxf::BuildDrawingIndex();
  state.counters["index_MB"] = static_cast<double>(sxf::DrawingIndexBytes()) / 1e6;
}

// A canvas that keeps the mapped segments, with their pens, as the drawing code produced them.
class TSegmentCollector final : public sxf::TCanvas {
 public:
  struct TSegment {
    QLine Line;
    sxf::TPen Pen;
  };
  std::vector<TSegment> Segments;
  void MoveTo(int x, int y) override { at_ = QPoint(x, y); }
  void LineTo(int x, int y) override {
    Segments.push_back({QLine(at_, QPoint(x, y)), Pen});
    at_ = QPoint(x, y);
  }
  void SetPixel(int, int, sxf::TColor) override {}
  void Rectangle(int, int, int, int) override {}
  void Polyline(std::span<const sxf::TPixelPoint>) override {}
  void Polygon(std::span<const sxf::TPixelPoint>) override {}
  void SetFont(const sxf::TLogFont&) override {}
  void TextOut(int, int, std::string_view) override {}

 private:
  QPoint at_;
};

// state.range(1) = 1: leave out the segments of no length in pixels, which paint nothing.
void BM_BaselineDrawLine(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)));
  FitAll();
  TSegmentCollector collector;
  sxf::DrawPreview(collector, kWidth, kHeight);
  if (state.range(1) == 1)
    std::erase_if(collector.Segments, [](const auto& s) { return s.Line.p1() == s.Line.p2(); });
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    sxf::TPen current{0xFFFFFFFF, -1};
    for (const auto& s : collector.Segments) {
      if (!(s.Pen == current)) {
        QPen pen(sxf::TQtCanvas::ToQColor(s.Pen.Color));
        pen.setWidth(s.Pen.Width <= 1 ? 0 : s.Pen.Width);
        pen.setStyle(s.Pen.Style == sxf::TPenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        current = s.Pen;
      }
      painter.drawLine(s.Line);
    }
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["segments"] = static_cast<double>(collector.Segments.size());
}

BENCHMARK(BM_RedrawFitAll)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_RedrawZoomedOnePercent)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RedrawZoomedTenPercent)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadDrawing)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_BuildIndex)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BaselineDrawLine)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
