// make-drawing N OUT [SEED] [--dense]: writes a generated interchange file of N entities;
// another seed gives another drawing of the same size; --dense the crowded 1000 x 600 sheet
// of figures tens to hundreds of pixels long at fit-all instead of the light one.
// make-drawing --tile FILE N OUT: a real drawing repeated on a grid until N entities.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DrawingGenerator.h"
#include "DrawingTiler.h"

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--tile") == 0) {
    const long long n = argc == 5 ? std::atoll(argv[3]) : -1;
    if (n < 0) {
      std::fprintf(stderr, "usage: make-drawing --tile FILE ENTITIES OUT\n");
      return 2;
    }
    if (!sxf::bench::WriteTiledDrawing(argv[2], static_cast<std::size_t>(n), argv[4])) {
      std::perror("make-drawing --tile");
      return 1;
    }
    return 0;
  }
  std::vector<const char*> args;
  auto profile = sxf::bench::TDrawingProfile::Light;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dense") == 0)
      profile = sxf::bench::TDrawingProfile::Dense;
    else
      args.push_back(argv[i]);
  }
  if (args.size() != 2 && args.size() != 3) {
    std::fprintf(stderr,
                 "usage: make-drawing ENTITIES OUT [SEED] [--dense]\n"
                 "       make-drawing --tile FILE ENTITIES OUT\n");
    return 2;
  }
  const long long n = std::atoll(args[0]);
  if (n < 0) {
    std::fprintf(stderr, "make-drawing: ENTITIES must not be negative\n");
    return 2;
  }
  const auto seed =
      static_cast<std::uint32_t>(args.size() == 3 ? std::strtoul(args[2], nullptr, 10) : 1);
  if (!sxf::bench::WriteGeneratedDrawing(args[1], static_cast<std::size_t>(n), seed, profile)) {
    std::perror(args[1]);
    return 1;
  }
  return 0;
}
