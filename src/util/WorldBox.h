#pragma once
// A box in world units (y up): the view's window, an entity's box, the drawing's extents.

namespace sxf {

struct TWorldBox {
  double Left = 0, Bottom = 0, Right = 0, Top = 0;
  friend bool operator==(const TWorldBox&, const TWorldBox&) = default;
};

}  // namespace sxf
