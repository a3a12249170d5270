#include "platform/qt/TextSprites.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <shared_mutex>

#include "platform/qt/CharacterKey.h"
#include "platform/qt/QtRgb.h"

namespace sxf {

namespace {

QImage Scratch(int reach, QRgb fill) {
  QImage image(2 * reach + 1, 2 * reach + 1, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void RenderAt(QImage& scratch, int reach, QRgb colour, const TTextSprites::TRender& render) {
  QPainter p(&scratch);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor::fromRgb(colour));
  p.translate(reach, reach);
  render(p);
}

// Every band's footprints: a character's depends on its font record and character alone (the
// key), so the first band to meet one finds it and the others take it from here.
struct TSharedFootprints {
  std::shared_mutex Lock;
  std::unordered_map<std::string, TTextSprites::TFootprint> Boxes;
};

TSharedFootprints& SharedFootprints() {
  static TSharedFootprints shared;
  return shared;
}

// The pixels the character touches, white on black, relative to its pixel; not usable where
// they reach the scratch's border and may have been cut off.
TTextSprites::TFootprint FindFootprint(int reach, const TTextSprites::TRender& render) {
  QImage scratch = Scratch(reach, qRgb(0, 0, 0));
  RenderAt(scratch, reach, qRgb(255, 255, 255), render);
  const int side = scratch.width();
  int left = side, top = side, right = -1, bottom = -1;
  for (int sy = 0; sy < side; ++sy) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(sy));
    for (int sx = 0; sx < side; ++sx)
      if ((row[sx] & 0xFFFFFF) != 0) {
        left = std::min(left, sx), right = std::max(right, sx);
        top = std::min(top, sy), bottom = std::max(bottom, sy);
      }
  }
  if (right < 0) return {QRect(), true};
  const bool usable = left > 0 && top > 0 && right < side - 1 && bottom < side - 1;
  return {QRect(QPoint(left - reach, top - reach), QPoint(right - reach, bottom - reach)), usable};
}

}  // namespace

TTextSprites::TFootprint TTextSprites::SharedFootprint(const std::string& key, int reach,
                                                       const TRender& render) {
  TSharedFootprints& shared = SharedFootprints();
  {
    std::shared_lock read(shared.Lock);
    const auto it = shared.Boxes.find(key);
    if (it != shared.Boxes.end()) return it->second;
  }
  const TFootprint found = FindFootprint(reach, render);
  std::unique_lock write(shared.Lock);
  if (shared.Boxes.size() >= 65536) shared.Boxes.clear();
  return shared.Boxes.emplace(key, found).first->second;
}

bool TTextSprites::Draw(QImage& image, int x, int y, const TLogFont& font,
                        std::string_view character, TColor colour, int reach, const TRender& render,
                        int rowTop, int rowBottom) {
  if (reach <= 0 || reach > kMaxReach) return false;
  MakeCharacterKey(key_, font, character);

  auto foot = footprints_.find(key_);
  if (foot == footprints_.end()) {
    if (footprints_.size() >= 8192) footprints_.clear();
    foot = footprints_.emplace(key_, SharedFootprint(key_, reach, render)).first;
  }
  if (!foot->second.Usable) return false;
  const QRect box = foot->second.Box;
  if (box.isEmpty()) return true;  // nothing to write (a blank)
  const QRect whole = box.translated(x, y);
  if (!image.rect().contains(whole)) return false;
  const int firstRow = std::max(whole.top(), rowTop);
  const int lastRow = std::min(whole.bottom(), rowBottom - 1);
  if (firstRow > lastRow) return true;  // nothing in these rows
  const QRect target(whole.left(), firstRow, whole.width(), lastRow - firstRow + 1);
  // A solid character's covered pixels do not depend on what lies beneath.
  if (font.NonAntialiased && DrawInk(image, box, whole, target, colour, reach, render)) return true;

  // The background must be one colour under the whole footprint.
  const qsizetype stride = image.bytesPerLine();
  uchar* bits = image.bits();
  const auto rowAt = [&](int ty) {
    return reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(ty) * stride);
  };
  const QRgb background = rowAt(target.top())[target.left()];
  for (int ty = target.top(); ty <= target.bottom(); ++ty) {
    const QRgb* row = rowAt(ty);
    for (int tx = target.left(); tx <= target.right(); ++tx)
      if (row[tx] != background) return false;
  }

  AppendKeyInt(key_, static_cast<int>(colour));
  AppendKeyInt(key_, static_cast<int>(background));
  auto pix = pixels_.find(key_);
  if (pix == pixels_.end()) {
    if (pixels_.size() >= 16384) pixels_.clear();
    QImage scratch = Scratch(reach, background);
    const QColor c(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                   static_cast<int>((colour >> 16) & 0xFF));
    RenderAt(scratch, reach, c.rgb(), render);
    std::vector<QRgb> pixels;
    pixels.reserve(static_cast<std::size_t>(box.width() * box.height()));
    for (int sy = box.top(); sy <= box.bottom(); ++sy) {
      const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(sy + reach));
      for (int sx = box.left(); sx <= box.right(); ++sx) pixels.push_back(row[sx + reach]);
    }
    pix = pixels_.emplace(key_, std::move(pixels)).first;
  }
  const QRgb* from =
      pix->second.data() + static_cast<std::ptrdiff_t>(firstRow - whole.top()) * box.width();
  for (int ty = target.top(); ty <= target.bottom(); ++ty) {
    std::memcpy(rowAt(ty) + target.left(), from,
                static_cast<std::size_t>(box.width()) * sizeof(QRgb));
    from += box.width();
  }
  return true;
}

TTextSprites::TInk TTextSprites::MakeInk(const QRect& box, QRgb colour, int reach,
                                         const TRender& render) const {
  // On two backgrounds that differ from the colour and from each other in every channel,
  // every pixel is its background or the colour, the same pixels the colour in both, and all
  // of them inside the footprint.
  TInk ink;
  const QRgb backgrounds[] = {colour ^ 0x00FFFFFFu, colour ^ 0x00808080u};
  QImage scratches[2];
  for (int i = 0; i < 2; ++i) {
    scratches[i] = Scratch(reach, backgrounds[i]);
    RenderAt(scratches[i], reach, colour, render);
  }
  const QRect inside = box.translated(reach, reach);
  const int side = scratches[0].width();
  for (int sy = 0; sy < side; ++sy) {
    const auto* first = reinterpret_cast<const QRgb*>(scratches[0].constScanLine(sy));
    const auto* second = reinterpret_cast<const QRgb*>(scratches[1].constScanLine(sy));
    for (int sx = 0; sx < side; ++sx) {
      const bool covered = first[sx] == colour;
      if ((!covered && first[sx] != backgrounds[0]) ||
          second[sx] != (covered ? colour : backgrounds[1]))
        return ink;
      if (!covered) continue;
      if (sx < inside.left() || sx > inside.right() || sy < inside.top() || sy > inside.bottom())
        return ink;
      if (!ink.Runs.empty() && ink.Runs.back().Row == sy - inside.top() &&
          ink.Runs.back().Left + ink.Runs.back().Length == sx - inside.left())
        ++ink.Runs.back().Length;
      else
        ink.Runs.push_back({sy - inside.top(), sx - inside.left(), 1});
    }
  }
  ink.Usable = true;
  return ink;
}

bool TTextSprites::DrawInk(QImage& image, const QRect& box, const QRect& whole, const QRect& target,
                           TColor colour, int reach, const TRender& render) {
  const QRgb rgb = ToQRgb(colour);
  const std::size_t characterKey = key_.size();
  AppendKeyInt(key_, static_cast<int>(colour));
  auto it = inks_.find(key_);
  if (it == inks_.end()) {
    if (inks_.size() >= 8192) inks_.clear();
    it = inks_.emplace(key_, MakeInk(box, rgb, reach, render)).first;
  }
  key_.resize(characterKey);  // the character's key again, for the caller
  const TInk& ink = it->second;
  if (!ink.Usable) return false;
  const qsizetype stride = image.bytesPerLine();
  uchar* bits = image.bits();
  for (const TRun& run : ink.Runs) {
    const int ty = whole.top() + run.Row;
    if (ty < target.top() || ty > target.bottom()) continue;
    auto* row = reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(ty) * stride) + whole.left() +
                run.Left;
    std::fill(row, row + run.Length, rgb);
  }
  ++inkWrites_;
  return true;
}

}  // namespace sxf
