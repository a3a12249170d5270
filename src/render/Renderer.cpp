#include "render/Renderer.h"

#include "graphics/Curves.h"
#include "graphics/PointMark.h"
#include "graphics/Primitives.h"
#include "graphics/SolidArc.h"
#include "model/JwwGaibu2.h"
#include "render/DrawingIndex.h"
#include "render/UserBreak.h"
#include "text/ImageFrame.h"
#include "text/TextDrawing.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// Pen and brush of a solid: its own Rgb for colour 10, else the colour number's, both solid.
template <typename T>
void SetSolidPenAndBrush(TCanvas& c, const T& e) {
  if (e.Hdr.Color == 10) {
    const auto rgb = static_cast<TColor>(e.Rgb);
    c.Pen.Color = rgb;
    c.Pen.Style = TPenStyle::Solid;
    c.Pen.Width = 0;
    c.Brush.Color = rgb;
    c.Brush.Style = TBrushStyle::Solid;
  } else {
    SetEntityPen(c, e.Hdr.Color, 1);
    SetEntityBrush(c, e.Hdr.Color, 1);
  }
}

// Draws records 0 .. count - 1 with draw(record), or in a small view only those the drawing
// index finds near it (the same pixels), polling the break as VisitPollingBreak does. False
// on a break.
template <typename T, typename F>
bool DrawList(const TView& view, const std::vector<T>& list, F draw) {
  const int count = TEntityLists::Count(list);
  return VisitPollingBreak(
      RecordsNearView(view, list.data(), count), count,
      [&](int i) { draw(list[static_cast<std::size_t>(i)]); }, CheckUserBreak);
}

void DrawLine(TCanvas& c, const TView& view, const TDrawing& d, const TJwwEntLin& e) {
  const double s = d.GroupScaleDivisor(e.Hdr);
  SetEntityPen(c, e.Hdr.Color, e.Hdr.LType);
  DrawWorldSegment(c, view, e.X1 / s, e.Y1 / s, e.X2 / s, e.Y2 / s);
}

template <typename T>
void DrawArcSolid(TCanvas& c, const TView& view, const TDrawing& d, TSolidArcKind kind, const T& e,
                  double modeOrInner) {
  const double s = d.GroupScaleDivisor(e.Hdr);
  SetSolidPenAndBrush(c, e);
  DrawSolidArc(c, view, kind, e.Cx / s, e.Cy / s, e.R / s, e.Flatness, e.Tilt, e.StartAngle,
               e.SweepAngle, modeOrInner);
}

}  // namespace

bool RenderDrawing(TCanvas& c, const TView& view, const TDrawing& d) {
  // Pictures first, below everything else.
  if (!DrawList(view, d.TxtList, [&c, &view, &d](const TJwwEntTxt& e) {
        DrawImageEntity(c, view, -1, e, d.GroupScaleDivisor(e.Hdr));
      }))
    return false;
  if (!DrawList(view, d.Sl2List, [&c, &view, &d](const TJwwEntSl2& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        SetSolidPenAndBrush(c, e);
        SetWorldPoints(c, {{e.X1 / s, e.Y1 / s}, {e.X2 / s, e.Y2 / s}});
        DrawWorldPolyline(c, view);
        ClearWorldPoints(c);
      }))
    return false;
  if (!DrawList(view, d.Sl3List, [&c, &view, &d](const TJwwEntSl3& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        SetSolidPenAndBrush(c, e);
        SetWorldPoints(c, {{e.X1 / s, e.Y1 / s}, {e.X2 / s, e.Y2 / s}, {e.X3 / s, e.Y3 / s}});
        DrawWorldPolygon(c, view);
        ClearWorldPoints(c);
      }))
    return false;
  if (!DrawList(view, d.Sl4List, [&c, &view, &d](const TJwwEntSl4& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        SetSolidPenAndBrush(c, e);
        SetWorldPoints(c, {{e.X1 / s, e.Y1 / s},
                           {e.X2 / s, e.Y2 / s},
                           {e.X3 / s, e.Y3 / s},
                           {e.X4 / s, e.Y4 / s}});
        DrawWorldPolygon(c, view);
        ClearWorldPoints(c);
      }))
    return false;
  if (!DrawList(view, d.ScList, [&c, &view, &d](const TJwwEntSlArc& e) {
        DrawArcSolid(c, view, d, TSolidArcKind::Sc, e, static_cast<double>(e.ArcMode));
      }))
    return false;
  if (!DrawList(view, d.SeList, [&c, &view, &d](const TJwwEntSlArc& e) {
        DrawArcSolid(c, view, d, TSolidArcKind::Se, e, static_cast<double>(e.ArcMode));
      }))
    return false;
  if (!DrawList(view, d.SoList, [&c, &view, &d](const TJwwEntSlArc2& e) {
        DrawArcSolid(c, view, d, TSolidArcKind::So, e, e.R2 / d.GroupScaleDivisor(e.Hdr));
      }))
    return false;
  if (!DrawList(view, d.SgList, [&c, &view, &d](const TJwwEntSlArc2& e) {
        DrawArcSolid(c, view, d, TSolidArcKind::Sg, e, e.R2 / d.GroupScaleDivisor(e.Hdr));
      }))
    return false;
  c.Brush.Style = TBrushStyle::Clear;

  if (!DrawList(view, d.LinList, [&c, &view, &d](const TJwwEntLin& e) { DrawLine(c, view, d, e); }))
    return false;
  if (!DrawList(view, d.CirList, [&c, &view, &d](const TJwwEntCir& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        SetEntityPen(c, e.Hdr.Color, e.Hdr.LType);
        DrawWorldEllipse(c, view, e.Cx / s, e.Cy / s, e.R / s, 1.0, 0.0);
      }))
    return false;
  if (!DrawList(view, d.ArcList, [&c, &view, &d](const TJwwEntArc& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        SetEntityPen(c, e.Hdr.Color, e.Hdr.LType);
        DrawArcDegrees(c, view, e.Cx / s, e.Cy / s, e.R / s, e.StartAngle, e.EndAngle, e.Flatness,
                       e.Tilt);
      }))
    return false;
  if (!DrawList(view, d.PntList, [&c, &view, &d](const TJwwEntPnt& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        DrawPointMark(c, view, 0, e.X / s, e.Y / s, 1.0, 0.0, e.Hdr.Color, e.Hdr.LWidth);
      }))
    return false;
  if (!DrawList(view, d.PntExList, [&c, &view, &d](const TJwwEntPntEx& e) {
        const double s = d.GroupScaleDivisor(e.Hdr);
        DrawPointMark(c, view, e.Code, e.X / s, e.Y / s, e.Scale, DegToRad(e.Angle), e.Hdr.Color,
                      e.Hdr.LWidth);
      }))
    return false;
  if (!DrawList(view, d.TxtList, [&c, &view, &d](const TJwwEntTxt& e) {
        DrawTextEntity(c, view, -1, e, d.GroupScaleDivisor(e.Hdr));
      }))
    return false;
  // Dimensions: the dimension line with its own head, then the value text.
  return DrawList(view, d.DimList, [&c, &view, &d](const TJwwEntDim& e) {
    DrawLine(c, view, d, e.Line);
    DrawTextEntity(c, view, -1, e.Text, d.GroupScaleDivisor(e.Text.Hdr));
  });
}

}  // namespace sxf
