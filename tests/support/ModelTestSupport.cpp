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

std::string RandomDrawingText(std::uint32_t seed, std::size_t bytes) {
  std::mt19937 rng(seed);
  const auto pick = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  const auto number = [&]() -> std::string {
    char b[64];
    const double v = (static_cast<double>(rng()) - 2147483648.0) / (1.0 + pick(100000));
    switch (pick(12)) {
      case 0: std::snprintf(b, sizeof b, "%.13e", v); return b;
      case 1:
        std::snprintf(b, sizeof b, "%.13e", v);
        return std::string(b).insert(std::string(b).size() - 2, "0");
      case 2: return std::to_string(static_cast<int>(pick(2000)) - 1000);
      case 3: std::snprintf(b, sizeof b, "%.20f", v); return b;
      case 4: return pick(2) ? "1,5" : "-";
      case 5: std::snprintf(b, sizeof b, "+%.3f", v); return b;
      default: std::snprintf(b, sizeof b, "%.14g", v); return b;
    }
  };
  const auto numbers = [&](int n) {
    std::string out;
    for (int k = 0; k < n; ++k)
      out += (pick(30) == 0 ? "\t" : pick(40) == 0 ? "  " : " ") + number();
    return out;
  };
  const auto text = [&]() {
    static const char* const kPieces[] = {"\x95\x94\x89\xAE", "A",  " ", "\"", "=", "\xB1",
                                          "\x87\x40",         "\t", "1"};
    std::string out;
    for (unsigned k = pick(8); k > 0; --k) out += kPieces[pick(9)];
    return out;
  };
  std::string out = "file=C:\\jww\\\x90\x7D\x96\xCA.jww\r\n";
  while (out.size() < bytes) {
    std::string line;
    switch (pick(40)) {
      case 0: line = "lt" + std::to_string(pick(3) ? 47 + pick(16) : 1 + pick(9)); break;
      case 1:
        line = "lc" + std::to_string(pick(11)) + (pick(2) ? " " + std::to_string(pick(99999)) : "");
        break;
      case 2:
        line = "lg" + std::string(1, "0123456789abcdefZ"[pick(17)]) + " " + std::to_string(pick(3));
        break;
      case 3:
        line = "ly" + std::string(1, "0123456789ABCDEF"[pick(16)]) + " " + std::to_string(pick(3));
        break;
      case 4: line = "ci" + numbers(3); break;
      case 5: line = "ci" + numbers(7); break;
      case 6: line = std::string("c") + "hvsrotkz2"[pick(9)] + numbers(4) + " \"" + text(); break;
      case 7: line = "pt" + numbers(pick(2) ? 2 : 5); break;
      case 8: line = "sl" + numbers(static_cast<int>(4 + 2 * pick(3))); break;
      case 9: line = std::string("s") + "ceog"[pick(4)] + numbers(8); break;
      case 10: line = pick(2) ? "msg" : (pick(2) ? "#" : "pl"); break;
      case 11: line = "BL" + numbers(2) + " " + text(); break;
      case 12: line = "cn" + std::to_string(pick(11)) + (pick(2) ? numbers(3) + " 3" : ""); break;
      case 13: line = pick(2) ? "cn$" + text() : "cc" + std::to_string(pick(10)); break;
      case 14: line = "hs" + numbers(16); break;
      case 15: line = "hp" + std::to_string(pick(120)) + (pick(2) ? "ci" : "-") + numbers(2); break;
      case 16: line = "hhp" + std::to_string(pick(120)) + "ln"; break;
      case 17: line = "z" + std::to_string(pick(6)); break;
      case 18: line = "lgn" + text() + " " + text(); break;
      case 19: line = "hcw" + numbers(10); break;
      case 20: line = "lw" + std::to_string(pick(5)); break;
      case 21: line = numbers(4) + " "; break;  // a trailing blank makes a fifth field
      case 22: line = text() + numbers(3); break;
      default: line = numbers(4); break;
    }
    if (pick(50) == 0)
      line.insert(pick(static_cast<unsigned>(line.size()) + 1), 1,
                  "\x01\x7f\xfe\xff\x1a\0"[pick(6)]);
    if (pick(80) == 0) line += '\x82';  // a lone lead byte at the end
    out += line;
    const unsigned end = pick(20);
    out += end < 14 ? "\r\n" : end < 17 ? "\n" : end < 19 ? "\r" : "\r\r\n";
  }
  return out;
}

}  // namespace sxf::test
