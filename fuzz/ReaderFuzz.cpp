// The reader, the tally and the extents on any bytes: no crash, no sanitizer report, a
// consistent model, a tally whose totals agree and finite or clamped extents.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "search/Extents.h"
#include "search/LineTypeTally.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sxf;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  InitJwwModel();
  // A small line bound now and then, so that cut lines are reached with small inputs.
  const std::size_t maxLine = (size > 0 && data[0] == 'L') ? 24 : kMaxJwcLineBytes;
  ParseJwcText(text, maxLine);
  ResetJwwCurrentState();
  fuzz::CheckModel();

  const TTallyGrid grid = BuildTallyGrid();
  // The total row's last cell is the number of tallied entities: the sum of the row totals.
  long rows = 0;
  for (int r = 1; r < kTallyRows - 1; ++r) {
    const std::string& cell = grid.Cell(kTallyTotal, r);
    if (!cell.empty()) rows += std::stol(cell);
  }
  const std::string& all = grid.Cell(kTallyTotal, kTallyRows - 1);
  if ((all.empty() ? 0 : std::stol(all)) != rows) fuzz::Broken("tally totals disagree");

  ComputeExtents();
  for (double v : {ExtentLeft, ExtentBottom}) if (v < -kExtentLimit) fuzz::Broken("extent below the bound");
  for (double v : {ExtentRight, ExtentTop}) if (v > kExtentLimit) fuzz::Broken("extent above the bound");
  return 0;
}
