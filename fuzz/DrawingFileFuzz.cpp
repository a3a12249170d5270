// The drawing-file reader and the block expansion on any bytes: no crash, no sanitizer
// report, records that agree with their order lists, a result that says whether the file was
// read to its end, and an expansion that stays within its bounds.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "model/BlockExpansion.h"
#include "model/JwwDrawingFile.h"

namespace {

void CheckPlaced(const sxf::TEntityLists& l, const std::vector<sxf::TBlockPlacement>& places) {
  sxf::fuzz::CheckLists(l);
  if (places.size() != l.BlkList.size()) sxf::fuzz::Broken("placements beside references");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sxf;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TJwwDrawingFile file;
  const TJwwFileLoad load = ReadJwwDrawingBytes(bytes, file);
  if (load.ReadToEnd != (load.Problem == TJwwFileProblem::None))
    fuzz::Broken("read to the end and a problem at once");
  if (load.ReadToEnd != load.Message.empty()) fuzz::Broken("a problem without a message");
  if (load.BytesRead > size) fuzz::Broken("read past the end");
  CheckPlaced(file.Top, file.TopPlacements);
  for (const TJwwBlockDef& def : file.Blocks) CheckPlaced(def.Contents, def.Placements);

  TEntityLists drawn;
  TBlockExpansion info;
  const TBlockExpansionLimits limits{32, 20000};
  const bool ok = ExpandBlocks(file, drawn, info, limits);
  if (ok != (info.Problem == TBlockExpansionProblem::None)) fuzz::Broken("expansion result");
  fuzz::CheckLists(drawn);
  if (drawn.EntOrder.size() > limits.MaxRecords) fuzz::Broken("expansion beyond its bound");
  if (info.FromBlocks > drawn.EntOrder.size()) fuzz::Broken("more from blocks than drawn");
  if (info.Uses.size() != file.Blocks.size()) fuzz::Broken("uses beside definitions");
  return 0;
}
