#include "graphics/PixelRaster.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "graphics/GdiPixelRaster.h"
#include "support/GdiLineTable.h"

namespace sxf {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFFFF;
constexpr std::uint32_t kInk = 0xFF000000;
constexpr std::uint32_t kGuard = 0x12345678;  // the padding beyond each row

struct TSegment {
  int X1, Y1, X2, Y2;
};

// A 10 x 5 buffer with two pixels of padding per row; pictures use '#' for ink, '.' paper.
struct TSurface {
  static constexpr int W = 10, H = 5, Stride = 12;
  std::vector<std::uint32_t> Pixels = std::vector<std::uint32_t>(Stride * H, kPaper);
  TSurface() {
    for (int y = 0; y < H; ++y) Pixels[y * Stride + W] = Pixels[y * Stride + W + 1] = kGuard;
  }
  TPixelBuffer Buffer() { return {Pixels.data(), W, H, Stride}; }
  std::string Picture() const {
    std::string s;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) s += Pixels[y * Stride + x] == kPaper ? '.' : '#';
      s += '\n';
    }
    return s;
  }
  bool GuardIntact() const {
    for (int y = 0; y < H; ++y)
      if (Pixels[y * Stride + W] != kGuard || Pixels[y * Stride + W + 1] != kGuard) return false;
    return true;
  }
};

struct TCase {
  const char* Name;
  TPenStyle Style;
  std::vector<TSegment> Run;  // drawn as one run
  const char* Expected;       // rows of the picture, joined
};

std::string Rows(const char* joined) {
  std::string s;
  for (int i = 0; joined[i] != '\0'; ++i) {
    s += joined[i];
    if ((i + 1) % TSurface::W == 0) s += '\n';
  }
  return s;
}

TEST(PixelRaster, PixelRule) {
  const TCase cases[] = {
      {"left to right leaves out the end",
       TPenStyle::Solid,
       {{1, 2, 6, 2}},
       ".........."
       ".........."
       ".#####...."
       ".........."
       ".........."},
      {"right to left leaves out the start",
       TPenStyle::Solid,
       {{6, 2, 1, 2}},
       ".........."
       ".........."
       ".#####...."
       ".........."
       ".........."},
      {"downwards leaves out the end",
       TPenStyle::Solid,
       {{3, 0, 3, 4}},
       "...#......"
       "...#......"
       "...#......"
       "...#......"
       ".........."},
      {"upwards leaves out the start",
       TPenStyle::Solid,
       {{3, 4, 3, 0}},
       "...#......"
       "...#......"
       "...#......"
       "...#......"
       ".........."},
      {"a diagonal, one pixel a column",
       TPenStyle::Solid,
       {{0, 0, 4, 4}},
       "#........."
       ".#........"
       "..#......."
       "...#......"
       ".........."},
      {"a gentle slope is sampled at the pixel centres",
       TPenStyle::Solid,
       {{0, 1, 8, 3}},
       ".........."
       "####......"
       "....####.."
       ".........."
       ".........."},
      {"turning back towards lower indices takes the start pixel",
       TPenStyle::Solid,
       {{1, 1, 5, 1}, {5, 3, 1, 3}},
       ".........."
       ".####....."
       ".........."
       ".#####...."
       ".........."},
      {"turning back towards higher indices adds nothing",
       TPenStyle::Solid,
       {{5, 1, 1, 1}, {1, 3, 5, 3}},
       ".........."
       ".####....."
       ".........."
       ".####....."
       ".........."},
      {"turning back on the other axis does not",
       TPenStyle::Solid,
       {{1, 1, 5, 1}, {8, 4, 8, 0}},
       "........#."
       ".####...#."
       "........#."
       "........#."
       ".........."},
      {"ending the run forgets the direction",
       TPenStyle::Solid,
       {{1, 1, 5, 1}, {}, {5, 3, 1, 3}},
       ".........."
       ".####....."
       ".........."
       ".####....."
       ".........."},
      {"a segment of no length draws nothing",
       TPenStyle::Solid,
       {{4, 2, 4, 2}},
       ".........."
       ".........."
       ".........."
       ".........."
       ".........."},
      {"far ends are cut to the buffer",
       TPenStyle::Solid,
       {{-1048576, 2, 1048576, 2}},
       ".........."
       ".........."
       "##########"
       ".........."
       ".........."},
      {"dots from the start",
       TPenStyle::Dot,
       {{0, 1, 9, 1}, {}, {9, 3, 0, 3}},
       ".........."
       "#..#..#..."
       ".........."
       "..#..#..#."
       ".........."},
      {"dashes from the start",
       TPenStyle::Dash,
       {{0, 1, 10, 1}, {}, {10, 3, 0, 3}},
       ".........."
       "####..####"
       ".........."
       "####..####"
       ".........."},
      {"dash-dot",
       TPenStyle::DashDot,
       {{0, 1, 10, 1}},
       ".........."
       "####..#..#"
       ".........."
       ".........."
       ".........."},
      {"dash-dot-dot",
       TPenStyle::DashDotDot,
       {{0, 1, 10, 1}},
       ".........."
       "####..#..#"
       ".........."
       ".........."
       ".........."},
      {"a cut start starts the pattern at the band",
       TPenStyle::Dot,
       {{-5, 2, 10, 2}},
       ".........."
       ".........."
       "..#..#..#."
       ".........."
       ".........."},
      {"the clear pen draws nothing",
       TPenStyle::Clear,
       {{0, 0, 9, 4}},
       ".........."
       ".........."
       ".........."
       ".........."
       ".........."},
  };
  for (const TCase& c : cases) {
    TSurface s;
    TPixelRaster raster(s.Buffer());
    raster.SetPen(kInk, c.Style, TPenMode::Copy);
    for (const TSegment& seg : c.Run) {
      if (seg.X1 == 0 && seg.Y1 == 0 && seg.X2 == 0 && seg.Y2 == 0)
        raster.EndRun();
      else
        raster.Line(seg.X1, seg.Y1, seg.X2, seg.Y2);
    }
    EXPECT_EQ(s.Picture(), Rows(c.Expected)) << c.Name;
    EXPECT_TRUE(s.GuardIntact()) << c.Name;
  }
}

TEST(PixelRaster, XorTwiceRestoresAndPointsIgnoreTheStyle) {
  TSurface s;
  TPixelRaster raster(s.Buffer());
  raster.SetPen(0x00FF00FF, TPenStyle::Dot, TPenMode::Xor);
  const std::string blank = Rows(
      ".........."
      ".........."
      ".........."
      ".........."
      "..........");
  raster.Point(5, 2);
  EXPECT_EQ(s.Pixels[2 * TSurface::Stride + 5], kPaper ^ 0x00FF00FFu);
  raster.Point(5, 2);
  // Each XOR segment is a run of its own: a turn back would cover a pixel once more.
  for (int pass = 0; pass < 2; ++pass) {
    raster.EndRun();
    raster.Line(-3, -3, 20, 9);
    raster.EndRun();
    raster.Line(9, 0, 0, 4);
    raster.Point(7, 1);
    raster.Point(10, 2);  // beyond the row: the padding stays
    if (pass == 0) { EXPECT_NE(s.Picture(), blank); }
  }
  EXPECT_EQ(s.Picture(), blank);
  EXPECT_TRUE(s.GuardIntact());
}

TEST(PixelRaster, EmptyBufferDrawsNothing) {
  TPixelRaster raster(TPixelBuffer{nullptr, 0, 0, 0});
  raster.SetPen(kInk, TPenStyle::Solid, TPenMode::Copy);
  raster.Line(0, 0, 5, 5);
  raster.Point(0, 0);
  SUCCEED();
}

// Rasters over a band's rows, each drawing the same runs, together write exactly the whole
// buffer's picture: random runs of every style, in both modes, crossing and leaving the buffer.
TEST(PixelRaster, BandsTogetherWriteTheWholeBuffersPixels) {
  constexpr int W = 97, H = 61;
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coordinate(-30, 130), count(1, 12), pick(0, 5);
  const TPenStyle styles[] = {TPenStyle::Solid,   TPenStyle::Dash,       TPenStyle::Dot,
                              TPenStyle::DashDot, TPenStyle::DashDotDot, TPenStyle::Solid};
  const std::vector<std::pair<int, int>> bands = {{0, 1}, {1, 17}, {17, 18}, {18, 40}, {40, 61}};
  for (int k = 0; k < 300; ++k) {
    std::vector<TSegment> run(static_cast<std::size_t>(count(rng)));
    for (auto& seg : run)
      seg = {coordinate(rng), coordinate(rng) / 2, coordinate(rng), coordinate(rng) / 2};
    const TPenStyle style = styles[pick(rng)];
    const TPenMode mode = k % 3 == 0 ? TPenMode::Xor : TPenMode::Copy;
    const auto draw = [&](std::vector<std::uint32_t>& pixels, int firstRow, int endRow) {
      TPixelBuffer buffer{pixels.data(), W, H, W};
      buffer.FirstRow = firstRow;
      buffer.EndRow = endRow;
      TPixelRaster raster(buffer);
      raster.SetPen(0x00FF8040, style, mode);
      for (const TSegment& seg : run) raster.Line(seg.X1, seg.Y1, seg.X2, seg.Y2);
    };
    std::vector<std::uint32_t> whole(W * H, kPaper), banded(W * H, kPaper);
    draw(whole, 0, H);
    for (const auto& [top, bottom] : bands) draw(banded, top, bottom);
    ASSERT_EQ(banded, whole) << "run " << k;
  }
}

// A band of rows draws exactly the whole buffer's pixels there and nothing elsewhere, for
// segments inside, across and far outside the band, in every style, mode and background.
// The pixels GDI gives, kept as data: ties and half steps in every octant, the dotted
// styles on both backgrounds, XOR. A change to the rasteriser's rules fails here at once.
TEST(GdiPixelRaster, DrawsTheKeptTableOfGdisPixels) {
  using namespace test;
  std::ifstream in(GdiLineTablePath(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<TGdiLineCase> table = ParseGdiLineTable(text);
  ASSERT_EQ(table.size(), GdiLineCases().size()) << GdiLineTablePath();
  const auto pixel = [](TColor c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
  };
  for (const TGdiLineCase& c : table) {
    std::vector<std::uint32_t> bits(kGdiTableSize * kGdiTableSize, kGdiTableStartPixel);
    TGdiPixelRaster raster(TPixelBuffer{bits.data(), kGdiTableSize, kGdiTableSize, kGdiTableSize});
    raster.SetPen(pixel(kGdiTablePenColour), c.Style, c.Mode);
    raster.SetBackground(c.Opaque, pixel(kGdiTableBackColour));
    raster.Line(c.X1, c.Y1, c.X2, c.Y2);
    TGdiLineCase drawn = c;
    drawn.Pixels.clear();
    for (int i = 0; i < kGdiTableSize * kGdiTableSize; ++i)
      if (bits[static_cast<std::size_t>(i)] != kGdiTableStartPixel)
        drawn.Pixels.emplace_back(i, bits[static_cast<std::size_t>(i)]);
    EXPECT_EQ(FormatGdiLineTable({drawn}), FormatGdiLineTable({c}));
  }
}

TEST(GdiPixelRaster, BandWritesTheWholeBuffersPixelsInItsRowsOnly) {
  constexpr int W = 61, H = 47;
  std::mt19937 rng(4711);
  const auto coordinate = [&](int size) {
    switch (rng() % 8) {
      case 0: return static_cast<int>(rng() % (1u << 21)) - (1 << 20);
      case 1: return static_cast<int>(rng() % 400) - 200;
      default: return static_cast<int>(rng() % static_cast<unsigned>(size + 8)) - 4;
    }
  };
  const struct {
    int First, End;
  } bands[] = {{0, 16}, {16, 31}, {31, 47}, {-5, 3}, {44, 90}, {20, 21}, {9, 9}};
  for (const TPenStyle style :
       {TPenStyle::Solid, TPenStyle::Dash, TPenStyle::Dot, TPenStyle::DashDotDot})
    for (const TPenMode mode : {TPenMode::Copy, TPenMode::Xor})
      for (const auto band : bands) {
        std::vector<std::uint32_t> background(W * H);
        for (std::uint32_t& p : background) p = rng() % 3 == 0 ? 0x00FF00u : kPaper;
        std::vector<std::uint32_t> whole = background, part = background;
        TGdiPixelRaster all(TPixelBuffer{whole.data(), W, H, W});
        TGdiPixelRaster rows(TPixelBuffer{part.data(), W, H, W, band.First, band.End});
        for (int op = 0; op < 200; ++op) {
          const std::uint32_t value = rng() & 0xFFFFFFu;
          const bool opaque = rng() % 2 == 0;
          const int x1 = coordinate(W), y1 = coordinate(H), x2 = coordinate(W), y2 = coordinate(H);
          for (TGdiPixelRaster* r : {&all, &rows}) {
            r->SetPen(value, style, mode);
            r->SetBackground(opaque, ~value & 0xFFFFFFu);
            if (op % 16 == 0)
              r->Put(x1 % W, y1 % H, value);
            else
              r->Line(x1, y1, x2, y2);
          }
        }
        int wrong = 0;
        for (int y = 0; y < H; ++y) {
          const std::vector<std::uint32_t>& expected =
              y >= band.First && y < band.End ? whole : background;
          for (int x = 0; x < W; ++x) wrong += part[y * W + x] != expected[y * W + x];
        }
        EXPECT_EQ(wrong, 0) << "style " << static_cast<int>(style) << " mode "
                            << static_cast<int>(mode) << " rows " << band.First << ".." << band.End;
      }
}

}  // namespace
}  // namespace sxf
