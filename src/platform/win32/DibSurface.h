#pragma once
// An off-screen 32-bit picture: a top-down DIB section selected into a memory device context.
// The window's preview draws into one and copies it to the screen; the report writes one as
// PNG. Pixels are 0x00RRGGBB words, row after row, no padding.
//
// The pixels live in a section of the paging file, so that a band of the picture can have a
// device context and bitmap of its own over the same memory: GDI selects a bitmap into one
// device context only, and two threads must not draw through one.

#include "platform/win32/WindowsApi.h"

#include <cstdint>

namespace sxf {

class TDibSurface {
 public:
  // An empty surface (Valid() false) when width or height is below 1 or GDI refuses.
  TDibSurface(int width, int height);
  // Rows 0 .. bottom - 1 of whole's pixels, the same memory, with a device context of its own
  // whose drawing is clipped to rows top .. bottom - 1: the GDI side of one band of whole, in
  // whole's coordinates. Empty when whole has no section to share, the rows are not within
  // whole, or GDI refuses. whole must outlive it.
  TDibSurface(const TDibSurface& whole, int top, int bottom);
  ~TDibSurface();
  TDibSurface(const TDibSurface&) = delete;
  TDibSurface& operator=(const TDibSurface&) = delete;

  bool Valid() const noexcept { return dc_ != nullptr && bits_ != nullptr; }
  HDC Dc() const noexcept { return dc_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // The pixels, after GDI has finished every pending operation of this thread (GdiFlush).
  const std::uint32_t* Pixels() const noexcept;
  // The pixels for writing, without waiting for GDI: the writer flushes first.
  std::uint32_t* Bits() noexcept { return bits_; }

 private:
  // Makes the bitmap (height rows, top-down, over section when there is one) and its device
  // context; leaves the surface empty when either cannot be had.
  void Make(int width, int height, HANDLE section);
  // Gives the device context and the bitmap back; the surface is then empty.
  void Release() noexcept;

  int width_ = 0;
  int height_ = 0;
  HANDLE section_ = nullptr;  // owned by the whole picture's surface only
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace sxf
