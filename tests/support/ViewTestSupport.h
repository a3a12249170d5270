#pragma once
// Puts the shared view state and drawing attributes into a known state for drawing tests.

#include <memory>

#include "globals/UnitGval.h"
#include "graphics/Primitives.h"

namespace sxf::test {

// A view of width x height pixels whose lower-left corner is world (left, bottom).
inline void SetView(double left, double bottom, double scale, int width, int height) {
  ViewLeft = left;
  ViewBottom = bottom;
  ViewScale = scale;
  ViewWidth = width;
  ViewHeight = height;
  ViewRight = left + width / scale;
  ViewTop = bottom + height / scale;
}

// Fresh attributes and the 100 x 100 pixel view of world 0..100 at scale 1.
inline void ResetDrawingState() {
  GraAttr = std::make_unique<TgraAttribute>();
  SetView(0, 0, 1, 100, 100);
}

}  // namespace sxf::test
