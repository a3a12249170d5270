#pragma once
// The line-type tally: how many line segments, circles, arcs, ellipses, elliptic arcs and
// dimension lines of the model use each SXF user line type (host codes 47..62, shown as
// 17..32). The grid's cells are Shift-JIS text, exactly as the window shows them.

#include <array>
#include <cassert>
#include <functional>
#include <string>
#include <vector>

#include "model/JwwGaibu2.h"

namespace sxf {

inline constexpr int kTallyColumns = 8;
inline constexpr int kTallyRows = 18;  // heading row, codes 47..62, total row
inline constexpr int kFirstUserLType = 47;
inline constexpr int kLastUserLType = 62;

// Columns of the grid.
enum TTallyColumn : int {
  kTallyNumber = 0, kTallyLine, kTallyCircle, kTallyArc, kTallyEllipse, kTallyEllipticArc,
  kTallyDimension, kTallyTotal
};

struct TTallyGrid {
  std::array<std::array<std::string, kTallyColumns>, kTallyRows> Rows;  // [row][column]
  std::string& Cell(int column, int row) {
    assert(column >= 0 && column < kTallyColumns && row >= 0 && row < kTallyRows);
    return Rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  const std::string& Cell(int column, int row) const {
    assert(column >= 0 && column < kTallyColumns && row >= 0 && row < kTallyRows);
    return Rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
};

constexpr bool IsUserLineType(int ltype) noexcept {
  return ltype >= kFirstUserLType && ltype <= kLastUserLType;
}

// The grid column an ArcList record is counted in: circle, arc, ellipse or elliptic arc.
// Circular: flatness within 1e-8 of 1; full: |end - start| within 1e-8 of 0 or 360 degrees.
int ArcTallyColumn(double flatness, double startAngle, double endAngle) noexcept;

// The heading of a grid column in Shift-JIS ("No.", "線分", ... "計"); "?" for any other.
const char* TallyColumnHeading(int column) noexcept;

// Row 0 and column 0: the headings "No.", "線分", ... and the numbers 17..32, "計".
void WriteTallyHeadings(TTallyGrid& grid);

// Rows 1..17, columns 1..7 from the model: count cells that received no entity stay empty,
// the total column and total row always hold a number.
void TallyLineTypes(TTallyGrid& grid);

// Headings and counts together, as the window shows them after start-up.
TTallyGrid BuildTallyGrid();

// Every counted entity (line type 47..62) with its grid column and the head it is counted
// by (a dimension: its line's), lines, circles, arcs and dimensions in list order.
void ForEachCountedEntity(const std::function<void(int column, int ltype, const TJwwEntHdr& head)>& visit);

// Counts per user line type (0 = 47) and grid column, written into the grid's cells the way
// TallyLineTypes writes them.
using TTallyCounts = std::array<std::array<long long, kTallyColumns>, 16>;
void FillTallyCells(TTallyGrid& grid, const TTallyCounts& counts);

// The grid of one layer group and layer.
struct TLayerTally {
  int Group = 0;
  int Layer = 0;
  TTallyGrid Grid;
};
// The grid of every layer that holds at least one counted entity, in group and layer order.
// The cells summed over all layers are the whole drawing's grid.
std::vector<TLayerTally> TallyByLayer();

}  // namespace sxf
