#pragma once
// The numbered marks that show where the entities drawn with an SXF user line type are: a
// red ring of radius m around a white square with the number 17..32 inside, on every line
// segment, circle, arc and dimension line whose line type is 47..62. Positions are world
// units (group scale applied, as the entities are drawn); m is in world units too.

#include <string>
#include <functional>
#include <vector>

#include "globals/View.h"
#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"

namespace sxf {

// A mark's design lengths in pixels at any zoom, at 96 dpi (drawn at TView::ViewPixels(length)):
// its radius, its red ring's pen, and the pen of the blue ring around the mark a walk is on.
inline constexpr int kMarkRadiusPixels = 10;
inline constexpr int kMarkRingPenPixels = 3;
inline constexpr int kWalkRingPenPixels = 5;
// The radius at the view's dpi: 15 pixels at 144.
int MarkRadiusPixels(const TView& view) noexcept;

struct TLineTypeMark {
  int Number = 0;                   // 17..32
  const char* List = "";            // "Lin", "Cir", "Arc" or "Dim"
  int Index = 0;                    // position in that list
  double X = 0.0, Y = 0.0;          // world units, where the mark is drawn
  int Column = 0;                   // the tally grid's column the entity is counted in
  int Group = 0, Layer = 0;         // of the head it is counted by
  double FileX = 0.0, FileY = 0.0;  // the same point in the file's units (before the group scale)
};

// Every mark in drawing order: lines, circles, arcs, then dimensions, each in index order.
std::vector<TLineTypeMark> CollectLineTypeMarks(const TDrawing& drawing);
// The same marks handed one at a time to onMark, none of them kept.
void ForEachLineTypeMark(const TDrawing& drawing,
                         const std::function<void(const TLineTypeMark&)>& onMark);

// Draws every mark of size m (10 / ViewScale for the preview). Polls the user's break after
// records 0, 10, 20, ... of each list and after each list; a break leaves the rest undrawn.
// False when the break stopped it. Marks wholly hidden by later ones may be left out (see
// SetHiddenMarksSkipped); after a break the marks up to it are all drawn.
bool DrawLineTypeMarks(TCanvas& c, const TView& view, const TDrawing& drawing, double m);

// On (the default), DrawLineTypeMarks leaves out the marks that the white boxes of later
// marks hide wholly, which paints the same pixels; off, every mark is drawn (the plain path
// the quick one is checked and timed against).
void SetHiddenMarksSkipped(bool on);

// One mark with the given text centred on the world point (x, y). Its ring's pen and its
// digits' strokes grow with the view's dpi: 3 and 1 pixels at 96 dpi, 5 and 2 at 144.
void DrawLineTypeMark(TCanvas& c, const TView& view, const std::string& text, double x, double y,
                      double m);

// The mark a walk is on, set apart from its neighbours: a wide blue ring of radius 1.6 m
// around it, then the mark itself again, so that it lies on top of any that overlap it.
void DrawCurrentLineTypeMark(TCanvas& c, const TView& view, const TLineTypeMark& mark, double m);

}  // namespace sxf
