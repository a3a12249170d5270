#include "platform/win32/GdiTextSprites.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"

namespace sxf {

namespace {

void AppendInt(std::string& key, int v) {
  char bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  key.append(bytes, sizeof v);
}

// 0x00BBGGRR to the DIB's 0x00RRGGBB.
std::uint32_t ToPixel(TColor c) noexcept {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace

TGdiTextSprites::TGdiTextSprites() = default;
TGdiTextSprites::~TGdiTextSprites() = default;

TGdiTextSprites::TScratch* TGdiTextSprites::ScratchFor(long long cell) {
  TScratch& scratch = cell <= kSmallReach ? small_ : large_;
  if (!scratch.Surface) {
    scratch.Surface = std::make_unique<TDibSurface>(scratch.Side(), scratch.Side());
    if (scratch.Surface->Valid())
      scratch.Canvas = std::make_unique<TGdiCanvas>(scratch.Surface->Dc());
  }
  return scratch.Canvas ? &scratch : nullptr;
}

void TGdiTextSprites::Render(TScratch& scratch, const TLogFont& font, bool wide,
                             std::string_view text, TColor colour, bool opaque, TColor cellColour,
                             const TBox* box, std::span<const std::uint32_t> fill) {
  auto* bits = const_cast<std::uint32_t*>(scratch.Surface->Pixels());  // after GdiFlush
  const int side = scratch.Side();
  if (!box) {
    std::fill(bits, bits + side * side, fill[0]);
  } else {
    // Only the box: the text writes nothing beyond it.
    const int width = box->Right - box->Left + 1;
    for (int dy = box->Top; dy <= box->Bottom; ++dy) {
      std::uint32_t* row =
          bits + static_cast<std::ptrdiff_t>(dy + scratch.Reach) * side + box->Left + scratch.Reach;
      if (fill.size() == 1)
        std::fill(row, row + width, fill[0]);
      else
        std::copy_n(fill.begin() + static_cast<std::ptrdiff_t>(dy - box->Top) * width, width, row);
    }
  }
  TGdiCanvas& canvas = *scratch.Canvas;
  canvas.UseWideText(wide);
  canvas.SetFont(font);
  canvas.FontColor = colour;
  canvas.Brush =
      opaque ? TBrush{cellColour, TBrushStyle::Solid} : TBrush{cellColour, TBrushStyle::Clear};
  canvas.TextOut(scratch.Reach, scratch.Reach, text);
  GdiFlush();
}

std::vector<std::uint32_t> TGdiTextSprites::BoxPixels(const TScratch& scratch, const TBox& box) {
  const std::uint32_t* bits = scratch.Surface->Pixels();
  const int side = scratch.Side(), width = box.Right - box.Left + 1;
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(width) *
                 static_cast<std::size_t>(box.Bottom - box.Top + 1));
  for (int dy = box.Top; dy <= box.Bottom; ++dy) {
    const std::uint32_t* row =
        bits + static_cast<std::ptrdiff_t>(dy + scratch.Reach) * side + box.Left + scratch.Reach;
    pixels.insert(pixels.end(), row, row + width);
  }
  return pixels;
}

TGdiTextSprites::TInk TGdiTextSprites::MakeInk(TScratch& scratch, const TBox& box,
                                               const TLogFont& font, bool wide,
                                               std::string_view text, TColor colour, bool opaque,
                                               TColor cellColour) {
  // Everything the text writes lies in its footprint (white on black showed each pixel it
  // touches), so the footprint alone is looked at.
  TInk ink;
  const int width = box.Right - box.Left + 1;
  const auto picture = [&](std::span<const std::uint32_t> fill) {
    Render(scratch, font, wide, text, colour, opaque, cellColour, &box, fill);
    return BoxPixels(scratch, box);
  };
  const std::uint32_t white = 0xFFFFFF, black = 0;
  const std::vector<std::uint32_t> onWhite = picture({&white, 1}), onBlack = picture({&black, 1});
  const std::uint32_t text24 = ToPixel(colour);

  // Each pixel's table, shared by the pixels of the same ends.
  std::unordered_map<std::uint64_t, std::uint16_t> tableOf;
  bool constant = true;
  for (std::size_t i = 0; i < onWhite.size(); ++i) {
    const std::uint32_t high = onWhite[i], low = onBlack[i];
    if (high == 0xFFFFFFu && low == 0) continue;  // not written
    if ((high | low) > 0xFFFFFFu) return ink;
    const int dy = box.Top + static_cast<int>(i / static_cast<std::size_t>(width)),
              dx = box.Left + static_cast<int>(i % static_cast<std::size_t>(width));
    constant = constant && high == low;
    const std::uint64_t ends = static_cast<std::uint64_t>(high) << 32 | low;
    auto level = tableOf.find(ends);
    if (level == tableOf.end()) {
      if (ink.Tables.size() >= 0xFFFF) return ink;
      TChannelTable table;
      for (int channel = 0; channel < 3; ++channel) {
        const int shift = 8 * channel;
        const int t = static_cast<int>((text24 >> shift) & 0xFF),
                  hi = static_cast<int>((high >> shift) & 0xFF),
                  lo = static_cast<int>((low >> shift) & 0xFF);
        for (int d = 0; d < 256; ++d) {
          int out = t;
          if (hi == lo)
            out = hi;
          else if (d > t)
            out = t + (d - t) * (hi - t) / (255 - t);
          else if (d < t)
            out = t - (t - d) * (t - lo) / t;
          table[static_cast<std::size_t>(256 * channel + d)] = static_cast<std::uint8_t>(out);
        }
      }
      ink.Tables.push_back(table);
      level = tableOf.emplace(ends, static_cast<std::uint16_t>(ink.Tables.size() - 1)).first;
    }
    ink.Levels.push_back(level->second);
    ink.Values.push_back(high);
    if (!ink.Runs.empty() && ink.Runs.back().Dy == dy &&
        ink.Runs.back().Dx + ink.Runs.back().Length == dx)
      ++ink.Runs.back().Length;
    else
      ink.Runs.push_back({dy, dx, 1});
  }

  // The model against GDI on two backgrounds of noise.
  std::uint32_t seed = 0x9E3779B9u ^ text24;
  for (int round = 0; round < 2; ++round) {
    std::vector<std::uint32_t> noise(onWhite.size());
    for (std::uint32_t& v : noise) {
      seed = seed * 1664525u + 1013904223u;
      v = seed >> 8;
    }
    std::vector<std::uint32_t> expected = noise;
    std::size_t p = 0;
    for (const TRun& run : ink.Runs) {
      const std::size_t at = static_cast<std::size_t>(run.Dy - box.Top) * width +
                             static_cast<std::size_t>(run.Dx - box.Left);
      for (int k = 0; k < run.Length; ++k, ++p) expected[at + k] = Blend(ink, p, noise[at + k]);
    }
    if (picture(noise) != expected) return ink;
  }
  if (constant) {
    ink.Levels.clear();
    ink.Tables.clear();
  } else {
    ink.Values.clear();
  }
  ink.Usable = true;
  return ink;
}

bool TGdiTextSprites::Draw(const TPixelBuffer& target, int x, int y, const TLogFont& font,
                           bool wide, std::string_view text, TColor colour, const TBrush& brush) {
  // GDI places a turned character by cutting its offset from (x, y) to whole pixels, which
  // moves it by a pixel where the point it cuts lies left of or above the surface's origin:
  // a turned text must stand far enough in for every point of its cell to lie inside, here as
  // at the scratch's centre. A text that is not turned has whole offsets only and may stand
  // anywhere. A cell of the default height (0) is taken at the small reach.
  const long long cell = font.Height == 0 ? kSmallReach
                                          : 2LL * std::abs(static_cast<long long>(font.Height)) +
                                                2LL * std::abs(static_cast<long long>(font.Width));
  const bool turned = font.Escapement != 0 || font.Orientation != 0;
  if (cell > kMaxReach || (turned && (x < cell || y < cell))) return false;
  const bool opaque = brush.Style == TBrushStyle::Solid;
  // The key, written in place: appends one by one cost as much as the look-up.
  const int head[] = {font.Height,
                      font.Width,
                      font.Escapement,
                      font.Orientation,
                      font.Weight,
                      font.CharSet,
                      (font.Italic ? 1 : 0) | (font.Underline ? 2 : 0) | (font.StrikeOut ? 4 : 0) |
                          (wide ? 8 : 0) | (opaque ? 16 : 0) | (font.NonAntialiased ? 32 : 0),
                      static_cast<int>(font.FaceName.size()),
                      static_cast<int>(text.size())};
  key_.resize(sizeof head + font.FaceName.size() + text.size());
  std::memcpy(key_.data(), head, sizeof head);
  std::memcpy(key_.data() + sizeof head, font.FaceName.data(), font.FaceName.size());
  std::memcpy(key_.data() + sizeof head + font.FaceName.size(), text.data(), text.size());

  TScratch* scratch = ScratchFor(cell);
  auto foot = footprints_.find(key_);
  if (foot == footprints_.end()) {
    // A text met for the first time is left to GDI: one that does not recur (a zoomed view's
    // texts) is not worth the scratch pictures that keeping it takes.
    if (footprints_.size() >= 8192) footprints_.clear();
    footprints_.emplace(key_, TBox{0, 0, -1, -1, false, false});
    return false;
  }
  if (!foot->second.Found) {
    TBox box;
    if (!scratch) {
      box.Usable = false;
    } else {
      // White on black: every pixel the text touches is not black.
      const std::uint32_t black = 0;
      Render(*scratch, font, wide, text, 0xFFFFFF, opaque, 0xFFFFFF, nullptr, {&black, 1});
      const int side = scratch->Side();
      const std::uint32_t* bits = scratch->Surface->Pixels();
      for (int sy = 0; sy < side; ++sy) {
        const std::uint32_t* row = bits + static_cast<std::ptrdiff_t>(sy) * side;
        for (int sx = 0; sx < side; ++sx) {
          if ((row[sx] & 0xFFFFFF) == 0) continue;
          if (box.Empty()) box = TBox{sx, sy, sx, sy, true};
          box.Left = std::min(box.Left, sx);
          box.Right = std::max(box.Right, sx);
          box.Top = std::min(box.Top, sy);
          box.Bottom = std::max(box.Bottom, sy);
        }
      }
      // Ink on the scratch's border may have been cut off: not a case to keep.
      if (!box.Empty()) {
        box.Usable = box.Left > 0 && box.Top > 0 && box.Right < side - 1 && box.Bottom < side - 1;
        const int reach = scratch->Reach;
        box.Left -= reach, box.Right -= reach, box.Top -= reach, box.Bottom -= reach;
      }
    }
    foot->second = box;
  }
  const TBox box = foot->second;
  if (!box.Usable) return false;
  if (box.Empty()) return true;  // nothing to write (a blank)
  const long long left = static_cast<long long>(x) + box.Left,
                  top = static_cast<long long>(y) + box.Top;
  const long long right = static_cast<long long>(x) + box.Right,
                  bottom = static_cast<long long>(y) + box.Bottom;
  if (turned && (left < 0 || top < 0 || right >= target.Width || bottom >= target.Height))
    return false;
  const int width = box.Right - box.Left + 1;
  // The footprint's pixels that target writes: GDI cuts a text at the surface's edges as it
  // cuts any drawing. Every pixel of a character depends on its own background only, so
  // pixels elsewhere (beyond the edges, another band's rows) do not matter.
  const long long first = std::max<long long>({top, 0, target.RowBegin()});
  const long long last = std::min<long long>(
      {bottom, static_cast<long long>(target.RowBegin()) + target.RowCount() - 1});
  const long long shownLeft = std::max(left, 0LL);
  const long long shownRight = std::min<long long>(right, target.Width - 1);
  if (first > last || shownLeft > shownRight) return true;
  const auto shown = static_cast<std::size_t>(shownRight - shownLeft + 1);
  const auto rowAt = [&](long long ty) { return target.Bits + ty * target.Stride + shownLeft; };

  AppendInt(key_, static_cast<int>(colour));
  AppendInt(key_, opaque ? static_cast<int>(brush.Color) : -1);
  auto ink = inks_.find(key_);
  if (ink == inks_.end()) {
    if (inks_.size() >= 8192) inks_.clear();
    ink = inks_.emplace(key_, MakeInk(*scratch, box, font, wide, text, colour, opaque, brush.Color))
              .first;
  }
  if (const TInk& written = ink->second; written.Usable) {
    std::size_t p = 0;
    for (const TRun& run : written.Runs) {
      const long long ty = static_cast<long long>(y) + run.Dy;
      const long long tx = static_cast<long long>(x) + run.Dx;
      // The run's pixels k0 .. k1 - 1 that lie inside.
      const long long k0 = std::max(0LL, shownLeft - tx);
      const long long k1 = std::min<long long>(run.Length, shownRight + 1 - tx);
      if (ty >= first && ty <= last && k0 < k1) {
        std::uint32_t* row = target.Bits + ty * target.Stride + tx;
        const auto from = p + static_cast<std::size_t>(k0);
        if (written.Tables.empty())
          std::memcpy(row + k0, written.Values.data() + from,
                      static_cast<std::size_t>(k1 - k0) * sizeof(std::uint32_t));
        else
          for (long long k = k0; k < k1; ++k)
            row[k] = Blend(written, p + static_cast<std::size_t>(k), row[k]);
      }
      p += static_cast<std::size_t>(run.Length);
    }
    ++written_;
    ++inked_;
    return true;
  }

  // The background must be one colour under the footprint's pixels written.
  const std::uint32_t background = rowAt(first)[0];
  for (long long ty = first; ty <= last; ++ty) {
    const std::uint32_t* row = rowAt(ty);
    for (std::size_t i = 0; i < shown; ++i)
      if (row[i] != background) return false;
  }

  AppendInt(key_, static_cast<int>(background));
  auto pix = pixels_.find(key_);
  if (pix == pixels_.end()) {
    if (pixels_.size() >= 16384) pixels_.clear();
    Render(*scratch, font, wide, text, colour, opaque, brush.Color, &box, {&background, 1});
    ++rendered_;
    std::vector<std::uint32_t> pixels = BoxPixels(*scratch, box);
    pix = pixels_.emplace(key_, std::move(pixels)).first;
  }
  const std::uint32_t* from = pix->second.data() + (first - top) * width + (shownLeft - left);
  for (long long ty = first; ty <= last; ++ty, from += width)
    std::memcpy(rowAt(ty), from, shown * sizeof(std::uint32_t));
  ++written_;
  return true;
}

}  // namespace sxf
