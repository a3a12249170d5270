#include "render/DrawingIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "text/ImageFrame.h"

namespace sxf {

namespace {

// A record may reach this many cells beyond the cell of its lower-left corner; larger ones
// are visited on every query.
constexpr int kSpan = 4;
constexpr int kMaxCellsPerSide = 2048;
// Pixels around the view: rounding to pixels and one-pixel minimum sizes stay inside it.
constexpr double kMarginPixels = 4.0;
constexpr std::size_t kAnswersKept = 4;

using TBox = TWorldBox;

TBox PointsBox(std::initializer_list<double> xy, double s) noexcept {
  TBox b{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (auto it = xy.begin(); it != xy.end(); it += 2) {
    const double x = it[0] / s, y = it[1] / s;
    if (!std::isfinite(x) || !std::isfinite(y)) return {NAN, NAN, NAN, NAN};
    b = {std::min(b.Left, x), std::min(b.Bottom, y), std::max(b.Right, x), std::max(b.Top, y)};
  }
  return b;
}

// A circle of the given radius around the centre.
TBox RoundBox(double cx, double cy, double radius) noexcept {
  return {cx - radius, cy - radius, cx + radius, cy + radius};
}

// Every point of an ellipse (or of an arc of it, or a sector) lies within its major radius.
TBox CurveBox(const TDrawing& d, const TJwwEntHdr& h, double cx, double cy, double r,
              double flatness) noexcept {
  const double s = d.GroupScaleDivisor(h);
  return RoundBox(cx / s, cy / s, std::fabs(r / s) * std::max(1.0, std::fabs(flatness)));
}

// Point marks are sized in sheet units times their scale, not divided by the group scale:
// the largest reaches 7.5 units times the scale, plus pen and dot sizes.
TBox MarkBox(const TDrawing& d, const TJwwEntHdr& h, double x, double y, double k) noexcept {
  const double s = d.GroupScaleDivisor(h);
  const double scale = k <= 1e-8 ? 1.0 : k;
  return RoundBox(x / s, y / s, 10.0 * std::max(1.0, scale) + std::fabs(h.LWidth * 0.01) + 2.0);
}

// True for a text whose characters are its own bytes: no host code or variable to expand, no
// spacing marks at its end (a half-width or full-width dot; with escapes, also "^" or a digit,
// as in "^3"). Written as stored or through the escape walk, which writes at most its bytes
// in runs along the base line and puts overlays within a cell of the character before, its
// characters step at most |W| + |D| a byte.
bool WrittenFromItsBytes(std::string_view text) noexcept {
  if (text.size() == 2 || text.size() == 3) return false;  // the host's codes
  if (text.starts_with("%%")) return false;                // variables
  if (!text.empty() && static_cast<unsigned char>(text.back()) == 0xA5)
    return false;                                // half-width dot
  if (text.ends_with("\x81\x45")) return false;  // full-width dot
  if (text.find('^') == std::string_view::npos || text.empty()) return true;
  const char last = text.back();
  return last != '^' && !(last >= '1' && last <= '9');
}

// Everything DrawTextEntity writes lies within reach of the text's point: the base-point
// offset (at most the run's length plus the height), the line to the end point (DirX, DirY),
// the run from either end (its characters step at most (|W| + |D|) / 2 a byte, or with the
// vertical face's exchanged sizes (|H| + |D|) / 2), the shift of a turned face (|W| + |H|)
// and each character's cell about its step (|W| + |H| twice). A picture's text writes only
// its frame (DrawImageEntity), and DrawTextEntity nothing. Other texts are visited on every
// query.
TBox BoxOf(const TDrawing& d, const TJwwEntTxt& e) noexcept {
  const double s = d.GroupScaleDivisor(e.Hdr);
  if (const std::optional<TImageText> image = ParseImageText(e.Text))
    return PointsBox({e.X, e.Y, e.X + image->Fields[0] * s, e.Y + image->Fields[1] * s}, s);
  if (!WrittenFromItsBytes(e.Text)) return {NAN, NAN, NAN, NAN};
  const double size = std::fabs(e.W) + std::fabs(e.H) + std::fabs(e.D);
  const double reach = (std::fabs(e.DirX) + std::fabs(e.DirY)) / s +
                       (static_cast<double>(e.Text.size()) + 4.0) * size * 1.001;
  return RoundBox(e.X / s, e.Y / s, reach);
}

TBox Union(const TBox& a, const TBox& b) noexcept {
  return {std::min(a.Left, b.Left), std::min(a.Bottom, b.Bottom), std::max(a.Right, b.Right),
          std::max(a.Top, b.Top)};
}

TBox BoxOf(const TDrawing& d, const TJwwEntLin& e) noexcept {
  return PointsBox({e.X1, e.Y1, e.X2, e.Y2}, d.GroupScaleDivisor(e.Hdr));
}
// The dimension line and its value text, which need not lie near the line.
TBox BoxOf(const TDrawing& d, const TJwwEntDim& e) noexcept {
  const TBox line = BoxOf(d, e.Line);
  if (e.Text.Text.empty()) return line;  // writes nothing
  const TBox text = BoxOf(d, e.Text);
  if (!IsFinite(line) || !IsFinite(text)) return {NAN, NAN, NAN, NAN};
  return Union(line, text);
}
TBox BoxOf(const TDrawing& d, const TJwwEntCir& e) noexcept {
  return CurveBox(d, e.Hdr, e.Cx, e.Cy, e.R, 1.0);
}
TBox BoxOf(const TDrawing& d, const TJwwEntArc& e) noexcept {
  return CurveBox(d, e.Hdr, e.Cx, e.Cy, e.R, e.Flatness);
}
TBox BoxOf(const TDrawing& d, const TJwwEntSlArc& e) noexcept {
  return CurveBox(d, e.Hdr, e.Cx, e.Cy, e.R, e.Flatness);
}
TBox BoxOf(const TDrawing& d, const TJwwEntSlArc2& e) noexcept {
  return CurveBox(d, e.Hdr, e.Cx, e.Cy, std::max(std::fabs(e.R), std::fabs(e.R2)), e.Flatness);
}
TBox BoxOf(const TDrawing& d, const TJwwEntPnt& e) noexcept {
  return MarkBox(d, e.Hdr, e.X, e.Y, 1.0);
}
TBox BoxOf(const TDrawing& d, const TJwwEntPntEx& e) noexcept {
  return MarkBox(d, e.Hdr, e.X, e.Y, e.Scale);
}
TBox BoxOf(const TDrawing& d, const TJwwEntSl2& e) noexcept {
  return PointsBox({e.X1, e.Y1, e.X2, e.Y2}, d.GroupScaleDivisor(e.Hdr));
}
TBox BoxOf(const TDrawing& d, const TJwwEntSl3& e) noexcept {
  return PointsBox({e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3}, d.GroupScaleDivisor(e.Hdr));
}
TBox BoxOf(const TDrawing& d, const TJwwEntSl4& e) noexcept {
  return PointsBox({e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3, e.X4, e.Y4}, d.GroupScaleDivisor(e.Hdr));
}

// A box in single precision, rounded outwards so that it holds the exact one: half the
// memory of the exact one, for the boxes the index keeps.
struct TFloatBox {
  float Left, Bottom, Right, Top;
};

// One grid of a list. Each record sits in the cell of its box's lower-left corner, so a query
// looks kSpan cells further left and down than the view.
struct TGrid {
  double Left = 0, Bottom = 0, CellWidth = 1, CellHeight = 1;
  double ColumnsPerUnit = 1, RowsPerUnit = 1;
  int Columns = 1, Rows = 1;
  std::vector<int> CellStart;        // Columns * Rows + 1 offsets into CellRecords
  std::vector<int> CellRecords;      // record numbers, ascending within each cell
  std::vector<TFloatBox> CellBoxes;  // each of those records' box

  // Cell column of x, held within -1 .. Columns.
  int Column(double x) const noexcept {
    const double c = std::floor((x - Left) * ColumnsPerUnit);
    return static_cast<int>(std::clamp(c, -1.0, static_cast<double>(Columns)));
  }
  int Row(double y) const noexcept {
    const double r = std::floor((y - Bottom) * RowsPerUnit);
    return static_cast<int>(std::clamp(r, -1.0, static_cast<double>(Rows)));
  }
  bool Holds(const TBox& b) const noexcept {
    return Column(b.Right) - Column(b.Left) <= kSpan && Row(b.Top) - Row(b.Bottom) <= kSpan;
  }
  std::size_t CellOf(const TBox& b) const noexcept {
    const int c = std::clamp(Column(b.Left), 0, Columns - 1);
    const int r = std::clamp(Row(b.Bottom), 0, Rows - 1);
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(Columns) +
           static_cast<std::size_t>(c);
  }
};

// A list's grids, from fine cells for its many small records to one cell for the largest:
// each record goes to the finest grid that holds it within kSpan cells.
struct TListIndex {
  const TDrawing* Drawing = nullptr;
  double DrawingArea = 0;  // of the drawing's extents, world units squared
  const void* Data = nullptr;
  int Count = 0;
  std::function<void(TListIndex&)> Build;  // fills the grids when first needed
  bool Built = false;
  double Area = 0;  // of the list's box, world units squared
  std::vector<TGrid> Grids;
  std::vector<int> Always;  // boxes that are not finite
  // The answers for the last few boxes asked about, newest last: the bands of one drawing
  // ask the same questions and share one answer.
  struct TAnswer {
    double Left, Bottom, Right, Top;
    std::vector<int> Near;
  };
  std::vector<std::unique_ptr<TAnswer>> Answers;
};

// Every use of the index holds this lock: the bands of a drawing ask at the same time.
std::mutex& IndexLock() {
  static std::mutex lock;
  return lock;
}

std::vector<TListIndex>& Indexes() {
  static std::vector<TListIndex> indexes;
  return indexes;
}

double& AreaShare() {
  static double share = 0.25;
  return share;
}

float Below(double v) noexcept {
  const float f = static_cast<float>(v);
  return f > v ? std::nextafter(f, -INFINITY) : f;
}
float Above(double v) noexcept {
  const float f = static_cast<float>(v);
  return f < v ? std::nextafter(f, INFINITY) : f;
}

template <typename T>
void FillList(TListIndex& index, const TDrawing& d, const std::vector<T>& list) {
  index.Built = true;
  const int count = index.Count;
  TBox all{INFINITY, INFINITY, -INFINITY, -INFINITY};
  int finite = 0;
  std::vector<TFloatBox> boxes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    TBox b = BoxOf(d, list[static_cast<std::size_t>(i)]);
    if (IsFinite(b)) {
      const TFloatBox f{Below(b.Left), Below(b.Bottom), Above(b.Right), Above(b.Top)};
      boxes[static_cast<std::size_t>(i)] = f;
      b = {f.Left, f.Bottom, f.Right, f.Top};
    }
    if (!IsFinite(b)) {  // beyond the single-precision range too
      boxes[static_cast<std::size_t>(i)] = {NAN, NAN, NAN, NAN};
      continue;
    }
    all = {std::min(all.Left, b.Left), std::min(all.Bottom, b.Bottom), std::max(all.Right, b.Right),
           std::max(all.Top, b.Top)};
    ++finite;
  }
  if (finite == 0 || !IsFinite(all)) {
    for (int i = 0; i < count; ++i) index.Always.push_back(i);
    return;
  }
  const double width = std::max(all.Right - all.Left, 1e-9);
  const double height = std::max(all.Top - all.Bottom, 1e-9);
  index.Area = width * height;
  // The finest cells hold about four records each; every next grid has cells twice as large,
  // down to a single cell.
  double cellSize = std::sqrt(index.Area / std::max(1.0, finite / 4.0));
  for (;;) {
    TGrid g;
    g.Columns =
        static_cast<int>(std::clamp(std::ceil(width / cellSize), 1.0, double{kMaxCellsPerSide}));
    g.Rows =
        static_cast<int>(std::clamp(std::ceil(height / cellSize), 1.0, double{kMaxCellsPerSide}));
    g.Left = all.Left;
    g.Bottom = all.Bottom;
    g.CellWidth = width / g.Columns;
    g.CellHeight = height / g.Rows;
    g.ColumnsPerUnit = g.Columns / width;
    g.RowsPerUnit = g.Rows / height;
    index.Grids.push_back(std::move(g));
    if (index.Grids.back().Columns <= kSpan && index.Grids.back().Rows <= kSpan) break;
    cellSize *= 2.0;
  }

  // Count the records of each cell, then place them; each record's grid and cell are kept
  // from the first pass.
  std::vector<std::uint8_t> gridOf(static_cast<std::size_t>(count), 0xFF);
  std::vector<std::uint32_t> cellOf(static_cast<std::size_t>(count), 0);
  for (TGrid& g : index.Grids)
    g.CellStart.assign(static_cast<std::size_t>(g.Columns) * static_cast<std::size_t>(g.Rows) + 1,
                       0);
  const double finest = std::min(index.Grids[0].CellWidth, index.Grids[0].CellHeight);
  for (int i = 0; i < count; ++i) {
    const TFloatBox& f = boxes[static_cast<std::size_t>(i)];
    const TBox b{f.Left, f.Bottom, f.Right, f.Top};
    if (!IsFinite(b)) {
      index.Always.push_back(i);
      continue;
    }
    // Start from the grid whose cells the record's size suggests; a step or two settles it.
    const double size = std::max(b.Right - b.Left, b.Top - b.Bottom) / (finest * kSpan);
    std::size_t level = size <= 1.0 ? 0 : static_cast<std::size_t>(std::max(0, std::ilogb(size)));
    level = std::min(level, index.Grids.size() - 1);
    while (level > 0 && index.Grids[level - 1].Holds(b)) --level;
    while (level + 1 < index.Grids.size() && !index.Grids[level].Holds(b)) ++level;
    TGrid& g = index.Grids[level];
    const std::size_t cell = g.CellOf(b);
    gridOf[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(level);
    cellOf[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(cell);
    ++g.CellStart[cell + 1];
  }
  std::vector<std::vector<int>> next(index.Grids.size());
  for (std::size_t level = 0; level < index.Grids.size(); ++level) {
    TGrid& g = index.Grids[level];
    for (std::size_t c = 0; c + 1 < g.CellStart.size(); ++c) g.CellStart[c + 1] += g.CellStart[c];
    g.CellRecords.resize(static_cast<std::size_t>(g.CellStart.back()));
    g.CellBoxes.resize(static_cast<std::size_t>(g.CellStart.back()));
    next[level].assign(g.CellStart.begin(), g.CellStart.end() - 1);
  }
  for (int i = 0; i < count; ++i) {
    const std::uint8_t level = gridOf[static_cast<std::size_t>(i)];
    if (level == 0xFF) continue;
    const std::uint32_t cell = cellOf[static_cast<std::size_t>(i)];
    const auto at = static_cast<std::size_t>(next[level][cell]++);
    index.Grids[level].CellRecords[at] = i;
    index.Grids[level].CellBoxes[at] = boxes[static_cast<std::size_t>(i)];
  }
}

// Drops the lists of drawing (every list, for nullptr). The caller holds the lock.
void Forget(const TDrawing* drawing) {
  std::erase_if(Indexes(), [drawing](const TListIndex& i) {
    return drawing == nullptr || i.Drawing == drawing;
  });
}

}  // namespace

void PrepareDrawingIndex(const TDrawing& drawing, const TWorldBox& extents) {
  const std::lock_guard<std::mutex> hold(IndexLock());
  Forget(&drawing);
  const double area = (extents.Right - extents.Left) * (extents.Top - extents.Bottom);
  ForEachEntityList(drawing, [&](const char*, int, const auto& list) {
    using T = typename std::decay_t<decltype(list)>::value_type;
    if constexpr (!std::is_same_v<T, TJwwEntBlk>) {  // block references are not drawn
      TListIndex index;
      index.Drawing = &drawing;
      index.DrawingArea = area;
      index.Data = list.data();
      index.Count = TEntityLists::Count(list);
      index.Build = [&drawing, &list](TListIndex& self) { FillList(self, drawing, list); };
      Indexes().push_back(std::move(index));
    }
  });
}

void BuildDrawingIndex(const TDrawing& drawing) {
  PrepareDrawingIndex(drawing, TWorldBox{});
  const std::lock_guard<std::mutex> hold(IndexLock());
  for (TListIndex& i : Indexes())
    if (i.Drawing == &drawing) i.Build(i);
}

void ClearDrawingIndex(const TDrawing& drawing) {
  const std::lock_guard<std::mutex> hold(IndexLock());
  Forget(&drawing);
}

void ClearDrawingIndex() {
  const std::lock_guard<std::mutex> hold(IndexLock());
  Forget(nullptr);
  Indexes().shrink_to_fit();
}

std::size_t DrawingIndexBytes() {
  const std::lock_guard<std::mutex> hold(IndexLock());
  std::size_t bytes = 0;
  for (const TListIndex& i : Indexes()) {
    bytes += sizeof i + i.Always.capacity() * sizeof(int);
    for (const TGrid& g : i.Grids)
      bytes += sizeof g + (g.CellStart.capacity() + g.CellRecords.capacity()) * sizeof(int) +
               g.CellBoxes.capacity() * sizeof(TFloatBox);
  }
  return bytes;
}

void SetDrawingIndexAreaShare(double share) {
  const std::lock_guard<std::mutex> hold(IndexLock());
  AreaShare() = share;
}

const std::vector<int>* RecordsNearView(const TView& v, const void* listData, int count,
                                        double marginPixels) {
  if (count <= 0 || !(v.ViewScale > 0.0) || !std::isfinite(v.ViewScale)) return nullptr;
  const std::lock_guard<std::mutex> hold(IndexLock());
  TListIndex* index = nullptr;
  for (TListIndex& i : Indexes())
    if (i.Data == listData && i.Count == count) index = &i;
  if (!index) return nullptr;

  const double margin = std::max(kMarginPixels, marginPixels) / v.ViewScale;
  const TBox view{v.ViewLeft - margin, v.ViewBottom - margin, v.ViewRight + margin,
                  v.ViewTop + margin};
  if (!IsFinite(view)) return nullptr;
  const double viewArea = (view.Right - view.Left) * (view.Top - view.Bottom);
  if (!index->Built) {
    // Not before a view that may use it: the drawing's extents stand for the list's box.
    if (!(viewArea < AreaShare() * index->DrawingArea)) return nullptr;
    index->Build(*index);
  }
  if (index->Grids.empty() || !(viewArea < AreaShare() * index->Area)) return nullptr;

  for (const auto& a : index->Answers)
    if (a->Left == view.Left && a->Bottom == view.Bottom && a->Right == view.Right &&
        a->Top == view.Top)
      return &a->Near;
  if (index->Answers.size() >= kAnswersKept) index->Answers.erase(index->Answers.begin());
  index->Answers.push_back(std::make_unique<TListIndex::TAnswer>(
      TListIndex::TAnswer{view.Left, view.Bottom, view.Right, view.Top, {}}));
  std::vector<int>& near = index->Answers.back()->Near;

  // Candidates: in every grid, the records of the cells under the view and kSpan more to the
  // left and below whose box meets the view; and the records that are always visited. A bit
  // per record keeps them in ascending order.
  static std::vector<std::uint64_t> marks;
  marks.assign((static_cast<std::size_t>(count) + 63) / 64, 0);
  const auto mark = [](int i) {
    marks[static_cast<std::size_t>(i) >> 6] |= std::uint64_t{1} << (static_cast<unsigned>(i) & 63u);
  };
  for (const TGrid& g : index->Grids) {
    const int c0 = std::max(0, g.Column(view.Left) - kSpan);
    const int c1 = std::min(g.Columns - 1, g.Column(view.Right));
    const int r0 = std::max(0, g.Row(view.Bottom) - kSpan);
    const int r1 = std::min(g.Rows - 1, g.Row(view.Top));
    for (int r = r0; r <= r1 && c0 <= c1; ++r) {
      const std::size_t rowStart =
          static_cast<std::size_t>(r) * static_cast<std::size_t>(g.Columns);
      const auto end =
          static_cast<std::size_t>(g.CellStart[rowStart + static_cast<std::size_t>(c1) + 1]);
      for (auto k = static_cast<std::size_t>(g.CellStart[rowStart + static_cast<std::size_t>(c0)]);
           k < end; ++k) {
        const TFloatBox& b = g.CellBoxes[k];
        if (b.Right >= view.Left && b.Left <= view.Right && b.Top >= view.Bottom &&
            b.Bottom <= view.Top)
          mark(g.CellRecords[k]);
      }
    }
  }
  for (int i : index->Always) mark(i);
  for (std::size_t w = 0; w < marks.size(); ++w) {
    for (std::uint64_t bits = marks[w]; bits != 0; bits &= bits - 1)
      near.push_back(static_cast<int>(w * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
  }
  return &near;
}

}  // namespace sxf
