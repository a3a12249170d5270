#include "search/LineTypeMarks.h"

#include <cmath>

#include "globals/UnitGval.h"
#include "graphics/Curves.h"
#include "graphics/Primitives.h"
#include "model/JwwGaibu2.h"
#include "render/DrawingIndex.h"
#include "render/UserBreak.h"
#include "search/LineTypeTally.h"
#include "text/TextDrawing.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// "ＭＳ ゴシック" in Shift-JIS.
const std::string kMarkFace = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

// A mark with its centre in the file's units (FileX, FileY) and divided by the group scale
// (X, Y).
TLineTypeMark Mark(const TJwwEntHdr& head, int column, const char* list, int index, double fileX,
                   double fileY) {
  const double s = GroupScaleDivisor(head);
  TLineTypeMark m;
  m.Number = head.LType - 30;
  m.List = list;
  m.Index = index;
  m.X = fileX / s;
  m.Y = fileY / s;
  m.Column = column;
  m.Group = head.Group;
  m.Layer = head.Layer;
  m.FileX = fileX;
  m.FileY = fileY;
  return m;
}

// Walks the four searched lists in drawing order, each in index order, handing every marked
// record to onMark; near(list, count) gives the records of a list to look at (nullptr: all of
// them). stop() is asked after the 1st, 11th, 21st, ... record looked at of each list and
// after each list; true ends the walk. False when stop() ended it.
template <typename OnMark, typename Stop, typename Near>
bool WalkMarks(OnMark onMark, Stop stop, Near near) {
  const auto walk = [&](const char* name, const auto& list, int count, auto&& visit) {
    if (const std::vector<int>* some = near(list.data(), count)) {
      int looked = 0;
      for (int i : *some) {
        visit(list[static_cast<std::size_t>(i)], i, name);
        if (looked++ % 10 == 0 && stop()) return false;
      }
      return !stop();
    }
    for (int i = 0; i < count; ++i) {
      visit(list[static_cast<std::size_t>(i)], i, name);
      if (i % 10 == 0 && stop()) return false;
    }
    return !stop();
  };
  if (!walk("Lin", LinList, LinCount, [&](const TJwwEntLin& e, int i, const char* name) {
        if (!IsUserLineType(e.Hdr.LType)) return;
        onMark(Mark(e.Hdr, kTallyLine, name, i, (e.X1 + e.X2) / 2.0, (e.Y1 + e.Y2) / 2.0));
      }))
    return false;
  if (!walk("Cir", CirList, CirCount, [&](const TJwwEntCir& e, int i, const char* name) {
        if (!IsUserLineType(e.Hdr.LType)) return;
        onMark(Mark(e.Hdr, kTallyCircle, name, i, e.Cx + e.R, e.Cy));
      }))
    return false;
  if (!walk("Arc", ArcList, ArcCount, [&](const TJwwEntArc& e, int i, const char* name) {
        if (!IsUserLineType(e.Hdr.LType)) return;
        const TDPoint p = EllipsePointDeg(e.Cx, e.Cy, e.R, e.Flatness, e.Tilt, e.StartAngle);
        onMark(Mark(e.Hdr, ArcTallyColumn(e.Flatness, e.StartAngle, e.EndAngle), name, i, p.X, p.Y));
      }))
    return false;
  return walk("Dim", DimList, DimCount, [&](const TJwwEntDim& e, int i, const char* name) {
    const TJwwEntLin& line = e.Line;
    if (!IsUserLineType(line.Hdr.LType)) return;
    onMark(Mark(line.Hdr, kTallyDimension, name, i, (line.X1 + line.X2) / 2.0,
                (line.Y1 + line.Y2) / 2.0));
  });
}

}  // namespace

std::vector<TLineTypeMark> CollectLineTypeMarks() {
  std::vector<TLineTypeMark> marks;
  WalkMarks([&marks](const TLineTypeMark& m) { marks.push_back(m); }, [] { return false; },
            [](const void*, int) -> const std::vector<int>* { return nullptr; });
  return marks;
}

bool DrawLineTypeMarks(TCanvas& c, double m) {
  if (CheckUserBreak()) return false;
  // A mark lies inside its record's box (the middle of a line, a point of a curve) and draws
  // within its ring (radius m, a 3-pixel pen) and its number's cells (within m of the point):
  // in a small view only the records within 1.5 m and a few pixels of it are looked at.
  const double reach = std::fabs(m) * ViewScale * 1.5 + 8.0;
  return WalkMarks(
      [&c, m](const TLineTypeMark& mark) {
        DrawLineTypeMark(c, std::to_string(mark.Number), mark.X, mark.Y, m);
      },
      [] { return CheckUserBreak(); },
      [reach](const void* list, int count) {
        return std::isfinite(reach) ? RecordsNearView(list, count, reach) : nullptr;
      });
}

void DrawLineTypeMark(TCanvas& c, const std::string& text, double x, double y, double m) {
  const TColor white = RgbColor(255, 255, 255);
  c.Pen.Color = white;
  c.Pen.Width = 1;
  c.Pen.Style = TPenStyle::Solid;
  c.Brush.Color = white;
  c.Brush.Style = TBrushStyle::Solid;
  DrawWorldRect(c, x - 0.8 * m, y - 0.8 * m, x + 0.8 * m, y + 0.8 * m);
  c.Pen.Color = RgbColor(255, 0, 0);
  c.Pen.Style = TPenStyle::Solid;
  c.Pen.Width = 3;
  DrawWorldEllipse(c, x, y, m, 1.0, 0.0);
  DrawTextRun(c, 0, kMarkFace, x - 0.5 * m, y - 0.5 * m, 0.0, m, m, 0.0, text);
}

}  // namespace sxf
