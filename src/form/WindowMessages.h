#pragma once
// What the window tells the user in words: what became of reading JWC_TEMP.TXT, that a grid
// cell has nothing to walk, and the keys and gestures (F1). Texts are Shift-JIS, Japanese or
// English as the front end's language says.

#include <string>

#include "model/JwwGaibu2.h"

namespace sxf {

enum class TReadOutcome {
  Drawing,      // read, with entities drawn in a user line type: nothing to say
  NoUserTypes,  // read, with entities, none in a user line type
  NoEntity,     // read (or read in part) without one entity: not a drawing the host wrote
  Missing,      // no file
  Unreadable,   // not a regular file, or opening or reading it failed
};

struct TReadNotice {
  TReadOutcome Outcome = TReadOutcome::Drawing;
  std::string Text;    // one line; empty for Drawing
  bool Alert = false;  // a failure: shown in red, and in the middle of the preview
};

// The outcome of reading the file named JWC_TEMP.TXT: its load result, how many entities the
// model holds from well-formed records and how many of them the tally counted. A read error
// beats everything else. A missing file's notice names the folder looked in (Shift-JIS), when
// given.
TReadNotice DescribeRead(const TJwcLoadResult& load, int entityCount, int userTypeCount,
                         bool japanese, const std::string& folder = {});

// The status text after a double click on a grid cell that holds no mark to walk.
std::string NothingToWalkText(bool japanese);

// The status text after the user's break (Escape) stopped a drawing.
std::string DrawingStoppedText(bool japanese);

// The keys and gestures, one status line each; F1 shows them one after the other.
inline constexpr int kKeyHelpLineCount = 6;
std::string KeyHelpLine(int index, bool japanese);

}  // namespace sxf
