#include "platform/win32/GdiWidePenSprites.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/win32/GdiCanvas.h"
#include "platform/win32/PixelFill.h"

namespace sxf {

namespace {

constexpr int kSide = 2 * TGdiWidePenSprites::kMaxReach + 1;

// Writes value into the spans at origin, into the rows target writes and its columns only.
template <typename Span>
void FillSpans(const TPixelBuffer& target, const std::vector<Span>& spans, long long x, long long y,
               std::uint32_t value) {
  const long long rowBegin = target.RowBegin(), rowEnd = rowBegin + target.RowCount();
  for (const Span& s : spans) {
    const long long row = y + s.Dy;
    if (row < rowBegin || row >= rowEnd) continue;
    const long long from = std::max(0LL, x + s.Dx);
    const long long to = std::min<long long>(target.Width, x + s.Dx + s.Length);
    if (from < to)
      FillPixels(target.Bits + row * target.Stride + from, target.Bits + row * target.Stride + to,
                 value);
  }
}

}  // namespace

TGdiWidePenSprites::TGdiWidePenSprites() : scratch_(kSide) {}
TGdiWidePenSprites::~TGdiWidePenSprites() = default;

TGdiWidePenSprites::TSprite TGdiWidePenSprites::Make(int width, int dx, int dy) {
  TSprite sprite;
  const bool drawn = scratch_.Draw(
      [&](TGdiCanvas& canvas) {
        canvas.Pen = TPen{0xFFFFFF, width, TPenStyle::Solid, TPenMode::Copy};
        canvas.MoveTo(kMaxReach, kMaxReach);
        canvas.LineTo(kMaxReach + dx, kMaxReach + dy);
      },
      [&](int sy, int sx, int end, std::uint32_t) {
        if (sy == 0 || sy == kSide - 1 || sx == 0 || end == kSide) sprite.Usable = false;
        const TSpan span{sy - kMaxReach, sx - kMaxReach, end - sx};
        if (sprite.Spans.empty()) {
          sprite.Left = span.Dx, sprite.Top = span.Dy, sprite.Right = span.Dx + span.Length - 1;
        }
        sprite.Left = std::min(sprite.Left, span.Dx);
        sprite.Right = std::max(sprite.Right, span.Dx + span.Length - 1);
        sprite.Bottom = span.Dy;
        sprite.Spans.push_back(span);
      });
  if (!drawn) sprite.Usable = false;
  return sprite;
}

bool TGdiWidePenSprites::Draw(const TPixelBuffer& target, int width, int x1, int y1, int x2, int y2,
                              std::uint32_t value) {
  if (width <= 1 || width > 255) return false;
  const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
  if (std::abs(dx) > kMaxReach || std::abs(dy) > kMaxReach) return false;
  const std::uint64_t key = static_cast<std::uint64_t>(width) << 32 |
                            static_cast<std::uint64_t>(dx + kMaxReach) << 16 |
                            static_cast<std::uint64_t>(dy + kMaxReach);
  auto it = sprites_.find(key);
  if (it == sprites_.end()) {
    if (sprites_.size() >= 65536) sprites_.clear();
    it = sprites_.emplace(key, Make(width, static_cast<int>(dx), static_cast<int>(dy))).first;
  }
  const TSprite& sprite = it->second;
  if (!sprite.Usable) return false;
  FillSpans(target, sprite.Spans, x1, y1, value);
  return true;
}

TGdiWidePenSprites::TSprite TGdiWidePenSprites::MakeChain(int width,
                                                          std::span<const TPixelPoint> points) {
  TSprite chain;
  chain.Usable = false;
  // The strokes drawn with value 1 on a buffer around the points, far enough from its edges for
  // every stroke the sprites take.
  int left = 0, top = 0, right = 0, bottom = 0;
  for (const TPixelPoint p : points) {
    left = std::min(left, p.X - points[0].X), right = std::max(right, p.X - points[0].X);
    top = std::min(top, p.Y - points[0].Y), bottom = std::max(bottom, p.Y - points[0].Y);
  }
  const int pad = kMaxReach + 2;
  const int w = right - left + 2 * pad + 1, h = bottom - top + 2 * pad + 1;
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
  const TPixelBuffer local{bits.data(), w, h, w};
  const auto at = [&](TPixelPoint p) {
    return TPixelPoint{p.X - points[0].X - left + pad, p.Y - points[0].Y - top + pad};
  };
  for (std::size_t i = 1; i < points.size(); ++i) {
    const TPixelPoint a = at(points[i - 1]), b = at(points[i]);
    if (!Draw(local, width, a.X, a.Y, b.X, b.Y, 1)) return chain;
    bits[static_cast<std::size_t>(b.Y) * static_cast<std::size_t>(w) +
         static_cast<std::size_t>(b.X)] = 1;
  }
  for (int sy = 0; sy < h; ++sy) {
    const std::uint32_t* row = bits.data() + static_cast<std::ptrdiff_t>(sy) * w;
    for (int sx = 0; sx < w;) {
      if (row[sx] == 0) {
        ++sx;
        continue;
      }
      int end = sx;
      while (end < w && row[end] != 0) ++end;
      const TSpan span{sy + top - pad, sx + left - pad, end - sx};
      if (chain.Spans.empty()) chain.Left = span.Dx, chain.Top = span.Dy, chain.Right = span.Dx;
      chain.Left = std::min(chain.Left, span.Dx);
      chain.Right = std::max(chain.Right, span.Dx + span.Length - 1);
      chain.Bottom = span.Dy;
      chain.Spans.push_back(span);
      sx = end;
    }
  }
  chain.Usable = true;
  return chain;
}

bool TGdiWidePenSprites::DrawChain(const TPixelBuffer& target, int width,
                                   std::span<const TPixelPoint> points, std::uint32_t value) {
  if (width <= 1 || width > 255 || points.size() < 2 || points.size() > 4096) return false;
  // The key: the width and each point from the first; chains of far points are not kept.
  // Written in place: a ring has some seventy points, and an append each costs more than the
  // look-up.
  key_.resize(sizeof width + points.size() * 2 * sizeof(std::int16_t));
  char* at = key_.data();
  std::memcpy(at, &width, sizeof width);
  at += sizeof width;
  for (const TPixelPoint p : points) {
    const long long dx = static_cast<long long>(p.X) - points[0].X,
                    dy = static_cast<long long>(p.Y) - points[0].Y;
    if (std::llabs(dx) > 4096 || std::llabs(dy) > 4096) return false;
    const std::int16_t d[] = {static_cast<std::int16_t>(dx), static_cast<std::int16_t>(dy)};
    std::memcpy(at, d, sizeof d);
    at += sizeof d;
  }
  auto it = chains_.find(key_);
  if (it == chains_.end()) {
    if (chains_.size() >= 4096) chains_.clear();
    it = chains_.emplace(key_, MakeChain(width, points)).first;
  }
  const TSprite& chain = it->second;
  if (!chain.Usable) return false;
  // The canvas hands GDI points clamped to +-kPixelLimit: a chain beyond that is left to it.
  const TPixelPoint origin = points[0];
  if (std::abs(origin.X) > TGdiCanvas::kPixelLimit || std::abs(origin.Y) > TGdiCanvas::kPixelLimit)
    return false;
  FillSpans(target, chain.Spans, origin.X, origin.Y, value);
  return true;
}

}  // namespace sxf
