#pragma once
// Views and drawing attributes in a known state for drawing tests.

#include <memory>

#include "globals/UnitGval.h"
#include "globals/View.h"
#include "graphics/Primitives.h"

namespace sxf::test {

// A view of width x height pixels whose lower-left corner is world (left, bottom), at 96 dpi
// unless the view had another.
inline void SetView(TView& view, double left, double bottom, double scale, int width, int height) {
  view.ViewLeft = left;
  view.ViewBottom = bottom;
  view.ViewScale = scale;
  view.ViewWidth = width;
  view.ViewHeight = height;
  view.ViewRight = left + width / scale;
  view.ViewTop = bottom + height / scale;
}
inline TView MakeView(double left, double bottom, double scale, int width, int height) {
  TView view;
  SetView(view, left, bottom, scale, width, height);
  return view;
}

// Fresh attributes and the 100 x 100 pixel view of world 0..100 at scale 1.
inline void ResetDrawingState(TView& view) {
  GraAttr = std::make_unique<TgraAttribute>();
  view = MakeView(0, 0, 1, 100, 100);
}

}  // namespace sxf::test
