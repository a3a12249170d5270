#include "search/LineTypeTally.h"

#include <cassert>
#include <cmath>
#include <map>

#include "model/JwwGaibu2.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// The count of one user line type in one kind's column. ForEachCountedEntity visits only
// user line types and the six kind columns, so both indices are always inside the table.
long long& CountOf(TTallyCounts& counts, int column, int ltype) noexcept {
  assert(IsUserLineType(ltype));
  assert(IsKindColumn(column));
  return counts[static_cast<std::size_t>(ltype - kFirstUserLType)]
               [static_cast<std::size_t>(column)];
}

}  // namespace

void WriteTallyHeadings(TTallyGrid& grid) {
  for (int c = 0; c < kTallyColumns; ++c) grid.Cell(c, 0) = TallyColumnHeading(c);
  for (int r = 1; r < kTallyTotalRow; ++r)
    grid.Cell(kTallyNumber, r) = std::to_string(ShownLineTypeNumber(LineTypeOfTallyRow(r)));
  grid.Cell(kTallyNumber, kTallyTotalRow) = TallyColumnHeading(kTallyTotal);
}

void ForEachCountedEntity(
    const TEntityLists& lists,
    const std::function<void(int column, int ltype, const TJwwEntHdr& head)>& visit) {
  ForEachCountedList([&lists, &visit](auto row) {
    using TRow = decltype(row);
    for (const auto& e : TRow::List(lists)) {
      const TJwwEntHdr& h = TRow::Head(e);
      if (IsUserLineType(h.LType)) visit(TRow::Column(e), h.LType, h);
    }
    return true;
  });
}

void FillTallyCells(TTallyGrid& grid, const TTallyCounts& counts) {
  for (int r = 1; r <= kTallyTotalRow; ++r)
    for (int c = kFirstKindColumn; c <= kTallyTotal; ++c) grid.Cell(c, r).clear();
  long long columnSums[kTallyColumns] = {};
  for (int r = 1; r < kTallyTotalRow; ++r) {
    long long sum = 0;
    for (int c = kFirstKindColumn; c <= kLastKindColumn; ++c) {
      const long long n = counts[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c)];
      if (n > 0) grid.Cell(c, r) = std::to_string(n);
      sum += n;
      columnSums[c] += n;
    }
    columnSums[kTallyTotal] += sum;
    grid.Cell(kTallyTotal, r) = std::to_string(sum);
  }
  for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
    grid.Cell(c, kTallyTotalRow) = std::to_string(columnSums[c]);
}

void TallyLineTypes(TTallyGrid& grid, const TEntityLists& lists) {
  // Counting in integers gives the same cells as incrementing the cell texts one by one:
  // a cell's text is always the decimal of its count, and StrToIntOr0 reads it back exactly.
  TTallyCounts counts{};
  ForEachCountedEntity(lists, [&counts](int column, int ltype, const TJwwEntHdr&) {
    ++CountOf(counts, column, ltype);
  });
  FillTallyCells(grid, counts);
}

std::vector<TLayerTally> TallyByLayer(const TEntityLists& lists) {
  std::map<std::pair<int, int>, TTallyCounts> layers;
  ForEachCountedEntity(lists, [&layers](int column, int ltype, const TJwwEntHdr& h) {
    ++CountOf(layers[{h.Group, h.Layer}], column, ltype);
  });
  std::vector<TLayerTally> out;
  for (const auto& [key, counts] : layers) {
    TLayerTally t;
    t.Group = key.first;
    t.Layer = key.second;
    WriteTallyHeadings(t.Grid);
    FillTallyCells(t.Grid, counts);
    out.push_back(std::move(t));
  }
  return out;
}

long long CountedEntitiesInBlocks(const TDrawing& drawing) {
  long long inside = 0;
  for (const TDrawingBlock& block : drawing.File.Blocks) {
    long long own = 0;
    ForEachCountedEntity(block.Contents, [&own](int, int, const TJwwEntHdr&) { ++own; });
    inside += own * (static_cast<long long>(block.Direct) + block.Nested);
  }
  return inside;
}

TTallyGrid BuildTallyGrid(const TEntityLists& lists) {
  TTallyGrid grid;
  WriteTallyHeadings(grid);
  TallyLineTypes(grid, lists);
  return grid;
}

}  // namespace sxf
