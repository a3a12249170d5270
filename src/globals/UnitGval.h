#pragma once
// The globals every drawing module shares: the view (world window and scale of the
// preview), the previous view, the drawing extents, the program folder, the one
// drawing-attribute object and the text environment the special text codes read. No Qt
// here: the core reads these.
//
// World units, y up; pixels, y down. ViewScale is pixels per world unit.

#include <memory>
#include <string>
#include <vector>

#include "attributes/UnitGraAtt.h"

namespace sxf {

extern double ViewLeft, ViewBottom, ViewRight, ViewTop;
extern double ViewScale;
extern int ViewWidth, ViewHeight;  // preview size in pixels when the view was set
// Pixels per inch of the preview: the marks, the origin cross and the other pixel lengths of
// the picture are design lengths at 96 dpi, drawn at ScaleForDpi(length, ViewDpi). One-pixel
// pens stay one pixel.
extern int ViewDpi;
// A design length of the picture at the preview's dpi.
int ViewPixels(int designLength) noexcept;
extern double SavedViewLeft, SavedViewBottom, SavedViewRight, SavedViewTop, SavedViewScale;

extern double ExtentLeft, ExtentBottom, ExtentRight, ExtentTop;

// Folder of the program file, with its trailing separator.
extern std::string ProgramFolder;

// The drawing attributes; created by the main window, absent before and after it.
extern std::unique_ptr<TgraAttribute> GraAttr;

// Puts the view, the previous view and the extents back to their start values (all 0, the
// dpi 96).
void ResetViewState();

// ---- Text environment ----
// What the special text codes expand to. Nothing in this program fills it: it keeps its
// start values (empty texts, scales 0, the date-time 0) for the whole run; tests set it.
struct TStr2List {
  std::string Name;   // Shift-JIS, "%%" included
  std::string Value;  // Shift-JIS
};
extern std::string DrawingPath;   // Shift-JIS
extern std::string DrawingTitle;  // Shift-JIS
extern std::string DrawingMemo1;  // Shift-JIS
extern std::string DrawingMemo2;  // Shift-JIS
extern double DrawingScale;
extern double PrintFactor;
extern double DrawingTime;  // days since 1899-12-30; the time of day as the fraction
extern std::vector<TStr2List> TextVariables;

// Puts the text environment back to its start values.
void ResetTextEnvironment();

}  // namespace sxf
