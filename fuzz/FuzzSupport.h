#pragma once
// What the fuzz targets share: a canvas that draws nothing but checks what it is asked to
// draw, and the model's consistency. A broken invariant aborts, which libFuzzer reports.

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"

namespace sxf::fuzz {

[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Counts the calls; a polyline or polygon with no points, or text without a font, is a
// fault of the drawing code.
class TNullCanvas final : public TCanvas {
 public:
  long Calls = 0;
  void MoveTo(int, int) override { ++Calls; }
  void LineTo(int, int) override { ++Calls; }
  void SetPixel(int, int, TColor) override { ++Calls; }
  void Rectangle(int, int, int, int) override { ++Calls; }
  void Polyline(std::span<const TPixelPoint> points) override {
    if (points.empty()) Broken("empty polyline");
    ++Calls;
  }
  void Polygon(std::span<const TPixelPoint> points) override {
    if (points.empty()) Broken("empty polygon");
    ++Calls;
  }
  void SetFont(const TLogFont&) override { ++Calls; }
  void TextOut(int, int, std::string_view) override { ++Calls; }
};

// Every order entry points at a record of its list, and the counts match the lists.
inline void CheckModel() {
  const std::size_t sizes[16] = {0, LinList.size(), CirList.size(), ArcList.size(), TxtList.size(),
                                 PntList.size(), PntExList.size(), DimList.size(), BlkList.size(),
                                 Sl2List.size(), Sl3List.size(), Sl4List.size(), ScList.size(),
                                 SeList.size(), SoList.size(), SgList.size()};
  const int counts[16] = {0, LinCount, CirCount, ArcCount, TxtCount, PntCount, PntExCount, DimCount,
                          BlkCount, Sl2Count, Sl3Count, Sl4Count, ScCount, SeCount, SoCount, SgCount};
  std::size_t total = 0;
  for (int k = 1; k <= 15; ++k) {
    if (sizes[k] != static_cast<std::size_t>(counts[k])) Broken("a count differs from its list");
    total += sizes[k];
  }
  if (EntOrder.size() != static_cast<std::size_t>(EntOrderCount) || total != EntOrder.size())
    Broken("the order list differs from the lists");
  for (const TJwwEntRef& ref : EntOrder) {
    if (ref.Kind < 1 || ref.Kind > 15) Broken("unknown kind in the order list");
    if (ref.Index < 0 || static_cast<std::size_t>(ref.Index) >= sizes[ref.Kind])
      Broken("order entry past its list");
  }
  for (const TJwwEntTxt& t : TxtList)
    if (t.Text.size() > 255 || t.FontName.size() > 255) Broken("text longer than 255 bytes");
  if (JwwReader.CurGroup < 0 || JwwReader.CurGroup > 15 || JwwReader.CurLayer < 0 ||
      JwwReader.CurLayer > 15)
    Broken("current layer group or layer out of range");
  if (JwwFileName.size() > kMaxJwcLineBytes) Broken("file name longer than a line");
}

}  // namespace sxf::fuzz
