#include "render/DrawingIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "globals/UnitGval.h"
#include "support/ViewTestSupport.h"
#include "model/JwwGaibu2.h"

namespace sxf {
namespace {

// Every line whose box meets the view is among the records near it, in ascending order,
// whatever the sizes: short, long, degenerate and not finite; and every finite one among them
// comes within the index's margin of the view (four pixels, and its box's rounding to single
// precision), not merely from a cell nearby.
TEST(DrawingIndex, NearRecordsHoldEveryLineMeetingTheView) {
  InitJwwModel();
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pos(-5000, 5000), len(-40, 40), longLen(-6000, 6000);
  for (int i = 0; i < 20000; ++i) {
    TJwwEntLin e;
    e.Hdr.Group = i % 3;
    e.X1 = pos(rng), e.Y1 = pos(rng);
    const bool isLong = i % 50 == 0;
    e.X2 = e.X1 + (isLong ? longLen(rng) : len(rng));
    e.Y2 = e.Y1 + (i % 7 == 0 ? 0.0 : (isLong ? longLen(rng) : len(rng)));
    if (i % 997 == 0) e.Y1 = NAN;
    LinList.push_back(e);
  }
  LinCount = static_cast<int>(LinList.size());
  LayerGroupScale[1] = 4.0;
  LayerGroupScale[2] = 0.25;
  BuildDrawingIndex();
  SetDrawingIndexAreaShare(1e9);
  for (double scale : {0.05, 0.5, 3.0}) {
    for (double left : {-6000.0, -1234.5, 0.0, 4321.0, 25000.0}) {
      test::SetView(left, left / 2, scale, 300, 200);
      const std::vector<int>* near = RecordsNearView(LinList.data(), LinCount);
      ASSERT_NE(near, nullptr);
      EXPECT_TRUE(std::is_sorted(near->begin(), near->end()));
      EXPECT_EQ(std::adjacent_find(near->begin(), near->end()), near->end());
      for (int i = 0; i < LinCount; ++i) {
        const TJwwEntLin& e = LinList[static_cast<std::size_t>(i)];
        const double s = GroupScaleDivisor(e.Hdr);
        const double x1 = std::min(e.X1, e.X2) / s, x2 = std::max(e.X1, e.X2) / s;
        const double y1 = std::min(e.Y1, e.Y2) / s, y2 = std::max(e.Y1, e.Y2) / s;
        const bool meets = !(x2 < ViewLeft || x1 > ViewRight || y2 < ViewBottom || y1 > ViewTop);
        const bool finite = std::isfinite(e.X1 + e.Y1 + e.X2 + e.Y2);
        if (meets || !finite) {
          EXPECT_TRUE(std::binary_search(near->begin(), near->end(), i))
              << i << " at scale " << scale;
        }
        const double m = 4.0 / scale + 1e-6 * std::max({std::fabs(x1), std::fabs(x2), std::fabs(y1),
                                                        std::fabs(y2)});
        const bool nearby =
            !(x2 < ViewLeft - m || x1 > ViewRight + m || y2 < ViewBottom - m || y1 > ViewTop + m);
        if (finite && !nearby) {
          EXPECT_FALSE(std::binary_search(near->begin(), near->end(), i))
              << i << " at scale " << scale;
        }
      }
    }
  }
  SetDrawingIndexAreaShare(0.25);
  ClearDrawingIndex();
  InitJwwModel();
}

// A text whose drawn characters are not its stored bytes (the host's codes of two and three
// bytes, variables, spacing marks at its end) may be drawn anywhere and is near every view; a
// text written as stored or through escapes is near only where it lies, a picture's text
// only where its frame lies.
TEST(DrawingIndex, TextsNotWrittenAsStoredAreNearEveryView) {
  const struct {
    const char* Text;
    bool Always;
  } cases[] = {
      {"^!bold", false},
      {"^!bold^# x^u2 ^$2(y)", false},
      {"ab^", true},
      {"ab^3", true},
      {"^ub2", true},
      {"^@BMpic.bmp,10,20", false},
      {"^@BMpic.bmp,-90000,-90000", true},  // its frame reaches the view
      {"$F", true},
      {"%ss", true},
      {"%%var", true},
      {"wall\xA5", true},
      {"wall\x81\x45", true},
      {"a", false},
      {"wall", false},
      {"wall 12", false},
      {"%ab%", false},
      {"\xA5wall", false},
      {"wall\x45", false},
      {"\x81\x45wall", false},
      {"", false},
  };
  InitJwwModel();
  for (const auto& c : cases) {
    TJwwEntTxt t;
    t.X = 90000, t.Y = 90000, t.W = t.H = 2, t.DirX = 10;
    t.Text = c.Text;
    TxtList.push_back(t);
  }
  TJwwEntTxt origin;
  origin.Text = "origin";
  TxtList.push_back(origin);
  TxtCount = static_cast<int>(TxtList.size());
  BuildDrawingIndex();
  SetDrawingIndexAreaShare(1e9);
  test::SetView(0, 0, 1, 100, 100);
  const std::vector<int>* near = RecordsNearView(TxtList.data(), TxtCount);
  ASSERT_NE(near, nullptr);
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
    EXPECT_EQ(std::binary_search(near->begin(), near->end(), i), cases[i].Always) << cases[i].Text;
  EXPECT_TRUE(std::binary_search(near->begin(), near->end(), TxtCount - 1));
  SetDrawingIndexAreaShare(0.25);
  ClearDrawingIndex();
  InitJwwModel();
}

}  // namespace
}  // namespace sxf
