// Code page 932 through the Windows API, and the PNG writer read back with zlib.

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/PngWriter.h"
#include "platform/win32/ShiftJis.h"

namespace sxf {
namespace {

TEST(ShiftJisWin32, ConvertsAsCodePage932WithOneReplacementPerBadCharacter) {
  struct TCase {
    std::string sjis;
    std::string utf8;
  };
  const TCase cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"\x90\xfc\x95\xaa", "線分"},
      {"\xb1", "ｱ"},                     // half-width katakana
      {"\x87\x40", "①"},                 // NEC row 13
      {"\xfa\x40", "ⅰ"},                 // IBM extension
      {"\x81\x60", "～"},                // wave dash as Windows has it
      {"a\x82", "a\xEF\xBF\xBD"},        // lead byte at the end
      {"\x82\x20x", "\xEF\xBF\xBD x"},   // a byte that cannot follow a lead is read again
      {"\x81\x7f", "\xEF\xBF\xBD\x7F"},  // DEL stands for itself, also after a lead
      {"\x85\x40", "\xEF\xBF\xBD"},      // a pair without a character: one replacement
      {"a\x80"
       "b",
       "a\xEF\xBF\xBD"
       "b"},                     // 0x80 is no character
      {"\x1a\x1c", "\x1a\x1c"},  // control bytes stand for themselves
  };
  for (const TCase& c : cases) EXPECT_EQ(ShiftJisToUtf8(c.sjis), c.utf8) << c.utf8;
  EXPECT_EQ(WideToShiftJis(L"\u7DDA\u5206"), "\x90\xfc\x95\xaa");
  EXPECT_EQ(WideToShiftJis(L"\u00e9"), "?");
}

std::vector<unsigned char> Inflate(const std::string& png, std::size_t rawSize) {
  // IHDR is 8 + 25 bytes in; IDAT follows with its length first.
  const std::size_t at = 8 + 25;
  const auto len = static_cast<std::size_t>(
      static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
      static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]));
  EXPECT_EQ(png.substr(at + 4, 4), "IDAT");
  std::vector<unsigned char> raw(rawSize);
  uLongf size = static_cast<uLongf>(rawSize);
  EXPECT_EQ(uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(png.data() + at + 8),
                       static_cast<uLong>(len)),
            Z_OK);
  EXPECT_EQ(size, rawSize);
  return raw;
}

TEST(PngWriter, RowsReadBackAsRgbWithChecksummedChunks) {
  const std::vector<std::uint32_t> pixels{0x112233, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0};
  const std::string png = EncodePng(3, 2, pixels.data());
  ASSERT_GT(png.size(), 8u + 25 + 12 + 12);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  EXPECT_EQ(static_cast<unsigned char>(png[29]), (crc >> 24) & 0xFF);
  EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
  const auto raw = Inflate(png, 2 * (1 + 9));
  const std::vector<unsigned char> expected{0, 0x11, 0x22, 0x33, 0xFF, 0,    0,    0, 0xFF, 0,
                                            0, 0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0, 0,    0};
  EXPECT_EQ(raw, expected);
  EXPECT_TRUE(EncodePng(0, 5, pixels.data()).empty());
}

TEST(PngWriter, AFileThatCannotBeCreatedIsAnError) {
  const std::uint32_t pixel = 0;
  EXPECT_FALSE(WritePng("Z:\\no\\such\\folder\\x.png", 1, 1, &pixel).empty());
}

}  // namespace
}  // namespace sxf
