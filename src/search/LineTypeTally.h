#pragma once
// The line-type tally: how many line segments, circles, arcs, ellipses, elliptic arcs and
// dimension lines of a drawing use each SXF user line type (host codes 47..62, shown as
// 17..32). The grid's cells are Shift-JIS text, exactly as the window shows them.

#include <array>
#include <cassert>
#include <functional>
#include <string>
#include <vector>

#include "model/JwwGaibu2.h"
#include "search/CountedKinds.h"

namespace sxf {

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

// Row 0 and column 0: the headings "No.", "線分", ... and the numbers 17..32, "計".
void WriteTallyHeadings(TTallyGrid& grid);

// Rows 1..17, columns 1..7 from the lists (a drawing's, or a block definition's): count cells that
// received no entity stay empty, the total column and total row always hold a number.
void TallyLineTypes(TTallyGrid& grid, const TEntityLists& lists);

// Headings and counts together, as the window shows them after start-up.
TTallyGrid BuildTallyGrid(const TEntityLists& lists);

// Every counted entity (line type 47..62) with its grid column and the head it is counted
// by, list by list in the order of ForEachCountedList, each list in index order.
void ForEachCountedEntity(
    const TEntityLists& lists,
    const std::function<void(int column, int ltype, const TJwwEntHdr& head)>& visit);

// Counts per user line type (0 = 47) and grid column, written into the grid's cells the way
// TallyLineTypes writes them.
using TTallyCounts = std::array<std::array<long long, kTallyColumns>, kUserLineTypes>;
void FillTallyCells(TTallyGrid& grid, const TTallyCounts& counts);

// The counted entities a drawing file's blocks draw: each block's own counted records times
// its insertions, direct and nested; 0 for the interchange text.
long long CountedEntitiesInBlocks(const TDrawing& drawing);

// The grid of one layer group and layer.
struct TLayerTally {
  int Group = 0;
  int Layer = 0;
  TTallyGrid Grid;
};
// The grid of every layer that holds at least one counted entity, in group and layer order.
// The cells summed over all layers are the whole drawing's grid.
std::vector<TLayerTally> TallyByLayer(const TEntityLists& lists);

}  // namespace sxf
