// Drawing the preview of a large drawing: a full redraw after fit-all into 1920 x 1080, a
// zoomed-in redraw that shows about 1 % of the drawing, a baseline that hands the same
// already-mapped segments straight to QPainter::drawLine, and a sheet of texts zoomed so that
// about 100 000 characters are written as characters.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "DrawingGenerator.h"
#include "preview/Preview.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "platform/qt/QtCanvas.h"
#include "search/LineTypeMarks.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Loads the generated drawing of the size the benchmark asks for, once.
// What the model holds now: a generated drawing's size, or 0 for the text sheet.
std::size_t loadedEntities = static_cast<std::size_t>(-1);

void LoadDrawing(std::size_t entities) {
  if (loadedEntities == entities) return;
  const auto path = std::filesystem::temp_directory_path() / ("sxf-redraw-" + std::to_string(entities) + ".txt");
  sxf::bench::WriteGeneratedDrawing(path.string(), entities);
  sxf::InitJwwModel();
  sxf::LoadJwcTempFile(path.string());
  std::filesystem::remove(path);
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  loadedEntities = entities;
}

void ParseLine(const char* text) { sxf::ParseJwwLine(text); }

void FitAll() { sxf::FitViewToDrawing(kWidth, kHeight); }

// Zoom into the middle so that a tenth of the width and height, 1 % of the area, shows.
void ZoomToOnePercent() {
  FitAll();
  const double cx = (sxf::ViewLeft + sxf::ViewRight) / 2, cy = (sxf::ViewBottom + sxf::ViewTop) / 2;
  sxf::ViewScale *= 10.0;
  sxf::ViewLeft = cx - kWidth / 2.0 / sxf::ViewScale;
  sxf::ViewRight = cx + kWidth / 2.0 / sxf::ViewScale;
  sxf::ViewBottom = cy - kHeight / 2.0 / sxf::ViewScale;
  sxf::ViewTop = cy + kHeight / 2.0 / sxf::ViewScale;
}

void Redraw(benchmark::State& state, void (*setView)()) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)));
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

// The numbered marks alone, at fit-all, on a blank surface.
void BM_MarksFitAll(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)));
  FitAll();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    sxf::TQtCanvas canvas(image);
    sxf::DrawLineTypeMarks(canvas, sxf::kMarkRadiusPixels / sxf::ViewScale);
    canvas.Flush();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["marks"] = static_cast<double>(sxf::CollectLineTypeMarks().size());
  state.counters["wide_shapes"] = sxf::SharedWidePenSprites().SpritesMade();
}
void BM_RedrawZoomedOnePercent(benchmark::State& state) { Redraw(state, ZoomToOnePercent); }

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

// Counts what a redraw writes: characters and fonts.
class TTextCounter final : public sxf::TCanvas {
 public:
  long Characters = 0;
  long Fonts = 0;
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void SetPixel(int, int, sxf::TColor) override {}
  void Rectangle(int, int, int, int) override {}
  void Polyline(std::span<const sxf::TPixelPoint>) override {}
  void Polygon(std::span<const sxf::TPixelPoint>) override {}
  void SetFont(const sxf::TLogFont&) override { ++Fonts; }
  void TextOut(int, int, std::string_view) override { ++Characters; }
};

// A sheet of 300 rows of 60 texts, each 20 characters (one in four holds kanji), 2 units
// high with one-byte characters 1 unit wide, every fifth text turned a quarter; zoomed to 3
// pixels per unit the characters are 6 pixels high, the smallest that are written.
void LoadTextSheet() {
  if (loadedEntities == 0) return;
  sxf::InitJwwModel();
  ParseLine("cn0 2 2 0 1");
  const char* texts[] = {"ROOM-101 A=12.5m2 xx", "\x97\x6D\x8E\xBA\x87\x40 6.5\x92\x9F LDK 2F",
                         "W=1200 H=2100 SD-03 ", "GL+150 FL+450 (TYP.)"};
  char line[160];
  for (int row = 0; row < 300; ++row)
    for (int col = 0; col < 60; ++col) {
      const bool turned = (row * 60 + col) % 5 == 0;
      std::snprintf(line, sizeof line, "ch %d %d %d %d \"%s", col * 22, row * 2, turned ? 0 : 20,
                    turned ? 20 : 0, texts[(row + col) % 4]);
      ParseLine(line);
    }
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  loadedEntities = 0;
}

void ZoomTextSheet() {
  sxf::FitViewToDrawing(kWidth, kHeight);
  sxf::ViewScale = 3.0;
  sxf::CentreViewOn(660.0, 300.0);
}

void BM_RedrawTexts(benchmark::State& state) {
  LoadTextSheet();
  ZoomTextSheet();
  TTextCounter counter;
  sxf::DrawPreview(counter, kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  int fonts = 0;
  for (auto _ : state) {
    sxf::TQtCanvas canvas(image);
    sxf::DrawPreview(canvas, kWidth, kHeight);
    canvas.Flush();
    fonts = canvas.FontsCreated();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["characters"] = static_cast<double>(counter.Characters);
  state.counters["runs"] = static_cast<double>(counter.Fonts);
  state.counters["fonts_created"] = fonts;
}

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

BENCHMARK(BM_RedrawFitAll)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_RedrawZoomedOnePercent)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MarksFitAll)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RedrawTexts)->Unit(benchmark::kMillisecond)->MinTime(2.0);
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
