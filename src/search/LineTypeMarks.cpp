#include "search/LineTypeMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "graphics/Curves.h"
#include "graphics/Primitives.h"
#include "graphics/clipping.h"
#include "model/JwwGaibu2.h"
#include "render/DrawingIndex.h"
#include "render/UserBreak.h"
#include "search/CountedKinds.h"
#include "text/TextDrawing.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// "ＭＳ ゴシック" in Shift-JIS.
const std::string kMarkFace = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

// The mark of a counted record: its centre in the file's units (FileX, FileY) and divided by
// the group scale (X, Y).
template <typename TRow>
TLineTypeMark Mark(const TDrawing& d, const typename TRow::Entity& e, int index) {
  const TJwwEntHdr& head = TRow::Head(e);
  const TDPoint p = TRow::MarkPoint(e);
  const double s = d.GroupScaleDivisor(head);
  TLineTypeMark m;
  m.Number = ShownLineTypeNumber(head.LType);
  m.List = TRow::Name;
  m.Index = index;
  m.X = p.X / s;
  m.Y = p.Y / s;
  m.Column = TRow::Column(e);
  m.Group = head.Group;
  m.Layer = head.Layer;
  m.FileX = p.X;
  m.FileY = p.Y;
  return m;
}

// Walks the counted lists in drawing order, each in index order, handing every marked record
// to onMark; near(list, count) gives the records of a list to look at (nullptr: all of them).
// stop() is asked as VisitPollingBreak asks it, list by list; true ends the walk. False when
// stop() ended it.
template <typename OnMark, typename Stop, typename Near>
bool WalkMarks(const TDrawing& d, OnMark onMark, Stop stop, Near near) {
  return ForEachCountedList([&](auto row) {
    using TRow = decltype(row);
    const auto& list = TRow::List(d);
    const auto visit = [&](int i) {
      const auto& e = list[static_cast<std::size_t>(i)];
      if (IsUserLineType(TRow::Head(e).LType)) onMark(Mark<TRow>(d, e, i));
    };
    const int count = TEntityLists::Count(list);
    return VisitPollingBreak(near(list.data(), count), count, visit, stop);
  });
}

}  // namespace

void ForEachLineTypeMark(const TDrawing& drawing,
                         const std::function<void(const TLineTypeMark&)>& onMark) {
  // Every record of every list, none skipped by the drawing index.
  WalkMarks(
      drawing, onMark, [] { return false; },
      [](const void*, int) -> const std::vector<int>* { return nullptr; });
}

std::vector<TLineTypeMark> CollectLineTypeMarks(const TDrawing& drawing) {
  std::vector<TLineTypeMark> marks;
  ForEachLineTypeMark(drawing, [&marks](const TLineTypeMark& m) { marks.push_back(m); });
  return marks;
}

namespace {

// Which of the marks of a redraw paint a pixel that stays. A mark writes only inside a square
// of pixels about its centre (its ring of radius m with a 3-pixel pen, its white box, its
// number in that box), and every pixel of its white box is written the same whatever lay
// beneath: the box is filled, the ring and the number go on that white. So a mark whose
// square lies wholly under the white boxes of marks drawn after it leaves no pixel behind,
// provided those later marks are drawn. Pixels outside the view's surface count as uncovered.
// A canvas that writes some rows only (a band of the picture) needs only those rows covered:
// a later mark whose box reaches them is drawn there too.
class TMarkCover {
 public:
  explicit TMarkCover(const TView& view) noexcept : view_(view) {}

  // False when the marks are too small or too large, or the surface too large, to be sure.
  // The rows firstRow .. endRow - 1 of the surface are the ones that count.
  bool Start(double m, int firstRow, int endRow) {
    radius_ = std::fabs(m) * view_.ViewScale;
    if (!(radius_ >= 2.0 && radius_ <= 64.0) || view_.ViewWidth <= 0 || view_.ViewHeight <= 0 ||
        view_.ViewWidth > 16384 || view_.ViewHeight > 16384)
      return false;
    m_ = m;
    firstRow_ = std::clamp(firstRow, 0, view_.ViewHeight);
    endRow_ = std::clamp(endRow, firstRow_, view_.ViewHeight);
    words_ = (static_cast<std::size_t>(view_.ViewWidth) + 63) / 64;
    bits_.assign(words_ * static_cast<std::size_t>(endRow_ - firstRow_), 0);
    return true;
  }

  // Walked from the last mark to the first: true when the mark at (x, y) leaves a pixel;
  // such a mark's white box then covers what lies before it.
  bool Shows(double x, double y) {
    const TPixelPoint c = WorldToScreen(view_, x, y);
    const int reach =
        static_cast<int>(std::ceil(radius_)) + view_.ViewPixels(kMarkRingPenPixels) + 1;
    const bool shows =
        !Covered(static_cast<long long>(c.X) - reach, static_cast<long long>(c.Y) - reach,
                 static_cast<long long>(c.X) + reach, static_cast<long long>(c.Y) + reach);
    if (shows) CoverBox(x, y);
    return shows;
  }

 private:
  // The white box's pixels, as DrawWorldRect and the canvas's Rectangle give them (right
  // column and bottom row left out), where it is drawn as a box.
  void CoverBox(double x, double y) {
    const double h = 0.8 * m_;
    if (SegmentVisibility(x - h, y - h, x + h, y + h, view_.ViewLeft, view_.ViewBottom,
                          view_.ViewRight, view_.ViewTop) != ClipInside)
      return;
    const TPixelPoint a = WorldToScreen(view_, x - h, y - h);
    const TPixelPoint b = WorldToScreen(view_, x + h, y + h);
    const long long x0 = std::min(a.X, b.X), x1 = std::max(a.X, b.X);
    const long long y0 = std::min(a.Y, b.Y), y1 = std::max(a.Y, b.Y);
    if (x1 - x0 <= 2 || y1 - y0 <= 2) return;
    const long long left = std::max(0LL, x0), right = std::min<long long>(x1, view_.ViewWidth) - 1;
    for (long long py = std::max<long long>(firstRow_, y0); py < std::min<long long>(y1, endRow_);
         ++py)
      ForRow(left, right, py, [](std::uint64_t& word, std::uint64_t mask) {
        word |= mask;
        return true;
      });
  }

  bool Covered(long long x0, long long y0, long long x1, long long y1) {
    if (x0 < 0 || y0 < 0 || x1 >= view_.ViewWidth || y1 >= view_.ViewHeight) return false;
    for (long long py = std::max<long long>(y0, firstRow_);
         py <= std::min<long long>(y1, endRow_ - 1); ++py)
      if (!ForRow(x0, x1, py,
                  [](std::uint64_t& word, std::uint64_t mask) { return (word & mask) == mask; }))
        return false;
    return true;
  }

  // Calls f(word, mask) for the words holding pixels x0 .. x1 of row y, each with the mask of
  // those pixels, while f returns true; false when it did not.
  template <typename F>
  bool ForRow(long long x0, long long x1, long long y, F f) {
    if (x0 > x1) return true;
    std::uint64_t* row = bits_.data() + static_cast<std::size_t>(y - firstRow_) * words_;
    for (long long w = x0 >> 6; w <= x1 >> 6; ++w) {
      const long long from = std::max(x0, w * 64) - w * 64, to = std::min(x1, w * 64 + 63) - w * 64;
      const std::uint64_t mask =
          (to - from == 63 ? ~std::uint64_t{0} : ((std::uint64_t{1} << (to - from + 1)) - 1))
          << from;
      if (!f(row[w], mask)) return false;
    }
    return true;
  }

  const TView& view_;
  double radius_ = 0, m_ = 0;
  int firstRow_ = 0, endRow_ = 0;
  std::size_t words_ = 0;
  std::vector<std::uint64_t> bits_;
};

bool& HiddenMarksSkipped() {
  static bool on = true;
  return on;
}

}  // namespace

void SetHiddenMarksSkipped(bool on) { HiddenMarksSkipped() = on; }

int MarkRadiusPixels(const TView& view) noexcept { return view.ViewPixels(kMarkRadiusPixels); }

bool DrawLineTypeMarks(TCanvas& c, const TView& view, const TDrawing& drawing, double m) {
  if (CheckUserBreak()) return false;
  // A mark lies inside its record's box (the middle of a line, a point of a curve) and draws
  // within its ring (radius m, a 3-pixel pen) and its number's cells (within m of the point):
  // in a small view only the records within 1.5 m and a few pixels of it are looked at.
  const double reach = std::fabs(m) * view.ViewScale * 1.5 + 8.0;
  const auto near = [reach, &view](const void* list, int count) {
    return std::isfinite(reach) ? RecordsNearView(view, list, count, reach) : nullptr;
  };
  // First the marks themselves, then, from the last, which of them leave a pixel.
  struct TPlace {
    int Number;
    double X, Y;
  };
  std::vector<TPlace> places;
  WalkMarks(
      drawing,
      [&places](const TLineTypeMark& mark) {
        places.push_back({mark.Number, mark.X, mark.Y});
      },
      [] { return false; }, near);
  std::vector<bool> shows(places.size(), true);
  TMarkCover cover(view);
  if (HiddenMarksSkipped() && cover.Start(m, c.FirstRow, c.EndRow))
    for (std::size_t i = places.size(); i-- > 0;) shows[i] = cover.Shows(places[i].X, places[i].Y);
  // A band of the picture leaves out, as it leaves out a covered mark, every mark wholly above
  // or below its rows: each mark's first step (its white square) ends what the one before
  // left open.
  if (c.FirstRow != std::numeric_limits<int>::min() ||
      c.EndRow != std::numeric_limits<int>::max()) {
    const double reachPixels = std::fabs(m) * view.ViewScale * 1.2 + 8.0;
    if (std::isfinite(reachPixels))
      for (std::size_t i = 0; i < places.size(); ++i) {
        const double y =
            (places[i].Y - view.ViewBottom) * view.ViewScale;  // up from the bottom row
        const double row = view.ViewHeight - y;
        if (row + reachPixels < c.FirstRow || row - reachPixels >= c.EndRow) shows[i] = false;
      }
  }

  std::size_t next = 0;
  const bool finished = WalkMarks(
      drawing,
      [&](const TLineTypeMark&) {
        const TPlace& p = places[next];
        if (shows[next]) DrawLineTypeMark(c, view, std::to_string(p.Number), p.X, p.Y, m);
        ++next;
      },
      [] { return CheckUserBreak(); }, near);
  if (!finished) {
    // The marks that would have covered the ones left out are not drawn: the marks so far are
    // drawn again in order, which gives what drawing every one of them gives.
    for (std::size_t i = 0; i < next; ++i)
      if (!shows[i]) {
        for (std::size_t k = i; k < next; ++k)
          DrawLineTypeMark(c, view, std::to_string(places[k].Number), places[k].X, places[k].Y, m);
        break;
      }
  }
  return finished;
}

void DrawLineTypeMark(TCanvas& c, const TView& view, const std::string& text, double x, double y,
                      double m) {
  const TColor white = RgbColor(255, 255, 255);
  c.Pen.Color = white;
  c.Pen.Width = 1;
  c.Pen.Style = TPenStyle::Solid;
  c.Brush.Color = white;
  c.Brush.Style = TBrushStyle::Solid;
  DrawWorldRect(c, view, x - 0.8 * m, y - 0.8 * m, x + 0.8 * m, y + 0.8 * m);
  c.Pen.Color = RgbColor(255, 0, 0);
  c.Pen.Style = TPenStyle::Solid;
  c.Pen.Width = view.ViewPixels(kMarkRingPenPixels);
  DrawWorldEllipse(c, view, x, y, m, 1.0, 0.0);
  // Solid red digits: smoothed, ten-pixel digits come out pink and thin. On a screen of
  // higher dpi the font's strokes stay one pixel wide; the digits are drawn again one pixel
  // right and down as often as the scale is whole, so their strokes grow with the mark.
  const int strokes = std::max(1, RoundHalfAway(static_cast<double>(view.ViewDpi) / kDesignDpi));
  const double pixel = view.ViewScale > 0.0 ? 1.0 / view.ViewScale : 0.0;
  for (int dy = 0; dy < strokes; ++dy)
    for (int dx = 0; dx < strokes; ++dx)
      DrawTextRun(c, view, 0, kMarkFace, x - 0.5 * m + dx * pixel, y - 0.5 * m - dy * pixel, 0.0, m,
                  m, 0.0, text, true);
}

void DrawCurrentLineTypeMark(TCanvas& c, const TView& view, const TLineTypeMark& mark, double m) {
  c.Pen.Color = RgbColor(0, 64, 255);
  c.Pen.Style = TPenStyle::Solid;
  c.Pen.Width = view.ViewPixels(kWalkRingPenPixels);
  c.Brush.Style = TBrushStyle::Clear;
  DrawWorldEllipse(c, view, mark.X, mark.Y, 1.6 * m, 1.0, 0.0);
  DrawLineTypeMark(c, view, std::to_string(mark.Number), mark.X, mark.Y, m);
}

}  // namespace sxf
