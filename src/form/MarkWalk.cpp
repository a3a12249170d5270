#include "form/MarkWalk.h"

#include <algorithm>
#include <cmath>

#include "form/Navigation.h"
#include "model/JwwGaibu2.h"
#include "preview/Preview.h"
#include "search/CountedKinds.h"

namespace sxf {

namespace {

// The entity's box in world units; a curve's is the box of its whole circle, which holds it.
TWorldBox EntityBox(const TDrawing& drawing, const TLineTypeMark& m) {
  return CountedEntityBox(drawing, m.List, m.Index).value_or(TWorldBox{m.X, m.Y, m.X, m.Y});
}

}  // namespace

void TMarkWalk::Select(int number, int column) {
  number_ = number;
  column_ = column;
  position_ = -1;
  collected_ = false;
}

std::optional<TLineTypeMark> TMarkWalk::Step(const TDrawing& drawing, bool forward) {
  if (!collected_) {
    marks_.clear();
    for (const TLineTypeMark& m : CollectLineTypeMarks(drawing))
      if ((number_ == 0 || m.Number == number_) && (column_ == 0 || m.Column == column_))
        marks_.push_back(m);
    for (std::size_t k = 0; k < names_.size(); ++k) {
      const TSxfLineTypeDef* t = drawing.LineTypeDefinition(kFirstUserLType + static_cast<int>(k));
      names_[k] = t ? t->Name : std::string();
    }
    collected_ = true;
  }
  if (marks_.empty()) return std::nullopt;
  const int n = static_cast<int>(marks_.size());
  if (position_ < 0) {
    position_ = forward ? 0 : n - 1;
  } else {
    position_ = (position_ + (forward ? 1 : n - 1)) % n;
  }
  return marks_[static_cast<std::size_t>(position_)];
}

void TMarkWalk::End() noexcept {
  position_ = -1;
  collected_ = false;  // the next walk starts from the drawing as it is then
}

std::optional<TLineTypeMark> TMarkWalk::Current() const {
  if (position_ < 0 || position_ >= static_cast<int>(marks_.size())) return std::nullopt;
  return marks_[static_cast<std::size_t>(position_)];
}

std::string TMarkWalk::NameOf(int number) const {
  const int k = LineTypeOfShownNumber(number) - kFirstUserLType;
  if (k < 0 || k >= static_cast<int>(names_.size()) || names_[static_cast<std::size_t>(k)].empty())
    return {};
  return " " + names_[static_cast<std::size_t>(k)];
}

std::string TMarkWalk::StatusText() const {
  if (position_ < 0 || position_ >= static_cast<int>(marks_.size())) return {};
  const TLineTypeMark& m = marks_[static_cast<std::size_t>(position_)];
  return std::to_string(position_ + 1) + " / " + std::to_string(marks_.size()) + "  " +
         KindHeading(m.Column) + "  " + std::to_string(m.Number) + NameOf(m.Number) +
         "  \x83\x8C\x83\x43\x83\x84 " +  // レイヤ
         std::to_string(m.Group) + "-" + std::to_string(m.Layer);
}

void ZoomViewToMark(TWindowViews& v, const TDrawing& drawing, const TWorldBox& extents,
                    const TLineTypeMark& mark, int width, int height) {
  SaveView(v);
  const double ex = std::max(1e-10, std::fabs(extents.Right - extents.Left));
  const double ey = std::max(1e-10, std::fabs(extents.Top - extents.Bottom));
  const double fitAllScale = 0.9 * std::min(std::max(1, width) / ex, std::max(1, height) / ey);
  TWorldBox box = EntityBox(drawing, mark);
  // At least four mark diameters (20 pixels each at 96 dpi) of fit-all on every side of the box.
  const double least = fitAllScale > 0 && std::isfinite(fitAllScale)
                           ? 4.0 * 2.0 * MarkRadiusPixels(v.View) / fitAllScale
                           : 1.0;
  const auto widen = [least](double& lo, double& hi) {
    if (!(hi - lo >= least)) {
      const double c = (lo + hi) / 2.0;
      lo = c - least / 2.0;
      hi = c + least / 2.0;
    }
  };
  widen(box.Left, box.Right);
  widen(box.Bottom, box.Top);
  v.View.ViewWidth = std::max(1, width);
  v.View.ViewHeight = std::max(1, height);
  FitViewToBox(v.View, box.Left, box.Bottom, box.Right, box.Top);
}

}  // namespace sxf
