#include "search/LineTypeTally.h"

#include <gtest/gtest.h>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"
#include "util/MyFunc.h"

namespace sxf {
namespace {

using TallyTest = test::FreshModel;

// Row and column totals agree with the count cells, whatever the model holds.
void ExpectTotalsAgree(const TTallyGrid& g) {
  int grand = 0;
  for (int r = 1; r <= 16; ++r) {
    int sum = 0;
    for (int c = 1; c <= 6; ++c) sum += StrToIntOr0(g.Cell(c, r));
    EXPECT_EQ(g.Cell(kTallyTotal, r), std::to_string(sum));
    grand += sum;
  }
  for (int c = 1; c <= 6; ++c) {
    int sum = 0;
    for (int r = 1; r <= 16; ++r) sum += StrToIntOr0(g.Cell(c, r));
    EXPECT_EQ(g.Cell(c, 17), std::to_string(sum));
  }
  EXPECT_EQ(g.Cell(kTallyTotal, 17), std::to_string(grand));
}

TEST_F(TallyTest, EmptyModelHasEmptyCountsAndZeroTotals) {
  const TTallyGrid g = BuildTallyGrid(drawing);
  EXPECT_EQ(g.Cell(0, 0), "No.");
  EXPECT_EQ(g.Cell(1, 0), "\x90\xFC\x95\xAA");          // 線分
  EXPECT_EQ(g.Cell(6, 0), "\x90\xA1\x96\x40\x90\xFC");  // 寸法線
  EXPECT_EQ(g.Cell(7, 0), "\x8C\x76");                  // 計
  EXPECT_EQ(g.Cell(0, 1), "17");
  EXPECT_EQ(g.Cell(0, 16), "32");
  EXPECT_EQ(g.Cell(0, 17), "\x8C\x76");
  for (int r = 1; r <= 16; ++r) {
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(g.Cell(c, r), "") << c << "," << r;
    EXPECT_EQ(g.Cell(7, r), "0");
  }
  for (int c = 1; c <= 7; ++c) EXPECT_EQ(g.Cell(c, 17), "0");
}

TEST_F(TallyTest, CountsTheSixteenUserTypesOnly) {
  Parse({"lt47", "0 0 1 1", "lt62", "0 0 1 1", "lt46", "0 0 1 1", "lt63", "0 0 1 1", "lt9",
         "0 0 1 1", "lt50", "ci 0 0 1", "ch 0 0 1 0 \"t", "pt 1 1", "sl 0 0 1 1", "BL 0 0 b"});
  const TTallyGrid g = BuildTallyGrid(drawing);
  EXPECT_EQ(g.Cell(kTallyLine, 1), "1");
  EXPECT_EQ(g.Cell(kTallyLine, 16), "1");
  EXPECT_EQ(g.Cell(kTallyCircle, 4), "1");
  EXPECT_EQ(g.Cell(kTallyTotal, 1), "1");
  EXPECT_EQ(g.Cell(kTallyTotal, 2), "0");
  EXPECT_EQ(g.Cell(kTallyLine, 17), "2");
  EXPECT_EQ(g.Cell(kTallyTotal, 17), "3");
  ExpectTotalsAgree(g);
}

TEST(ArcTallyColumn, CircularAndFullTestsAtTheirTolerances) {
  const struct {
    double flatness, start, end;
    int column;
  } cases[] = {
      {1, 0, 360, kTallyCircle},
      {1, 30, 30, kTallyCircle},  // no sweep counts as full
      {1, 0, 720, kTallyArc},     // 720 is neither 0 nor 360
      {1, 360, 0, kTallyCircle},  // the sweep is not normalised, only its size
      {1, 0, 90, kTallyArc},
      {1.000000005, 0, 360, kTallyCircle},
      {1.00000002, 0, 360, kTallyEllipse},
      {0.5, 10, 10 + 5e-9, kTallyEllipse},
      {0.5, 10, 10 + 2e-8, kTallyEllipticArc},
      {0.5, 0, 360 - 5e-9, kTallyEllipse},
      {0.5, 0, 360 - 2e-8, kTallyEllipticArc},
      {0.5, 0, -360, kTallyEllipse},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ArcTallyColumn(c.flatness, c.start, c.end), c.column)
        << c.flatness << " " << c.start << " " << c.end;
}

TEST_F(TallyTest, ArcsAndDimensionsGoToTheirColumns) {
  Parse({"lt48", "ci 0 0 5 0 360 1 0", "ci 0 0 5 0 90 1 0", "ci 0 0 5 0 0 0.5 0",
         "ci 0 0 5 0 90 0.5 0", "ci 0 0 5 0 90 0.5 30",
         // A dimension counts by its line's type, not by its own head's.
         "msg", "lt55", "0 0 10 0", "lt1", "cs 5 0 1 0 \"10", "msg", "lt1", "0 0 10 0", "lt55",
         "cs 5 0 1 0 \"10"});
  const TTallyGrid g = BuildTallyGrid(drawing);
  EXPECT_EQ(g.Cell(kTallyCircle, 2), "1");
  EXPECT_EQ(g.Cell(kTallyArc, 2), "1");
  EXPECT_EQ(g.Cell(kTallyEllipse, 2), "1");
  EXPECT_EQ(g.Cell(kTallyEllipticArc, 2), "2");
  EXPECT_EQ(g.Cell(kTallyDimension, 9), "1");
  EXPECT_EQ(g.Cell(kTallyDimension, 17), "1");
  EXPECT_EQ(g.Cell(kTallyTotal, 17), "6");
  ExpectTotalsAgree(g);
}

TEST_F(TallyTest, TotalsAgreeOnAMixedDrawing) {
  for (int i = 0; i < 3000; ++i) {
    reader.ParseLine("lt" + std::to_string(40 + i % 30));
    reader.ParseLine(i % 3 == 0 ? "0 0 1 1" : (i % 3 == 1 ? "ci 0 0 1" : "ci 0 0 1 0 45 0.7 0"));
  }
  const TTallyGrid g = BuildTallyGrid(drawing);
  ExpectTotalsAgree(g);
  EXPECT_EQ(g.Cell(kTallyTotal, 17), "1600");  // 16 of every 30 types
}

}  // namespace
}  // namespace sxf
