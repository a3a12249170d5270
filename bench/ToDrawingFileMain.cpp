// to-drawing-file IN OUT: the interchange text IN (a generated drawing, say) written as a
// drawing file of version 700, for measuring the drawing-file reader on the same drawing.
// to-drawing-file --as-blocks IN OUT: IN's records made a block, placed four times (moved,
// halved, turned by 30 degrees, mirrored), one of the places inside a second block: a drawing
// whose user line types all lie inside blocks, nested too.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "model/JwwGaibu2.h"
#include "support/JwwFileWriter.h"

namespace {

// A reference to definition number at (x, y).
void Place(sxf::TEntityLists& lists, std::vector<sxf::TBlockPlacement>& placements, int number,
           const std::string& name, double x, double y, double sx, double sy, double angle) {
  lists.EntOrder.push_back({sxf::kKindBlk, static_cast<int>(lists.BlkList.size())});
  sxf::TJwwEntBlk b;
  b.Hdr.Color = 1, b.Hdr.LType = 1;
  b.X = x, b.Y = y, b.Name = name;
  lists.BlkList.push_back(b);
  placements.push_back({sx, sy, angle, number});
}

sxf::TJwwDrawingFile AsBlocks(const sxf::TDrawing& drawing) {
  sxf::TJwwDrawingFile file = sxf::test::DrawingFileOf(drawing);
  sxf::TJwwBlockDef plan;
  plan.Number = 1, plan.Name = "plan", plan.Referenced = true;
  plan.Contents = file.Top;
  plan.Placements = file.TopPlacements;
  for (sxf::TBlockPlacement& p : plan.Placements) p.DefNumber += 2;  // after plan and wing
  sxf::TJwwBlockDef wing;
  wing.Number = 2, wing.Name = "wing", wing.Referenced = true;
  Place(wing.Contents, wing.Placements, 1, "plan", 0, 0, 1, 1, 0.5235987755982988);
  file.Blocks.insert(file.Blocks.begin(), {plan, wing});
  for (std::size_t k = 2; k < file.Blocks.size(); ++k)
    file.Blocks[k].Number = static_cast<int>(k) + 1;
  file.Top = {};
  file.TopPlacements.clear();
  const double span = 20000;  // the plans' spacing, in the file's units
  Place(file.Top, file.TopPlacements, 1, "plan", 0, 0, 1, 1, 0);
  Place(file.Top, file.TopPlacements, 1, "plan", span, 0, 0.5, 0.5, 0);
  Place(file.Top, file.TopPlacements, 1, "plan", 0, -span, -1, 1, 0);
  Place(file.Top, file.TopPlacements, 2, "wing", span, -span, 1, 1, 0);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  const bool asBlocks = argc == 4 && std::string(argv[1]) == "--as-blocks";
  if (argc != 3 && !asBlocks) {
    std::fprintf(stderr, "usage: to-drawing-file [--as-blocks] IN OUT\n");
    return 2;
  }
  if (asBlocks) ++argv;
  const sxf::TJwcLoad read = sxf::ReadJwcTempFile(argv[1]);
  if (!read.Result.ReadToEnd) {
    std::fprintf(stderr, "to-drawing-file: cannot read %s: %s\n", argv[1],
                 sxf::DescribeJwcLoadProblem(read.Result).c_str());
    return 1;
  }
  const std::string bytes = sxf::test::WriteJwwFile(
      asBlocks ? AsBlocks(read.Drawing) : sxf::test::DrawingFileOf(read.Drawing));
  std::ofstream out(argv[2], std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
