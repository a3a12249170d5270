#include "platform/win32/GdiPolygonSprites.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win32/GdiCanvas.h"
#include "platform/win32/PixelFill.h"

namespace sxf {

namespace {

// The scratch: the first point at its centre, a border of two pixels beyond the reach.
constexpr int kCentre = TGdiPolygonSprites::kMaxReach + 2;
constexpr int kSide = 2 * kCentre + 1;

// The scratch's pen and brush: every pixel of the shape is one of them, the rest stays black.
constexpr std::uint32_t kPenPixel = 0xFFFFFF, kFillPixel = 0x808080;

// 0x00BBGGRR to the DIB's 0x00RRGGBB.
std::uint32_t ToPixel(TColor c) noexcept {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace

TGdiPolygonSprites::TGdiPolygonSprites() : scratch_(kSide) {}
TGdiPolygonSprites::~TGdiPolygonSprites() = default;

TGdiPolygonSprites::TSprite TGdiPolygonSprites::Make(std::span<const TPixelPoint> points) {
  TSprite sprite;
  std::vector<TPixelPoint> moved(points.begin(), points.end());
  for (TPixelPoint& p : moved) p = {p.X - points[0].X + kCentre, p.Y - points[0].Y + kCentre};
  const bool drawn = scratch_.Draw(
      [&](TGdiCanvas& canvas) {
        canvas.Pen = TPen{kPenPixel, 1, TPenStyle::Solid, TPenMode::Copy};
        canvas.Brush = TBrush{kFillPixel, TBrushStyle::Solid};
        canvas.Polygon(moved);
      },
      [&](int sy, int sx, int end, std::uint32_t value) {
        if (value != kPenPixel && value != kFillPixel) sprite.Usable = false;
        if (sy == 0 || sy == kSide - 1 || sx == 0 || end == kSide) sprite.Usable = false;
        sprite.Spans.push_back({sy - kCentre, sx - kCentre, end - sx, value == kFillPixel});
      });
  if (drawn)
    ++made_;
  else
    sprite.Usable = false;
  return sprite;
}

bool TGdiPolygonSprites::Draw(const TPixelBuffer& target, const TPen& pen, const TBrush& brush,
                              std::span<const TPixelPoint> points) {
  if (points.size() < 3 || pen.Width > 1 || pen.Style != TPenStyle::Solid ||
      pen.Mode != TPenMode::Copy || brush.Style != TBrushStyle::Solid)
    return false;
  // The canvas hands GDI points clamped to +-kPixelLimit: a shape beyond that is left to it.
  const TPixelPoint origin = points[0];
  if (std::abs(origin.X) > TGdiCanvas::kPixelLimit || std::abs(origin.Y) > TGdiCanvas::kPixelLimit)
    return false;
  // The key: every point relative to the first, a byte each way.
  key_.resize(2 * points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TPixelPoint p = points[i];
    const long long dx = static_cast<long long>(p.X) - origin.X,
                    dy = static_cast<long long>(p.Y) - origin.Y;
    if (dx < -kMaxReach || dx > kMaxReach || dy < -kMaxReach || dy > kMaxReach) return false;
    key_[2 * i] = static_cast<char>(dx);
    key_[2 * i + 1] = static_cast<char>(dy);
  }
  auto it = sprites_.find(key_);
  if (it == sprites_.end()) {
    if (sprites_.size() >= 16384) sprites_.clear();
    it = sprites_.emplace(key_, Make(points)).first;
  }
  const TSprite& sprite = it->second;
  if (!sprite.Usable) return false;
  const std::uint32_t penValue = ToPixel(pen.Color), fillValue = ToPixel(brush.Color);
  // Only target's columns and the rows it writes: GDI cuts a shape at the surface's edges as
  // it cuts any drawing.
  const long long rowBegin = target.RowBegin(), rowEnd = rowBegin + target.RowCount();
  for (const TSpan& s : sprite.Spans) {
    const long long row = static_cast<long long>(origin.Y) + s.Dy;
    if (row < rowBegin || row >= rowEnd) continue;
    const long long from = std::max(0LL, static_cast<long long>(origin.X) + s.Dx);
    const long long to =
        std::min<long long>(target.Width, static_cast<long long>(origin.X) + s.Dx + s.Length);
    if (from < to)
      FillPixels(target.Bits + row * target.Stride + from, target.Bits + row * target.Stride + to,
                 s.Fill ? fillValue : penValue);
  }
  return true;
}

}  // namespace sxf
