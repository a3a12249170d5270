#pragma once
// One-pixel lines written straight into a buffer of 32-bit pixels, pixel for pixel as the
// Windows graphics device interface draws a cosmetic pen on a 32-bit DIB section. Pixels,
// y down; integer end points within +-kMaxCoordinate (the canvas clamps them to +-2^20).
//
// The pixel rule of a segment:
// - It walks its major axis (the larger extent; x on a tie) from its start pixel up to, not
//   including, its end pixel: whichever way it runs, the end pixel is left out.
// - The minor coordinate of the k-th pixel is the exact one rounded to the nearest whole
//   pixel, a half always towards the smaller coordinate (up or left), in every direction.
// - Dotted styles lay out on/off runs of pixels from the segment's start pixel (Dash 18/6,
//   Dot 3/3, DashDot 9/6/3/6, DashDotDot 9/3/3/3/3/3). Every segment starts its pattern
//   afresh; pixels cut off outside the buffer still count, so the pattern does not move when
//   the segment is cut.
// - With an opaque background the off pixels are written in the background value, in the
//   pen's mode; with a transparent one they are left alone.
// - Pixels outside the buffer are left alone, and so are rows outside the buffer's FirstRow ..
//   EndRow - 1; every rule above still sees the whole buffer, so a band's rows are those of
//   the whole picture.

#include <cstdint>

#include "graphics/Canvas.h"
#include "graphics/PixelRaster.h"

namespace sxf {

class TGdiPixelRaster {
 public:
  // Twice a segment's extent, the divisor of its minor steps, stays within 32 bits.
  static constexpr int kMaxCoordinate = 1 << 28;

  TGdiPixelRaster() noexcept = default;  // draws nowhere until given a buffer
  explicit TGdiPixelRaster(TPixelBuffer buffer) noexcept : buffer_(buffer) {}

  // value: the pixel Copy writes, or the bits Xor flips. A Clear style draws nothing.
  void SetPen(std::uint32_t value, TPenStyle style, TPenMode mode) noexcept {
    value_ = value;
    style_ = style;
    mode_ = mode;
  }
  // The value written into the off pixels of a dotted style; none when transparent.
  void SetBackground(bool opaque, std::uint32_t value) noexcept {
    opaque_ = opaque;
    background_ = value;
  }

  // The segment from (x1, y1) towards (x2, y2) by the rule above; one of no length draws
  // nothing.
  void Line(int x1, int y1, int x2, int y2) noexcept;

  // Writes value into one pixel, whatever the pen's mode.
  void Put(int x, int y, std::uint32_t value) noexcept {
    if (static_cast<unsigned>(x) < static_cast<unsigned>(buffer_.Width) &&
        static_cast<unsigned>(y - buffer_.RowBegin()) < buffer_.RowCount())
      buffer_.Bits[static_cast<std::ptrdiff_t>(y) * buffer_.Stride + x] = value;
  }

 private:
  template <bool Vertical>
  void Walk(int a1, int a2, int b1, int b2, int aBegin, int aEnd, int bBegin, int bEnd) noexcept;
  template <bool Vertical, bool Xor, int Kind>
  void Span(long long k0, long long k1, int a1, int sa, int b, int sb, int r, int add,
            int den) noexcept;

  TPixelBuffer buffer_;
  std::uint32_t value_ = 0;
  std::uint32_t background_ = 0;
  TPenStyle style_ = TPenStyle::Solid;
  TPenMode mode_ = TPenMode::Copy;
  bool opaque_ = false;
};

}  // namespace sxf
