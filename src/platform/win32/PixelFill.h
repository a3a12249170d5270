#pragma once
// Filling a run of 0x00RRGGBB pixels with one value, four at a store: std::fill of 32-bit
// words stays one store a pixel at the build's optimisation, and the paper alone is millions
// of pixels a redraw.

#include <cstdint>
#include <cstring>

namespace sxf {

inline void FillPixels(std::uint32_t* from, std::uint32_t* to, std::uint32_t value) noexcept {
  const std::uint32_t block[4] = {value, value, value, value};
  for (; to - from >= 4; from += 4) std::memcpy(from, block, sizeof block);
  for (; from < to; ++from) *from = value;
}

}  // namespace sxf
