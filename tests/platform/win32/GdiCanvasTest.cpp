// The GDI canvas keeps the surface's conventions on a DIB section, pixel for pixel.

#include <gtest/gtest.h>

#include "platform/win32/WindowsApi.h"

#include <array>
#include <cstdint>

#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/ShiftJis.h"

namespace sxf {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kRed = 0x0000FF;              // 0x00BBGGRR
constexpr std::uint32_t kRedPixel = 0xFF0000;  // 0x00RRGGBB in the DIB

struct TFixture {
  TDibSurface surface{20, 20};
  TGdiCanvas canvas{surface.Dc()};
  TFixture() {
    canvas.Pen = TPen{kWhite, 1};
    canvas.Brush = TBrush{kWhite, TBrushStyle::Solid};
    canvas.Rectangle(0, 0, 21, 21);
  }
  std::uint32_t At(int x, int y) const { return surface.Pixels()[y * 20 + x] & 0xFFFFFF; }
  int Count(std::uint32_t colour) const {
    int n = 0;
    for (int i = 0; i < 400; ++i) n += (surface.Pixels()[i] & 0xFFFFFF) == colour;
    return n;
  }
};

TEST(GdiCanvas, LineToLeavesOutItsEndPixel) {
  TFixture f;
  f.canvas.Pen = TPen{kRed, 0};
  f.canvas.MoveTo(2, 5);
  f.canvas.LineTo(9, 5);
  EXPECT_EQ(f.At(2, 5), kRedPixel);
  EXPECT_EQ(f.At(8, 5), kRedPixel);
  EXPECT_EQ(f.At(9, 5), 0xFFFFFFu);
  EXPECT_EQ(f.Count(kRedPixel), 7);
}

TEST(GdiCanvas, RectangleLeavesOutRightColumnAndBottomRow) {
  // With a pen the outline covers x1..x2-1; without one the fill loses one more.
  struct TCase {
    TPenStyle pen;
    int filled;
  };
  for (const TCase c : {TCase{TPenStyle::Solid, 5 * 4}, TCase{TPenStyle::Clear, 4 * 3}}) {
    TFixture f;
    f.canvas.Pen = TPen{kRed, 1, c.pen};
    f.canvas.Brush = TBrush{kRed, TBrushStyle::Solid};
    f.canvas.Rectangle(3, 3, 8, 7);
    EXPECT_EQ(f.Count(kRedPixel), c.filled) << static_cast<int>(c.pen);
    EXPECT_EQ(f.At(3, 3), kRedPixel);
  }
}

TEST(GdiCanvas, XorTwiceRestoresTheSurface) {
  TFixture f;
  f.canvas.Pen = TPen{kRed, 1, TPenStyle::Solid, TPenMode::Xor};
  f.canvas.Brush.Style = TBrushStyle::Clear;
  f.canvas.Rectangle(2, 2, 12, 12);
  EXPECT_EQ(f.At(2, 2), 0xFFFFFFu ^ kRedPixel);
  f.canvas.Rectangle(2, 2, 12, 12);
  EXPECT_EQ(f.Count(0xFFFFFF), 400);
}

TEST(GdiCanvas, SetPixelIgnoresThePenModeAndClipsToTheSurface) {
  TFixture f;
  f.canvas.Pen.Mode = TPenMode::Xor;
  f.canvas.MoveTo(0, 19);
  f.canvas.LineTo(1, 19);  // the XOR pen is in force: white on white leaves black
  f.canvas.SetPixel(4, 4, kRed);
  f.canvas.SetPixel(-5, 40, kRed);
  f.canvas.SetPixel(1 << 30, -(1 << 30), kRed);
  EXPECT_EQ(f.At(4, 4), kRedPixel);
  EXPECT_EQ(f.Count(kRedPixel), 1);
}

TEST(GdiCanvas, PolygonFillsOddEven) {
  // A pentagram drawn as one polygon: the inner pentagon stays unfilled under odd-even.
  TDibSurface surface(100, 100);
  TGdiCanvas canvas(surface.Dc());
  canvas.Pen = TPen{kWhite, 1};
  canvas.Brush = TBrush{kWhite, TBrushStyle::Solid};
  canvas.Rectangle(0, 0, 101, 101);
  canvas.Pen = TPen{kRed, 1, TPenStyle::Clear};
  canvas.Brush = TBrush{kRed, TBrushStyle::Solid};
  const std::array<TPixelPoint, 5> star{{{50, 2}, {79, 95}, {3, 37}, {97, 37}, {21, 95}}};
  canvas.Polygon(star);
  EXPECT_EQ(surface.Pixels()[50 * 100 + 50] & 0xFFFFFF, 0xFFFFFFu);  // centre: inside twice
  EXPECT_EQ(surface.Pixels()[20 * 100 + 50] & 0xFFFFFF, kRedPixel);  // upper point
}

TEST(GdiCanvas, HatchesRunAsThePlatformNamesThemOnATransparentBackground) {
  // Forward diagonal runs down to the right (y down), backward diagonal up to the
  // right; the gaps keep what was under them.
  struct TCase {
    TBrushStyle style;
    int dx, dy;
  };
  for (const TCase c : {TCase{TBrushStyle::FDiagonal, 1, 1}, TCase{TBrushStyle::BDiagonal, 1, -1},
                        TCase{TBrushStyle::Horizontal, 1, 0}, TCase{TBrushStyle::Vertical, 0, 1}}) {
    TFixture f;
    f.canvas.Pen.Style = TPenStyle::Clear;
    f.canvas.Brush = TBrush{kRed, c.style};
    f.canvas.Rectangle(0, 0, 21, 21);
    int x = 10, y = 10;
    while (f.At(x, y) != kRedPixel) ++x;  // onto a hatch line
    for (int i = 0; i < 4; ++i, x += c.dx, y += c.dy)
      EXPECT_EQ(f.At(x, y), kRedPixel) << static_cast<int>(c.style) << " at " << x << "," << y;
    EXPECT_GT(f.Count(0xFFFFFF), 200) << static_cast<int>(c.style);
  }
}

TEST(GdiCanvas, FarCoordinatesAreClampedNotWrapped) {
  TFixture f;
  f.canvas.Pen = TPen{kRed, 1};
  f.canvas.MoveTo(-2000000000, 10);
  f.canvas.LineTo(2000000000, 10);
  EXPECT_EQ(f.At(0, 10), kRedPixel);
  EXPECT_EQ(f.At(19, 10), kRedPixel);
}

TEST(GdiCanvas, TextWritesInsideItsCellInTheFontColour) {
  // The wide calls after code page 932 everywhere; the A calls with the bytes as they are
  // where the ANSI code page is 932 (Wine under a Japanese locale).
  for (const bool wide : {false, true}) {
    if (!wide && !AnsiCodePageIsShiftJis()) continue;
    TDibSurface surface(64, 40);
    TGdiCanvas canvas(surface.Dc());
    canvas.UseWideText(wide);
    canvas.Pen = TPen{kWhite, 1};
    canvas.Brush = TBrush{kWhite, TBrushStyle::Solid};
    canvas.Rectangle(0, 0, 65, 41);
    canvas.Brush.Style = TBrushStyle::Clear;
    TLogFont font;
    font.Height = 16;
    font.Width = 8;
    font.CharSet = 1;
    font.FaceName = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
    canvas.SetFont(font);
    canvas.FontColor = kRed;
    canvas.TextOut(10, 10, "\x8a\xbf");  // 漢: one two-byte character
    int inside = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 64; ++x) {
        if ((surface.Pixels()[y * 64 + x] & 0xFFFFFF) == 0xFFFFFF) continue;
        (x >= 10 && x < 26 && y >= 10 && y < 26 ? inside : outside)++;
      }
    EXPECT_GT(inside, 10) << "wide " << wide;
    EXPECT_EQ(outside, 0) << "wide " << wide;
  }
}

}  // namespace
}  // namespace sxf
