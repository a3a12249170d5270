#pragma once
// What there is one of per process, shared by every drawing: the program folder, the one
// drawing-attribute object (the colour table the user's host configured) and the text
// environment the special text codes read. The view and the drawing are values handed down
// (globals/View.h, model/JwwGaibu2.h). No Qt here: the core reads these.

#include <memory>
#include <string>
#include <vector>

#include "attributes/UnitGraAtt.h"
#include "globals/View.h"

namespace sxf {

// Folder of the program file, with its trailing separator.
extern std::string ProgramFolder;

// The drawing attributes; created by the main window, absent before and after it.
extern std::unique_ptr<TgraAttribute> GraAttr;

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
