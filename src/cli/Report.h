#pragma once
// The headless report: the tally grid as text, CSV or JSON, and the drawing's records as
// JSON. Everything is read from the drawing as the reader left it; output is UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "cli/JsonWriter.h"
#include "cli/ReportOptions.h"
#include "model/JwwGaibu2.h"
#include "search/LineTypeTally.h"
#include "util/WorldBox.h"

namespace sxf {

// The 18 x 8 cells in aligned columns (widths counted in Shift-JIS bytes, which is the
// display width of half- and full-width characters), one line per row.
std::string FormatTallyText(const TTallyGrid& grid);

// 18 lines of 8 cells, separated by commas; cells quoted where CSV needs it.
std::string FormatTallyCsv(const TTallyGrid& grid);

struct TJsonReportOptions {
  bool ReadToEnd = true;
  bool Entities = false;          // add every record in the order of EntOrder
  bool Extents = true;            // add the drawing extents as fit-all computes them
  bool ByLayer = false;           // add "layers": the grid of every layer with a counted entity
  std::string_view Warning = {};  // added as "warning" when not empty (UTF-8)
};
// The warning for a file that was read but held no entity record at all (a file the host did
// not write, or an empty selection); empty otherwise.
std::string NoRecordWarning(const TDrawing& drawing, const std::string& file);

std::string FormatReportJson(const TDrawing& drawing, const TTallyGrid& grid,
                             const TJsonReportOptions& options);
// The same text handed to sink a chunk of about chunkBytes at a time, so that a report with
// every entity of a big drawing is written without ever being held whole.
void WriteReportJson(const TDrawing& drawing, const TTallyGrid& grid,
                     const TJsonReportOptions& options, const TJsonSink& sink,
                     std::size_t chunkBytes = 64 * 1024);

// The grid of every layer that holds a counted entity: text (a heading line per layer, then
// its grid) or CSV (group, group name, layer, layer name, then the row's 8 cells; 17 rows a
// layer under one heading row).
std::string FormatLayerTalliesText(const TDrawing& drawing);
std::string FormatLayerTalliesCsv(const TDrawing& drawing);

// One line per numbered mark in drawing order: the number, the kind in the grid's words, the
// layer group and layer with their names, the position in the file's units and in world
// units. Text in aligned fields, or CSV under a heading row.
std::string FormatMarksText(const TDrawing& drawing);
std::string FormatMarksCsv(const TDrawing& drawing);

// The line that says how many block references were not searched, or nothing when the
// drawing has none; in Japanese or in English.
std::string BlocksNotSearchedLine(const TDrawing& drawing, bool japanese);

// Renders the preview as the window shows it after fit-all into a width x height PNG, or, given
// a box, as it shows it after a zoom to that box (the box fills the picture in its limiting
// direction, centred). Returns an empty string on success, else what went wrong.
std::string WritePreviewPng(const TDrawing& drawing, const std::string& path, int width, int height,
                            const std::optional<TWorldBox>& box = std::nullopt, int dpi = 96);

// A user line type a drawing file names: the number shown (17..32), its name (Shift-JIS) and
// its pitches (paper millimetres), for each the file defines.
struct TUserLineTypeName {
  int Number = 0;
  std::string Name;
  std::vector<double> Pitches;
};
std::vector<TUserLineTypeName> UserLineTypeNames(const TDrawing& drawing);

// A drawing file's blocks (name, insertions direct and nested, own records, the user line
// types directly inside per kind) and its user line types' names and pitches, as aligned text
// or CSV rows; empty for the interchange text.
std::string FormatBlocksAndLineTypes(const TDrawing& drawing, bool csv);

// Name of a kind's list in the report ("Lin", "Cir", ...); "?" for an unknown kind.
const char* KindListName(int kind) noexcept;

}  // namespace sxf
