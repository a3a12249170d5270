#include "graphics/Primitives.h"

#include <cassert>
#include <cstdlib>

#include "globals/UnitGval.h"
#include "graphics/clipping.h"

namespace sxf {

namespace {

TColor BackColor() noexcept { return GraAttr ? GraAttr->GetBackColor() : RgbColor(255, 255, 255); }
TColor PenColorOf(int colorNumber) noexcept {
  return GraAttr ? GraAttr->GetPenColor(colorNumber) : BackColor();
}

void AppendScreenPoint(TPointLists& l, const TPixelPoint& p) {
  l.ScreenPoints.push_back(p);
  ++l.ScreenPointCount;
}

void EmptyScreenPoints(TPointLists& l) noexcept {
  l.ScreenPoints.clear();
  l.ScreenPointCount = 0;
}

// True when every world point lies beyond one and the same edge of the view.
bool AllBeyondOneEdge(const TView& view, const TPointLists& l) noexcept {
  int code = 15;
  for (int i = 0; i < l.WorldPointCount; ++i) {
    const TDPoint& p = l.WorldPoints[static_cast<std::size_t>(i)];
    code &= ViewOutcode(view, p.X, p.Y);
    if (code == 0) return false;
  }
  return code != 0;
}

}  // namespace

void SetWorldPoints(TCanvas& c, std::initializer_list<TDPoint> points) {
  c.Points.WorldPoints.assign(points);
  c.Points.WorldPointCount = static_cast<int>(c.Points.WorldPoints.size());
}

void ClearWorldPoints(TCanvas& c) noexcept {
  c.Points.WorldPoints.clear();
  c.Points.WorldPointCount = 0;
}

void AddWorldPoint(TCanvas& c, const TDPoint& p) {
  c.Points.WorldPoints.push_back(p);
  ++c.Points.WorldPointCount;
}

void ClearCanvas(TCanvas& c, int width, int height) {
  c.Pen.Mode = TPenMode::Copy;
  c.Pen.Width = 1;
  c.Pen.Color = BackColor();
  c.Brush.Color = BackColor();
  c.Brush.Style = TBrushStyle::Solid;
  c.Rectangle(0, 0, width, height);
  c.Brush.Style = TBrushStyle::Clear;
}

void SetPlainPen(TCanvas& c, TColor color, int style, int width) {
  c.Brush.Style = TBrushStyle::Clear;
  c.Pen.Color = color;
  c.Pen.Width = width;
  switch (style) {
    case 1: c.Pen.Style = TPenStyle::Dash; break;
    case 2: c.Pen.Style = TPenStyle::Dot; break;
    case 3: c.Pen.Style = TPenStyle::DashDot; break;
    case 4: c.Pen.Style = TPenStyle::DashDotDot; break;
    case 5: c.Pen.Style = TPenStyle::Clear; break;
    default: c.Pen.Style = TPenStyle::Solid; break;
  }
}

void SetPlainBrush(TCanvas& c, TColor color, int style) {
  c.Brush.Color = color;
  switch (style) {
    case 1: c.Brush.Style = TBrushStyle::Solid; break;
    case 2: c.Brush.Style = TBrushStyle::Horizontal; break;
    case 3: c.Brush.Style = TBrushStyle::Vertical; break;
    case 4: c.Brush.Style = TBrushStyle::FDiagonal; break;
    case 5: c.Brush.Style = TBrushStyle::BDiagonal; break;
    case 6: c.Brush.Style = TBrushStyle::Cross; break;
    case 7: c.Brush.Style = TBrushStyle::DiagCross; break;
    default: c.Brush.Style = TBrushStyle::Clear; break;
  }
}

void SetXorPen(TCanvas& c) { c.Pen.Mode = TPenMode::Xor; }

void SetEntityPen(TCanvas& c, int colorNumber, int lineType) {
  c.Brush.Style = TBrushStyle::Clear;
  c.Pen.Color = PenColorOf(colorNumber);
  c.Pen.Width = 0;
  c.Pen.Style = (lineType == 1 || lineType == 31) ? TPenStyle::Solid : TPenStyle::Dot;
}

void SetEntityBrush(TCanvas& c, int colorNumber, int fillCode) {
  SetPlainBrush(c, PenColorOf(colorNumber), fillCode);
}

void DrawPixelLine(TCanvas& c, int x1, int y1, int x2, int y2) { c.PixelLine(x1, y1, x2, y2); }

void DrawPixelBox(TCanvas& c, int x1, int y1, int x2, int y2) {
  const long long w = std::llabs(static_cast<long long>(x1) - x2);
  const long long h = std::llabs(static_cast<long long>(y1) - y2);
  if (w <= 2 && h <= 2) return;
  if (w <= 2) {
    DrawPixelLine(c, x1, y1, x1, y2);
  } else if (h <= 2) {
    DrawPixelLine(c, x1, y1, x2, y1);
  } else {
    c.Rectangle(x1, y1, x2, y2);
  }
}

void FlushPolyline(TCanvas& c) {
  const TPointLists& l = c.Points;
  assert(static_cast<std::size_t>(l.ScreenPointCount) == l.ScreenPoints.size());
  c.Polyline(std::span<const TPixelPoint>(l.ScreenPoints.data(),
                                          static_cast<std::size_t>(l.ScreenPointCount)));
}

void FlushPolygon(TCanvas& c) {
  const TPointLists& l = c.Points;
  assert(static_cast<std::size_t>(l.ScreenPointCount) == l.ScreenPoints.size());
  c.Polygon(std::span<const TPixelPoint>(l.ScreenPoints.data(),
                                         static_cast<std::size_t>(l.ScreenPointCount)));
}

void DrawWorldSegment(TCanvas& c, const TView& view, double x1, double y1, double x2, double y2) {
  // The common case, both ends inside, needs no clipping call.
  if ((ViewOutcode(view, x1, y1) | ViewOutcode(view, x2, y2)) != 0 &&
      ClipSegment(x1, y1, x2, y2, view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop) ==
          ClipOutside)
    return;
  const TPixelPoint a = WorldToScreen(view, x1, y1);
  const TPixelPoint b = WorldToScreen(view, x2, y2);
  DrawPixelLine(c, a.X, a.Y, b.X, b.Y);
}

void DrawWorldRect(TCanvas& c, const TView& view, double x1, double y1, double x2, double y2) {
  switch (SegmentVisibility(x1, y1, x2, y2, view.ViewLeft, view.ViewBottom, view.ViewRight,
                            view.ViewTop)) {
    case ClipInside: {
      const TPixelPoint a = WorldToScreen(view, x1, y1);
      const TPixelPoint b = WorldToScreen(view, x2, y2);
      DrawPixelBox(c, a.X, a.Y, b.X, b.Y);
      break;
    }
    case ClipPartial:
      SetWorldPoints(c, {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}});
      DrawWorldPolygon(c, view);
      ClearWorldPoints(c);
      break;
    default: break;
  }
}

void DrawWorldPolyline(TCanvas& c, const TView& view) {
  TPointLists& l = c.Points;
  assert(static_cast<std::size_t>(l.WorldPointCount) <= l.WorldPoints.size());
  if (l.WorldPointCount < 2) return;
  if (AllBeyondOneEdge(view, l)) return;
  EmptyScreenPoints(l);
  for (int k = 1; k < l.WorldPointCount; ++k) {
    double x1 = l.WorldPoints[static_cast<std::size_t>(k - 1)].X;
    double y1 = l.WorldPoints[static_cast<std::size_t>(k - 1)].Y;
    double x2 = l.WorldPoints[static_cast<std::size_t>(k)].X;
    double y2 = l.WorldPoints[static_cast<std::size_t>(k)].Y;
    const int result =
        ClipSegment(x1, y1, x2, y2, view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop);
    if (result == ClipOutside) {
      if (l.ScreenPointCount >= 2) FlushPolyline(c);
      EmptyScreenPoints(l);
      continue;
    }
    if (l.ScreenPointCount == 0) AppendScreenPoint(l, WorldToScreen(view, x1, y1));
    AppendScreenPoint(l, WorldToScreen(view, x2, y2));
    if (result == ClipPartial && l.ScreenPointCount >= 2) {
      FlushPolyline(c);
      EmptyScreenPoints(l);
    }
  }
  if (l.ScreenPointCount >= 2) FlushPolyline(c);
  EmptyScreenPoints(l);
}

void DrawWorldPolygon(TCanvas& c, const TView& view) {
  TPointLists& l = c.Points;
  assert(static_cast<std::size_t>(l.WorldPointCount) <= l.WorldPoints.size());
  if (l.WorldPointCount < 3) return;
  if (AllBeyondOneEdge(view, l)) return;
  const TDPoint p0 = l.WorldPoints[0];
  const TDPoint p1 = l.WorldPoints[1];
  if (Distance(p0.X, p0.Y, p1.X, p1.Y) * view.ViewScale > 10000.0) {
    // Too large to convert unclipped: the closed outline, clipped, unfilled.
    l.WorldPoints.resize(static_cast<std::size_t>(l.WorldPointCount));
    l.WorldPoints.push_back(p0);
    ++l.WorldPointCount;
    DrawWorldPolyline(c, view);
    return;
  }
  EmptyScreenPoints(l);
  for (int i = 0; i < l.WorldPointCount; ++i) {
    const TDPoint& p = l.WorldPoints[static_cast<std::size_t>(i)];
    AppendScreenPoint(l, WorldToScreen(view, p.X, p.Y));
  }
  FlushPolygon(c);
  EmptyScreenPoints(l);
}

}  // namespace sxf
