#include "platform/win32/GdiWidePenSprites.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"

namespace sxf {

namespace {

constexpr int kSide = 2 * TGdiWidePenSprites::kMaxReach + 1;

}  // namespace

TGdiWidePenSprites::TGdiWidePenSprites() = default;
TGdiWidePenSprites::~TGdiWidePenSprites() = default;

TGdiWidePenSprites::TSprite TGdiWidePenSprites::Make(int width, int dx, int dy) {
  TSprite sprite;
  if (!scratch_) {
    scratch_ = std::make_unique<TDibSurface>(kSide, kSide);
    if (scratch_->Valid()) canvas_ = std::make_unique<TGdiCanvas>(scratch_->Dc());
  }
  if (!canvas_) {
    sprite.Usable = false;
    return sprite;
  }
  std::uint32_t* bits = scratch_->Bits();
  GdiFlush();
  std::fill(bits, bits + kSide * kSide, 0u);
  canvas_->Pen = TPen{0xFFFFFF, width, TPenStyle::Solid, TPenMode::Copy};
  canvas_->MoveTo(kMaxReach, kMaxReach);
  canvas_->LineTo(kMaxReach + dx, kMaxReach + dy);
  GdiFlush();
  for (int sy = 0; sy < kSide; ++sy) {
    const std::uint32_t* row = bits + sy * kSide;
    for (int sx = 0; sx < kSide;) {
      if (row[sx] == 0) {
        ++sx;
        continue;
      }
      int end = sx;
      while (end < kSide && row[end] != 0) ++end;
      if (sy == 0 || sy == kSide - 1 || sx == 0 || end == kSide) sprite.Usable = false;
      const TSpan span{sy - kMaxReach, sx - kMaxReach, end - sx};
      if (sprite.Spans.empty()) {
        sprite.Left = span.Dx, sprite.Top = span.Dy, sprite.Right = span.Dx + span.Length - 1;
      }
      sprite.Left = std::min(sprite.Left, span.Dx);
      sprite.Right = std::max(sprite.Right, span.Dx + span.Length - 1);
      sprite.Bottom = span.Dy;
      sprite.Spans.push_back(span);
      sx = end;
    }
  }
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
  // A pixel in from every edge: GDI's strokes are only known to move with their ends there.
  if (static_cast<long long>(x1) + sprite.Left < 1 || static_cast<long long>(y1) + sprite.Top < 1 ||
      static_cast<long long>(x1) + sprite.Right >= target.Width - 1 ||
      static_cast<long long>(y1) + sprite.Bottom >= target.Height - 1)
    return false;
  const int rowBegin = target.RowBegin();
  const unsigned rows = target.RowCount();
  for (const TSpan& s : sprite.Spans) {
    if (static_cast<unsigned>(y1 + s.Dy - rowBegin) >= rows) continue;
    std::uint32_t* p =
        target.Bits + static_cast<std::ptrdiff_t>(y1 + s.Dy) * target.Stride + (x1 + s.Dx);
    std::fill(p, p + s.Length, value);
  }
  return true;
}

}  // namespace sxf
