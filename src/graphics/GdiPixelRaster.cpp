#include "graphics/GdiPixelRaster.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

namespace sxf {

namespace {

// The on pixels of one 24-pixel period of a dotted style: bit k for the k-th pixel.
constexpr int kPeriod = 24;

constexpr std::uint32_t PatternOf(TPenStyle s) noexcept {
  switch (s) {
    case TPenStyle::Dash: return 0x03FFFF;        // 18 on, 6 off
    case TPenStyle::Dot: return 0x1C71C7;         // 3 on, 3 off
    case TPenStyle::DashDot: return 0x0381FF;     // 9, 6, 3, 6
    case TPenStyle::DashDotDot: return 0x1C71FF;  // 9, 3, 3, 3, 3, 3
    case TPenStyle::Solid:
    case TPenStyle::Clear: break;
  }
  return 0xFFFFFF;
}

constexpr int kSolid = 0, kTransparentGaps = 1, kOpaqueGaps = 2;

long long FloorDiv(long long a, long long b) noexcept {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

void TGdiPixelRaster::Line(int x1, int y1, int x2, int y2) noexcept {
  assert(std::abs(x1) <= kMaxCoordinate && std::abs(y1) <= kMaxCoordinate);
  assert(std::abs(x2) <= kMaxCoordinate && std::abs(y2) <= kMaxCoordinate);
  const int rows = static_cast<int>(buffer_.RowCount());
  if (style_ == TPenStyle::Clear || buffer_.Width <= 0 || rows <= 0) return;
  const int rowBegin = buffer_.RowBegin(), rowEnd = rowBegin + rows;
  // Every pixel lies in the box of the two ends: a segment wholly beside the pixels written
  // (another band's rows, mostly) writes nothing, found without a division.
  if (std::max(y1, y2) < rowBegin || std::min(y1, y2) >= rowEnd || std::max(x1, x2) < 0 ||
      std::min(x1, x2) >= buffer_.Width)
    return;
  const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
  if (std::abs(dx) >= std::abs(dy)) {
    if (dx != 0) Walk<false>(x1, x2, y1, y2, 0, buffer_.Width, rowBegin, rowEnd);
  } else {
    Walk<true>(y1, y2, x1, x2, rowBegin, rowEnd, 0, buffer_.Width);
  }
}

// a: the major coordinates of the ends, b: the minor ones; [aBegin, aEnd) and [bBegin, bEnd):
// the pixels written along each (the buffer's columns, or the rows it writes).
template <bool Vertical>
void TGdiPixelRaster::Walk(int a1, int a2, int b1, int b2, int aBegin, int aEnd, int bBegin,
                           int bEnd) noexcept {
  const long long len = std::abs(static_cast<long long>(a2) - a1);
  const long long db = static_cast<long long>(b2) - b1;
  const int sa = a2 > a1 ? 1 : -1;
  const int sb = db >= 0 ? 1 : -1;
  // The k-th pixel's minor offset is sb * floor((add * k + c) / den): the exact offset
  // rounded to nearest, a half towards the smaller coordinate.
  const long long add = 2 * std::abs(db), den = 2 * len, c = db >= 0 ? len - 1 : len;

  const int kind = style_ == TPenStyle::Solid ? kSolid : opaque_ ? kOpaqueGaps : kTransparentGaps;
  const auto span = [&]<bool Xor>(long long k0, long long k1, int b, int r) {
    switch (kind) {
      case kSolid:
        Span<Vertical, Xor, kSolid>(k0, k1, a1, sa, b, sb, r, static_cast<int>(add),
                                    static_cast<int>(den));
        break;
      case kTransparentGaps:
        Span<Vertical, Xor, kTransparentGaps>(k0, k1, a1, sa, b, sb, r, static_cast<int>(add),
                                              static_cast<int>(den));
        break;
      default:
        Span<Vertical, Xor, kOpaqueGaps>(k0, k1, a1, sa, b, sb, r, static_cast<int>(add),
                                         static_cast<int>(den));
        break;
    }
  };
  const auto inside = [](int v, int begin, int end) {
    return static_cast<unsigned>(v - begin) < static_cast<unsigned>(end - begin);
  };
  if (inside(a1, aBegin, aEnd) && inside(a2, aBegin, aEnd) && inside(b1, bBegin, bEnd) &&
      inside(b2, bBegin, bEnd)) {
    // Nothing to cut (the end pixel, left out, lies inside too): no 64-bit division.
    if (mode_ == TPenMode::Xor)
      span.template operator()<true>(0, len, b1, static_cast<int>(c));
    else
      span.template operator()<false>(0, len, b1, static_cast<int>(c));
    return;
  }

  // The pixels k in [k0, k1) whose major coordinate lies in [aBegin, aEnd).
  long long k0 =
      sa > 0 ? static_cast<long long>(aBegin) - a1 : static_cast<long long>(a1) - aEnd + 1;
  long long k1 =
      sa > 0 ? static_cast<long long>(aEnd) - a1 : static_cast<long long>(a1) - aBegin + 1;
  k0 = std::max(k0, 0LL);
  k1 = std::min(k1, len);
  // The minor offsets in [lo, hi] keep the minor coordinate in [bBegin, bEnd).
  const long long lo =
      sb > 0 ? static_cast<long long>(bBegin) - b1 : static_cast<long long>(b1) - bEnd + 1;
  const long long hi =
      sb > 0 ? static_cast<long long>(bEnd) - 1 - b1 : static_cast<long long>(b1) - bBegin;
  if (add == 0) {
    if (lo > 0 || hi < 0) return;
  } else {
    k0 = std::max(k0, FloorDiv(lo * den - c + add - 1, add));
    k1 = std::min(k1, FloorDiv((hi + 1) * den - c - 1, add) + 1);
  }
  if (k0 >= k1) return;

  const long long q = add * k0 + c;
  const long long u = q / den;
  const int b = static_cast<int>(b1 + sb * u);
  const int r = static_cast<int>(q - u * den);
  if (mode_ == TPenMode::Xor)
    span.template operator()<true>(k0, k1, b, r);
  else
    span.template operator()<false>(k0, k1, b, r);
}

// Pixels k0 .. k1 - 1, every one inside the buffer's written rows; b and r: the minor coordinate
// and the remainder of its division at k0.
template <bool Vertical, bool Xor, int Kind>
void TGdiPixelRaster::Span(long long k0, long long k1, int a1, int sa, int b, int sb, int r,
                           int add, int den) noexcept {
  const std::uint32_t pattern = PatternOf(style_);
  int phase = Kind == kSolid ? 0 : static_cast<int>(k0) % kPeriod;
  int a = static_cast<int>(a1 + sa * k0);
  const std::ptrdiff_t stride = buffer_.Stride;
  std::uint32_t* const bits = buffer_.Bits;
  for (int n = static_cast<int>(k1 - k0); n > 0; --n, a += sa) {
    std::uint32_t value = value_;
    bool write = true;
    if constexpr (Kind != kSolid) {
      if (!((pattern >> phase) & 1u)) {
        value = background_;
        write = Kind == kOpaqueGaps;
      }
      if (++phase == kPeriod) phase = 0;
    }
    if (write) {
      std::uint32_t& p = Vertical ? bits[static_cast<std::ptrdiff_t>(a) * stride + b]
                                  : bits[static_cast<std::ptrdiff_t>(b) * stride + a];
      if constexpr (Xor)
        p ^= value;
      else
        p = value;
    }
    r += add;
    if (r >= den) {
      r -= den;
      b += sb;
    }
  }
}

}  // namespace sxf
