#pragma once
// Reading the parts of a line's key (its first field) for the line rules: prefixes, the text
// after them, and the numbers and codes some keys carry. Not for callers outside src/model.

#include <cstddef>
#include <string>
#include <string_view>

namespace sxf {

// The first 255 bytes, as a name or text field keeps them.
std::string Cut255(std::string_view s);

bool StartsWith(std::string_view s, std::string_view prefix) noexcept;

// The text from pos on; empty when pos is at or past the end.
std::string_view From(std::string_view s, std::size_t pos) noexcept;

// "lg"/"ly" digits: the one hexadecimal digit at pos; anything else gives 0.
int HexDigitAt(std::string_view key, std::size_t pos) noexcept;

// The text code of "ch", "cv", "cs", ... "c2": 0..9; -1 for any other key.
int TextCodeOf(std::string_view key) noexcept;

// "hp<n>[suffix]": suffixes are searched in the order "-", "ln", "ci", "ch"; a later find
// overrides an earlier one, and the number is the text between "hp" and the suffix. kind is
// 1..4 for the suffix found, 0 for none.
int DesignatedPointNumber(std::string_view key, int& kind) noexcept;

// "hhp<n>[ln|ci|ch]": the number before the suffix, searched as for "hp".
int HhpNumber(std::string_view key) noexcept;

}  // namespace sxf
