#include "model/JwwGaibu2.h"

#include <cmath>
#include <string>
#include <vector>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "model/JwwEntityLists.h"

namespace sxf {

const std::string kDefaultFontName = "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>";

void AdviseLargePages(void* data, std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  if (bytes < 2 * kLargePage) return;
  const auto from = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (from + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t last = (from + bytes) & ~(kLargePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

namespace {

void ResetReaderStart(TJwwReaderState& r) {
  r = TJwwReaderState{};
  r.CurFontName = kDefaultFontName;
  r.DimLine.Hdr = TJwwEntHdr{0, 0, 0, 1, 1, 0, 0};
  r.DimLine.X2 = 1.0;
}

}  // namespace

TDrawing::TDrawing() {
  LayerGroupScale.fill(1.0);
  TextKinds.fill(TJwwTextKind{3.0, 3.0, 0.0, 2});
}

double TDrawing::GroupScaleDivisor(const TJwwEntHdr& hdr) const noexcept {
  if (NoGroupScale) return 1.0;
  if (hdr.Group < 0 || hdr.Group > 15) return 1.0;
  const double s = LayerGroupScale[static_cast<std::size_t>(hdr.Group)];
  return (s == 0.0 || !std::isfinite(s)) ? 1.0 : s;
}

int TDrawing::FileRecordCount(int kind) const noexcept {
  if (FromDrawingFile())
    return kind >= 0 && kind < static_cast<int>(File.TopRecords.size())
               ? File.TopRecords[static_cast<std::size_t>(kind)]
               : 0;
  if (kind == 0) return EntOrderCount();
  int count = 0;
  ForEachEntityList(*this, [&count, kind](const char*, int k, const auto& list) {
    if (k == kind) count = Count(list);
  });
  return count;
}

TJwcReader::TJwcReader() { ResetReaderStart(state_); }

void TJwcReader::ResetCurrentState() {
  TJwwReaderState& r = state_;
  r.AwaitGroup = r.AwaitLayer = r.AwaitColor = r.AwaitLType = r.AwaitLWidth = r.AwaitTextKind =
      true;
  const TJwwReaderState start{};
  r.CurGroup = start.CurGroup;
  r.CurLayer = start.CurLayer;
  r.CurColor = start.CurColor;
  r.CurLType = start.CurLType;
  r.CurLWidth = start.CurLWidth;
  r.CurTextKind = start.CurTextKind;
  r.FreeTextW = start.FreeTextW;
  r.FreeTextH = start.FreeTextH;
  r.FreeTextD = start.FreeTextD;
  r.FreeTextColor = start.FreeTextColor;
  r.CurBasePoint = start.CurBasePoint;
  r.CurFontName = kDefaultFontName;
  r.CurPointColor = start.CurPointColor;
  r.CurRgb = start.CurRgb;
}

}  // namespace sxf
