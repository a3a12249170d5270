#pragma once
// One-pixel lines and single pixels written straight into a buffer of 32-bit pixels, pixel
// for pixel as the platform painter draws an aliased one-pixel pen with flat caps. Pixels,
// y down; integer end points (the canvas clamps them to +-2^20 first).
//
// The pixel rule of a segment:
// - It is first cut, in doubles, to the band one pixel wider than the buffer on every side
//   (x in [-1, width + 1], y in [-1, height + 1]); the cut ends are truncated to 1/64 pixel.
// - It steps along its major axis (the larger extent; x on a tie) over the pixel indices
//   from its lower end up to, not including, its higher end, whichever way it runs: a
//   segment drawn left to right leaves out its end pixel, one drawn right to left its start
//   pixel. The minor coordinate runs in 16.16 fixed point, starting half a step in when it
//   grows.
// - Within a run of segments (see EndRun), a segment that runs towards lower indices and
//   turns back along the major axis of the segment drawn before it also covers its start
//   pixel. (Turning back towards higher indices shifts its start by half a pixel and back,
//   which changes nothing but the rounding of the minor coordinate.)
// - Dotted styles repeat on/off counts of pixels (Dash 4/2, Dot 1/2, DashDot 4/2/1/2,
//   DashDotDot 4/2/1/2/1/2), started afresh by every segment at the first pixel it draws on
//   its start side.
// - Pixels outside the buffer are left alone.

#include <algorithm>
#include <cassert>
#include <limits>
#include <cstddef>
#include <cstdint>

#include "graphics/Canvas.h"

namespace sxf {

// Row y of the surface starts at Bits + y * Stride; Stride counts pixels, not bytes. Width
// and height are at most TPixelRaster::kMaxSide.
struct TPixelBuffer {
  std::uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  std::ptrdiff_t Stride = 0;
  // Only rows FirstRow .. EndRow - 1 are written: a band of a picture that several threads
  // draw at once. Every rule above still sees the whole buffer.
  int FirstRow = 0;
  int EndRow = std::numeric_limits<int>::max();

  // The first row written and the number of rows written.
  int RowBegin() const noexcept { return std::max(0, FirstRow); }
  unsigned RowCount() const noexcept {
    return static_cast<unsigned>(std::max(0, std::min(Height, EndRow) - RowBegin()));
  }
};

class TPixelRaster {
 public:
  // Coordinates along a segment are kept in 16.16 fixed point.
  static constexpr int kMaxSide = 32000;

  TPixelRaster() noexcept = default;  // draws nowhere until given a buffer
  explicit TPixelRaster(TPixelBuffer buffer) noexcept : buffer_(buffer) {
    assert(buffer.Width <= kMaxSide && buffer.Height <= kMaxSide);
  }

  // value: the pixel Copy writes, or the bits Xor flips. A Clear style draws nothing.
  // Ends the run.
  void SetPen(std::uint32_t value, TPenStyle style, TPenMode mode) noexcept;

  // Forgets the direction of the segment drawn last: the next segment starts a new run.
  void EndRun() noexcept { lastDirection_ = 0; }

  // The segment from (x1, y1) towards (x2, y2) by the rule above; a segment of no length
  // draws nothing.
  void Line(int x1, int y1, int x2, int y2) noexcept;

  // One pixel in the pen's value and mode, whatever its style.
  void Point(int x, int y) noexcept;

 private:
  template <bool Vertical>
  void Walk(int a1, int a2, int b1, int b2) noexcept;
  template <bool Vertical, bool Xor, bool Dotted>
  void Span(int first, int stop, int from, int to, int b, int inc, bool reversed) noexcept;

  TPixelBuffer buffer_;
  std::uint32_t value_ = 0;
  TPenStyle style_ = TPenStyle::Solid;
  TPenMode mode_ = TPenMode::Copy;
  int lastDirection_ = 0;  // of the run's last segment that drew, 0 at a run's start
};

}  // namespace sxf
