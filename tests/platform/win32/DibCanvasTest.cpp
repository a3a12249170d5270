// The DIB canvas writes what the GDI canvas writes, pixel for pixel: random segments of every
// pen style and mode on opaque and transparent backgrounds, mixed with the operations GDI
// still draws, and random characters through the text sprites.

#include <gtest/gtest.h>

#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/DibCanvas.h"
#include "platform/win32/DibSurface.h"
#include "platform/win32/DrawingCaches.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/ShiftJis.h"
#include "DrawingGenerator.h"
#include "DrawingTiler.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "preview/Preview.h"
#include "render/Bands.h"
#include "search/Extents.h"
#include "support/GdiLineTable.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

// The same picture drawn by both canvases, each on its own surface, and by band canvases on
// a third: the first and last of three bands, the middle one left as it was.
struct TPair {
  int kW, kH;
  TDibSurface plainSurface{kW, kH}, fastSurface{kW, kH}, bandSurface{kW, kH};
  TGdiCanvas plain{plainSurface.Dc()};
  TDibCanvas fast{fastSurface};
  std::vector<TBand> bands{{0, kH * 3 / 8}, {kH * 3 / 8, kH * 5 / 8}, {kH * 5 / 8, kH}};
  std::vector<std::unique_ptr<TDibCanvas>> banded = MakeBandCanvases(bandSurface, bands);
  std::vector<std::uint32_t> background;

  TPair(std::mt19937& rng, int width, int height) : kW(width), kH(height) {
    // A background of a few colours in blocks, so that XOR and the one-colour test of the
    // sprites meet both kinds of pixel.
    const std::uint32_t colours[] = {0xFFFFFF, 0xFFFFFF, 0x000000, 0x3366CC};
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const std::uint32_t v = colours[((x / 32) * 7 + (y / 24) * 3 + (rng() % 512 == 0)) % 4];
        plainSurface.Bits()[y * kW + x] = fastSurface.Bits()[y * kW + x] =
            bandSurface.Bits()[y * kW + x] = v;
      }
    background.assign(bandSurface.Bits(), bandSurface.Bits() + kW * kH);
  }
  template <typename F>
  void Both(F&& f) {
    f(static_cast<TCanvas&>(plain));
    f(static_cast<TCanvas&>(fast));
    for (std::size_t k = 0; k < banded.size(); k += 2) f(static_cast<TCanvas&>(*banded[k]));
  }
  void UseWideText(bool wide) {
    plain.UseWideText(wide);
    fast.UseWideText(wide);
    for (auto& c : banded) c->UseWideText(wide);
  }
  // The first pixel of the band surface that differs from GDI's in the bands drawn, or from
  // the background in the band left alone; or an empty string.
  std::string BandDifference() const {
    if (banded.size() != bands.size()) return "no band canvases";
    const std::uint32_t* a = plainSurface.Pixels();
    const std::uint32_t* b = bandSurface.Pixels();
    for (int i = 0; i < kW * kH; ++i) {
      const int y = i / kW;
      const std::uint32_t want = y >= bands[1].Top && y < bands[1].Bottom ? background[i] : a[i];
      if (b[i] != want) {
        std::ostringstream first;
        first << "band picture at " << i % kW << "," << y << " want " << std::hex << want << " got "
              << b[i];
        return first.str();
      }
    }
    return {};
  }
  // The first differing pixel, or an empty string.
  std::string Difference() const {
    const std::uint32_t* a = plainSurface.Pixels();
    const std::uint32_t* b = fastSurface.Pixels();
    int count = 0;
    std::ostringstream first;
    for (int i = 0; i < kW * kH; ++i)
      if (a[i] != b[i] && count++ == 0)
        first << "at " << i % kW << "," << i / kW << " GDI " << std::hex << a[i] << " fast " << b[i]
              << std::dec;
    if (count == 0) return {};
    first << " (" << count << " pixels differ)";
    return first.str();
  }
};

int Coordinate(std::mt19937& rng, int size) {
  switch (rng() % 16) {
    case 0: return static_cast<int>(rng() % 8000000) - 4000000;  // far out: clamped
    case 1: return static_cast<int>(rng() % 4000) - 2000;
    default: return static_cast<int>(rng() % static_cast<unsigned>(size + 40)) - 20;
  }
}

TEST(DibCanvas, RandomSegmentsMatchGdiForEveryStyleModeAndBackground) {
  constexpr int kW = 64, kH = 48;
  std::mt19937 rng(20261207);
  const TPenStyle styles[] = {TPenStyle::Solid,   TPenStyle::Dash,       TPenStyle::Dot,
                              TPenStyle::DashDot, TPenStyle::DashDotDot, TPenStyle::Clear};
  for (const TPenStyle style : styles)
    for (const TPenMode mode : {TPenMode::Copy, TPenMode::Xor})
      for (const TBrushStyle brush : {TBrushStyle::Solid, TBrushStyle::Clear})
        for (int round = 0; round < 4; ++round) {
          TPair pair(rng, kW, kH);
          std::ostringstream log;
          for (int op = 0; op < 120; ++op) {
            const TPen pen{static_cast<TColor>(rng() & 0xFFFFFF), static_cast<int>(rng() % 2),
                           style, mode};
            const TBrush fill{static_cast<TColor>(rng() & 0xFFFFFF), brush};
            const int x1 = Coordinate(rng, kW), y1 = Coordinate(rng, kH);
            const int x2 = Coordinate(rng, kW), y2 = Coordinate(rng, kH);
            const unsigned kind = rng() % 27;
            log << kind << ":" << x1 << "," << y1 << "," << x2 << "," << y2 << " ";
            pair.Both([&](TCanvas& c) {
              c.Pen = pen;
              c.Brush = fill;
              if (kind < 8) {
                c.MoveTo(x1, y1);
                c.LineTo(x2, y2);
              } else if (kind < 12) {
                c.LineTo(x2, y2);  // on from where the last one ended
              } else if (kind < 15) {
                c.PixelLine(x1, y1, x2, y2);
              } else if (kind < 16) {
                const std::vector<TPixelPoint> points{
                    {x1, y1}, {x2, y2}, {x2, y1}, {x2, y1}, {x1, y2}};
                c.PixelLines(points);
              } else if (kind < 17) {
                c.SetPixel(x1, y1, pen.Color);
              } else if (kind < 18) {
                c.Brush.Style = TBrushStyle::Clear;
                c.Rectangle(x1 % kW, y1 % kH, x2 % kW, y2 % kH);
              } else if (kind < 20) {
                c.Rectangle(x1 % (kW + 8), y1 % (kH + 8), x2 % (kW + 8), y2 % (kH + 8));
              } else if (kind < 22) {
                // A wide ring of one shape at many places, as the marks draw theirs.
                c.Pen.Width = 2 + op % 5;
                const int cx = x1 % kW, cy = y1 % kH;
                const std::vector<TPixelPoint> ring{
                    {cx, cy},         {cx + 3, cy + 1}, {cx + 5, cy + 4}, {cx + 5, cy + 4},
                    {cx + 1, cy + 9}, {cx - 3, cy + 5}, {cx, cy}};
                c.PixelLines(ring);
              } else if (kind < 24) {
                c.Pen.Width = 2 + op % 5;
                c.MoveTo(x1 % kW, y1 % kH);
                c.LineTo(x1 % kW + x2 % 13, y1 % kH + y2 % 13);
              } else {
                // Small solids, as a zoomed-out view draws them by the thousand: a few shapes
                // at many places, some crossing themselves, filled in the pen's colour or not.
                if (kind < 26) c.Brush = TBrush{pen.Color, TBrushStyle::Solid};
                const int cx = x1 % kW, cy = y1 % kH, s = 1 + op % 4;
                const std::vector<TPixelPoint> shape{{cx, cy},
                                                     {cx + 3 * s, cy + s},
                                                     {cx + s, cy + (kind == 24 ? 4 : -2) * s},
                                                     {cx - 2 * s, cy + 3 * s}};
                c.Polygon(shape);
              }
            });
          }
          const std::string diff = pair.Difference();
          EXPECT_EQ(diff, "") << "style " << static_cast<int>(style) << " mode "
                              << static_cast<int>(mode) << " brush " << static_cast<int>(brush)
                              << " ops " << log.str();
          EXPECT_EQ(pair.BandDifference(), "")
              << "style " << static_cast<int>(style) << " mode " << static_cast<int>(mode)
              << " brush " << static_cast<int>(brush);
        }
}

// The kept table of GDI's line pixels (tests/data/gdi-lines.txt), which the core's rasteriser
// is held to everywhere, is what GDI draws. SXF_WRITE_GDI_TABLE=FILE writes it afresh.
TEST(GdiCanvas, TheKeptLineTableIsWhatGdiDraws) {
  using namespace test;
  std::vector<TGdiLineCase> drawn = GdiLineCases();
  for (TGdiLineCase& c : drawn) {
    TDibSurface surface(kGdiTableSize, kGdiTableSize);
    std::uint32_t* bits = surface.Bits();
    std::fill(bits, bits + kGdiTableSize * kGdiTableSize, kGdiTableStartPixel);
    {
      TGdiCanvas canvas(surface.Dc());
      canvas.Pen = TPen{kGdiTablePenColour, 0, c.Style, c.Mode};
      canvas.Brush =
          TBrush{kGdiTableBackColour, c.Opaque ? TBrushStyle::Solid : TBrushStyle::Clear};
      canvas.MoveTo(c.X1, c.Y1);
      canvas.LineTo(c.X2, c.Y2);
    }
    GdiFlush();
    for (int i = 0; i < kGdiTableSize * kGdiTableSize; ++i)
      if (surface.Pixels()[i] != kGdiTableStartPixel) c.Pixels.emplace_back(i, surface.Pixels()[i]);
  }
  if (const char* out = std::getenv("SXF_WRITE_GDI_TABLE")) {
    std::FILE* f = std::fopen(out, "wb");
    ASSERT_NE(f, nullptr);
    const std::string text = FormatGdiLineTable(drawn);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  std::ifstream in(GdiLineTablePath(), std::ios::binary);
  const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<TGdiLineCase> table = ParseGdiLineTable(kept);
  ASSERT_EQ(table.size(), drawn.size()) << GdiLineTablePath();
  for (std::size_t i = 0; i < drawn.size(); ++i)
    EXPECT_EQ(FormatGdiLineTable({table[i]}), FormatGdiLineTable({drawn[i]}));
}

TEST(DibCanvas, CachedCharactersMatchTextOut) {
  // Faces, horizontal and vertical, as the drawings name them (Shift-JIS).
  const std::string faces[] = {
      "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e",   // ＭＳ ゴシック
      "@\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e",  // @ＭＳ ゴシック
      "\x82\x6c\x82\x72 \x96\xbe\x92\xa9", "Arial"};         // ＭＳ 明朝
  const std::string characters[] = {
      "A",        "g",        "1",        "@",        "\xb1",    "\xdf",  // ｱ ﾟ
      "\x8a\xbf", "\x82\xa0", "\x81\x5b", "\x88\xea", "\x81\x40"};        // 漢 あ ー 一, blank
  std::mt19937 rng(932);
  const TGdiTextSprites& sprites = BandDrawingCaches(0).Texts;
  const long long written = sprites.Written(), rendered = sprites.Rendered(),
                  inked = sprites.Inked();
  for (const bool wide : {false, true}) {
    if (!wide && !AnsiCodePageIsShiftJis()) continue;
    for (int round = 0; round < 24; ++round) {
      // Every sixth round large characters (smoothed under Wine) on a larger picture.
      const bool large = round % 6 == 5;
      const int kW = large ? 480 : 160, kH = large ? 360 : 120;
      TPair pair(rng, kW, kH);
      pair.UseWideText(wide);
      TLogFont font;
      font.Height = static_cast<int>(rng() % 30) + (large ? 40 : 6);
      font.NonAntialiased = rng() % 3 == 0;
      font.Width = rng() % 3 == 0 ? 0 : static_cast<int>(rng() % 12) + 3;
      font.Escapement = rng() % 2 == 0 ? 0 : static_cast<int>(rng() % 3600);
      font.Italic = rng() % 5 == 0;
      font.Weight = rng() % 4 == 0 ? 700 : 400;
      font.FaceName = faces[rng() % std::size(faces)];
      font.CharSet = font.FaceName == "Arial" ? 0 : 128;
      const TColor colour = static_cast<TColor>(rng() % 3 == 0 ? 0 : rng() & 0xFFFFFF);
      const TBrush brush{0x00FFFF, rng() % 4 == 0 ? TBrushStyle::Solid : TBrushStyle::Clear};
      std::ostringstream log;
      // Each character twice or more: the later ones come from the sprites.
      for (int i = 0; i < 24; ++i) {
        const std::string& ch = characters[rng() % std::size(characters)];
        const int x = static_cast<int>(rng() % (kW + 20)) - 10,
                  y = static_cast<int>(rng() % (kH + 20)) - 10;
        log << x << "," << y << " ";
        pair.Both([&](TCanvas& c) {
          c.SetFont(font);
          c.FontColor = colour;
          c.Brush = brush;
          c.TextOut(x, y, ch);
          c.TextOut(x + 71, y + 37, ch);
          c.TextOut(-font.Height / 2, y, ch);  // cut by the left edge
        });
      }
      EXPECT_EQ(pair.BandDifference(), "")
          << "wide " << wide << " face " << ShiftJisToUtf8(font.FaceName);
      EXPECT_EQ(pair.Difference(), "")
          << "wide " << wide << " height " << font.Height << " width " << font.Width
          << " escapement " << font.Escapement << " solid " << font.NonAntialiased << " face "
          << ShiftJisToUtf8(font.FaceName) << " brush " << static_cast<int>(brush.Style) << " at "
          << log.str();
    }
  }
  // Many characters came from the cache, some of them without drawing them again, some on
  // backgrounds of several colours.
  EXPECT_GT(sprites.Written() - written, 100);
  EXPECT_GT(sprites.Written() - written, sprites.Rendered() - rendered);
  EXPECT_GT(sprites.Inked() - inked, 50);
}

// A whole preview drawn in 2, 3 and 8 bands on threads of their own is the one canvas's
// picture, pixel for pixel: a generated drawing and a tiled real one, at fit-all, a tenth and
// a hundredth of the extents' area, and a tenth off the centre.
TEST(DibCanvas, BandedPreviewEqualsOneCanvas) {
  // Bands the surface does not hold give no band canvases: the caller draws on one.
  TDibSurface small(8, 8);
  const TBand beyond[] = {{0, 4}, {4, 9}};
  EXPECT_TRUE(MakeBandCanvases(small, beyond).empty());

  const char* samples = std::getenv("SXF_SAMPLES");
  ASSERT_NE(samples, nullptr);
  constexpr int kW = 640, kH = 520;  // tall enough for 8 bands
  const std::string path = test::WriteTempFile("");
  const std::function<bool()> drawings[] = {
      [&] { return bench::WriteGeneratedDrawing(path, 20000, 7, bench::TDrawingProfile::Dense); },
      [&] {
        return bench::WriteTiledDrawing(std::string(samples) + "/floor-plan/JWC_TEMP.TXT", 20000,
                                        path);
      }};
  const struct {
    const char* Name;
    double Share, Across, Up;
  } views[] = {{"fit-all", 1.0, 0.5, 0.5},
               {"10 %", 0.1, 0.5, 0.5},
               {"1 %", 0.01, 0.5, 0.5},
               {"10 % off-centre", 0.1, 0.2, 0.7}};
  for (std::size_t d = 0; d < std::size(drawings); ++d) {
    ASSERT_TRUE(drawings[d]());
    const TJwcLoad load = ReadJwcTempFile(path);
    ASSERT_TRUE(load.Result.ReadToEnd);
    const TDrawing& drawing = load.Drawing;
    const TWorldBox extents = ComputeExtents(drawing);
    if (!GraAttr) GraAttr = std::make_unique<TgraAttribute>();
    for (const auto& v : views) {
      TView view;
      FitViewToDrawing(view, extents, kW, kH);
      view.ViewScale /= std::sqrt(v.Share);
      CentreViewOn(view, extents.Left + v.Across * (extents.Right - extents.Left),
                   extents.Bottom + v.Up * (extents.Top - extents.Bottom));
      TDibSurface one(kW, kH);
      {
        TDibCanvas canvas(one);
        DrawPreview(canvas, view, drawing, kW, kH);
      }
      // A picture worth comparing: a good part of it drawn on.
      EXPECT_GT(std::count_if(one.Pixels(), one.Pixels() + kW * kH,
                              [](std::uint32_t p) { return (p & 0xFFFFFF) != 0xFFFFFF; }),
                kW * kH / 50)
          << "drawing " << d << ", " << v.Name;
      for (const int n : {2, 3, 8}) {
        TDibSurface surface(kW, kH);
        const std::vector<TBand> bands = SplitIntoBands(kH, n);
        std::vector<std::unique_ptr<TDibCanvas>> owned = MakeBandCanvases(surface, bands);
        ASSERT_EQ(owned.size(), static_cast<std::size_t>(n));
        std::vector<TCanvas*> canvases;
        for (auto& c : owned) canvases.push_back(c.get());
        EXPECT_TRUE(DrawInBands(canvases,
                                [&](TCanvas& c) { return DrawPreview(c, view, drawing, kW, kH); }));
        owned.clear();
        const std::uint32_t* a = one.Pixels();
        const std::uint32_t* b = surface.Pixels();
        const int differing = static_cast<int>(
            std::inner_product(a, a + kW * kH, b, 0, std::plus<>(), std::not_equal_to<>()));
        EXPECT_EQ(differing, 0) << "drawing " << d << ", " << v.Name << ", " << n << " bands";
      }
    }
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace sxf
