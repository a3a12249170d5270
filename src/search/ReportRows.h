#pragma once
// The rows the report writes and the window hands over (the clipboard, the saved CSV files),
// made in one place so that all of them agree: the tally grid's cells and the list of the
// numbered marks, each cell in Shift-JIS; and the two ways of joining rows into text.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/LineTypeTally.h"

namespace sxf {

using TTextRows = std::vector<std::vector<std::string>>;

// The grid's 18 rows of 8 cells, headings included, exactly as the grid shows them.
TTextRows TallyRows(const TTallyGrid& grid);

// A heading row, then one row per numbered mark in drawing order (the order F3 walks): the
// line type 17..32, the kind in the grid's words, the layer group and its name, the layer and
// its name, the position in the file's units (before the group scale) and in world units, the
// list and the index in it.
TTextRows MarkRows(const TDrawing& drawing);

// The same marks as a person checks them off on paper, for the window's clipboard and saved
// list: headings in the window's language, the names as the file writes them, positions
// rounded to three decimals of the drawing's unit (CheckSheetNumber), and no list or index,
// which mean nothing to a reader. The report keeps MarkRows, whose text scripts read.
TTextRows CheckSheetMarkRows(const TDrawing& drawing, bool japanese);

// A position to three decimals, trailing zeros and a bare point dropped, and never "-0".
std::string CheckSheetNumber(double v);

// The names the file gave a layer group and a layer (Shift-JIS); empty when it gave none or
// the numbers are out of range.
std::string GroupNameOf(const TDrawing& drawing, int group);
std::string LayerNameOf(const TDrawing& drawing, int group, int layer);

// A coordinate as the report prints it: at most 15 significant digits, so that a world
// position computed through the group scale does not show its last bit's noise.
std::string ReportNumber(double v);

// Converts each cell before it is joined (Shift-JIS to UTF-8, say); none keeps the bytes.
using TCellConvert = std::function<std::string(const std::string&)>;

// Lines of comma-separated cells, each ending in '\n'; a cell holding a comma, a quote or a
// line break is quoted, its quotes doubled.
std::string CsvText(const TTextRows& rows, const TCellConvert& convert = {});

// Lines of tab-separated cells, each ending in '\n', as spreadsheets paste them; a tab or a
// line break inside a cell becomes a space, since nothing quotes it there.
std::string TabSeparatedText(const TTextRows& rows, const TCellConvert& convert = {});

// Begins every CSV file the tool writes, so that spreadsheets read it as UTF-8 rather than in
// the system's code page.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace sxf
