#pragma once
// The one-pixel segments whose pixels GDI gives on a 32-bit DIB section, kept as data
// (tests/data/gdi-lines.txt) so that the core's GDI rasteriser is held to them on every
// platform: ties and half steps in all eight octants, every dotted style on both backgrounds,
// and XOR. Under Wine the same table is checked against GDI itself (or written afresh).
//
// Every case starts from a kSize x kSize buffer of kStartPixel and draws one segment with a
// pen of kPenColour; an opaque background is kBackColour.

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/Canvas.h"

namespace sxf::test {

struct TGdiLineCase {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TPenStyle Style = TPenStyle::Solid;
  TPenMode Mode = TPenMode::Copy;
  bool Opaque = false;
  // Every pixel that is not kStartPixel afterwards: y * kSize + x and its value.
  std::vector<std::pair<int, std::uint32_t>> Pixels;
};

inline constexpr int kGdiTableSize = 64;
inline constexpr std::uint32_t kGdiTableStartPixel = 0xFFFFFFFF;
inline constexpr TColor kGdiTablePenColour = 0x00336699;  // 0x00BBGGRR
inline constexpr TColor kGdiTableBackColour = 0x0088AACC;

// The segments of the table, their pixels not yet known.
std::vector<TGdiLineCase> GdiLineCases();

// One line per case: "x1 y1 x2 y2 style mode opaque" then " index:value" (hexadecimal) for
// every pixel.
std::string FormatGdiLineTable(const std::vector<TGdiLineCase>& cases);
// The cases of such a text; empty when it cannot be read.
std::vector<TGdiLineCase> ParseGdiLineTable(const std::string& text);

// tests/data/gdi-lines.txt of the source tree the tests were built from.
std::string GdiLineTablePath();

}  // namespace sxf::test
