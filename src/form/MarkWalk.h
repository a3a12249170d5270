#pragma once
// Walking from one numbered mark to the next: F3 and Shift+F3 step through the marks in
// drawing order (or, after a double click on a count cell of the grid, through the marks of
// that line type and kind), wrapping around, and put each one's entity in view. Works on the
// model, the view globals and the marks; the front end asks for the status text.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "form/Navigation.h"
#include "search/CountedKinds.h"
#include "search/LineTypeMarks.h"

namespace sxf {

class TMarkWalk {
 public:
  // Which marks are walked: number 17..32 and grid column kTallyLine..kTallyDimension, or 0
  // for any. Setting it starts the walk afresh.
  void Select(int number, int column);
  // The next (forward) or previous mark, wrapping; none when nothing is selected.
  std::optional<TLineTypeMark> Step(const TDrawing& drawing, bool forward);
  // Any other navigation ends the walk: the status text goes and the next step starts over.
  void End() noexcept;
  bool Active() const noexcept { return position_ >= 0; }
  // The mark the walk is on; none when it is not on.
  std::optional<TLineTypeMark> Current() const;
  // "3 / 11  線分  17  レイヤ 0-8" in Shift-JIS while walking (the line type's name after its
  // number where the drawing file names it), empty otherwise.
  std::string StatusText() const;

 private:
  // " name" of the user line type shown as number, when the drawing file names it.
  std::string NameOf(int number) const;

  std::vector<TLineTypeMark> marks_;
  std::array<std::string, kUserLineTypes> names_;  // the drawing file's, by type (0: 47)
  bool collected_ = false;
  int number_ = 0, column_ = 0;
  int position_ = -1;
};

// Puts the mark's entity in view in a preview of width x height pixels: its own bounding box
// (group scale applied) fitted with fit-all's 0.9 margin, but each side at least four mark
// diameters as fit-all shows them (the drawing's extents in this preview), so that a tiny
// entity is not blown up past reading. Saves the view first.
void ZoomViewToMark(TWindowViews& views, const TDrawing& drawing, const TWorldBox& extents,
                    const TLineTypeMark& mark, int width, int height);

}  // namespace sxf
