#include "support/ModelTestSupport.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>
#include <unistd.h>

namespace sxf::test {

namespace {
template <typename T>
void Sync(const std::vector<T>& list, int& count) {
  count = static_cast<int>(list.size());
}
}  // namespace

void SyncListCounts() {
  Sync(LinList, LinCount), Sync(CirList, CirCount), Sync(ArcList, ArcCount);
  Sync(TxtList, TxtCount), Sync(PntList, PntCount), Sync(PntExList, PntExCount);
  Sync(DimList, DimCount), Sync(BlkList, BlkCount), Sync(Sl2List, Sl2Count);
  Sync(Sl3List, Sl3Count), Sync(Sl4List, Sl4Count), Sync(ScList, ScCount);
  Sync(SeList, SeCount), Sync(SoList, SoCount), Sync(SgList, SgCount);
  Sync(EntOrder, EntOrderCount);
}

void ForEveryHead(const std::function<void(TJwwEntHdr&)>& visit) {
  const auto heads = [&visit](auto& list) {
    for (auto& e : list) visit(e.Hdr);
  };
  heads(LinList), heads(CirList), heads(ArcList), heads(TxtList), heads(PntList), heads(PntExList);
  heads(BlkList), heads(Sl2List), heads(Sl3List), heads(Sl4List), heads(ScList), heads(SeList);
  heads(SoList), heads(SgList);
  for (auto& e : DimList) visit(e.Hdr), visit(e.Line.Hdr), visit(e.Text.Hdr);
}

std::string WriteTempFile(std::string_view bytes) {
  static std::atomic<int> serial{0};
  const auto path =
      std::filesystem::temp_directory_path() /
      ("sxf-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".txt");
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace sxf::test
