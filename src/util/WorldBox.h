#pragma once
// A box in world units (y up): the view's window, an entity's box, the drawing's extents.

#include <cmath>

namespace sxf {

struct TWorldBox {
  double Left = 0, Bottom = 0, Right = 0, Top = 0;
  friend bool operator==(const TWorldBox&, const TWorldBox&) = default;
};

inline bool IsFinite(const TWorldBox& b) noexcept {
  return std::isfinite(b.Left) && std::isfinite(b.Bottom) && std::isfinite(b.Right) &&
         std::isfinite(b.Top);
}

}  // namespace sxf
