// make-drawing N OUT [SEED]: writes a generated interchange file of N entities; another
// seed gives another drawing of the same size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DrawingGenerator.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make-drawing ENTITIES OUT [SEED]\n");
    return 2;
  }
  const long long n = std::atoll(argv[1]);
  if (n < 0) {
    std::fprintf(stderr, "make-drawing: ENTITIES must not be negative\n");
    return 2;
  }
  const auto seed = static_cast<std::uint32_t>(argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 1);
  if (!sxf::bench::WriteGeneratedDrawing(argv[2], static_cast<std::size_t>(n), seed)) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
