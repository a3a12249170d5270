#pragma once
// Opening a drawing from either kind of file the host writes: the interchange text it hands
// over (JWC_TEMP.TXT) or its own drawing file (.jww, and the parts file .jws), told apart by
// their first bytes. Either way the result is one TDrawing, so that the tally, the marks, the
// picture and the report work on both alike; a drawing file's lists hold its records as drawn,
// every block placed through each of its references.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/JwwGaibu2.h"

namespace sxf {

struct TDrawingLoad {
  TDrawing Drawing;
  bool ReadToEnd = false;    // every record of the file was read
  bool NothingRead = false;  // missing, not a file, unreadable, or not one byte read
  // Empty when the file was read to its end; else what went wrong and how far reading got.
  std::string Problem;
  TJwcLoadResult Interchange;  // how the interchange text was read (none for a drawing file)
};

// True for a name the host gives its drawing files (.jww or .jws, any case).
bool IsDrawingFileName(std::string_view path) noexcept;

// Reads the file at path (UTF-8 on Windows too) into a new drawing. A drawing file is told by
// its signature, whatever its name. Never throws; a damaged file keeps what was read.
TDrawingLoad LoadDrawing(const std::string& path);

}  // namespace sxf
