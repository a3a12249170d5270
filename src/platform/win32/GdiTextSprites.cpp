#include "platform/win32/GdiTextSprites.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"

namespace sxf {

namespace {

constexpr int kSide = 2 * TGdiTextSprites::kMaxReach + 1;

void AppendInt(std::string& key, int v) {
  char bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  key.append(bytes, sizeof v);
}

}  // namespace

TGdiTextSprites::TGdiTextSprites() = default;
TGdiTextSprites::~TGdiTextSprites() = default;

bool TGdiTextSprites::Ready() {
  if (!scratch_) {
    scratch_ = std::make_unique<TDibSurface>(kSide, kSide);
    if (scratch_->Valid()) canvas_ = std::make_unique<TGdiCanvas>(scratch_->Dc());
  }
  return canvas_ != nullptr;
}

void TGdiTextSprites::Render(const TLogFont& font, bool wide, std::string_view text, TColor colour,
                             bool opaque, TColor cellColour, std::uint32_t background) {
  auto* bits = const_cast<std::uint32_t*>(scratch_->Pixels());  // after GdiFlush
  std::fill(bits, bits + kSide * kSide, background);
  canvas_->UseWideText(wide);
  canvas_->SetFont(font);
  canvas_->FontColor = colour;
  canvas_->Brush =
      opaque ? TBrush{cellColour, TBrushStyle::Solid} : TBrush{cellColour, TBrushStyle::Clear};
  canvas_->TextOut(kMaxReach, kMaxReach, text);
  GdiFlush();
}

bool TGdiTextSprites::Draw(const TPixelBuffer& target, int x, int y, const TLogFont& font,
                           bool wide, std::string_view text, TColor colour, const TBrush& brush) {
  // GDI places a turned character by cutting its offset from (x, y) to whole pixels, which
  // moves it by a pixel where the point it cuts lies left of or above the surface's origin:
  // the text must stand far enough in for every point of its cell to lie inside, here as at
  // the scratch's centre. A cell of the default height (0) is taken at the reach's limit.
  const long long cell = font.Height == 0 ? kMaxReach
                                          : 2LL * std::abs(static_cast<long long>(font.Height)) +
                                                2LL * std::abs(static_cast<long long>(font.Width));
  if (cell > kMaxReach || x < cell || y < cell) return false;
  const bool opaque = brush.Style == TBrushStyle::Solid;
  key_.clear();
  for (const int v :
       {font.Height, font.Width, font.Escapement, font.Orientation, font.Weight, font.CharSet,
        (font.Italic ? 1 : 0) | (font.Underline ? 2 : 0) | (font.StrikeOut ? 4 : 0) |
            (wide ? 8 : 0) | (opaque ? 16 : 0),
        static_cast<int>(font.FaceName.size()), static_cast<int>(text.size())})
    AppendInt(key_, v);
  key_ += font.FaceName;
  key_ += text;

  auto foot = footprints_.find(key_);
  if (foot == footprints_.end()) {
    if (footprints_.size() >= 8192) footprints_.clear();
    TBox box;
    if (!Ready()) {
      box.Usable = false;
    } else {
      // White on black: every pixel the text touches is not black.
      Render(font, wide, text, 0xFFFFFF, opaque, 0xFFFFFF, 0);
      const std::uint32_t* bits = scratch_->Pixels();
      for (int sy = 0; sy < kSide; ++sy)
        for (int sx = 0; sx < kSide; ++sx) {
          if ((bits[sy * kSide + sx] & 0xFFFFFF) == 0) continue;
          if (box.Empty()) box = TBox{sx, sy, sx, sy, true};
          box.Left = std::min(box.Left, sx);
          box.Right = std::max(box.Right, sx);
          box.Top = std::min(box.Top, sy);
          box.Bottom = std::max(box.Bottom, sy);
        }
      // Ink on the scratch's border may have been cut off: not a case to keep.
      if (!box.Empty()) {
        box.Usable = box.Left > 0 && box.Top > 0 && box.Right < kSide - 1 && box.Bottom < kSide - 1;
        box.Left -= kMaxReach, box.Right -= kMaxReach, box.Top -= kMaxReach,
            box.Bottom -= kMaxReach;
      }
    }
    foot = footprints_.emplace(key_, box).first;
  }
  const TBox box = foot->second;
  if (!box.Usable) return false;
  if (box.Empty()) return true;  // nothing to write (a blank)
  const long long left = static_cast<long long>(x) + box.Left,
                  top = static_cast<long long>(y) + box.Top;
  const long long right = static_cast<long long>(x) + box.Right,
                  bottom = static_cast<long long>(y) + box.Bottom;
  if (left < 0 || top < 0 || right >= target.Width || bottom >= target.Height) return false;
  const int width = box.Right - box.Left + 1;
  // The footprint's rows that target writes. Every pixel of a character depends on its own
  // background only, so rows elsewhere (another band's) do not matter.
  const long long first = std::max<long long>(top, target.RowBegin());
  const long long last = std::min<long long>(
      bottom, static_cast<long long>(target.RowBegin()) + target.RowCount() - 1);
  if (first > last) return true;

  // The background must be one colour under the footprint's rows written.
  const auto rowAt = [&](long long ty) { return target.Bits + ty * target.Stride + left; };
  const std::uint32_t background = rowAt(first)[0];
  for (long long ty = first; ty <= last; ++ty) {
    const std::uint32_t* row = rowAt(ty);
    for (int i = 0; i < width; ++i)
      if (row[i] != background) return false;
  }

  AppendInt(key_, static_cast<int>(colour));
  AppendInt(key_, opaque ? static_cast<int>(brush.Color) : -1);
  AppendInt(key_, static_cast<int>(background));
  auto pix = pixels_.find(key_);
  if (pix == pixels_.end()) {
    if (pixels_.size() >= 16384) pixels_.clear();
    Render(font, wide, text, colour, opaque, brush.Color, background);
    ++rendered_;
    const std::uint32_t* bits = scratch_->Pixels();
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) *
                   static_cast<std::size_t>(box.Bottom - box.Top + 1));
    for (int sy = box.Top; sy <= box.Bottom; ++sy) {
      const std::uint32_t* row = bits + (sy + kMaxReach) * kSide + box.Left + kMaxReach;
      pixels.insert(pixels.end(), row, row + width);
    }
    pix = pixels_.emplace(key_, std::move(pixels)).first;
  }
  const std::uint32_t* from = pix->second.data() + (first - top) * width;
  for (long long ty = first; ty <= last; ++ty, from += width)
    std::memcpy(rowAt(ty), from, static_cast<std::size_t>(width) * sizeof(std::uint32_t));
  ++written_;
  return true;
}

}  // namespace sxf
