#pragma once
// What the fuzz targets share: a canvas that draws nothing but checks what it is asked to
// draw, and the model's consistency. A broken invariant aborts, which libFuzzer reports.

#include <cstddef>
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

// Every order entry points at a record of its list, the lists add up to the order list, and
// no text is longer than 255 bytes.
inline void CheckLists(const TEntityLists& lists) {
  std::size_t sizes[16] = {};
  std::size_t total = 0;
  ForEachEntityList(lists, [&](const char*, int kind, const auto& list) {
    sizes[kind] = list.size();
    total += list.size();
  });
  if (total != lists.EntOrder.size()) Broken("the order list differs from the lists");
  for (const TJwwEntRef& ref : lists.EntOrder) {
    if (ref.Kind < 1 || ref.Kind > 15) Broken("unknown kind in the order list");
    if (ref.Index < 0 || static_cast<std::size_t>(ref.Index) >= sizes[ref.Kind])
      Broken("order entry past its list");
  }
  for (const TJwwEntTxt& t : lists.TxtList)
    if (t.Text.size() > 255 || t.FontName.size() > 255) Broken("text longer than 255 bytes");
  for (const TJwwEntDim& d : lists.DimList)
    if (d.Text.Text.size() > 255) Broken("dimension text longer than 255 bytes");
}

// The lists of what the reader read, its current layer and the file name it kept.
inline void CheckModel(TJwcReader& reader) {
  CheckLists(reader.Drawing());
  const TJwwReaderState& state = reader.State();
  if (state.CurGroup < 0 || state.CurGroup > 15 || state.CurLayer < 0 || state.CurLayer > 15)
    Broken("current layer group or layer out of range");
  if (reader.Drawing().JwwFileName.size() > kMaxJwcLineBytes)
    Broken("file name longer than a line");
}

}  // namespace sxf::fuzz
