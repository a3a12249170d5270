// The tiled drawing of the benchmarks: every placed record moves by the grid's step, in each
// layer group's own units; what is not a place stays as it is.

#include "DrawingTiler.h"

#include <gtest/gtest.h>

#include <array>

#include "model/JwwGaibu2.h"

namespace sxf {
namespace {

TEST(DrawingTiler, CopiesMoveByTheStepInTheirGroupsUnits) {
  // Group 0 at scale 100, group 1 at 50; one copy is 10 x 5 world units.
  const std::string source =
      "hs 100 50 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\n 0 0 1000 500\r\nci 500 250 100\r\n"
      "ch 100 100 1 0 \"ab 12 c\r\nlg1\r\npt 50 25\r\nsl 0 0 50 0 50 25\r\nBL 10 10 door\r\n";
  const bench::TTileBox box{0, 0, 10, 5};
  // Three copies on a grid two wide: (0, 0), (11, 0), (0, 5.5).
  const TDrawing drawing = ParseJwcText(bench::TileDrawing(source, 6, box, 13));
  EXPECT_EQ(drawing.EntOrderCount(), 18);
  ASSERT_EQ(drawing.LinCount(), 3);
  EXPECT_EQ((std::array{drawing.LinList[1].X1, drawing.LinList[1].Y1, drawing.LinList[1].X2,
                        drawing.LinList[1].Y2}),
            (std::array{1100.0, 0.0, 2100.0, 500.0}));
  EXPECT_EQ((std::array{drawing.LinList[2].X1, drawing.LinList[2].Y1}), (std::array{0.0, 550.0}));
  EXPECT_EQ((std::array{drawing.CirList[1].Cx, drawing.CirList[1].Cy, drawing.CirList[1].R}),
            (std::array{1600.0, 250.0, 100.0}));
  EXPECT_EQ((std::array{drawing.TxtList[1].X, drawing.TxtList[1].Y, drawing.TxtList[1].DirX}),
            (std::array{1200.0, 100.0, 1.0}));
  EXPECT_EQ(drawing.TxtList[1].Text, "ab 12 c");
  EXPECT_EQ(drawing.PntList[1].X, 600.0);
  EXPECT_EQ((std::array{drawing.Sl3List[1].X1, drawing.Sl3List[1].X3, drawing.Sl3List[1].Y3}),
            (std::array{550.0, 600.0, 25.0}));
  EXPECT_EQ((std::array{drawing.BlkList[2].X, drawing.BlkList[2].Y}), (std::array{10.0, 285.0}));
  EXPECT_EQ(drawing.BlkList[2].Name, "door");
  // One copy: the source as it stands.
  EXPECT_EQ(ParseJwcText(bench::TileDrawing(source, 6, box, 6)).EntOrderCount(), 6);
}

}  // namespace
}  // namespace sxf
