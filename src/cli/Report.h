#pragma once
// The headless report: the tally grid as text, CSV or JSON, and the model's records as
// JSON. Everything is read from the model as the reader left it; output is UTF-8.

#include <string>

#include "search/LineTypeTally.h"

namespace sxf {

// The 18 x 8 cells in aligned columns (widths counted in Shift-JIS bytes, which is the
// display width of half- and full-width characters), one line per row.
std::string FormatTallyText(const TTallyGrid& grid);

// 18 lines of 8 cells, separated by commas; cells quoted where CSV needs it.
std::string FormatTallyCsv(const TTallyGrid& grid);

struct TJsonReportOptions {
  bool ReadToEnd = true;
  bool Entities = false;  // add every record in the order of EntOrder
  bool Extents = true;    // add the drawing extents as fit-all computes them
};
std::string FormatReportJson(const TTallyGrid& grid, const TJsonReportOptions& options);

// Renders the preview as the window shows it after fit-all into a width x height PNG.
// Returns an empty string on success, else what went wrong.
std::string WritePreviewPng(const std::string& path, int width, int height);

// Name of a kind's list in the report ("Lin", "Cir", ...); "?" for an unknown kind.
const char* KindListName(int kind) noexcept;

}  // namespace sxf
