// The code page 932 table, unpacked once from iconv's output of the build.

#include "model/ShiftJisFromUtf16.h"

#include <array>
#include <cstdint>

namespace sxf {

namespace {

// iconv's Shift-JIS bytes of U+0001..U+FFFF without U+000A and the surrogates, one line each
// (cmake/Cp932Table.cmake).
constexpr unsigned char kIconvLines[] = {
#include "Cp932Table.inc"
};

// Shift-JIS of each UTF-16 unit: 0 for none (U+0000 is handled apart), a byte below 0x100,
// or lead << 8 | trail.
using TTable = std::array<std::uint16_t, 65536>;

TTable Unpack() noexcept {
  TTable table{};
  std::size_t i = 0;
  for (std::uint32_t unit = 1; unit < 65536; ++unit) {
    if (unit == 0x0A) {
      table[unit] = 0x0A;
      continue;
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    std::uint16_t code = 0;
    while (i < sizeof kIconvLines && kIconvLines[i] != 0x0A)
      code = static_cast<std::uint16_t>(code << 8 | kIconvLines[i++]);
    ++i;  // the line feed
    table[unit] = code;
  }
  return table;
}

const TTable& Table() noexcept {
  static const TTable table = Unpack();
  return table;
}

}  // namespace

int AppendShiftJisFromUtf16Le(const unsigned char* units, std::size_t count, std::string& out) {
  const TTable& table = Table();
  int replaced = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const auto unit = static_cast<std::uint16_t>(units[2 * k] | units[2 * k + 1] << 8);
    if (unit == 0) {
      out += '\0';
      continue;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < count) {
      const auto next = static_cast<std::uint16_t>(units[2 * k + 2] | units[2 * k + 3] << 8);
      if (next >= 0xDC00 && next <= 0xDFFF) ++k;  // one character beyond the table: one '?'
    }
    const std::uint16_t code = table[unit];
    if (code == 0) {
      out += '?';
      ++replaced;
    } else if (code < 0x100) {
      out += static_cast<char>(code);
    } else {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
  }
  return replaced;
}

}  // namespace sxf
