#include "support/ModelTestSupport.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>
#include <unistd.h>

namespace sxf::test {

void ForEveryHead(TDrawing& drawing, const std::function<void(TJwwEntHdr&)>& visit) {
  ForEachEntityList(drawing, [&visit](const char*, int, auto& list) {
    for (auto& e : list) visit(e.Hdr);
  });
  for (auto& e : drawing.DimList) visit(e.Line.Hdr), visit(e.Text.Hdr);
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
