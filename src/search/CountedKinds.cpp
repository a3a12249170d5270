#include "search/CountedKinds.h"

#include <algorithm>
#include <cmath>

namespace sxf {

namespace {

TWorldBox Around(double cx, double cy, double r) { return {cx - r, cy - r, cx + r, cy + r}; }

}  // namespace

const char* TallyColumnHeading(int column) noexcept {
  if (column == kTallyNumber) return "No.";
  if (column == kTallyTotal) return "\x8C\x76";  // 計
  return KindHeading(column);
}

const char* KindHeading(int column) noexcept {
  return IsKindColumn(column) ? kCountedKinds[column - kFirstKindColumn].Heading : "?";
}

int ArcTallyColumn(double flatness, double startAngle, double endAngle) noexcept {
  const bool circular = SameWithin(8, flatness, 1.0);
  const long double sweep = std::fabs(static_cast<long double>(endAngle) - startAngle);
  const bool full = sweep < 1e-8L || std::fabs(sweep - 360.0L) < 1e-8L;
  if (circular) return full ? kTallyCircle : kTallyArc;
  return full ? kTallyEllipse : kTallyEllipticArc;
}

TWorldBox TCountedLines::Box(const TDrawing& d, const Entity& e) noexcept {
  const double s = d.GroupScaleDivisor(e.Hdr);
  return {std::min(e.X1, e.X2) / s, std::min(e.Y1, e.Y2) / s, std::max(e.X1, e.X2) / s,
          std::max(e.Y1, e.Y2) / s};
}

TWorldBox TCountedCircles::Box(const TDrawing& d, const Entity& e) noexcept {
  const double s = d.GroupScaleDivisor(e.Hdr);
  return Around(e.Cx / s, e.Cy / s, std::fabs(e.R) / s);
}

TWorldBox TCountedArcs::Box(const TDrawing& d, const Entity& e) noexcept {
  const double s = d.GroupScaleDivisor(e.Hdr);
  return Around(e.Cx / s, e.Cy / s, std::fabs(e.R) * std::max(1.0, std::fabs(e.Flatness)) / s);
}

std::optional<TWorldBox> CountedEntityBox(const TDrawing& drawing, std::string_view list,
                                          int index) {
  std::optional<TWorldBox> box;
  ForEachCountedList([&](auto row) {
    using TRow = decltype(row);
    if (list != TRow::Name) return true;
    const auto& records = TRow::List(drawing);
    if (index >= 0 && static_cast<std::size_t>(index) < records.size())
      box = TRow::Box(drawing, records[static_cast<std::size_t>(index)]);
    return false;
  });
  return box;
}

}  // namespace sxf
