// The core's one-pixel rasteriser against QPainter's aliased cosmetic pen, and the canvas's
// one-pixel path against the QPainter batches it replaces: pixel for pixel, on random
// segments of every style, direction and length, inside, across and outside the image.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <vector>

#include "graphics/PixelRaster.h"
#include "support/ViewTestSupport.h"
#include "model/JwwGaibu2.h"
#include "preview/Preview.h"
#include "search/Extents.h"
#include "platform/qt/QtCanvas.h"

namespace sxf {
namespace {

constexpr TPenStyle kStyles[] = {TPenStyle::Solid, TPenStyle::Dash, TPenStyle::Dot,
                                 TPenStyle::DashDot, TPenStyle::DashDotDot};
constexpr int kW = 61, kH = 47;  // odd sizes, so that no symmetry hides a fault

void ApplyQPen(QPainter& p, const TPen& pen) {
  p.setPen(TQtCanvas::ToQPen(pen));
  p.setCompositionMode(pen.Mode == TPenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                 : QPainter::CompositionMode_SourceOver);
}

TPixelBuffer BufferOf(QImage& image) {
  return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
          image.bytesPerLine() / 4};
}

// Random segments: short ones near the image, long ones across it, far and huge ones, and
// ones along the axes and diagonals; each kind in every direction.
class TSegmentSource {
 public:
  explicit TSegmentSource(unsigned seed) : rng_(seed) {}

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  QLine Next() {
    switch (Pick(0, 5)) {
      case 0: {
        const QPoint a(Pick(-4, kW + 4), Pick(-4, kH + 4));
        return {a, a + QPoint(Pick(-7, 7), Pick(-7, 7))};
      }
      case 1: return {Pick(-kW, 2 * kW), Pick(-kH, 2 * kH), Pick(-kW, 2 * kW), Pick(-kH, 2 * kH)};
      case 2: return {Pick(-3000, 3000), Pick(-3000, 3000), Pick(-3000, 3000), Pick(-3000, 3000)};
      case 3: {
        constexpr int L = TQtCanvas::kPixelLimit;
        return {Pick(-L, L), Pick(-L, L), Pick(-L, L), Pick(-L, L)};
      }
      case 4: {
        const QPoint a(Pick(-10, kW + 10), Pick(-10, kH + 10));
        const int t = Pick(0, 80);
        return {a, a + QPoint(Pick(-1, 1) * t, Pick(-1, 1) * t)};
      }
      default: {
        const QPoint a(Pick(0, kW - 1), Pick(0, kH - 1));
        return {a, a + QPoint(Pick(-40, 40), Pick(-3, 3))};  // nearly flat, either way round
      }
    }
  }

  // A chain of segments that continue one another, turning back now and then.
  std::vector<QLine> Chain(int n) {
    std::vector<QLine> lines;
    QPoint at(Pick(-5, kW + 5), Pick(-5, kH + 5));
    for (int i = 0; i < n; ++i) {
      const QPoint to = Pick(0, 5) == 0 ? Next().p2() : at + QPoint(Pick(-9, 9), Pick(-9, 9));
      if (to != at) lines.emplace_back(at, to);
      at = to;
    }
    return lines;
  }

 private:
  std::mt19937 rng_;
};

struct TDifference {
  long Pixels = 0;
  long Cases = 0;
  std::string First;
  void Check(QImage& ours, const QImage& theirs, const std::string& what) {
    if (std::memcmp(ours.constBits(), theirs.constBits(),
                    static_cast<std::size_t>(theirs.sizeInBytes())) == 0)
      return;
    long n = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) n += ours.pixel(x, y) != theirs.pixel(x, y);
    if (Cases++ == 0) First = what;
    Pixels += n;
    std::memcpy(ours.bits(), theirs.constBits(), static_cast<std::size_t>(theirs.sizeInBytes()));
  }
};

std::string Describe(const std::vector<QLine>& lines) {
  std::ostringstream s;
  for (const QLine& l : lines)
    s << "(" << l.x1() << "," << l.y1() << ")-(" << l.x2() << "," << l.y2() << ") ";
  return s.str();
}

// Copy mode: a batch handed to one drawLines call is one run of the rasteriser.
TEST(PixelRasterVsQPainter, BatchesOfSegmentsInEveryStyle) {
  for (const TPenStyle style : kStyles) {
    TSegmentSource source(17u + static_cast<unsigned>(style));
    QImage ours(kW, kH, QImage::Format_RGB32), theirs(kW, kH, QImage::Format_RGB32);
    ours.fill(Qt::white);
    theirs.fill(Qt::white);
    TPixelRaster raster(BufferOf(ours));
    QPainter painter(&theirs);
    TDifference diff;
    long segments = 0;
    while (segments < 100000) {
      const TPen pen{static_cast<TColor>(source.Pick(0, 0xFFFFFF)), 0, style, TPenMode::Copy};
      std::vector<QLine> lines;
      if (source.Pick(0, 1) == 0) {
        lines = source.Chain(source.Pick(1, 12));
      } else {
        for (int i = source.Pick(1, 6); i > 0; --i) lines.push_back(source.Next());
      }
      std::erase_if(lines, [](const QLine& l) { return l.p1() == l.p2(); });
      if (lines.empty()) continue;
      segments += static_cast<long>(lines.size());
      ApplyQPen(painter, pen);
      painter.drawLines(lines.data(), static_cast<int>(lines.size()));
      raster.SetPen(TQtCanvas::ToQColor(pen.Color).rgb(), style, TPenMode::Copy);
      for (const QLine& l : lines) raster.Line(l.x1(), l.y1(), l.x2(), l.y2());
      diff.Check(ours, theirs, Describe(lines));
    }
    EXPECT_EQ(diff.Pixels, 0) << "style " << static_cast<int>(style) << ": " << diff.Cases
                              << " batches differ, the first: " << diff.First;
  }
}

// XOR mode: every segment is its own drawLine call; one of no length is a single pixel.
TEST(PixelRasterVsQPainter, SingleXorSegmentsInEveryStyle) {
  for (const TPenStyle style : kStyles) {
    TSegmentSource source(91u + static_cast<unsigned>(style));
    QImage ours(kW, kH, QImage::Format_RGB32), theirs(kW, kH, QImage::Format_RGB32);
    ours.fill(0xFF336699);
    theirs.fill(0xFF336699);
    TPixelRaster raster(BufferOf(ours));
    QPainter painter(&theirs);
    TDifference diff;
    for (int i = 0; i < 100000; ++i) {
      const TPen pen{static_cast<TColor>(source.Pick(0, 0xFFFFFF)), 1, style, TPenMode::Xor};
      const QLine l = source.Next();
      ApplyQPen(painter, pen);
      painter.drawLine(l);
      raster.SetPen(TQtCanvas::ToQColor(pen.Color).rgb() & 0x00FFFFFFu, style, TPenMode::Xor);
      if (l.p1() == l.p2())
        raster.Point(l.x1(), l.y1());
      else
        raster.Line(l.x1(), l.y1(), l.x2(), l.y2());
      diff.Check(ours, theirs, Describe({l}));
    }
    EXPECT_EQ(diff.Pixels, 0) << "style " << static_cast<int>(style) << ": " << diff.Cases
                              << " segments differ, the first: " << diff.First;
  }
}

// The canvas's one-pixel path as it was before the rasteriser: copy-mode segments gathered
// into drawLines batches, XOR segments drawn one by one.
class TPainterBatches {
 public:
  TPen Pen;

  explicit TPainterBatches(QImage& image)
      : bits_(reinterpret_cast<QRgb*>(image.bits())),
        stride_(image.bytesPerLine() / 4),
        painter_(&image) {}
  ~TPainterBatches() { Flush(); }

  static QPoint Clamped(int x, int y) {
    return {std::clamp(x, -TQtCanvas::kPixelLimit, TQtCanvas::kPixelLimit),
            std::clamp(y, -TQtCanvas::kPixelLimit, TQtCanvas::kPixelLimit)};
  }
  void MoveTo(int x, int y) { at_ = Clamped(x, y); }
  void LineTo(int x, int y) {
    const QPoint to = Clamped(x, y);
    if (!pending_.empty() && !(pendingPen_ == Pen)) Flush();
    if (Pen.Mode == TPenMode::Xor) {
      ApplyQPen(painter_, Pen);
      painter_.drawLine(at_, to);
    } else if (to != at_) {
      pendingPen_ = Pen;
      pending_.emplace_back(at_, to);
      if (pending_.size() >= 8192) Flush();
    }
    at_ = to;
  }
  void SetPixel(int x, int y, TColor color) {
    if (!pending_.empty() && pendingPen_.Color != color) Flush();
    if (x >= 0 && y >= 0 && x < kW && y < kH)
      bits_[y * stride_ + x] = TQtCanvas::ToQColor(color).rgb();
  }
  void Flush() {
    if (pending_.empty()) return;
    ApplyQPen(painter_, pendingPen_);
    painter_.drawLines(pending_.data(), static_cast<int>(pending_.size()));
    pending_.clear();
  }

 private:
  QRgb* bits_;
  qsizetype stride_;
  QPainter painter_;
  std::vector<QLine> pending_;
  TPen pendingPen_;
  QPoint at_;
};

// Random canvas calls: chains and jumps, pen changes (every style, copy and XOR, the clear
// pen), pixels in the pen's colour and in others, flushes; the same calls to the canvas and
// to the batches it replaces must leave the same pixels.
TEST(PixelRasterVsQPainter, CanvasMatchesTheQPainterBatchesItReplaces) {
  TSegmentSource source(2024);
  const TColor colours[] = {RgbColor(255, 0, 0), RgbColor(0, 128, 255), RgbColor(255, 255, 255)};
  long lineTos = 0;
  int sequence = 0;
  while (lineTos < 100000) {
    QImage ours(kW, kH, QImage::Format_RGB32), theirs(kW, kH, QImage::Format_RGB32);
    ours.fill(Qt::darkGreen);
    theirs.fill(Qt::darkGreen);
    // Every fortieth sequence is one long zigzag in one pen, across the painter's batch size.
    const bool longRun = sequence % 40 == 39;
    std::ostringstream log;
    {
      TQtCanvas canvas(ours);
      TPainterBatches batches(theirs);
      const int ops = longRun ? 20000 : 300;
      for (int i = 0; i < ops; ++i) {
        const int op = longRun ? 0 : source.Pick(0, 99);
        if (op < 70) {
          const QPoint to = source.Pick(0, 2) == 0
                                ? source.Next().p2()
                                : QPoint(source.Pick(-3, kW + 3), source.Pick(-3, kH + 3));
          const QPoint p =
              source.Pick(0, 30) == 0 ? QPoint(to.x() * 4000, to.y()) : to;  // beyond the clamp
          canvas.LineTo(p.x(), p.y());
          batches.LineTo(p.x(), p.y());
          ++lineTos;
          log << "L" << p.x() << "," << p.y() << " ";
        } else if (op < 78) {
          const QPoint to(source.Pick(-5, kW + 5), source.Pick(-5, kH + 5));
          canvas.MoveTo(to.x(), to.y());
          batches.MoveTo(to.x(), to.y());
          log << "M" << to.x() << "," << to.y() << " ";
        } else if (op < 90) {
          const TPenStyle style =
              source.Pick(0, 8) == 0 ? TPenStyle::Clear : kStyles[source.Pick(0, 4)];
          const TPen pen{colours[source.Pick(0, 2)],
                         source.Pick(0, 20) == 0 ? 2 : source.Pick(0, 1), style,
                         source.Pick(0, 3) == 0 ? TPenMode::Xor : TPenMode::Copy};
          canvas.Pen = pen;
          batches.Pen = pen;
          log << "P" << pen.Color << "/" << pen.Width << "/" << static_cast<int>(pen.Style) << "/"
              << static_cast<int>(pen.Mode) << " ";
        } else if (op < 98) {
          const TColor c = source.Pick(0, 1) == 0 ? canvas.Pen.Color : colours[source.Pick(0, 2)];
          const int x = source.Pick(-2, kW + 1), y = source.Pick(-2, kH + 1);
          canvas.SetPixel(x, y, c);
          batches.SetPixel(x, y, c);
          log << "S" << x << "," << y << "," << c << " ";
        } else {
          canvas.Flush();
          batches.Flush();
          log << "F ";
        }
      }
    }
    ASSERT_EQ(ours, theirs) << "sequence " << sequence << ": "
                            << (longRun ? std::string("long run") : log.str());
    ++sequence;
  }
}

// A segment turning back takes one more pixel only within the run it shares with the segment
// before it: runs end where QPainter's batches ended (8192 segments, another pen, a pixel in
// another colour, Flush).
TEST(PixelRasterVsQPainter, RunsEndWhereThePainterBatchesEnded) {
  const TPen thin{RgbColor(0, 0, 255), 0, TPenStyle::Solid, TPenMode::Copy};
  const TPen wide{RgbColor(255, 0, 0), 3, TPenStyle::Solid, TPenMode::Copy};
  for (int before : {8190, 8191, 8192, 8193, 16383, 16384}) {
    for (int between = 0; between < 6; ++between) {
      QImage ours(kW, kH, QImage::Format_RGB32), theirs(kW, kH, QImage::Format_RGB32);
      ours.fill(Qt::white);
      theirs.fill(Qt::white);
      {
        TQtCanvas canvas(ours);
        TPainterBatches batches(theirs);
        auto both = [&](auto&& call) {
          call(canvas);
          call(batches);
        };
        both([](auto& c) {
          c.Pen = TPen{RgbColor(0, 0, 255), 0, TPenStyle::Solid, TPenMode::Copy};
        });
        for (int i = 0; i < before - 1; ++i)  // outside the image: counted, not drawn
          both([](auto& c) {
            c.MoveTo(-100, -100);
            c.LineTo(-99, -100);
          });
        both([](auto& c) {
          c.MoveTo(10, 5);
          c.LineTo(30, 5);
        });  // left to right
        switch (between) {
          case 1: both([](auto& c) { c.SetPixel(50, 40, RgbColor(0, 255, 0)); }); break;
          case 2:
            both([&](auto& c) {
              c.Pen = wide;
              c.MoveTo(50, 40);
              c.LineTo(55, 40);
              c.Pen = thin;
            });
            break;
          case 3: both([](auto& c) { c.Flush(); }); break;
          case 4:
            both([](auto& c) { c.SetPixel(50, 40, RgbColor(0, 0, 255)); });
            break;   // the pen's colour
          case 5: {  // a wide XOR segment is drawn at once, not gathered
            TPen wideXor = wide;
            wideXor.Mode = TPenMode::Xor;
            both([&](auto& c) {
              c.Pen = wideXor;
              c.MoveTo(50, 40);
              c.LineTo(55, 40);
              c.Pen = thin;
            });
            break;
          }
          default: break;
        }
        both([](auto& c) {
          c.MoveTo(30, 10);
          c.LineTo(10, 10);
        });  // turning back
      }
      ASSERT_EQ(ours, theirs) << before << " segments before, case " << between;
    }
  }
}

// An image wider than the rasteriser's fixed point reaches is drawn by QPainter alone.
TEST(PixelRasterVsQPainter, ImagesBeyondTheRasterisersReachUseQPainter) {
  constexpr int w = TPixelRaster::kMaxSide + 700, h = 3;
  QImage ours(w, h, QImage::Format_RGB32), theirs(w, h, QImage::Format_RGB32);
  ours.fill(Qt::white);
  theirs.fill(Qt::white);
  {
    TQtCanvas canvas(ours);
    TPainterBatches batches(theirs);
    auto draw = [](auto& d) {
      d.Pen = TPen{RgbColor(0, 0, 255), 0, TPenStyle::Dot, TPenMode::Copy};
      d.MoveTo(w - 1, 0);
      d.LineTo(w - 3, 2);
      d.MoveTo(0, 1);
      d.LineTo(w + 5, 1);
    };
    draw(canvas);
    draw(batches);
  }
  EXPECT_EQ(ours, theirs);
}

// Whole previews of a generated drawing (lines, circles, arcs and points in every colour and
// line type, some with group scales that make figures smaller than a pixel), drawn with the
// rasteriser and with QPainter's batches, at fit-all, zoomed in and zoomed in off-centre.
TEST(PixelRasterVsQPainter, PreviewsOfAGeneratedDrawingAreIdentical) {
  GraAttr = std::make_unique<TgraAttribute>();
  TJwcReader reader;
  std::mt19937 rng(77);
  auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  reader.ParseLine("hs 100 100 50 50 1 1 1 1 1 1 1 1 1 1 1 1");
  char line[200];
  for (int i = 0; i < 20000; ++i) {
    if (i % 50 == 0) {
      reader.ParseLine(("lg" + std::to_string(pick(0, 5))).c_str());
      reader.ParseLine(("lc" + std::to_string(pick(1, 9))).c_str());
      const int type = pick(0, 3) == 0 ? pick(47, 62) : pick(1, 9);
      reader.ParseLine(("lt" + std::to_string(type)).c_str());
    }
    const double x = uniform(0, 2000), y = uniform(0, 1200);
    const int kind = pick(0, 9);
    if (kind < 6)
      std::snprintf(line, sizeof line, "%.6f %.6f %.6f %.6f", x, y, x + uniform(-150, 150),
                    y + uniform(-150, 150));
    else if (kind < 8)
      std::snprintf(line, sizeof line, "ci %.6f %.6f %.6f", x, y, uniform(0.5, 120));
    else if (kind < 9)
      std::snprintf(line, sizeof line, "ci %.6f %.6f %.6f %d %d %.2f %d", x, y, uniform(0.5, 120),
                    pick(0, 359), pick(360, 700), uniform(0.3, 1.0), pick(0, 89));
    else
      std::snprintf(line, sizeof line, "pt %.6f %.6f", x, y);
    reader.ParseLine(line);
  }
  const TDrawing& drawing = reader.Drawing();
  constexpr int w = 480, h = 320;
  TView fit;
  FitViewToDrawing(fit, ComputeExtents(drawing), w, h);
  TView zoomed = fit, offCentre = fit;
  zoomed.ViewScale *= 8.0;
  CentreViewOn(zoomed, 1000.0, 600.0);
  offCentre.ViewScale *= 40.0;
  CentreViewOn(offCentre, 333.3, 987.6);
  int n = 0;
  for (const TView& view : {fit, zoomed, offCentre}) {
    QImage ours(w, h, QImage::Format_RGB32), theirs(w, h, QImage::Format_RGB32);
    {
      TQtCanvas c(ours);
      DrawPreview(c, view, drawing, w, h);
    }
    {
      TQtCanvas c(theirs);
      c.SetOnePixelPensThroughQPainter(true);
      DrawPreview(c, view, drawing, w, h);
    }
    long differ = 0, painted = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        differ += ours.pixel(x, y) != theirs.pixel(x, y);
        painted += theirs.pixel(x, y) != 0xFFFFFFFFu;
      }
    EXPECT_EQ(differ, 0) << "view " << n;
    EXPECT_GT(painted, w * h / 50) << "view " << n;  // the drawing is there
    ++n;
  }
}

}  // namespace
}  // namespace sxf
