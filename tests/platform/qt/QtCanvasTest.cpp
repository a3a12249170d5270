#include "platform/qt/QtCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "preview/Preview.h"
#include "search/Extents.h"
#include "graphics/Primitives.h"
#include "model/JwwGaibu2.h"
#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage WhiteImage(int w = 20, int h = 20) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

int CountNonWhite(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != kWhite;
  return n;
}

TEST(QtCanvas, ZeroLengthSegmentPaintsOnePixel) {
  GraAttr = std::make_unique<TgraAttribute>();
  const TView view = test::MakeView(0, 0, 1, 20, 20);
  QImage image = WhiteImage();
  {
    TQtCanvas c(image);
    SetEntityPen(c, 2, 1);
    DrawWorldSegment(c, view, 5, 5, 5, 5);
  }
  EXPECT_EQ(CountNonWhite(image), 1);
  EXPECT_EQ(image.pixel(5, 15), kBlack);
}

TEST(QtCanvas, LineToLeavesItsEndPixel) {
  QImage image = WhiteImage();
  {
    TQtCanvas c(image);
    c.Pen = TPen{0, 0, TPenStyle::Solid, TPenMode::Copy};
    c.MoveTo(2, 5);
    c.LineTo(10, 5);
    c.MoveTo(3, 2);
    c.LineTo(3, 12);
  }
  EXPECT_EQ(image.pixel(2, 5), kBlack);
  EXPECT_EQ(image.pixel(9, 5), kBlack);
  EXPECT_EQ(image.pixel(10, 5), kWhite);
  EXPECT_EQ(image.pixel(3, 11), kBlack);
  EXPECT_EQ(image.pixel(3, 12), kWhite);
  EXPECT_EQ(CountNonWhite(image), 8 + 10 - 1);
  // DrawPixelLine adds the end pixel.
  {
    TQtCanvas c(image);
    c.Pen = TPen{0, 0, TPenStyle::Solid, TPenMode::Copy};
    DrawPixelLine(c, 2, 5, 10, 5);
  }
  EXPECT_EQ(image.pixel(10, 5), kBlack);
}

TEST(QtCanvas, XorDrawnTwiceRestoresThePicture) {
  QImage image = WhiteImage(40, 40);
  {
    TQtCanvas c(image);
    c.Pen = TPen{RgbColor(0, 0, 255), 0, TPenStyle::Solid, TPenMode::Copy};
    c.MoveTo(0, 0);
    c.LineTo(39, 39);
  }
  const QImage before = image.copy();
  {
    TQtCanvas c(image);
    SetPlainPen(c, RgbColor(255, 255, 255), 0, 0);
    SetXorPen(c);
    for (int pass = 0; pass < 2; ++pass) {
      c.MoveTo(5, 5);
      c.LineTo(30, 5);
      c.LineTo(30, 30);
      c.Rectangle(8, 8, 25, 25);
      if (pass == 0) {
        c.Flush();
        EXPECT_NE(image, before);
      }
    }
  }
  EXPECT_EQ(image, before);
}

TEST(QtCanvas, RectangleLeavesTheRightColumnAndBottomRow) {
  QImage image = WhiteImage();
  {
    TQtCanvas c(image);
    c.Pen = TPen{0, 1, TPenStyle::Solid, TPenMode::Copy};
    c.Brush = TBrush{RgbColor(255, 0, 0), TBrushStyle::Solid};
    c.Rectangle(2, 3, 8, 10);
  }
  EXPECT_EQ(image.pixel(2, 3), kBlack);
  EXPECT_EQ(image.pixel(7, 9), kBlack);
  EXPECT_EQ(image.pixel(8, 5), kWhite);
  EXPECT_EQ(image.pixel(5, 10), kWhite);
  EXPECT_EQ(image.pixel(4, 5), 0xFFFF0000);  // filled inside
  EXPECT_EQ(CountNonWhite(image), 6 * 7);
  // ClearCanvas covers every pixel of the surface.
  GraAttr = std::make_unique<TgraAttribute>();
  QImage grey(10, 10, QImage::Format_RGB32);
  grey.fill(Qt::gray);
  {
    TQtCanvas c(grey);
    ClearCanvas(c, 10, 10);
  }
  EXPECT_EQ(CountNonWhite(grey), 0);
}

TEST(QtCanvas, PolygonsFillOddEvenAndFarCoordinatesAreSafe) {
  QImage image = WhiteImage(30, 30);
  {
    TQtCanvas c(image);
    c.Pen = TPen{0, 0, TPenStyle::Clear, TPenMode::Copy};
    c.Brush = TBrush{0, TBrushStyle::Solid};
    // A pentagram: its centre is covered twice and stays empty under the odd-even rule.
    const TPixelPoint star[] = {{15, 1}, {24, 28}, {1, 10}, {29, 10}, {6, 28}};
    c.Polygon(star);
  }
  EXPECT_EQ(image.pixel(15, 15), kWhite);
  EXPECT_EQ(image.pixel(15, 5), kBlack);
  QImage far = WhiteImage();
  {
    TQtCanvas c(far);
    c.Pen = TPen{0, 0, TPenStyle::Solid, TPenMode::Copy};
    c.MoveTo(-2000000000, 10);
    c.LineTo(2000000000, 10);
    c.SetPixel(-5, 3, 0);
    c.SetPixel(1 << 30, 3, 0);
    c.Brush.Style = TBrushStyle::Clear;
    const TPixelPoint huge[] = {{-2147483647, -2147483647}, {2147483647, 0}, {0, 2147483647}};
    c.Polygon(huge);
  }
  EXPECT_EQ(far.pixel(10, 10), kBlack);
}

TEST(QtCanvas, DottedPensLeaveGaps) {
  QImage image = WhiteImage(40, 5);
  {
    TQtCanvas c(image);
    c.Pen = TPen{0, 0, TPenStyle::Dot, TPenMode::Copy};
    c.MoveTo(0, 2);
    c.LineTo(39, 2);
  }
  const int painted = CountNonWhite(image);
  EXPECT_GT(painted, 5);
  EXPECT_LT(painted, 30);
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

// Hostile numbers reach QPainter only as clamped pixels: nothing may crash or hang.
TEST(QtCanvas, ExtremeDrawingsPaintSafely) {
  GraAttr = std::make_unique<TgraAttribute>();
  TJwcReader reader;
  for (const char* line :
       {"0 0 1e308 -1e308", "ci 1e300 0 1e300", "ci 0 0 1e20 0 90 1e10 45", "lc10 255",
        "sl -1e300 0 1e300 0 0 1e300 5 5", "sc 0 0 1e200 1 0 0 3 2", "sg 0 0 1e9 5 0 0 6.3 0",
        "pt 1e19 1e19 1e30 0 1", "lc3", "sl 0 0 1e9 0 1e9 1e9 0 1e9", "0 0 10 10"})
    reader.ParseLine(line);
  const TDrawing& drawing = reader.Drawing();
  TView view;
  for (const auto& [w, h] : {std::pair{200, 150}, std::pair{1, 1}}) {
    QImage image(w, h, QImage::Format_RGB32);
    FitViewToDrawing(view, ComputeExtents(drawing), w, h);
    {
      TQtCanvas c(image);
      EXPECT_TRUE(DrawPreview(c, view, drawing, w, h));
    }
    test::SetView(view, -1e6, -1e6, 1e-4, w, h);  // and zoomed out far
    {
      TQtCanvas c(image);
      DrawPreview(c, view, drawing, w, h);
    }
    EXPECT_EQ(image.size(), QSize(w, h));
  }
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

// The canvas's own ways of writing pixels must give exactly what QPainter draws.

TEST(QtCanvas, DirectBoxesMatchQPainter) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> pos(-8, 40), size(-3, 20);
  for (int k = 0; k < 500; ++k) {
    const int x = pos(rng), y = pos(rng), w = size(rng), h = size(rng);
    const TPen pen{k % 3 == 0 ? RgbColor(255, 255, 255) : RgbColor(0, 0, 255), 1};
    const TBrush brush{RgbColor(255, 255, 255), TBrushStyle::Solid};
    QImage ours = WhiteImage(32, 32), theirs = WhiteImage(32, 32);
    ours.fill(Qt::darkGreen);
    theirs.fill(Qt::darkGreen);
    {
      TQtCanvas c(ours);
      c.Pen = pen;
      c.Brush = brush;
      c.Rectangle(x, y, x + w, y + h);
    }
    {
      QPainter p(&theirs);
      p.setPen(TQtCanvas::ToQPen(pen));
      p.setBrush(QBrush(TQtCanvas::ToQColor(brush.Color)));
      const QRect r = QRect(QPoint(std::min(x, x + w), std::min(y, y + h)),
                            QPoint(std::max(x, x + w), std::max(y, y + h)));
      if (r.width() > 1 && r.height() > 1) p.drawRect(r.adjusted(0, 0, -2, -2));
    }
    for (int py = 0; py < 32 && ours != theirs; ++py)
      for (int px = 0; px < 32; ++px)
        if (ours.pixel(px, py) != theirs.pixel(px, py))
          ADD_FAILURE() << px << "," << py << ": " << std::hex << ours.pixel(px, py) << " vs "
                        << theirs.pixel(px, py) << std::dec;
    ASSERT_EQ(ours, theirs) << x << "," << y << " " << w << "x" << h;
  }
}

TEST(QtCanvas, WidePenChainsMatchQPainter) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> pos(-10, 70), step(-12, 12), count(1, 80), width(2, 5);
  for (int k = 0; k < 300; ++k) {
    const TPen pen{RgbColor(200, 0, 0), width(rng)};
    std::vector<QLine> lines;
    QPoint at(pos(rng), pos(rng));
    const int n = count(rng);
    for (int i = 0; i < n; ++i) {
      const QPoint to = at + QPoint(step(rng), step(rng));
      if (to != at) lines.emplace_back(at, to);
      at = to;
    }
    // Drawn twice, so that the second time comes from the kept shape.
    for (int pass = 0; pass < 2; ++pass) {
      QImage ours = WhiteImage(64, 64), theirs = WhiteImage(64, 64);
      {
        TQtCanvas c(ours);
        c.Pen = pen;
        if (!lines.empty()) c.MoveTo(lines[0].x1(), lines[0].y1());
        for (const QLine& l : lines) c.LineTo(l.x2(), l.y2());
      }
      {
        QPainter p(&theirs);
        p.setPen(TQtCanvas::ToQPen(pen));
        p.drawLines(lines.data(), static_cast<int>(lines.size()));
      }
      ASSERT_EQ(ours, theirs) << "chain " << k << " pass " << pass;
    }
  }
}

// Small solids from the kept shapes: the same pixels as QPainter's polygon, at positions a
// shape recurs at and near the edges, where it is left to QPainter.
TEST(QtCanvas, SmallPolygonsMatchQPainter) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> pos(-4, 68), step(-9, 9), count(3, 146), shape(0, 29);
  const int madeBefore = BandDrawingCaches(0).Polygons.SpritesMade();
  std::vector<std::vector<TPixelPoint>> shapes(30);
  for (auto& points : shapes) {
    TPixelPoint at{};
    points.resize(static_cast<std::size_t>(count(rng)));
    for (auto& p : points) p = at = {at.X + step(rng) / 3, at.Y + step(rng) / 3};
  }
  for (int k = 0; k < 600; ++k) {
    const TPixelPoint shift{pos(rng), pos(rng)};
    std::vector<TPixelPoint> points = shapes[static_cast<std::size_t>(shape(rng))];
    for (auto& p : points) p = {p.X + shift.X, p.Y + shift.Y};
    const TColor colour = RgbColor(0, 128, static_cast<int>(k % 256));
    QImage ours = WhiteImage(64, 64), theirs = WhiteImage(64, 64);
    for (QImage* image : {&ours, &theirs}) {
      TQtCanvas c(*image);
      c.PolygonSpritesOn = image == &ours;
      c.Pen = {colour, k % 2};
      c.Brush = {colour, TBrushStyle::Solid};
      c.Polygon(points);
    }
    ASSERT_EQ(ours, theirs) << "polygon " << k;
  }
  const int made = BandDrawingCaches(0).Polygons.SpritesMade() - madeBefore;
  EXPECT_GT(made, 0);
  EXPECT_LE(made, 30);
}

}  // namespace
}  // namespace sxf
