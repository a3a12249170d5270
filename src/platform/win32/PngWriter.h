#pragma once
// Writes a picture as PNG (8-bit RGB, no interlace), compressed with zlib.

#include <cstdint>
#include <string>

namespace sxf {

// pixels: width x height words 0x00RRGGBB, row after row from the top. Returns an empty
// string on success, else what went wrong; a partly written file is removed.
std::string WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels);

// The PNG file's bytes (the same as WritePng writes); empty when compression fails.
std::string EncodePng(int width, int height, const std::uint32_t* pixels);

}  // namespace sxf
