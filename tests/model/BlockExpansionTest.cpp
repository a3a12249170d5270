// Block expansion: placed records land where the placement takes their points, nested
// placements compose, and hostile block structures stop with a problem instead of a hang.

#include "model/BlockExpansion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "util/MyFunc.h"

namespace sxf {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

template <typename T>
void Add(TEntityLists& l, std::vector<T>& list, int kind, T record) {
  l.EntOrder.push_back({kind, static_cast<int>(list.size())});
  list.push_back(record);
}

void AddRef(TEntityLists& l, std::vector<TBlockPlacement>& places, double x, double y,
            TBlockPlacement p, int group = 0) {
  Add(l, l.BlkList, kKindBlk, TJwwEntBlk{{0, group, 0, 1, 1, 0, 0}, x, y, ""});
  places.push_back(p);
}

TDPoint OnEllipse(double cx, double cy, double r, double f, double tiltDeg, double uDeg) {
  const double u = uDeg * kDeg, t = tiltDeg * kDeg;
  const double x = r * std::cos(u), y = r * f * std::sin(u);
  return {cx + std::cos(t) * x - std::sin(t) * y, cy + std::sin(t) * x + std::cos(t) * y};
}

struct TMap {  // the expected placement, written out apart from the module's own
  double sx, sy, angle, x, y;
  TDPoint operator()(TDPoint p) const {
    const double px = sx * p.X, py = sy * p.Y;
    return {x + std::cos(angle) * px - std::sin(angle) * py,
            y + std::sin(angle) * px + std::cos(angle) * py};
  }
};

void ExpectNear(TDPoint got, TDPoint want, const std::string& what) {
  EXPECT_NEAR(got.X, want.X, 1e-9) << what;
  EXPECT_NEAR(got.Y, want.Y, 1e-9) << what;
}

struct TPlacementRow {
  const char* Name;
  TBlockPlacement Outer, Inner;  // the drawing's reference, and one inside the outer block
};

class PlacedBlock : public ::testing::TestWithParam<TPlacementRow> {};

// A definition placed through an outer reference at (100, 50) and, nested, through an inner
// one at (3, -2) of the outer definition: every record's points land where the two
// placements, applied one after the other, take them.
TEST_P(PlacedBlock, RecordsLandWhereThePlacementsTakeThem) {
  const TPlacementRow& row = GetParam();
  TJwwDrawingFile f;
  AddRef(f.Top, f.TopPlacements, 100, 50, row.Outer, 4);
  TJwwBlockDef shape{1, true, "shape", {}, {}};
  TEntityLists& s = shape.Contents;
  Add(s, s.LinList, kKindLin, TJwwEntLin{{}, 0, 1, 2, 3, 5});
  Add(s, s.CirList, kKindCir, TJwwEntCir{{}, 2, 1, 3});
  Add(s, s.ArcList, kKindArc, TJwwEntArc{{}, -1, 2, 4, 30, 200, 0.5, 20});
  Add(s, s.TxtList, kKindTxt, TJwwEntTxt{{}, 0, 0, 1, 2, 3, 0.5, 1, 1, 4, 0, "f", "t"});
  TJwwBlockDef outer{2, true, "outer", {}, {}};
  AddRef(outer.Contents, outer.Placements, 3, -2, row.Inner);
  f.Blocks = {shape, outer};
  f.TopPlacements[0].DefNumber = 2;
  f.Blocks[1].Placements[0].DefNumber = 1;

  TEntityLists drawn;
  TBlockExpansion info;
  ASSERT_TRUE(ExpandBlocks(f, drawn, info)) << info.Message;
  EXPECT_EQ(info.FromBlocks, 5u);  // the inner reference and the four shapes
  EXPECT_EQ(info.Uses[1].Direct, 1);
  EXPECT_EQ(info.Uses[0].Nested, 1);

  const TMap o{row.Outer.ScaleX, row.Outer.ScaleY, row.Outer.Angle, 100, 50};
  const TMap i{row.Inner.ScaleX, row.Inner.ScaleY, row.Inner.Angle, 3, -2};
  const auto place = [&](TDPoint p) { return o(i(p)); };
  ASSERT_EQ(drawn.LinCount(), 1);
  ExpectNear({drawn.LinList[0].X1, drawn.LinList[0].Y1}, place({1, 2}), "line start");
  ExpectNear({drawn.LinList[0].X2, drawn.LinList[0].Y2}, place({3, 5}), "line end");
  EXPECT_EQ(drawn.LinList[0].Hdr.Group, 4);  // the drawing's reference's group

  // Every point of the circle and of the arc lies on what was drawn for it; the arc's ends
  // stay its ends (traded by a mirror) and its middle stays its middle.
  const bool mirrored =
      (row.Outer.ScaleX * row.Outer.ScaleY < 0) != (row.Inner.ScaleX * row.Inner.ScaleY < 0);
  const TJwwEntArc* circle = nullptr;
  const TJwwEntArc* arc = nullptr;
  for (const TJwwEntArc& a : drawn.ArcList)
    (a.EndAngle - a.StartAngle == 360.0 ? circle : arc) = &a;
  const bool equalScales = std::fabs(row.Outer.ScaleX) == std::fabs(row.Outer.ScaleY) &&
                           std::fabs(row.Inner.ScaleX) == std::fabs(row.Inner.ScaleY);
  ASSERT_EQ(drawn.CirCount(), equalScales ? 1 : 0);
  ASSERT_EQ(circle != nullptr, !equalScales);
  for (double u = 0; u < 360; u += 45) {
    const TDPoint want = place(OnEllipse(2, 1, 3, 1, 0, u));
    if (equalScales) {
      const TJwwEntCir& c = drawn.CirList[0];
      EXPECT_NEAR(std::hypot(want.X - c.Cx, want.Y - c.Cy), c.R, 1e-9);
    } else {
      // The point in the drawn ellipse's own frame satisfies its equation.
      const double t = -circle->Tilt * kDeg, dx = want.X - circle->Cx, dy = want.Y - circle->Cy;
      const double x = std::cos(t) * dx - std::sin(t) * dy, y = std::sin(t) * dx + std::cos(t) * dy;
      const double a = circle->R, b = circle->R * circle->Flatness;
      EXPECT_NEAR(x * x / (a * a) + y * y / (b * b), 1.0, 1e-9);
    }
  }
  ASSERT_NE(arc, nullptr);
  const auto drawnAt = [&](double u) {
    return OnEllipse(arc->Cx, arc->Cy, arc->R, arc->Flatness, arc->Tilt, u);
  };
  ExpectNear(drawnAt(arc->StartAngle), place(OnEllipse(-1, 2, 4, 0.5, 20, mirrored ? 200 : 30)),
             "arc start");
  ExpectNear(drawnAt(arc->EndAngle), place(OnEllipse(-1, 2, 4, 0.5, 20, mirrored ? 30 : 200)),
             "arc end");
  ExpectNear(drawnAt((arc->StartAngle + arc->EndAngle) / 2),
             place(OnEllipse(-1, 2, 4, 0.5, 20, 115)), "arc middle");

  const TJwwEntTxt& t = drawn.TxtList[0];
  ExpectNear({t.X, t.Y}, place({1, 1}), "text base");
  const TDPoint end = place({5, 1});
  ExpectNear({t.X + t.DirX, t.Y + t.DirY}, end, "text end");
}

INSTANTIATE_TEST_SUITE_P(
    Placements, PlacedBlock,
    ::testing::Values(TPlacementRow{"Plain", {1, 1, 0, 0}, {1, 1, 0, 0}},
                      TPlacementRow{"ScaledAndRotated", {2, 2, 0.7, 0}, {0.5, 0.5, -1.2, 0}},
                      TPlacementRow{"UnequalScales", {3, 1, 0.3, 0}, {1, 1, 0, 0}},
                      TPlacementRow{"MirroredOuter", {-1, 1, 0, 0}, {1, 1, 0.4, 0}},
                      TPlacementRow{"MirroredInner", {1.5, 1.5, 2, 0}, {1, -2, 0, 0}},
                      TPlacementRow{"MirroredTwice", {-1, 1, 0, 0}, {1, -1, 1, 0}}),
    [](const auto& row) { return std::string(row.param.Name); });

// Definitions by number: 1 -> 2 -> 1 loops, 3 is used by nothing, 4 names a missing one.
struct TStructureRow {
  const char* Name;
  int Chain;    // definitions in a chain, each referring to the next
  int FanOut;   // references each link makes to the next
  bool Loop;    // the last refers back to the first
  int Missing;  // a reference to this number, which no definition has (0: none)
  TBlockExpansionProblem Problem;
};

class BlockStructure : public ::testing::TestWithParam<TStructureRow> {};

TEST_P(BlockStructure, StopsWithAProblemInsteadOfAHang) {
  const TStructureRow& row = GetParam();
  TJwwDrawingFile f;
  AddRef(f.Top, f.TopPlacements, 0, 0, {1, 1, 0, 1});
  for (int n = 1; n <= row.Chain; ++n) {
    TJwwBlockDef def{n, true, "b" + std::to_string(n), {}, {}};
    Add(def.Contents, def.Contents.LinList, kKindLin, TJwwEntLin{{}, 0, 0, 0, 1, 1});
    const int next = n < row.Chain ? n + 1 : (row.Loop ? 1 : row.Missing);
    if (next != 0)
      for (int k = 0; k < row.FanOut; ++k)
        AddRef(def.Contents, def.Placements, k, 0, {1, 1, 0, next});
    f.Blocks.push_back(def);
  }
  f.Blocks.push_back({99, false, "unused", {}, {}});
  TEntityLists drawn;
  TBlockExpansion info;
  const bool ok = ExpandBlocks(f, drawn, info, {32, 100'000});
  EXPECT_EQ(ok, row.Problem == TBlockExpansionProblem::None);
  EXPECT_EQ(info.Problem, row.Problem) << info.Message;
  EXPECT_LE(drawn.EntOrder.size(), 100'000u);
  EXPECT_EQ(drawn.EntOrder.size(), 1 + info.FromBlocks);
  EXPECT_EQ(info.Uses.back().Direct + info.Uses.back().Nested, 0);
  EXPECT_EQ(info.Message.empty(), row.Problem == TBlockExpansionProblem::None);
}

INSTANTIATE_TEST_SUITE_P(
    Structures, BlockStructure,
    ::testing::Values(TStructureRow{"NestedChain", 5, 1, false, 0, TBlockExpansionProblem::None},
                      TStructureRow{"Cycle", 3, 1, true, 0, TBlockExpansionProblem::Cycle},
                      TStructureRow{"MissingDefinition", 2, 1, false, 77,
                                    TBlockExpansionProblem::MissingDefinition},
                      TStructureRow{"TooDeep", 40, 1, false, 0, TBlockExpansionProblem::TooDeep},
                      TStructureRow{"Exploding", 12, 10, false, 0,
                                    TBlockExpansionProblem::TooManyRecords}),
    [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace sxf
