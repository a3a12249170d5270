// The reader, the tally and the extents on any bytes: no crash, no sanitizer report, a
// consistent model, a tally whose totals agree and finite or clamped extents.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "model/JwwGaibu2.h"
#include "search/Extents.h"
#include "search/LineTypeTally.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sxf;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The input as one line: views into it, and every byte copied, give the same fields; up
  // to its first CR or LF as well.
  TJwwFields viewed, copied;
  const auto sameFields = [&]() {
    if (viewed.Count() != copied.Count()) return false;
    for (int k = 0; k < viewed.Count(); ++k)
      if (viewed[k] != copied[k]) return false;
    return true;
  };
  viewed.Split(text);
  copied.SplitCopying(text);
  if (!sameFields()) fuzz::Broken("fields as views differ from copied fields");
  const char* lineEnd = viewed.SplitToLineEnd(text.data(), text.data() + text.size());
  const std::size_t firstEnd = std::min(text.find_first_of("\r\n"), text.size());
  if (lineEnd != text.data() + firstEnd) fuzz::Broken("the line end is not the first CR or LF");
  copied.SplitCopying(text.substr(0, firstEnd));
  if (!sameFields()) fuzz::Broken("fields up to the line end differ from copied fields");

  TJwcReader reader;
  // A small line bound now and then, so that cut lines are reached with small inputs.
  const std::size_t maxLine = (size > 0 && data[0] == 'L') ? 24 : kMaxJwcLineBytes;
  reader.ParseText(text, maxLine);
  fuzz::CheckModel(reader);
  const TDrawing& drawing = reader.Drawing();

  const TTallyGrid grid = BuildTallyGrid(drawing);
  // The total row's last cell is the number of tallied entities: the sum of the row totals.
  long rows = 0;
  for (int r = 1; r < kTallyRows - 1; ++r) {
    const std::string& cell = grid.Cell(kTallyTotal, r);
    if (!cell.empty()) rows += std::stol(cell);
  }
  const std::string& all = grid.Cell(kTallyTotal, kTallyRows - 1);
  if ((all.empty() ? 0 : std::stol(all)) != rows) fuzz::Broken("tally totals disagree");

  const TWorldBox extents = ComputeExtents(drawing);
  for (double v : {extents.Left, extents.Bottom})
    if (v < -kExtentLimit) fuzz::Broken("extent below the bound");
  for (double v : {extents.Right, extents.Top})
    if (v > kExtentLimit) fuzz::Broken("extent above the bound");
  return 0;
}
