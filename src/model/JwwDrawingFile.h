#pragma once
// The reader of the host's binary drawing files (.jww): the header (layer groups and layers
// with their names, scales and states, the text kinds, the SXF extended line types), the
// entities, and the block definitions with their own entities, all into the records of
// JwwGaibu2.h, filled field for field as the interchange text's reader fills them from the
// lines the host writes for the same entities.
//
// Units: coordinates and lengths are world units as stored (the real size; divide by the
// record's layer-group scale to get paper millimetres, as for the interchange text). Angles
// of TJwwEntArc and TJwwEntPntEx are degrees, those of the arc-shaped solids and of
// TBlockPlacement radians. Texts are Shift-JIS byte strings: a file of the host's version 8
// and later keeps its strings as UTF-16, which is converted to code page 932 here (see
// ShiftJisFromUtf16.h), a character the code page has not becoming '?'.
//
// The file is untrusted: every count, length, class index and object reference is checked
// before use and no allocation follows a count the bytes left could not hold. A damaged file
// keeps every record read before the damage; the result says how far reading got.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/JwwGaibu2.h"

namespace sxf {

// How a block reference places its definition: the definition's coordinates are relative to
// its base point, scaled by ScaleX and ScaleY, turned by Angle (radians, counter-clockwise)
// and moved to the reference's (X, Y). A negative scale mirrors.
struct TBlockPlacement {
  double ScaleX = 1, ScaleY = 1;
  double Angle = 0;   // radians
  int DefNumber = 0;  // TJwwBlockDef::Number of the definition placed
};

struct TJwwBlockDef {
  int Number = 0;                           // what references name it by
  bool Referenced = false;                  // the host's own mark that some reference uses it
  std::string Name;                         // Shift-JIS, as stored
  TEntityLists Contents;                    // in the definition's own coordinates
  std::vector<TBlockPlacement> Placements;  // parallel to Contents.BlkList
};

struct TJwwDrawingFile {
  int Version = 0;    // the file's internal version (351, 420, 600, 700, ...)
  std::string Memo;   // Shift-JIS
  int PaperSize = 0;  // 0..4 A0..A4, 8 2A, 9 3A, 10 4A, 11 5A, 12 10 m, 13 50 m, 14 100 m
  int WriteGroup = 0;
  // Per layer group and per layer (index Group * 16 + Layer), as the model keeps them.
  // States: 0 hidden, 1 shown only, 2 editable, 3 written to.
  std::array<double, 16> LayerGroupScale{};  // the scale's denominator (50 for 1:50)
  std::array<int, 16> GroupState{};
  std::array<int, 16> GroupWriteLayer{};
  std::array<int, 16> GroupProtect{};
  std::array<std::string, 16> GroupName;  // Shift-JIS
  std::array<int, 256> LayerState{};
  std::array<int, 256> LayerProtect{};
  std::array<std::string, 256> LayerName;    // Shift-JIS
  std::array<TJwwTextKind, 11> TextKinds{};  // entries 1..10
  // SXF extended line types: kSxfLineTypeCount entries from version 420 on, none before.
  std::vector<TSxfLineTypeDef> LineTypes;

  TEntityLists Top;                            // the drawing's own entities
  std::vector<TBlockPlacement> TopPlacements;  // parallel to Top.BlkList
  std::vector<TJwwBlockDef> Blocks;            // in file order
  int TemporaryPoints = 0;  // points marked temporary, kept in PntList with the others
  int ImageCount = 0;       // pictures stored in the file (version 700 on); skipped
};

// The values a drawing and its file both keep of the layer groups and layers (scales,
// states, names) and of the text kinds, from either to the other.
template <typename From, typename To>
void CopyLayerTables(const From& from, To& to) {
  to.LayerGroupScale = from.LayerGroupScale;
  to.TextKinds = from.TextKinds;
  for (std::size_t g = 0; g < 16; ++g) {
    to.GroupState[g] = from.GroupState[g];
    to.GroupName[g] = from.GroupName[g];
  }
  for (std::size_t l = 0; l < 256; ++l) {
    to.LayerState[l] = from.LayerState[l];
    to.LayerName[l] = from.LayerName[l];
  }
}

enum class TJwwFileProblem {
  None,
  Missing,         // no such file
  CannotOpen,      // there, but it cannot be opened or read
  NotRegularFile,  // a folder, a device, a FIFO: never read
  TooLarge,        // more than kMaxJwwFileBytes
  NotADrawing,     // no "JwwData." signature
  UnknownVersion,  // a version this reader does not know the layout of
  Truncated,       // the file ends inside a value
  BadValue,        // a count, length or value no drawing has
  BadClass,        // an unknown class, a class index out of range or of the wrong kind
  BadReference,    // an object stored a second time by reference, or an empty object
  OutOfMemory,
};

struct TJwwFileLoad {
  bool ReadToEnd = false;     // every section was read
  std::size_t BytesRead = 0;  // how far decoding got (the offset of the failure, if any)
  TJwwFileProblem Problem = TJwwFileProblem::None;
  // Empty when the whole file was read; else what failed and where, e.g.
  // "entity 12 of 50 of block definition 3 of 4 at byte 0x1a2b: class index 99 out of range".
  std::string Message;
};

inline constexpr std::uint64_t kMaxJwwFileBytes = std::uint64_t{512} << 20;  // 512 MiB

// True when the bytes begin with the drawing file's signature "JwwData.".
bool LooksLikeJwwFile(std::string_view firstBytes) noexcept;

// Reads a whole file image. out is replaced; on a failure it keeps what was read before it.
// Never throws.
TJwwFileLoad ReadJwwDrawingBytes(std::string_view bytes, TJwwDrawingFile& out) noexcept;

// Reads the file at path (UTF-8, on Windows too) into memory once and decodes it. Only
// regular files are read. Never throws.
TJwwFileLoad ReadJwwDrawingFile(const std::string& path, TJwwDrawingFile& out) noexcept;

}  // namespace sxf
