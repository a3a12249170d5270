#pragma once
// A drawing file's entities as the host draws them: every block reference followed by its
// definition's contents placed through it, nested references placed through the composed
// placements.
//
// How the host draws a block, and so how this module places it:
// - A definition's coordinates are relative to its base point, in world units (real size).
//   A reference at (X, Y) with scales ScaleX, ScaleY and angle A draws the point (x, y) of its
//   definition at (X, Y) + R(A) (ScaleX x, ScaleY y).
// - The records drawn from a block keep their own layer, colour, line type and width, but
//   take the layer group of the drawing's own (outermost) reference: its scale is the divisor
//   the drawing code applies to them, as it applies to the reference. A block drawn in a group
//   of scale 1:100 thus shows its real size at that scale, whatever group its contents were
//   drawn in.
// - Circles stay circles under equal scales (a mirror included); otherwise they become
//   ellipses. Arcs and ellipses are placed exactly: the new centre, radius, flatness and tilt
//   come from the placed axes; a mirror reverses the sweep, so start and end trade places.
//   Texts: the base point and the direction move with the placement, the width and spacing
//   scale by the length the placement gives the x axis, the height by that of the y axis.

#include <cstddef>
#include <string>
#include <vector>

#include "model/JwwDrawingFile.h"

namespace sxf {

struct TBlockExpansionLimits {
  int MaxDepth = 32;  // references inside references, the drawing's own counting as 1
  std::size_t MaxRecords = 50'000'000;  // records drawn in all, the drawing's own included
};

enum class TBlockExpansionProblem {
  None,
  MissingDefinition,  // a reference to a number no definition has: drawn without contents
  Cycle,              // a definition that contains itself: the inner reference drawn empty
  TooDeep,            // nesting beyond MaxDepth: the deeper reference drawn empty
  TooManyRecords,     // MaxRecords reached: the expansion stopped there
  OutOfMemory,
};

struct TBlockUse {
  int Direct = 0;  // references in the drawing's own list
  int Nested = 0;  // references met inside placed definitions
};

struct TBlockExpansion {
  TBlockExpansionProblem Problem = TBlockExpansionProblem::None;  // the first one met
  std::string Message;         // says which reference, e.g. "reference 3 (block 12): no definition"
  int Problems = 0;            // references drawn without their contents
  std::size_t FromBlocks = 0;  // records of drawn that came from inside blocks
  std::vector<TBlockUse> Uses;  // parallel to TJwwDrawingFile::Blocks
};

// drawn is replaced by the drawing's own records in file order, each block reference (kept as
// its own record) followed by its placed contents. True when nothing went wrong. Never
// throws.
bool ExpandBlocks(const TJwwDrawingFile& file, TEntityLists& drawn, TBlockExpansion& info,
                  const TBlockExpansionLimits& limits = {}) noexcept;

}  // namespace sxf
