#pragma once
// What the window tells the user in words: what became of reading JWC_TEMP.TXT, that a grid
// cell has nothing to walk, and the keys and gestures (F1). Texts are Shift-JIS, Japanese or
// English as the front end's language says.

#include <string>
#include <string_view>
#include <vector>

#include "model/JwwGaibu2.h"

namespace sxf {

enum class TReadOutcome {
  Drawing,      // read, with entities drawn in a user line type: nothing to say
  NoUserTypes,  // read, with entities, none in a user line type
  NoEntity,     // read (or read in part) without one entity: not a drawing the host wrote
  NotText,      // bytes that are no text (a program, an image): not read at all
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

// The outcome of opening a drawing file (name: Shift-JIS, for the message), as DescribeRead
// says it for the interchange file: a file not read to its end is unreadable, with the reader's
// problem (how far it got) as the reason.
TReadNotice DescribeDrawingFileRead(bool readToEnd, const std::string& problem,
                                    const std::string& name, int entityCount, int userTypeCount,
                                    bool japanese);
// How many of the counted entities a drawing file's blocks hold, for the status strip.
std::string InsideBlocksText(long long count, bool japanese);
// The offer to search the drawing file the host's file names (Shift-JIS), blocks included,
// as it was last saved.
std::string SavedDrawingOfferText(const std::string& name, bool japanese);

// The status text after the user's break (Escape) stopped a drawing.
std::string DrawingStoppedText(bool japanese);

// The keys and gestures, one status line each; F1 shows them one after the other.
inline constexpr int kKeyHelpLineCount = 9;
std::string KeyHelpLine(int index, bool japanese);

// ---- The notice of a failure, in the middle of the preview ----

// The notice's lines, each at most fit half-width cells (a two-byte character takes two).
// A line too long breaks after its last separator (a blank, a path's slash or backslash, a
// colon, "、" or "。"), else at its last change between kanji, kana and letters or digits,
// else between any two characters; a break that would leave less than half the line falls
// to the next of these. A text that fits stays one line.
std::vector<std::string_view> BreakNoticeLines(std::string_view text, std::size_t fit);

// Where the notice goes in a preview of width x height at dpi: its lines, the text's top
// left and size, and the box around it (pad beyond the text on each side), inside the preview.
struct TNoticeLayout {
  std::vector<std::string_view> Lines;
  int CellHeight = 0, HalfWidth = 0, Pad = 0;
  int Left = 0, Top = 0, TextWidth = 0, TextHeight = 0;
};
TNoticeLayout LayOutNotice(std::string_view text, int dpi, int width, int height);

// ---- Handing over the table, the list of marks and the picture ----

enum class THandOver { CopyTally, CopyMarks, Save };
inline constexpr int kHandOverCount = 3;
// The context menu's item: what it does and, apart, its key ("Ctrl+C").
std::string HandOverMenuText(THandOver what, bool japanese);
const char* HandOverKey(THandOver what) noexcept;
// The save dialog's title.
std::string SaveDialogTitle(bool japanese);
// The open dialog's title, and the name of its filter of drawing files (*.jww, *.jws).
std::string OpenDialogTitle(bool japanese);
std::string OpenDialogFilter(bool japanese);
// After a copy: what is on the clipboard now (markCount for the list of marks), or that the
// clipboard could not be had.
std::string CopiedText(THandOver what, int markCount, bool copied, bool japanese);
// After a save: the three names written (Shift-JIS, without folder).
std::string SavedText(const std::string& picture, const std::string& tally,
                      const std::string& marks, bool japanese);
// After a failed save: the file (Shift-JIS, without folder) and why, by errno or, when it is
// 0, in the writer's words.
std::string SaveFailedText(const std::string& file, int error, const std::string& reason,
                           bool japanese);

}  // namespace sxf
