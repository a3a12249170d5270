#include "graphics/PixelRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace sxf {

namespace {

// Directions of travel along the major axis; the two of one axis differ by their axis mask.
constexpr int kDown = 1, kUp = 2, kVerticalMask = 3;
constexpr int kRight = 4, kLeft = 8, kHorizontalMask = 12;

// Which pixels of one period of a dotted style are on: bit k for the k-th pixel.
struct TDashPattern {
  unsigned Mask;
  int Period;
};

constexpr TDashPattern DashPatternOf(TPenStyle s) noexcept {
  switch (s) {
    case TPenStyle::Dash: return {0b1111, 6};
    case TPenStyle::Dot: return {0b1, 3};
    case TPenStyle::DashDot: return {0b1001111, 9};
    case TPenStyle::DashDotDot: return {0b1001001111, 12};
    case TPenStyle::Solid:
    case TPenStyle::Clear: break;
  }
  return {1, 1};
}

// 64 times v, truncated toward zero: pixels to 26.6 fixed point.
int To26Dot6(double v) noexcept { return static_cast<int>(v * 64.0); }

// num / den in 16.16 fixed point, truncated toward zero; the 32-bit division where it fits.
int FixedRatio(int num, int den) noexcept {
  if (num > -32768 && num < 32768) return num * 65536 / den;
  return static_cast<int>(static_cast<long long>(num) * 65536 / den);
}

// Cuts the segment to [xmin, xmax] x [ymin, ymax] in the order and with the arithmetic the
// pixel rule depends on (x before y, the start before the end). False: nothing is left.
bool CutToBand(double& x1, double& y1, double& x2, double& y2, double xmin, double xmax,
               double ymin, double ymax) noexcept {
  if (x1 < xmin) {
    if (x2 <= xmin) return false;
    y1 += (y2 - y1) / (x2 - x1) * (xmin - x1);
    x1 = xmin;
  } else if (x1 > xmax) {
    if (x2 >= xmax) return false;
    y1 += (y2 - y1) / (x2 - x1) * (xmax - x1);
    x1 = xmax;
  }
  if (x2 < xmin) {
    y2 += (y2 - y1) / (x2 - x1) * (xmin - x2);
    x2 = xmin;
  } else if (x2 > xmax) {
    y2 += (y2 - y1) / (x2 - x1) * (xmax - x2);
    x2 = xmax;
  }
  if (y1 < ymin) {
    if (y2 <= ymin) return false;
    x1 += (x2 - x1) / (y2 - y1) * (ymin - y1);
    y1 = ymin;
  } else if (y1 > ymax) {
    if (y2 >= ymax) return false;
    x1 += (x2 - x1) / (y2 - y1) * (ymax - y1);
    y1 = ymax;
  }
  if (y2 < ymin) {
    x2 += (x2 - x1) / (y2 - y1) * (ymin - y2);
    y2 = ymin;
  } else if (y2 > ymax) {
    x2 += (x2 - x1) / (y2 - y1) * (ymax - y2);
    y2 = ymax;
  }
  return true;
}

}  // namespace

void TPixelRaster::SetPen(std::uint32_t value, TPenStyle style, TPenMode mode) noexcept {
  value_ = value;
  style_ = style;
  mode_ = mode;
  EndRun();
}

void TPixelRaster::Point(int x, int y) noexcept {
  if (static_cast<unsigned>(x) >= static_cast<unsigned>(buffer_.Width) ||
      static_cast<unsigned>(y - buffer_.RowBegin()) >= buffer_.RowCount())
    return;
  std::uint32_t& p = buffer_.Bits[static_cast<std::ptrdiff_t>(y) * buffer_.Stride + x];
  p = mode_ == TPenMode::Xor ? p ^ value_ : value_;
}

void TPixelRaster::Line(int x1, int y1, int x2, int y2) noexcept {
  if (style_ == TPenStyle::Clear || buffer_.Width <= 0 || buffer_.Height <= 0) return;
  int ax1, ay1, ax2, ay2;
  const auto inside = [this](int x, int y) {
    return static_cast<unsigned>(x) < static_cast<unsigned>(buffer_.Width) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(buffer_.Height);
  };
  if (inside(x1, y1) && inside(x2, y2)) {
    // Nothing to cut, and whole pixels are exact in 26.6.
    ax1 = x1 * 64, ay1 = y1 * 64, ax2 = x2 * 64, ay2 = y2 * 64;
  } else {
    double fx1 = x1, fy1 = y1, fx2 = x2, fy2 = y2;
    if (!CutToBand(fx1, fy1, fx2, fy2, -1.0, buffer_.Width + 1.0, -1.0, buffer_.Height + 1.0))
      return;
    ax1 = To26Dot6(fx1), ay1 = To26Dot6(fy1), ax2 = To26Dot6(fx2), ay2 = To26Dot6(fy2);
  }
  const int dx = std::abs(ax2 - ax1), dy = std::abs(ay2 - ay1);
  if (dx < dy)
    Walk<true>(ay1, ay2, ax1, ax2);
  else if (dx > 0)
    Walk<false>(ax1, ax2, ay1, ay2);
}

// a: the major coordinates of the ends, b: the minor ones, both 26.6.
template <bool Vertical>
void TPixelRaster::Walk(int a1, int a2, int b1, int b2) noexcept {
  const bool reversed = a1 > a2;
  if (reversed) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int axisMask = Vertical ? kVerticalMask : kHorizontalMask;
  const int direction = Vertical ? (reversed ? kUp : kDown) : (reversed ? kLeft : kRight);
  const int inc = FixedRatio(b2 - b1, a2 - a1);
  int b = b1 * 1024;  // 26.6 to 16.16
  if (lastDirection_ == (direction ^ axisMask)) {
    // Turning back: half a pixel more behind the start.
    if (reversed) {
      a2 += 32;
    } else {
      a1 -= 32;
      b -= inc >> 1;
    }
  }
  const int first = (a1 + 32) >> 6;
  const int stop = (a2 + 32) >> 6;
  if (first == stop) return;
  b += ((first * 64 + (inc > 0 ? 32 : 0) - a1) * inc) >> 6;
  lastDirection_ = direction;
  // A band's rows: only the steps that may land in them (the check of each pixel stays).
  int from = first, to = stop;
  const int rowBegin = buffer_.RowBegin();
  const int rowEnd = rowBegin + static_cast<int>(buffer_.RowCount());
  if (rowBegin > 0 || rowEnd < buffer_.Height) {
    if (Vertical) {
      from = std::max(first, rowBegin);
      to = std::min(stop, rowEnd);
    } else if (inc == 0) {
      if ((b >> 16) < rowBegin || (b >> 16) >= rowEnd) return;
    } else {
      // Where the minor coordinate crosses the band's edges, give or take two steps.
      const double t1 = (static_cast<double>(rowBegin) * 65536.0 - b) / inc;
      const double t2 = (static_cast<double>(rowEnd) * 65536.0 - b) / inc;
      from = static_cast<int>(std::max<double>(first, first + std::floor(std::min(t1, t2)) - 2));
      to = static_cast<int>(std::min<double>(stop, first + std::ceil(std::max(t1, t2)) + 2));
    }
    if (from >= to) return;
    b = static_cast<int>(b + static_cast<long long>(inc) * (from - first));
  }
  const bool dotted = style_ != TPenStyle::Solid;
  if (mode_ == TPenMode::Xor) {
    if (dotted)
      Span<Vertical, true, true>(first, stop, from, to, b, inc, reversed);
    else
      Span<Vertical, true, false>(first, stop, from, to, b, inc, reversed);
  } else {
    if (dotted)
      Span<Vertical, false, true>(first, stop, from, to, b, inc, reversed);
    else
      Span<Vertical, false, false>(first, stop, from, to, b, inc, reversed);
  }
}

template <bool Vertical, bool Xor, bool Dotted>
void TPixelRaster::Span(int first, int stop, int from, int to, int b, int inc,
                        bool reversed) noexcept {
  const TDashPattern pattern = DashPatternOf(style_);
  // The pattern starts at the first pixel on the start side: the last one walked when reversed.
  // Steps from .. to - 1 of first .. stop - 1 are walked, b being the minor coordinate at from.
  int phase = (reversed ? stop - 1 - from : from - first) % pattern.Period;
  const int step = reversed ? pattern.Period - 1 : 1;
  const unsigned width = static_cast<unsigned>(buffer_.Width);
  const int rowBegin = buffer_.RowBegin();
  const unsigned rows = buffer_.RowCount();
  for (int a = from; a < to; ++a, b += inc) {
    bool on = true;
    if constexpr (Dotted) {
      on = (pattern.Mask >> phase) & 1u;
      phase += step;
      if (phase >= pattern.Period) phase -= pattern.Period;
    }
    const int x = Vertical ? b >> 16 : a;
    const int y = Vertical ? a : b >> 16;
    if (!on || static_cast<unsigned>(x) >= width || static_cast<unsigned>(y - rowBegin) >= rows)
      continue;
    std::uint32_t& p = buffer_.Bits[static_cast<std::ptrdiff_t>(y) * buffer_.Stride + x];
    if constexpr (Xor)
      p ^= value_;
    else
      p = value_;
  }
}

}  // namespace sxf
