#pragma once
// Writes drawing files for tests: a TJwwDrawingFile (header values, entities, block
// definitions) as the host's archive of a given version, strings as bytes or as UTF-16.
// Only what the reader maps back is written from the records; the rest of the header is
// zeros. Written from the format as the reader reads it, so the real files of
// tests/data/jww-blocks stay the reference.

#include <string>

#include "model/JwwDrawingFile.h"

namespace sxf::test {

struct TJwwWriteOptions {
  int Version = 700;
  bool Utf16 = false;  // strings in the UTF-16 form (ASCII strings only)
};

std::string WriteJwwFile(const TJwwDrawingFile& file, const TJwwWriteOptions& options = {});

// A drawing's records and header (group scales, names, states, text kinds) as a drawing file
// holds them, with no block definitions: the same drawing in the host's other format.
TJwwDrawingFile DrawingFileOf(const TDrawing& drawing);

}  // namespace sxf::test
