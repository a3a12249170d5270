// The core's one-pixel rasteriser against QPainter's aliased cosmetic pen, and the canvas's
// one-pixel path against the QPainter batches it replaces: pixel for pixel, on random
// segments of every style, direction and length, inside, across and outside the image.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstring>
#include <random>
#include <sstream>
#include <vector>

#include "graphics/PixelRaster.h"
#include "platform/qt/QtCanvas.h"

namespace sxf {
namespace {

constexpr TPenStyle kStyles[] = {TPenStyle::Solid, TPenStyle::Dash, TPenStyle::Dot, TPenStyle::DashDot,
                                 TPenStyle::DashDotDot};
constexpr int kW = 61, kH = 47;  // odd sizes, so that no symmetry hides a fault

QPen CosmeticQPen(const TPen& p) {
  QPen pen(TQtCanvas::ToQColor(p.Color));
  switch (p.Style) {
    case TPenStyle::Dash: pen.setStyle(Qt::DashLine); break;
    case TPenStyle::Dot: pen.setStyle(Qt::DotLine); break;
    case TPenStyle::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case TPenStyle::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case TPenStyle::Clear: pen.setStyle(Qt::NoPen); break;
    case TPenStyle::Solid: break;
  }
  pen.setWidth(0);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

void ApplyQPen(QPainter& p, const TPen& pen) {
  p.setPen(CosmeticQPen(pen));
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
    if (std::memcmp(ours.constBits(), theirs.constBits(), static_cast<std::size_t>(theirs.sizeInBytes())) == 0)
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
  for (const QLine& l : lines) s << "(" << l.x1() << "," << l.y1() << ")-(" << l.x2() << "," << l.y2() << ") ";
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

}  // namespace
}  // namespace sxf
