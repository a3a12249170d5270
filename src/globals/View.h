#pragma once
// The view: which box of the world a picture shows, at which scale, on how many pixels and at
// which dpi. The window owns its view and the one before it; a saved or reported picture makes
// its own. Every drawing function takes the view it draws in beside its canvas.
//
// World units, y up; pixels, y down. ViewScale is pixels per world unit.

#include "util/MyFunc.h"
#include "util/WorldBox.h"

namespace sxf {

struct TView {
  double ViewLeft = 0, ViewBottom = 0, ViewRight = 0, ViewTop = 0;
  double ViewScale = 0;
  int ViewWidth = 0, ViewHeight = 0;  // the picture's size in pixels when the view was set
  // Pixels per inch of the picture: the marks, the origin cross and the other pixel lengths of
  // the picture are design lengths at 96 dpi, drawn at ViewPixels(length). One-pixel pens stay
  // one pixel.
  int ViewDpi = kDesignDpi;

  // A design length of the picture at the view's dpi.
  int ViewPixels(int designLength) const noexcept { return ScaleForDpi(designLength, ViewDpi); }
  TWorldBox Box() const noexcept { return {ViewLeft, ViewBottom, ViewRight, ViewTop}; }
  void SetBox(const TWorldBox& b) noexcept {
    ViewLeft = b.Left;
    ViewBottom = b.Bottom;
    ViewRight = b.Right;
    ViewTop = b.Top;
  }
};

}  // namespace sxf
