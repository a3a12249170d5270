#include "render/DrawingIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "support/ViewTestSupport.h"
#include "model/JwwGaibu2.h"

namespace sxf {
namespace {

// Every line whose box meets the view is among the records near it, in ascending order,
// whatever the sizes: short, long, degenerate and not finite; and every finite one among them
// comes within the index's margin of the view (four pixels, and its box's rounding to single
// precision), not merely from a cell nearby.
TEST(DrawingIndex, NearRecordsHoldEveryLineMeetingTheView) {
  TDrawing drawing;
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
    drawing.LinList.push_back(e);
  }
  drawing.LayerGroupScale[1] = 4.0;
  drawing.LayerGroupScale[2] = 0.25;
  BuildDrawingIndex(drawing);
  SetDrawingIndexAreaShare(1e9);
  for (double scale : {0.05, 0.5, 3.0}) {
    for (double left : {-6000.0, -1234.5, 0.0, 4321.0, 25000.0}) {
      const TView view = test::MakeView(left, left / 2, scale, 300, 200);
      const std::vector<int>* near =
          RecordsNearView(view, drawing.LinList.data(), drawing.LinCount());
      ASSERT_NE(near, nullptr);
      EXPECT_TRUE(std::is_sorted(near->begin(), near->end()));
      EXPECT_EQ(std::adjacent_find(near->begin(), near->end()), near->end());
      for (int i = 0; i < drawing.LinCount(); ++i) {
        const TJwwEntLin& e = drawing.LinList[static_cast<std::size_t>(i)];
        const double s = drawing.GroupScaleDivisor(e.Hdr);
        const double x1 = std::min(e.X1, e.X2) / s, x2 = std::max(e.X1, e.X2) / s;
        const double y1 = std::min(e.Y1, e.Y2) / s, y2 = std::max(e.Y1, e.Y2) / s;
        const bool meets = !(x2 < view.ViewLeft || x1 > view.ViewRight || y2 < view.ViewBottom ||
                             y1 > view.ViewTop);
        const bool finite = std::isfinite(e.X1 + e.Y1 + e.X2 + e.Y2);
        if (meets || !finite) {
          EXPECT_TRUE(std::binary_search(near->begin(), near->end(), i))
              << i << " at scale " << scale;
        }
        const double m = 4.0 / scale + 1e-6 * std::max({std::fabs(x1), std::fabs(x2), std::fabs(y1),
                                                        std::fabs(y2)});
        const bool nearby = !(x2 < view.ViewLeft - m || x1 > view.ViewRight + m ||
                              y2 < view.ViewBottom - m || y1 > view.ViewTop + m);
        if (finite && !nearby) {
          EXPECT_FALSE(std::binary_search(near->begin(), near->end(), i))
              << i << " at scale " << scale;
        }
      }
    }
  }
  SetDrawingIndexAreaShare(0.25);
  ClearDrawingIndex(drawing);
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
  TDrawing drawing;
  for (const auto& c : cases) {
    TJwwEntTxt t;
    t.X = 90000, t.Y = 90000, t.W = t.H = 2, t.DirX = 10;
    t.Text = c.Text;
    drawing.TxtList.push_back(t);
  }
  TJwwEntTxt origin;
  origin.Text = "origin";
  drawing.TxtList.push_back(origin);
  BuildDrawingIndex(drawing);
  SetDrawingIndexAreaShare(1e9);
  const std::vector<int>* near = RecordsNearView(test::MakeView(0, 0, 1, 100, 100),
                                                 drawing.TxtList.data(), drawing.TxtCount());
  ASSERT_NE(near, nullptr);
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
    EXPECT_EQ(std::binary_search(near->begin(), near->end(), i), cases[i].Always) << cases[i].Text;
  EXPECT_TRUE(std::binary_search(near->begin(), near->end(), drawing.TxtCount() - 1));
  SetDrawingIndexAreaShare(0.25);
  ClearDrawingIndex(drawing);
}

}  // namespace
}  // namespace sxf
