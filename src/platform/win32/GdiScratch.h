#pragma once
// The caches' way of learning GDI's pixels: GDI draws one shape on a small DIB of its own,
// and the shape is read back as runs of equal pixels.

#include <cstdint>
#include <functional>
#include <memory>

namespace sxf {

class TDibSurface;
class TGdiCanvas;

class TGdiScratch {
 public:
  explicit TGdiScratch(int side);
  ~TGdiScratch();
  TGdiScratch(const TGdiScratch&) = delete;
  TGdiScratch& operator=(const TGdiScratch&) = delete;

  // draw paints one shape on side x side pixels cleared to 0; then visit(row, column, end,
  // pixel) is called for each run of equal pixels other than 0, row by row, end past its last
  // column. False, with nothing visited, where no DIB can be had (the DIB is made at the first
  // call).
  using TRunVisit = std::function<void(int row, int column, int end, std::uint32_t pixel)>;
  bool Draw(const std::function<void(TGdiCanvas&)>& draw, const TRunVisit& visit);

 private:
  int side_;
  std::unique_ptr<TDibSurface> surface_;
  std::unique_ptr<TGdiCanvas> canvas_;
};

}  // namespace sxf
