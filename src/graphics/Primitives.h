#pragma once
// Pens, brushes and the drawing operations in two coordinate systems: pixel operations draw
// what they are given; world operations clip against the view, map with WorldToScreen and
// then call the pixel operations. Entity lines are one pixel wide, solid or dotted.

#include <initializer_list>
#include <vector>

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "util/MyFunc.h"

namespace sxf {

// The canvas's point lists (TCanvas::Points): fills WorldPoints and WorldPointCount with the
// given points; empties them; appends one.
void SetWorldPoints(TCanvas& c, std::initializer_list<TDPoint> points);
void ClearWorldPoints(TCanvas& c) noexcept;
void AddWorldPoint(TCanvas& c, const TDPoint& p);

// ---- Pens and brushes ----
// Background fill of the whole surface (width x height pixels), then the brush is left clear.
void ClearCanvas(TCanvas& c, int width, int height);
// Style codes: 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 clear, others solid. Brush clear.
void SetPlainPen(TCanvas& c, TColor color, int style, int width);
// Style codes: 1 solid, 2 horizontal, 3 vertical, 4 forward diagonal, 5 backward diagonal,
// 6 cross, 7 diagonal cross, others clear.
void SetPlainBrush(TCanvas& c, TColor color, int style);
void SetXorPen(TCanvas& c);
// One-pixel pen in the colour of the colour number (background colour where it has none):
// solid for line types 1 and 31, dotted for every other. Brush clear.
void SetEntityPen(TCanvas& c, int colorNumber, int lineType);
void SetEntityBrush(TCanvas& c, int colorNumber, int fillCode);

// ---- Pixel operations ----
// The line with its end pixel, which LineTo leaves out.
void DrawPixelLine(TCanvas& c, int x1, int y1, int x2, int y2);
// A box, or a line where it is at most 2 pixels thin in one direction, or nothing where it is
// thin in both.
void DrawPixelBox(TCanvas& c, int x1, int y1, int x2, int y2);
void FlushPolyline(TCanvas& c);
void FlushPolygon(TCanvas& c);

// ---- World operations (in the view given) ----
void DrawWorldSegment(TCanvas& c, const TView& view, double x1, double y1, double x2, double y2);
// Axis-parallel rectangle from two opposite corners.
void DrawWorldRect(TCanvas& c, const TView& view, double x1, double y1, double x2, double y2);
// The visible runs of the canvas's WorldPoints, each as its own polyline.
void DrawWorldPolyline(TCanvas& c, const TView& view);
// The canvas's WorldPoints filled; drawn as a clipped outline instead when the first edge spans
// more than 10 000 pixels (then one closing point is appended to WorldPoints).
void DrawWorldPolygon(TCanvas& c, const TView& view);

}  // namespace sxf
