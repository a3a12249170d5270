// Drawing the preview of a large drawing: a full redraw after fit-all into 1920 x 1080,
// zoomed-in redraws that show about 1 % and 10 % of the drawing (with the drawing index and
// without it; one-pixel pens through the rasteriser or through QPainter; without the
// characters); the fit-all's
// one-pixel segments alone, drawn by the rasteriser, by QPainter batches and by a bare
// Bresenham loop; a baseline that hands the same already-mapped segments straight to
// QPainter::drawLine; the numbered marks alone; a sheet of texts zoomed so that about 100 000
// characters are written as characters; arc points; reading the drawing and building its
// index.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "DrawingGenerator.h"
#include "DrawingTiler.h"
#include "preview/Preview.h"
#include "render/Bands.h"
#include "render/DrawingIndex.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "graphics/Curves.h"
#include "graphics/PixelRaster.h"
#include "graphics/Primitives.h"
#include "platform/qt/QtCanvas.h"
#include "search/Extents.h"
#include "search/LineTypeMarks.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The drawing the benchmarks draw, and the view they draw it in.
sxf::TDrawing drawing;
sxf::TView view;

// Loads the generated drawing of the size and profile the benchmark asks for, once.
// What the drawing is now: a generated drawing's size (negated for the dense profile), or
// 0 / 1 for the text sheet without / with escapes.
long long loadedEntities = -1;

// Benchmarks that take a drawing read its profile from this argument: 0 light, 1 dense.
sxf::bench::TDrawingProfile ProfileOf(std::int64_t arg) {
  return arg == 1 ? sxf::bench::TDrawingProfile::Dense : sxf::bench::TDrawingProfile::Light;
}

// A file of this run's own in the temporary folder: two runs at once on one machine must not
// read or remove each other's drawing half written.
std::filesystem::path TemporaryFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         (std::to_string(QCoreApplication::applicationPid()) + "-" + name);
}

// Reads the drawing written at path and removes the file; key says what it is.
void LoadAndRemove(const std::filesystem::path& path, long long key) {
  sxf::ClearDrawingIndex();
  drawing = sxf::ReadJwcTempFile(path.string()).Drawing;
  std::filesystem::remove(path);
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  loadedEntities = key;
}

void LoadDrawing(std::size_t entities,
                 sxf::bench::TDrawingProfile profile = sxf::bench::TDrawingProfile::Light) {
  const bool dense = profile == sxf::bench::TDrawingProfile::Dense;
  const long long key =
      dense ? -static_cast<long long>(entities) - 2 : static_cast<long long>(entities);
  if (loadedEntities == key) return;
  const auto path =
      TemporaryFile("sxf-redraw-" + std::to_string(entities) + (dense ? "-dense" : "") + ".txt");
  sxf::bench::WriteGeneratedDrawing(path.string(), entities, 1, profile);
  LoadAndRemove(path, key);
}

void FitAll() { sxf::FitViewToDrawing(view, sxf::ComputeExtents(drawing), kWidth, kHeight); }

// A canvas that draws nothing, for those that only look at what a redraw asks for.
class TBlankCanvas : public sxf::TCanvas {
 public:
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void SetPixel(int, int, sxf::TColor) override {}
  void Rectangle(int, int, int, int) override {}
  void Polyline(std::span<const sxf::TPixelPoint>) override {}
  void Polygon(std::span<const sxf::TPixelPoint>) override {}
  void SetFont(const sxf::TLogFont&) override {}
  void TextOut(int, int, std::string_view) override {}
};

// Counts what a redraw writes: characters and fonts.
class TTextCounter : public TBlankCanvas {
 public:
  long Characters = 0;
  long Fonts = 0;
  void SetFont(const sxf::TLogFont&) override { ++Fonts; }
  void TextOut(int, int, std::string_view) override { ++Characters; }
};

// And the pixels of its lines that fall on the picture: the longer axis of each line's part
// inside the picture, plus its end pixel.
class TLinePixelCounter final : public TTextCounter {
 public:
  TLinePixelCounter(int width, int height) : width_(width), height_(height) {}
  double LinePixels = 0;
  void MoveTo(int x, int y) override { x_ = x, y_ = y; }
  void LineTo(int x, int y) override {
    double t0 = 0, t1 = 1;
    const double dx = x - x_, dy = y - y_;
    const auto clip = [&](double p, double q) {  // Liang-Barsky, one edge
      if (p == 0) return q >= 0;
      const double r = q / p;
      if (p < 0) {
        if (r > t1) return false;
        t0 = std::max(t0, r);
      } else {
        if (r < t0) return false;
        t1 = std::min(t1, r);
      }
      return true;
    };
    if (clip(-dx, x_) && clip(dx, width_ - 1 - x_) && clip(-dy, y_) && clip(dy, height_ - 1 - y_))
      LinePixels += std::max(std::abs(dx), std::abs(dy)) * (t1 - t0) + 1;
    x_ = x, y_ = y;
  }

 private:
  int width_, height_;  // the picture's
  int x_ = 0, y_ = 0;
};

// A view of the preview's shape whose area is the given share of the drawing's extents,
// centred on the extents.
// The view of a preview of pixelsWide x pixelsHigh that shows the share of the extents' area.
void ZoomToShareOfExtents(double share, int pixelsWide = kWidth, int pixelsHigh = kHeight) {
  const sxf::TWorldBox extents = sxf::ComputeExtents(drawing);
  sxf::FitViewToDrawing(view, extents, pixelsWide, pixelsHigh);
  const double width = extents.Right - extents.Left, height = extents.Top - extents.Bottom;
  view.ViewScale = std::sqrt(double{1.0} * pixelsWide * pixelsHigh / (share * width * height));
  sxf::CentreViewOn(view, (extents.Left + extents.Right) / 2, (extents.Bottom + extents.Top) / 2);
}

void ZoomToOnePercent() { ZoomToShareOfExtents(0.01); }
void ZoomToTenPercent() { ZoomToShareOfExtents(0.10); }

// Records of every drawn list whose box the view may touch (the index's candidates), or
// every record when the index is not used.
double RecordsTouched() {
  double touched = 0;
  const auto count = [&touched](const auto& list, int n) {
    const std::vector<int>* near = sxf::RecordsNearView(view, list.data(), n);
    touched += near ? static_cast<double>(near->size()) : n;
  };
  count(drawing.LinList, drawing.LinCount());
  count(drawing.CirList, drawing.CirCount());
  count(drawing.ArcList, drawing.ArcCount());
  count(drawing.PntList, drawing.PntCount());
  count(drawing.DimList, drawing.DimCount());
  count(drawing.TxtList, drawing.TxtCount());
  return touched;
}

// Redraws the current view through the Qt canvas in the timed loop, with what it writes
// (characters, line pixels) counted once before; SXF_BENCH_DUMP=out.png saves the picture.
// The preview into the image in bands on every core, as the window draws it
// (SXF_DRAWING_THREADS=1: one thread).
void DrawViewInBands(QImage& image, bool onePixelPensThroughQPainter = false) {
  const int w = image.width(), h = image.height();
  auto canvases = sxf::MakeBandCanvases(image, sxf::PictureBands(drawing, h));
  for (const auto& c : canvases) c->SetOnePixelPensThroughQPainter(onePixelPensThroughQPainter);
  sxf::DrawInBands(sxf::CanvasPointers(canvases),
                   [w, h](sxf::TCanvas& c) { return sxf::DrawPreview(c, view, drawing, w, h); });
  canvases.clear();  // every painter ends: the picture is complete
  benchmark::DoNotOptimize(image.constBits());
}

void TimeRedraws(benchmark::State& state, bool onePixelPensThroughQPainter, int width = kWidth,
                 int height = kHeight) {
  TLinePixelCounter counter(width, height);
  sxf::DrawPreview(counter, view, drawing, width, height);
  state.counters["characters"] = static_cast<double>(counter.Characters);
  state.counters["line_pixels"] = counter.LinePixels;
  QImage image(width, height, QImage::Format_RGB32);
  for (auto _ : state) DrawViewInBands(image, onePixelPensThroughQPainter);
  if (const char* dump = std::getenv("SXF_BENCH_DUMP")) image.save(dump);
  state.counters["entities"] = drawing.EntOrderCount();
  state.counters["bands"] = static_cast<double>(sxf::PictureBands(drawing, height).size());
}

// state.range(1) = 1: the drawing index is used for views it pays for; state.range(2) = 1:
// one-pixel pens through QPainter's batches (the plain path) instead of the rasteriser;
// state.range(3): the profile.
void Redraw(benchmark::State& state, void (*setView)()) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)), ProfileOf(state.range(3)));
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(state.range(1) == 1 ? 0.25 : 0.0);
  setView();
  state.counters["records_touched"] = RecordsTouched();
  TimeRedraws(state, state.range(2) == 1);
  state.counters["glyphs_looked_up"] = sxf::BandDrawingCaches(0).Glyphs.Made();
  state.counters["glyphs_used"] = sxf::BandDrawingCaches(0).Glyphs.Usable();
  state.counters["masked_band0"] = sxf::BandDrawingCaches(0).Glyphs.MaskedWrites();
}

void BM_RedrawFitAll(benchmark::State& state) { Redraw(state, FitAll); }

// A realistic large drawing: samples/floor-plan (or the drawing SXF_TILE_SOURCE names) tiled
// to 1 000 000 entities, as a site of many floor plans. Loaded once.
void LoadTiledDrawing() {
  constexpr long long kTiledKey = std::numeric_limits<long long>::min();
  if (loadedEntities == kTiledKey) return;
  const char* source = std::getenv("SXF_TILE_SOURCE");
  const std::string from = source && *source ? source : SXF_SAMPLES_DIR "/floor-plan/JWC_TEMP.TXT";
  const auto path = TemporaryFile("sxf-redraw-tiled.txt");
  if (!sxf::bench::WriteTiledDrawing(from, 1000000, path.string())) {
    std::perror(from.c_str());
    std::exit(1);
  }
  LoadAndRemove(path, kTiledKey);
}

// state.range(0): the percent of the extents' area the view shows, centred on them; range(1):
// the display scale in percent: the 1920 x 1080 preview of a screen at 150 % has 2880 x 1620
// of the screen's pixels, the marks and the cross drawn at 144 dpi. Wall time, the index built
// before.
void BM_TiledView(benchmark::State& state) {
  LoadTiledDrawing();
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(0.25);
  const int scale = static_cast<int>(state.range(1));
  const int width = kWidth * scale / 100, height = kHeight * scale / 100;
  view.ViewDpi = sxf::DpiOfScaleFactor(scale / 100.0);
  ZoomToShareOfExtents(static_cast<double>(state.range(0)) / 100.0, width, height);
  state.counters["records_touched"] = RecordsTouched();
  TimeRedraws(state, false, width, height);
  view.ViewDpi = sxf::kDesignDpi;
}

// The drawing code alone, into a canvas that only counts: what a view costs before a pixel
// is written. state.range(0): 0 fit-all, 1 the 1 % view, 2 the 10 % view; range(1): profile.
void BM_RedrawCoreOnly(benchmark::State& state) {
  LoadDrawing(1000000, ProfileOf(state.range(1)));
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(0.25);
  void (*views[])() = {FitAll, ZoomToOnePercent, ZoomToTenPercent};
  views[state.range(0)]();
  for (auto _ : state) {
    TTextCounter counter;
    sxf::DrawPreview(counter, view, drawing, kWidth, kHeight);
    benchmark::DoNotOptimize(counter.Characters);
  }
}

// The numbered marks alone, at fit-all, on a blank surface.
void BM_MarksFitAll(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)), ProfileOf(state.range(1)));
  FitAll();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    sxf::TQtCanvas canvas(image);
    sxf::DrawLineTypeMarks(canvas, view, drawing, sxf::kMarkRadiusPixels / view.ViewScale);
    canvas.Flush();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["marks"] = static_cast<double>(sxf::CollectLineTypeMarks(drawing).size());
  state.counters["wide_shapes"] = sxf::BandDrawingCaches(0).WidePens.SpritesMade();
}
// The drawing's characters are written as glyph outlines once they are larger than the font
// engine caches (zoomed in, the generated texts are about 190 pixels high): this canvas draws
// everything else into the Qt canvas and leaves the characters out, to show the view's cost
// apart from them.
class TWithoutCharacters final : public sxf::TCanvas {
 public:
  explicit TWithoutCharacters(QImage& image) : inner_(image) {}
  void MoveTo(int x, int y) override { Sync(), inner_.MoveTo(x, y); }
  void LineTo(int x, int y) override { Sync(), inner_.LineTo(x, y); }
  void SetPixel(int x, int y, sxf::TColor color) override { Sync(), inner_.SetPixel(x, y, color); }
  void PixelLine(int x1, int y1, int x2, int y2) override {
    Sync(), inner_.PixelLine(x1, y1, x2, y2);
  }
  void PixelLines(std::span<const sxf::TPixelPoint> points) override {
    Sync(), inner_.PixelLines(points);
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Sync(), inner_.Rectangle(x1, y1, x2, y2);
  }
  void Polyline(std::span<const sxf::TPixelPoint> points) override {
    Sync(), inner_.Polyline(points);
  }
  void Polygon(std::span<const sxf::TPixelPoint> points) override {
    Sync(), inner_.Polygon(points);
  }
  void SetFont(const sxf::TLogFont&) override {}
  void TextOut(int, int, std::string_view) override {}
  void Flush() { inner_.Flush(); }

 private:
  void Sync() {
    inner_.Pen = Pen;
    inner_.Brush = Brush;
  }
  sxf::TQtCanvas inner_;
};

// state.range(0): 1 the 1 % view, 2 the 10 % view; range(1): the profile.
void BM_RedrawZoomedWithoutCharacters(benchmark::State& state) {
  LoadDrawing(1000000, ProfileOf(state.range(1)));
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(0.25);
  (state.range(0) == 1 ? ZoomToOnePercent : ZoomToTenPercent)();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    TWithoutCharacters canvas(image);
    sxf::DrawPreview(canvas, view, drawing, kWidth, kHeight);
    canvas.Flush();
    benchmark::DoNotOptimize(image.constBits());
  }
}

// What no way of writing a zoomed view's characters can go below: each character the view
// writes, as an image of its pixel size made beforehand (a glyph of the drawing's texts in
// black, smoothed), put on the picture by QPainter::drawImage: no layout, no outline, no
// rasterising, only the blend of the pixels. range(0): 1 the 1 % view, 2 the 10 % view;
// range(1): the profile.
class TCharacterPlaces final : public TBlankCanvas {
 public:
  struct TPlace {
    int X, Y, Height;
  };
  std::vector<TPlace> Places;
  void SetFont(const sxf::TLogFont& font) override { height_ = std::max(1, std::abs(font.Height)); }
  void TextOut(int x, int y, std::string_view) override { Places.push_back({x, y, height_}); }

 private:
  int height_ = 1;
};

// Each character of a view as an image of its pixel size made beforehand, and their drawing.
struct TCharacterImages {
  std::vector<TCharacterPlaces::TPlace> Places;
  std::map<int, QImage> Glyphs;
  double CellPixels = 0, InkedPixels = 0;

  explicit TCharacterImages(std::vector<TCharacterPlaces::TPlace> places)
      : Places(std::move(places)) {
    for (const auto& place : Places) {
      auto [it, made] = Glyphs.try_emplace(place.Height);
      if (made) {
        const int side = std::min(place.Height + 2, 4096);
        it->second = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        it->second.fill(Qt::transparent);
        QPainter p(&it->second);
        QFont font;
        font.setPixelSize(place.Height);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, side, side), Qt::AlignCenter, QString::fromUtf8("\u90E8"));  // 部
      }
      const QImage& g = it->second;
      CellPixels += static_cast<double>(g.width()) * g.height();
      for (int y = 0; y < g.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(g.constScanLine(y));
        for (int x = 0; x < g.width(); ++x) InkedPixels += qAlpha(line[x]) != 0;
      }
    }
  }
  void Draw(QImage& image) const {
    QPainter painter(&image);
    for (const auto& place : Places) painter.drawImage(place.X, place.Y, Glyphs.at(place.Height));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
};

void BM_CharacterImagesFloor(benchmark::State& state) {
  LoadDrawing(1000000, ProfileOf(state.range(1)));
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(0.25);
  (state.range(0) == 1 ? ZoomToOnePercent : ZoomToTenPercent)();
  TCharacterPlaces places;
  sxf::DrawPreview(places, view, drawing, kWidth, kHeight);
  const TCharacterImages characters(places.Places);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto _ : state) characters.Draw(image);
  state.counters["characters"] = static_cast<double>(places.Places.size());
  state.counters["cell_pixels"] = characters.CellPixels;
  state.counters["inked_pixels"] = characters.InkedPixels;
}

void BM_RedrawZoomedOnePercent(benchmark::State& state) { Redraw(state, ZoomToOnePercent); }
void BM_RedrawZoomedTenPercent(benchmark::State& state) { Redraw(state, ZoomToTenPercent); }

void BM_ReadDrawing(benchmark::State& state) {
  const auto path = TemporaryFile("sxf-read-bench.txt");
  sxf::bench::WriteGeneratedDrawing(path.string(), static_cast<std::size_t>(state.range(0)));
  int entities = 0;
  for (auto _ : state) entities = sxf::ReadJwcTempFile(path.string()).Drawing.EntOrderCount();
  std::filesystem::remove(path);
  state.counters["entities"] = entities;
}

void BM_BuildIndex(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)), ProfileOf(state.range(1)));
  for (auto _ : state) sxf::BuildDrawingIndex(drawing);
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

// Every pixel of each segment and its end pixel, with no style, no mode and no clipping beyond
// a bounds test per pixel: a bare Bresenham loop.
void DrawBareLines(const std::vector<TSegmentCollector::TSegment>& segments, std::uint32_t* bits,
                   std::ptrdiff_t stride) {
  for (const auto& s : segments) {
    const std::uint32_t value = sxf::TQtCanvas::ToQColor(s.Pen.Color).rgb();
    int x = s.Line.x1(), y = s.Line.y1();
    const int x2 = s.Line.x2(), y2 = s.Line.y2();
    const int dx = std::abs(x2 - x), dy = -std::abs(y2 - y);
    const int sx = x < x2 ? 1 : -1, sy = y < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      if (static_cast<unsigned>(x) < unsigned{kWidth} &&
          static_cast<unsigned>(y) < unsigned{kHeight})
        bits[y * stride + x] = value;
      if (x == x2 && y == y2) break;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
}

// A sheet of 300 rows of 60 texts, each 20 characters (one in four holds kanji), 2 units
// high with one-byte characters 1 unit wide, every fifth text turned a quarter; zoomed to 3
// pixels per unit the characters are 6 pixels high, the smallest that are written.
// With escapes, the same characters carry bold, colour and superscript sequences.
void LoadTextSheet(bool escapes) {
  const long long kind = escapes ? 1 : 0;
  if (loadedEntities == kind) return;
  sxf::ClearDrawingIndex();
  sxf::TJwcReader reader;
  reader.ParseLine("cn0 2 2 0 1");
  const char* plain[] = {"ROOM-101 A=12.5m2 xx", "\x97\x6D\x8E\xBA\x87\x40 6.5\x92\x9F LDK 2F",
                         "W=1200 H=2100 SD-03 ", "GL+150 FL+450 (TYP.)"};
  const char* escaped[] = {"ROOM-101 ^!A=12.5m^u2^# xx",
                           "\x97\x6D\x8E\xBA\x87\x40 ^$36.5\x92\x9F LDK 2F",
                           "^!W=1200^# H=2100 SD-03 ", "GL+150 ^$2FL+450^$1 (TYP.)"};
  const char* const* texts = escapes ? escaped : plain;
  char line[160];
  for (int row = 0; row < 300; ++row)
    for (int col = 0; col < 60; ++col) {
      const bool turned = (row * 60 + col) % 5 == 0;
      std::snprintf(line, sizeof line, "ch %d %d %d %d \"%s", col * 22, row * 2, turned ? 0 : 20,
                    turned ? 20 : 0, texts[(row + col) % 4]);
      reader.ParseLine(line);
    }
  drawing = std::move(reader.Drawing());
  if (!sxf::GraAttr) sxf::GraAttr = std::make_unique<sxf::TgraAttribute>();
  loadedEntities = kind;
}

void ZoomTextSheet() {
  sxf::FitViewToDrawing(view, sxf::ComputeExtents(drawing), kWidth, kHeight);
  view.ViewScale = 3.0;
  sxf::CentreViewOn(view, 660.0, 300.0);
}

// state.range(0) = 1: the texts hold escape sequences.
void BM_RedrawTexts(benchmark::State& state) {
  LoadTextSheet(state.range(0) == 1);
  ZoomTextSheet();
  TTextCounter counter;
  sxf::DrawPreview(counter, view, drawing, kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  int fonts = 0;
  for (auto _ : state) {
    sxf::TQtCanvas canvas(image);
    sxf::DrawPreview(canvas, view, drawing, kWidth, kHeight);
    canvas.Flush();
    fonts = canvas.FontsCreated();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["characters"] = static_cast<double>(counter.Characters);
  state.counters["runs"] = static_cast<double>(counter.Fonts);
  state.counters["fonts_created"] = fonts;
  state.counters["glyphs_looked_up"] = sxf::BandDrawingCaches(0).Glyphs.Made();
  state.counters["glyphs_used"] = sxf::BandDrawingCaches(0).Glyphs.Usable();
}

// state.range(1) = 1: leave out the segments of no length in pixels, which paint nothing;
// state.range(2): the profile.
void BM_BaselineDrawLine(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)), ProfileOf(state.range(2)));
  FitAll();
  TSegmentCollector collector;
  sxf::DrawPreview(collector, view, drawing, kWidth, kHeight);
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

// A zoomed view of a generated drawing beside its floor, in one run: what no redraw of the view
// can go below on one thread, the drawing code alone (into a canvas that only counts) plus
// each character as a ready-made image put on the picture plus the view's one-pixel lines
// as a bare loop that writes every pixel. The view is drawn as the window draws it (in bands
// on every core; SXF_DRAWING_THREADS=1: one thread). range(0): 1 the 1 % view, 2 the 10 %
// view; range(1): the profile.
template <typename F>
double MedianMilliseconds(F run, int reps = 7) {
  std::vector<double> times;
  for (int i = 0; i < reps; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::nth_element(times.begin(), times.begin() + reps / 2, times.end());
  return times[static_cast<std::size_t>(reps / 2)];
}

void BM_ViewAgainstFloor(benchmark::State& state) {
  LoadDrawing(1000000, ProfileOf(state.range(1)));
  sxf::BuildDrawingIndex(drawing);
  sxf::SetDrawingIndexAreaShare(0.25);
  (state.range(0) == 1 ? ZoomToOnePercent : ZoomToTenPercent)();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
  const std::ptrdiff_t stride = image.bytesPerLine() / 4;

  const double core = MedianMilliseconds([] {
    TTextCounter counter;
    sxf::DrawPreview(counter, view, drawing, kWidth, kHeight);
    benchmark::DoNotOptimize(counter.Characters);
  });
  TCharacterPlaces places;
  sxf::DrawPreview(places, view, drawing, kWidth, kHeight);
  const TCharacterImages characters(places.Places);
  const double chars = MedianMilliseconds([&] { characters.Draw(image); });
  TSegmentCollector collector;
  sxf::DrawPreview(collector, view, drawing, kWidth, kHeight);
  std::erase_if(collector.Segments, [](const auto& seg) { return seg.Pen.Width > 1; });
  const double lines = MedianMilliseconds([&] { DrawBareLines(collector.Segments, bits, stride); });
  const double floor = core + chars + lines;

  std::vector<double> views;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    DrawViewInBands(image);
    views.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::nth_element(views.begin(), views.begin() + static_cast<std::ptrdiff_t>(views.size() / 2),
                   views.end());
  const double viewMs = views[views.size() / 2];
  state.counters["floor_ms"] = floor;
  state.counters["floor_core_ms"] = core;
  state.counters["floor_chars_ms"] = chars;
  state.counters["floor_lines_ms"] = lines;
  state.counters["view_ms"] = viewMs;
  state.counters["view_over_floor"] = viewMs / floor;
  state.counters["bands"] = static_cast<double>(sxf::PictureBands(drawing, kHeight).size());
}

// Arguments: entities, index on, one-pixel pens through QPainter, profile (0 light, 1 dense).
BENCHMARK(BM_TiledView)
    ->ArgsProduct({{1, 10, 100}, {100, 150}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_ViewAgainstFloor)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_RedrawFitAll)
    ->Args({1000000, 1, 0, 0})
    ->Args({1000000, 1, 1, 0})
    ->Args({1000000, 1, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(BM_RedrawZoomedOnePercent)
    ->Args({1000000, 0, 0, 0})
    ->Args({1000000, 1, 0, 0})
    ->Args({1000000, 1, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_RedrawZoomedTenPercent)
    ->Args({1000000, 0, 0, 0})
    ->Args({1000000, 1, 0, 0})
    ->Args({1000000, 1, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_RedrawZoomedWithoutCharacters)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK(BM_CharacterImagesFloor)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK(BM_RedrawCoreOnly)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK(BM_ReadDrawing)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_BuildIndex)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// The one-pixel segments of the fit-all redraw, collected once, drawn three ways into the
// same image: range(1) = 0 the rasteriser in runs as the canvas uses it, 1 QPainter batches
// as the canvas used to, 2 a bare Bresenham loop that writes every pixel of the segment and
// its end pixel with no style, no mode and no clipping beyond a bounds test per pixel.
// range(2): the profile.
void BM_SegmentsFitAll(benchmark::State& state) {
  LoadDrawing(static_cast<std::size_t>(state.range(0)), ProfileOf(state.range(2)));
  FitAll();
  TSegmentCollector collector;
  sxf::DrawPreview(collector, view, drawing, kWidth, kHeight);
  std::erase_if(collector.Segments, [](const auto& s) { return s.Pen.Width > 1; });
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const int way = static_cast<int>(state.range(1));
  auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
  const std::ptrdiff_t stride = image.bytesPerLine() / 4;
  for (auto _ : state) {
    if (way == 0) {
      sxf::TPixelRaster raster({bits, kWidth, kHeight, stride});
      sxf::TPen current{0xFFFFFFFF, -1};
      for (const auto& s : collector.Segments) {
        if (s.Line.p1() == s.Line.p2()) continue;
        if (!(s.Pen == current)) {
          raster.SetPen(sxf::TQtCanvas::ToQColor(s.Pen.Color).rgb(), s.Pen.Style, s.Pen.Mode);
          current = s.Pen;
        }
        raster.Line(s.Line.x1(), s.Line.y1(), s.Line.x2(), s.Line.y2());
      }
    } else if (way == 1) {
      QPainter painter(&image);
      std::vector<QLine> batch;
      sxf::TPen current{0xFFFFFFFF, -1};
      auto flush = [&] {
        if (batch.empty()) return;
        painter.setPen(sxf::TQtCanvas::ToQPen(current));
        painter.drawLines(batch.data(), static_cast<int>(batch.size()));
        batch.clear();
      };
      for (const auto& s : collector.Segments) {
        if (s.Line.p1() == s.Line.p2()) continue;
        if (!(s.Pen == current)) {
          flush();
          current = s.Pen;
        }
        batch.push_back(s.Line);
        if (batch.size() >= 8192) flush();
      }
      flush();
    } else {
      DrawBareLines(collector.Segments, bits, stride);
    }
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["segments"] = static_cast<double>(collector.Segments.size());
}

// 100 000 arcs 5 to 300 pixels in radius, inside a view of one pixel per unit, drawn into a
// canvas that keeps nothing: range(0) = 0 the points turned by the step
// (DrawWorldEllipseArc), 1 a sine and cosine of the accumulated angle per point, as arcs
// were drawn before.
void BM_ArcPoints(benchmark::State& state) {
  FitAll();
  view.ViewScale = 1.0;
  sxf::CentreViewOn(view, 0.0, 0.0);
  std::mt19937 rng(8);
  std::uniform_real_distribution<double> x(-600.0, 600.0), y(-240.0, 240.0), radius(5.0, 300.0),
      angle(0.0, 6.283);
  struct TArc {
    double Cx, Cy, R, Start, Sweep;
  };
  std::vector<TArc> arcs(100000);
  for (TArc& a : arcs) a = {x(rng), y(rng), radius(rng), angle(rng), angle(rng)};
  TTextCounter sink;
  for (auto _ : state) {
    for (const TArc& a : arcs) {
      if (state.range(0) == 0) {
        sxf::DrawWorldEllipseArc(sink, view, a.Cx, a.Cy, a.R, 1.0, 0.0, a.Start, a.Sweep);
        continue;
      }
      const sxf::TEllipseCurve curve(a.Cx, a.Cy, a.R, 1.0, 0.0);
      double theta = a.Start;
      sxf::TDPoint previous = curve.At(theta);
      for (int k = 1; k <= sxf::kCurveSegments; ++k) {
        theta += a.Sweep / sxf::kCurveSegments;
        const sxf::TDPoint p = curve.At(theta);
        sxf::DrawWorldSegment(sink, view, previous.X, previous.Y, p.X, p.Y);
        previous = p;
      }
    }
  }
  state.counters["arcs"] = static_cast<double>(arcs.size());
}

BENCHMARK(BM_ArcPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SegmentsFitAll)
    ->Args({1000000, 0, 0})
    ->Args({1000000, 1, 0})
    ->Args({1000000, 2, 0})
    ->Args({1000000, 0, 1})
    ->Args({1000000, 2, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_MarksFitAll)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK(BM_RedrawTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BaselineDrawLine)
    ->Args({1000000, 0, 0})
    ->Args({1000000, 1, 0})
    ->Args({1000000, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
