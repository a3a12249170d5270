// make-drawing N OUT: writes a generated interchange file of N entities.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DrawingGenerator.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-drawing ENTITIES OUT\n");
    return 2;
  }
  const long long n = std::atoll(argv[1]);
  if (n < 0) {
    std::fprintf(stderr, "make-drawing: ENTITIES must not be negative\n");
    return 2;
  }
  if (!sxf::bench::WriteGeneratedDrawing(argv[2], static_cast<std::size_t>(n))) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
