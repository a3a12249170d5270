#include "search/LineTypeTally.h"

#include <cassert>
#include <cmath>
#include <map>

#include "model/JwwGaibu2.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// Shift-JIS headings of row 0.
constexpr const char* kColumnHeading[kTallyColumns] = {
    "No.",
    "\x90\xFC\x95\xAA",                  // 線分
    "\x89\x7E",                          // 円
    "\x89\x7E\x8C\xCA",                  // 円弧
    "\x91\xC8\x89\x7E",                  // 楕円
    "\x91\xC8\x89\x7E\x8C\xCA",          // 楕円弧
    "\x90\xA1\x96\x40\x90\xFC",          // 寸法線
    "\x8C\x76",                          // 計
};
constexpr const char* kTotalHeading = "\x8C\x76";  // 計

// The count of one user line type in one kind's column. ForEachCountedEntity visits only
// user line types and the six kind columns, so both indices are always inside the table.
long long& CountOf(TTallyCounts& counts, int column, int ltype) noexcept {
  assert(IsUserLineType(ltype));
  assert(column >= kTallyLine && column <= kTallyDimension);
  return counts[static_cast<std::size_t>(ltype - kFirstUserLType)][static_cast<std::size_t>(column)];
}

}  // namespace

int ArcTallyColumn(double flatness, double startAngle, double endAngle) noexcept {
  const bool circular = SameWithin(8, flatness, 1.0);
  const long double sweep = std::fabs(static_cast<long double>(endAngle) - startAngle);
  const bool full = sweep < 1e-8L || std::fabs(sweep - 360.0L) < 1e-8L;
  if (circular) return full ? kTallyCircle : kTallyArc;
  return full ? kTallyEllipse : kTallyEllipticArc;
}

const char* TallyColumnHeading(int column) noexcept {
  return column >= 0 && column < kTallyColumns ? kColumnHeading[column] : "?";
}

void WriteTallyHeadings(TTallyGrid& grid) {
  for (int c = 0; c < kTallyColumns; ++c) grid.Cell(c, 0) = kColumnHeading[c];
  for (int r = 1; r <= 16; ++r) grid.Cell(kTallyNumber, r) = std::to_string(r + 16);
  grid.Cell(kTallyNumber, 17) = kTotalHeading;
}

void ForEachCountedEntity(const std::function<void(int column, int ltype, const TJwwEntHdr& head)>& visit) {
  for (int i = 0; i < LinCount; ++i) {
    const TJwwEntHdr& h = LinList[static_cast<std::size_t>(i)].Hdr;
    if (IsUserLineType(h.LType)) visit(kTallyLine, h.LType, h);
  }
  for (int i = 0; i < CirCount; ++i) {
    const TJwwEntHdr& h = CirList[static_cast<std::size_t>(i)].Hdr;
    if (IsUserLineType(h.LType)) visit(kTallyCircle, h.LType, h);
  }
  for (int i = 0; i < ArcCount; ++i) {
    const TJwwEntArc& a = ArcList[static_cast<std::size_t>(i)];
    if (IsUserLineType(a.Hdr.LType))
      visit(ArcTallyColumn(a.Flatness, a.StartAngle, a.EndAngle), a.Hdr.LType, a.Hdr);
  }
  for (int i = 0; i < DimCount; ++i) {
    const TJwwEntHdr& h = DimList[static_cast<std::size_t>(i)].Line.Hdr;
    if (IsUserLineType(h.LType)) visit(kTallyDimension, h.LType, h);
  }
}

void FillTallyCells(TTallyGrid& grid, const TTallyCounts& counts) {
  for (int r = 1; r <= 17; ++r)
    for (int c = 1; c <= 7; ++c) grid.Cell(c, r).clear();
  long long columnSums[kTallyColumns] = {};
  for (int r = 1; r <= 16; ++r) {
    long long sum = 0;
    for (int c = 1; c <= 6; ++c) {
      const long long n = counts[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c)];
      if (n > 0) grid.Cell(c, r) = std::to_string(n);
      sum += n;
      columnSums[c] += n;
    }
    columnSums[kTallyTotal] += sum;
    grid.Cell(kTallyTotal, r) = std::to_string(sum);
  }
  for (int c = 1; c <= 7; ++c) grid.Cell(c, 17) = std::to_string(columnSums[c]);
}

void TallyLineTypes(TTallyGrid& grid) {
  // Counting in integers gives the same cells as incrementing the cell texts one by one:
  // a cell's text is always the decimal of its count, and StrToIntOr0 reads it back exactly.
  TTallyCounts counts{};
  ForEachCountedEntity([&counts](int column, int ltype, const TJwwEntHdr&) {
    ++CountOf(counts, column, ltype);
  });
  FillTallyCells(grid, counts);
}

std::vector<TLayerTally> TallyByLayer() {
  std::map<std::pair<int, int>, TTallyCounts> layers;
  ForEachCountedEntity([&layers](int column, int ltype, const TJwwEntHdr& h) {
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

TTallyGrid BuildTallyGrid() {
  TTallyGrid grid;
  WriteTallyHeadings(grid);
  TallyLineTypes(grid);
  return grid;
}

}  // namespace sxf
