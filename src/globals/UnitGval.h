#pragma once
// The globals every drawing module shares: the view (world window and scale of the
// preview), the previous view, the drawing extents, the program folder and the one
// drawing-attribute object. No Qt here: the core reads these.
//
// World units, y up; pixels, y down. ViewScale is pixels per world unit.

#include <memory>
#include <string>

#include "attributes/UnitGraAtt.h"

namespace sxf {

extern double ViewLeft, ViewBottom, ViewRight, ViewTop;
extern double ViewScale;
extern int ViewWidth, ViewHeight;  // preview size in pixels when the view was set
extern double SavedViewLeft, SavedViewBottom, SavedViewRight, SavedViewTop, SavedViewScale;

extern double ExtentLeft, ExtentBottom, ExtentRight, ExtentTop;

// Folder of the program file, with its trailing separator.
extern std::string ProgramFolder;

// The drawing attributes; created by the main window, absent before and after it.
extern std::unique_ptr<TgraAttribute> GraAttr;

// Puts the view, the previous view and the extents back to their start values (all 0).
void ResetViewState();

}  // namespace sxf
