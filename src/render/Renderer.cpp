#include "render/Renderer.h"

#include <cassert>

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
// index finds near it (the same pixels); polls the break after every tenth record drawn and
// after the list. False on a break.
template <typename T, typename F>
bool DrawList(const std::vector<T>& list, int count, F draw) {
  assert(count >= 0 && static_cast<std::size_t>(count) == list.size());
  if (const std::vector<int>* near = RecordsNearView(list.data(), count)) {
    int drawn = 0;
    for (int i : *near) {
      draw(list[static_cast<std::size_t>(i)]);
      if (drawn++ % 10 == 0 && CheckUserBreak()) return false;
    }
    return !CheckUserBreak();
  }
  for (int i = 0; i < count; ++i) {
    draw(list[static_cast<std::size_t>(i)]);
    if (i % 10 == 0 && CheckUserBreak()) return false;
  }
  return !CheckUserBreak();
}

void DrawLine(TCanvas& c, const TJwwEntLin& e) {
  const double s = GroupScaleDivisor(e.Hdr);
  SetEntityPen(c, e.Hdr.Color, e.Hdr.LType);
  DrawWorldSegment(c, e.X1 / s, e.Y1 / s, e.X2 / s, e.Y2 / s);
}

template <typename T>
void DrawArcSolid(TCanvas& c, TSolidArcKind kind, const T& e, double modeOrInner) {
  const double s = GroupScaleDivisor(e.Hdr);
  SetSolidPenAndBrush(c, e);
  DrawSolidArc(c, kind, e.Cx / s, e.Cy / s, e.R / s, e.Flatness, e.Tilt, e.StartAngle, e.SweepAngle,
               modeOrInner);
}

}  // namespace

bool RenderDrawing(TCanvas& c) {
  // Pictures first, below everything else.
  if (!DrawList(TxtList, TxtCount, [&c](const TJwwEntTxt& e) { DrawImageEntity(c, -1, e); }))
    return false;
  if (!DrawList(Sl2List, Sl2Count, [&c](const TJwwEntSl2& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        SetSolidPenAndBrush(c, e);
        SetWorldPoints(c, {{e.X1 / s, e.Y1 / s}, {e.X2 / s, e.Y2 / s}});
        DrawWorldPolyline(c);
        ClearWorldPoints(c);
      }))
    return false;
  if (!DrawList(Sl3List, Sl3Count, [&c](const TJwwEntSl3& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        SetSolidPenAndBrush(c, e);
        SetWorldPoints(c, {{e.X1 / s, e.Y1 / s}, {e.X2 / s, e.Y2 / s}, {e.X3 / s, e.Y3 / s}});
        DrawWorldPolygon(c);
        ClearWorldPoints(c);
      }))
    return false;
  if (!DrawList(Sl4List, Sl4Count, [&c](const TJwwEntSl4& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        SetSolidPenAndBrush(c, e);
        SetWorldPoints(c, {{e.X1 / s, e.Y1 / s},
                           {e.X2 / s, e.Y2 / s},
                           {e.X3 / s, e.Y3 / s},
                           {e.X4 / s, e.Y4 / s}});
        DrawWorldPolygon(c);
        ClearWorldPoints(c);
      }))
    return false;
  if (!DrawList(ScList, ScCount, [&c](const TJwwEntSlArc& e) {
        DrawArcSolid(c, TSolidArcKind::Sc, e, static_cast<double>(e.ArcMode));
      }))
    return false;
  if (!DrawList(SeList, SeCount, [&c](const TJwwEntSlArc& e) {
        DrawArcSolid(c, TSolidArcKind::Se, e, static_cast<double>(e.ArcMode));
      }))
    return false;
  if (!DrawList(SoList, SoCount, [&c](const TJwwEntSlArc2& e) {
        DrawArcSolid(c, TSolidArcKind::So, e, e.R2 / GroupScaleDivisor(e.Hdr));
      }))
    return false;
  if (!DrawList(SgList, SgCount, [&c](const TJwwEntSlArc2& e) {
        DrawArcSolid(c, TSolidArcKind::Sg, e, e.R2 / GroupScaleDivisor(e.Hdr));
      }))
    return false;
  c.Brush.Style = TBrushStyle::Clear;

  if (!DrawList(LinList, LinCount, [&c](const TJwwEntLin& e) { DrawLine(c, e); })) return false;
  if (!DrawList(CirList, CirCount, [&c](const TJwwEntCir& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        SetEntityPen(c, e.Hdr.Color, e.Hdr.LType);
        DrawWorldEllipse(c, e.Cx / s, e.Cy / s, e.R / s, 1.0, 0.0);
      }))
    return false;
  if (!DrawList(ArcList, ArcCount, [&c](const TJwwEntArc& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        SetEntityPen(c, e.Hdr.Color, e.Hdr.LType);
        DrawArcDegrees(c, e.Cx / s, e.Cy / s, e.R / s, e.StartAngle, e.EndAngle, e.Flatness,
                       e.Tilt);
      }))
    return false;
  if (!DrawList(PntList, PntCount, [&c](const TJwwEntPnt& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        DrawPointMark(c, 0, e.X / s, e.Y / s, 1.0, 0.0, e.Hdr.Color, e.Hdr.LWidth);
      }))
    return false;
  if (!DrawList(PntExList, PntExCount, [&c](const TJwwEntPntEx& e) {
        const double s = GroupScaleDivisor(e.Hdr);
        DrawPointMark(c, e.Code, e.X / s, e.Y / s, e.Scale, DegToRad(e.Angle), e.Hdr.Color,
                      e.Hdr.LWidth);
      }))
    return false;
  if (!DrawList(TxtList, TxtCount, [&c](const TJwwEntTxt& e) { DrawTextEntity(c, -1, e); }))
    return false;
  // Dimensions: the dimension line with its own head, then the value text.
  return DrawList(DimList, DimCount, [&c](const TJwwEntDim& e) {
    DrawLine(c, e.Line);
    DrawTextEntity(c, -1, e.Text);
  });
}

}  // namespace sxf
