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

void CheckLists(const sxf::TEntityLists& l) {
  std::size_t sizes[16] = {};
  std::size_t total = 0;
  sxf::ForEachEntityList(l, [&](const char*, int kind, const auto& list) {
    sizes[kind] = list.size();
    total += list.size();
  });
  if (total != l.EntOrder.size()) sxf::fuzz::Broken("the order list differs from the lists");
  for (const sxf::TJwwEntRef& ref : l.EntOrder) {
    if (ref.Kind < 1 || ref.Kind > 15) sxf::fuzz::Broken("unknown kind in the order list");
    if (ref.Index < 0 || static_cast<std::size_t>(ref.Index) >= sizes[ref.Kind])
      sxf::fuzz::Broken("order entry past its list");
  }
  for (const sxf::TJwwEntTxt& t : l.TxtList)
    if (t.Text.size() > 255 || t.FontName.size() > 255) sxf::fuzz::Broken("text over 255 bytes");
  for (const sxf::TJwwEntDim& d : l.DimList)
    if (d.Text.Text.size() > 255) sxf::fuzz::Broken("dimension text over 255 bytes");
}

void CheckPlaced(const sxf::TEntityLists& l, const std::vector<sxf::TBlockPlacement>& places) {
  CheckLists(l);
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
  CheckLists(drawn);
  if (drawn.EntOrder.size() > limits.MaxRecords) fuzz::Broken("expansion beyond its bound");
  if (info.FromBlocks > drawn.EntOrder.size()) fuzz::Broken("more from blocks than drawn");
  if (info.Uses.size() != file.Blocks.size()) fuzz::Broken("uses beside definitions");
  return 0;
}
