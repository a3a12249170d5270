#pragma once
// What the tally counts, in one place: the SXF user line types (host codes 47..62, shown to
// the user as 17..32), the six kinds of entity (the grid's columns and their headings), and
// the entity lists they come from, each with where its mark goes and the box a walk zooms to.
//
// The tally, the numbered marks, the mark walk, the report's kind words and the grid's
// headings all read these tables. To count a new kind of entity:
//   1. add its column to TTallyColumn (before kTallyTotal) and its row to kCountedKinds;
//   2. if it comes from a list not counted yet, write a TCounted... row type below for that
//      list and add it to ForEachCountedList, in the order the marks are drawn.

#include <iterator>
#include <optional>
#include <string_view>
#include <tuple>

#include "model/JwwGaibu2.h"
#include "util/MyFunc.h"
#include "util/WorldBox.h"

namespace sxf {

// ---- The user line types ----

inline constexpr int kFirstUserLType = 47;
inline constexpr int kLastUserLType = 62;
inline constexpr int kUserLineTypes = kLastUserLType - kFirstUserLType + 1;

constexpr bool IsUserLineType(int ltype) noexcept {
  return ltype >= kFirstUserLType && ltype <= kLastUserLType;
}

// The number the user knows a user line type by (the host shows code 47 as 17, 62 as 32),
// and back.
inline constexpr int kShownNumberOffset = 30;
constexpr int ShownLineTypeNumber(int ltype) noexcept { return ltype - kShownNumberOffset; }
constexpr int LineTypeOfShownNumber(int number) noexcept { return number + kShownNumberOffset; }
static_assert(ShownLineTypeNumber(kFirstUserLType) == 17 &&
              ShownLineTypeNumber(kLastUserLType) == 32);

// ---- The kinds: the grid's columns ----

// Columns of the grid: the line type's number, one per counted kind, the total.
enum TTallyColumn : int {
  kTallyNumber = 0,
  kTallyLine,
  kTallyCircle,
  kTallyArc,
  kTallyEllipse,
  kTallyEllipticArc,
  kTallyDimension,
  kTallyTotal
};
inline constexpr int kTallyColumns = kTallyTotal + 1;
inline constexpr int kFirstKindColumn = kTallyLine;
inline constexpr int kLastKindColumn = kTallyTotal - 1;

// Rows of the grid: the headings, one per user line type, the total.
inline constexpr int kTallyTotalRow = kUserLineTypes + 1;
inline constexpr int kTallyRows = kTallyTotalRow + 1;

constexpr bool IsKindColumn(int column) noexcept {
  return column >= kFirstKindColumn && column <= kLastKindColumn;
}
// The grid row of a user line type (1 for code 47) and the line type of a row 1..16.
constexpr int TallyRowOfLineType(int ltype) noexcept { return ltype - kFirstUserLType + 1; }
constexpr int LineTypeOfTallyRow(int row) noexcept { return kFirstUserLType + row - 1; }

struct TCountedKind {
  int Column;
  const char* Heading;  // Shift-JIS, as the grid shows it
};

// One row per kind, in column order.
inline constexpr TCountedKind kCountedKinds[] = {
    {kTallyLine, "\x90\xFC\x95\xAA"},                 // 線分
    {kTallyCircle, "\x89\x7E"},                       // 円
    {kTallyArc, "\x89\x7E\x8C\xCA"},                  // 円弧
    {kTallyEllipse, "\x91\xC8\x89\x7E"},              // 楕円
    {kTallyEllipticArc, "\x91\xC8\x89\x7E\x8C\xCA"},  // 楕円弧
    {kTallyDimension, "\x90\xA1\x96\x40\x90\xFC"},    // 寸法線
};
static_assert(std::size(kCountedKinds) == kLastKindColumn - kFirstKindColumn + 1,
              "one row of kCountedKinds per kind column");

// The heading of a grid column in Shift-JIS ("No.", "線分", ... "計"); "?" for any other.
const char* TallyColumnHeading(int column) noexcept;
// A kind column's heading, the kind's name in the grid's words; "?" for any other column.
const char* KindHeading(int column) noexcept;

// The column an ArcList record is counted in: circle, arc, ellipse or elliptic arc.
// Circular: flatness within 1e-8 of 1; full: |end - start| within 1e-8 of 0 or 360 degrees.
int ArcTallyColumn(double flatness, double startAngle, double endAngle) noexcept;

// ---- The lists the kinds come from ----

// A row per counted list. Each gives: its name in the report ("Lin", ...), the list and its
// count, the head a record is counted by (a dimension: its line's), the kind column it is
// counted in, where its mark goes (in the file's units, before the group scale), and the box
// that holds it in world units (group scale applied; a curve's is its whole circle's).
struct TCountedLines {
  using Entity = TJwwEntLin;
  static constexpr const char* Name = "Lin";
  static const std::vector<Entity>& List(const TEntityLists& d) noexcept { return d.LinList; }
  static const TJwwEntHdr& Head(const Entity& e) noexcept { return e.Hdr; }
  static int Column(const Entity&) noexcept { return kTallyLine; }
  static TDPoint MarkPoint(const Entity& e) noexcept {
    return {(e.X1 + e.X2) / 2.0, (e.Y1 + e.Y2) / 2.0};
  }
  static TWorldBox Box(const TDrawing& d, const Entity& e) noexcept;
};

struct TCountedCircles {
  using Entity = TJwwEntCir;
  static constexpr const char* Name = "Cir";
  static const std::vector<Entity>& List(const TEntityLists& d) noexcept { return d.CirList; }
  static const TJwwEntHdr& Head(const Entity& e) noexcept { return e.Hdr; }
  static int Column(const Entity&) noexcept { return kTallyCircle; }
  static TDPoint MarkPoint(const Entity& e) noexcept { return {e.Cx + e.R, e.Cy}; }
  static TWorldBox Box(const TDrawing& d, const Entity& e) noexcept;
};

struct TCountedArcs {
  using Entity = TJwwEntArc;
  static constexpr const char* Name = "Arc";
  static const std::vector<Entity>& List(const TEntityLists& d) noexcept { return d.ArcList; }
  static const TJwwEntHdr& Head(const Entity& e) noexcept { return e.Hdr; }
  static int Column(const Entity& e) noexcept {
    return ArcTallyColumn(e.Flatness, e.StartAngle, e.EndAngle);
  }
  static TDPoint MarkPoint(const Entity& e) noexcept {
    return EllipsePointDeg(e.Cx, e.Cy, e.R, e.Flatness, e.Tilt, e.StartAngle);
  }
  static TWorldBox Box(const TDrawing& d, const Entity& e) noexcept;
};

struct TCountedDimensions {
  using Entity = TJwwEntDim;
  static constexpr const char* Name = "Dim";
  static const std::vector<Entity>& List(const TEntityLists& d) noexcept { return d.DimList; }
  static const TJwwEntHdr& Head(const Entity& e) noexcept { return e.Line.Hdr; }
  static int Column(const Entity&) noexcept { return kTallyDimension; }
  static TDPoint MarkPoint(const Entity& e) noexcept { return TCountedLines::MarkPoint(e.Line); }
  static TWorldBox Box(const TDrawing& d, const Entity& e) noexcept {
    return TCountedLines::Box(d, e.Line);
  }
};

// Calls visit(row) with a value of each row type, in the order the marks are drawn, while it
// returns true; false when a visit returned false.
template <typename Visit>
bool ForEachCountedList(Visit&& visit) {
  return std::apply([&visit](auto... row) { return (visit(row) && ...); },
                    std::tuple<TCountedLines, TCountedCircles, TCountedArcs, TCountedDimensions>{});
}

// The box of record index of the list named list (a row's Name); none when there is no such
// list or record.
std::optional<TWorldBox> CountedEntityBox(const TDrawing& drawing, std::string_view list,
                                          int index);

}  // namespace sxf
