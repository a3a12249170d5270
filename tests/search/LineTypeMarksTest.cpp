#include "search/LineTypeMarks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "render/UserBreak.h"
#include "support/DrawingFixture.h"
#include "support/RandomDrawing.h"
#include "search/LineTypeTally.h"
#include "util/MyFunc.h"

namespace sxf {
namespace {

using test::TLineTo;
using test::TRectangle;
using test::TSetFont;
using test::TTextOut;

class LineTypeMarksTest : public test::DrawingTest {
 protected:
  static void ExpectMark(const TLineTypeMark& m, int number, const char* list, int index, double x,
                         double y) {
    EXPECT_EQ(m.Number, number);
    EXPECT_STREQ(m.List, list);
    EXPECT_EQ(m.Index, index);
    EXPECT_NEAR(m.X, x, 1e-12);
    EXPECT_NEAR(m.Y, y, 1e-12);
  }
};

TEST_F(LineTypeMarksTest, WhereEachKindIsMarked) {
  Parse({"lt46",
         "0 0 10 4",
         "lt47",
         "0 0 10 4",
         "lt62",
         "0 0 10 4",
         "lt63",
         "0 0 10 4",
         "lt50",
         "ci 0 0 5",
         "lt51",
         "ci 0 0 10 90 180 1 0",  // start point of a circular arc
         "lt52",
         "ci 0 0 10 90 180 0.5 90",  // tilted and flattened: (-5, 0)
         "lt53",
         "ci 3 4 2 0 0 1 0",  // a whole circle in the arc list: at its start
         "msg",
         "lt55",
         "2 2 12 2",
         "lt1",
         "cs 5 3 1 0 \"10"});
  const auto marks = CollectLineTypeMarks(drawing);
  ASSERT_EQ(marks.size(), 7u);
  ExpectMark(marks[0], 17, "Lin", 1, 5, 2);
  ExpectMark(marks[1], 32, "Lin", 2, 5, 2);
  ExpectMark(marks[2], 20, "Cir", 0, 5, 0);
  ExpectMark(marks[3], 21, "Arc", 0, 0, 10);
  ExpectMark(marks[4], 22, "Arc", 1, -5, 0);
  ExpectMark(marks[5], 23, "Arc", 2, 5, 4);
  // The dimension's own head has line type 1; its line's is what counts.
  ExpectMark(marks[6], 25, "Dim", 0, 7, 2);
}

TEST_F(LineTypeMarksTest, GroupScaleAppliesToMarksAsToTheDrawing) {
  Parse({"hs 1 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg1", "lt47", "0 0 1000 0", "lt48",
         "ci 500 0 100"});
  auto marks = CollectLineTypeMarks(drawing);
  ASSERT_EQ(marks.size(), 2u);
  ExpectMark(marks[0], 17, "Lin", 0, 5, 0);
  ExpectMark(marks[1], 18, "Cir", 0, 6, 0);
}

TEST_F(LineTypeMarksTest, AMarkIsARedRingAroundAWhiteSquareWithTheNumber) {
  test::SetView(view, 0, 0, 1, 100, 100);
  DrawLineTypeMark(c, view, "17", 50, 50, 10);
  const auto rects = c.Only<TRectangle>();
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].X1, 42);
  EXPECT_EQ(rects[0].X2, 58);  // 16 pixels
  EXPECT_EQ(rects[0].Brush, (TBrush{RgbColor(255, 255, 255), TBrushStyle::Solid}));
  EXPECT_EQ(rects[0].Pen.Color, RgbColor(255, 255, 255));
  const auto ring = c.Only<TLineTo>();
  ASSERT_EQ(ring.size(), 72u);
  for (const TLineTo& l : ring) {
    EXPECT_EQ(l.Pen.Color, RgbColor(255, 0, 0));
    EXPECT_EQ(l.Pen.Width, 3);
    EXPECT_NEAR(std::hypot(l.X - 50, l.Y - 50), 10.0, 0.75);
  }
  const auto fonts = c.Only<TSetFont>();
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(fonts[0].Font.Height, 10);
  EXPECT_EQ(fonts[0].Font.Width, 5);
  EXPECT_EQ(fonts[0].Font.FaceName, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
  const auto digits = c.Only<TTextOut>();
  ASSERT_EQ(digits.size(), 2u);
  EXPECT_EQ(digits[0], (TTextOut{45, 45, "1", RgbColor(255, 0, 0)}));
  EXPECT_EQ(digits[1], (TTextOut{50, 45, "7", RgbColor(255, 0, 0)}));

  // At 150 % each digit is drawn again one pixel right, one down and both: its strokes grow
  // towards the lower right, inside the ring, never up or left.
  c.Commands.clear();
  view.ViewDpi = 144;
  DrawLineTypeMark(c, view, "5", 50.2, 50.2, 15);
  const auto strokes = c.Only<TTextOut>();
  std::vector<std::pair<int, int>> offsets;
  for (const TTextOut& t : strokes) offsets.emplace_back(t.X - strokes[0].X, t.Y - strokes[0].Y);
  EXPECT_EQ(offsets, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
}

TEST_F(LineTypeMarksTest, MarksKeepTheirPixelSizeAtAnyZoom) {
  Parse({"lt47", "-1 0 1 0"});
  for (const double scale : {0.5, 3.0, 40.0}) {
    c.Commands.clear();
    test::SetView(view, -50 / scale, -50 / scale, scale, 100, 100);
    EXPECT_TRUE(DrawLineTypeMarks(c, view, drawing, kMarkRadiusPixels / view.ViewScale));
    const auto rects = c.Only<TRectangle>();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].X2 - rects[0].X1, 16) << scale;
    EXPECT_EQ(c.Only<TSetFont>()[0].Font.Height, 10) << scale;
  }
}

TEST_F(LineTypeMarksTest, ABreakLeavesTheRemainingMarksUndrawn) {
  for (int i = 0; i < 25; ++i) Parse({"lt47", "10 10 20 20"});
  int polls = 0;
  SetUserBreakSource([&] { return ++polls >= 3; });  // at start, after 0, after 10
  EXPECT_FALSE(DrawLineTypeMarks(c, view, drawing, 10.0));
  EXPECT_EQ(c.Only<TRectangle>().size(), 11u);

  c.Commands.clear();
  SetUserBreakSource([] { return true; });
  EXPECT_FALSE(DrawLineTypeMarks(c, view, drawing, 10.0));
  EXPECT_TRUE(c.Commands.empty());
}

// An independent reading of where marks go, on generated drawings: lines at their midpoint,
// circles at their rightmost point, arcs at their start point, dimensions at their line's
// midpoint, all divided by the group scale.
TEST_F(LineTypeMarksTest, GeneratedDrawingsAgreeWithAPlainComputation) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-1000, 1000);
  std::uniform_int_distribution<int> ltype(40, 66), kind(0, 3), group(0, 15);
  struct Expected {
    int number;
    std::string list;
    double x, y;
  };
  for (int round = 0; round < 20; ++round) {
    Reset();
    std::string hs = "hs";
    std::array<double, 16> scale{};
    for (double& s : scale) {
      s = std::pow(10.0, static_cast<int>(rng() % 4));
      hs += " " + std::to_string(s);
    }
    reader.ParseLine(hs);
    std::vector<Expected> lines, circles, arcs, dims;
    for (int i = 0; i < 200; ++i) {
      const int lt = ltype(rng);
      const int g = group(rng);
      const double s = scale[static_cast<std::size_t>(g)];
      Parse({"lg" + std::string(1, "0123456789ABCDEF"[g]), "lt" + std::to_string(lt)});
      const bool marked = lt >= 47 && lt <= 62;
      const double a = coord(rng), b = coord(rng), p = coord(rng), q = coord(rng);
      char buf[256];
      switch (kind(rng)) {
        case 0:
          std::snprintf(buf, sizeof buf, "%.17g %.17g %.17g %.17g", a, b, p, q);
          reader.ParseLine(buf);
          if (marked) lines.push_back({lt - 30, "Lin", (a + p) / 2 / s, (b + q) / 2 / s});
          break;
        case 1:
          std::snprintf(buf, sizeof buf, "ci %.17g %.17g %.17g", a, b, std::fabs(p));
          reader.ParseLine(buf);
          if (marked) circles.push_back({lt - 30, "Cir", (a + std::fabs(p)) / s, b / s});
          break;
        case 2: {
          const double r = std::fabs(p), start = q / 3, flat = 0.25 + std::fabs(a) / 2000,
                       tilt = b / 7;
          std::snprintf(buf, sizeof buf, "ci %.17g %.17g %.17g %.17g %.17g %.17g %.17g", a, b, r,
                        start, start + 45, flat, tilt);
          reader.ParseLine(buf);
          const double th = start / 180 * M_PI, t = tilt / 180 * M_PI;
          const double x =
              a + r * std::cos(th) * std::cos(t) - r * flat * std::sin(th) * std::sin(t);
          const double y =
              b + r * std::cos(th) * std::sin(t) + r * flat * std::sin(th) * std::cos(t);
          if (marked) arcs.push_back({lt - 30, "Arc", x / s, y / s});
          break;
        }
        default:
          std::snprintf(buf, sizeof buf, "%.17g %.17g %.17g %.17g", a, b, p, q);
          Parse({"msg", buf, "lt1", "cs 0 0 1 0 \"1"});
          if (marked) dims.push_back({lt - 30, "Dim", (a + p) / 2 / s, (b + q) / 2 / s});
          break;
      }
    }
    std::vector<Expected> expected = lines;
    for (const auto* v : {&circles, &arcs, &dims})
      expected.insert(expected.end(), v->begin(), v->end());
    const auto marks = CollectLineTypeMarks(drawing);
    ASSERT_EQ(marks.size(), expected.size());
    // Per layer: every layer listed holds a counted entity, and the layers' cells add up to
    // the whole drawing's grid, cell by cell.
    const TTallyGrid whole = BuildTallyGrid(drawing);
    std::array<std::array<long long, kTallyColumns>, kTallyRows> sum{};
    for (const TLayerTally& layer : TallyByLayer(drawing)) {
      EXPECT_NE(layer.Grid.Cell(kTallyTotal, 17), "0");
      for (int r = 1; r < kTallyRows; ++r)
        for (int col = 1; col < kTallyColumns; ++col)
          sum[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)] +=
              StrToIntOr0(layer.Grid.Cell(col, r));
    }
    for (int r = 1; r < kTallyRows; ++r)
      for (int col = 1; col < kTallyColumns; ++col)
        EXPECT_EQ(sum[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)],
                  StrToIntOr0(whole.Cell(col, r)))
            << "row " << r << " column " << col;
    for (std::size_t i = 0; i < marks.size(); ++i) {
      EXPECT_EQ(marks[i].Number, expected[i].number);
      EXPECT_EQ(marks[i].List, expected[i].list);
      const double tol = 1e-9 * std::max(1.0, std::hypot(expected[i].x, expected[i].y));
      EXPECT_NEAR(marks[i].X, expected[i].x, tol);
      EXPECT_NEAR(marks[i].Y, expected[i].y, tol);
      // The file's own coordinates are the drawn ones times the group's scale.
      const double sc = scale[static_cast<std::size_t>(marks[i].Group)];
      EXPECT_NEAR(marks[i].FileX, expected[i].x * sc, tol * sc);
      EXPECT_NEAR(marks[i].FileY, expected[i].y * sc, tol * sc);
      const int column = expected[i].list == "Lin"   ? kTallyLine
                         : expected[i].list == "Cir" ? kTallyCircle
                         : expected[i].list == "Dim" ? kTallyDimension
                                                     : marks[i].Column;
      EXPECT_EQ(marks[i].Column, column);
    }
  }
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

// The marks and the tally walk the lists each on its own: on generated drawings of every
// profile, the marks of each line type and kind are as many as its cell counts.
TEST(LineTypeMarksAndTally, AgreeCellByCellOnGeneratedDrawings) {
  for (const auto profile :
       {test::TRandomProfile::Light, test::TRandomProfile::Dense, test::TRandomProfile::OddValues})
    for (const unsigned seed : {1u, 2u}) {
      const TDrawing drawing = test::MakeRandomDrawing(profile, seed, 3000);
      const TTallyGrid grid = BuildTallyGrid(drawing);
      int marks[kTallyRows][kTallyColumns] = {};
      for (const TLineTypeMark& m : CollectLineTypeMarks(drawing)) ++marks[m.Number - 16][m.Column];
      int total = 0;
      for (int row = 1; row < kTallyRows - 1; ++row)
        for (int column = 1; column < kTallyColumns - 1; ++column) {
          EXPECT_EQ(StrToIntOr0(grid.Cell(column, row)), marks[row][column])
              << "seed " << seed << " row " << row << " column " << column;
          total += marks[row][column];
        }
      EXPECT_GT(total, 300) << "seed " << seed;
    }
}

}  // namespace
}  // namespace sxf
