#pragma once
// An off-screen 32-bit picture: a top-down DIB section selected into a memory device context.
// The window's preview draws into one and copies it to the screen; the report writes one as
// PNG. Pixels are 0x00RRGGBB words, row after row, no padding.

#include "platform/win32/WindowsApi.h"

#include <cstdint>

namespace sxf {

class TDibSurface {
 public:
  // An empty surface (Valid() false) when width or height is below 1 or GDI refuses.
  TDibSurface(int width, int height);
  ~TDibSurface();
  TDibSurface(const TDibSurface&) = delete;
  TDibSurface& operator=(const TDibSurface&) = delete;

  bool Valid() const noexcept { return dc_ != nullptr && bits_ != nullptr; }
  HDC Dc() const noexcept { return dc_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // The pixels, after GDI has finished every pending operation (GdiFlush).
  const std::uint32_t* Pixels() const noexcept;
  // The pixels for writing, without waiting for GDI: the writer flushes first.
  std::uint32_t* Bits() noexcept { return bits_; }

 private:
  int width_ = 0;
  int height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace sxf
