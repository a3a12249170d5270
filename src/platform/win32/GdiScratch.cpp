#include "platform/win32/GdiScratch.h"

#include <algorithm>

#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"

namespace sxf {

TGdiScratch::TGdiScratch(int side) : side_(side) {}
TGdiScratch::~TGdiScratch() = default;

bool TGdiScratch::Draw(const std::function<void(TGdiCanvas&)>& draw, const TRunVisit& visit) {
  if (!surface_) {
    surface_ = std::make_unique<TDibSurface>(side_, side_);
    if (surface_->Valid()) canvas_ = std::make_unique<TGdiCanvas>(surface_->Dc());
  }
  if (!canvas_) return false;
  std::uint32_t* bits = surface_->Bits();
  GdiFlush();
  std::fill(bits, bits + side_ * side_, 0u);
  draw(*canvas_);
  GdiFlush();
  for (int y = 0; y < side_; ++y) {
    const std::uint32_t* row = bits + y * side_;
    for (int x = 0; x < side_;) {
      if (row[x] == 0) {
        ++x;
        continue;
      }
      int end = x;
      while (end < side_ && row[end] == row[x]) ++end;
      visit(y, x, end, row[x]);
      x = end;
    }
  }
  return true;
}

}  // namespace sxf
