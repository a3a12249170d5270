#include "model/JwwGaibu2.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

using ModelTest = test::FreshModel;

std::vector<std::string> Fields(std::string_view line) {
  TJwwFields f;
  f.Split(line);
  std::vector<std::string> out;
  for (int k = 0; k < f.Count(); ++k) out.emplace_back(f[k]);
  return out;
}

using V = std::vector<std::string>;

TEST(FieldSplitting, FollowsTheByteRules) {
  EXPECT_EQ(Fields("a b  c"), (V{"a", "b", "c"}));
  EXPECT_EQ(Fields("   a"), (V{"a"}));                           // leading blanks skipped
  EXPECT_EQ(Fields("ci 1 2 3 "), (V{"ci", "1", "2", "3", ""}));  // trailing blank opens a field
  EXPECT_EQ(Fields("a\tb"), (V{"a", "b"}));
  EXPECT_EQ(Fields(""), (V{""}));
  EXPECT_EQ(Fields("   "), (V{""}));
  // A quote stops splitting and is not stored; later quotes and blanks are kept.
  EXPECT_EQ(Fields("ch 1 2 3 4 \"A B \"q\""), (V{"ch", "1", "2", "3", "4", "A B \"q\""}));
  // Tabs are dropped everywhere, also after a quote.
  EXPECT_EQ(Fields("ch 1 2 3 4 \"\tA\tB"), (V{"ch", "1", "2", "3", "4", "AB"}));
  // An equals sign is stored and stops splitting.
  EXPECT_EQ(Fields("file=C:\\My Drawings\\a b.jww"), (V{"file=C:\\My Drawings\\a b.jww"}));
  EXPECT_EQ(Fields("a = b c"), (V{"a", "= b c"}));
  // Control bytes, 0xFE and 0xFF are dropped; the half-width katakana range is kept.
  EXPECT_EQ(Fields(std::string("a\x01\xFE\xFF\xB1"
                               "b",
                               6)),
            (V{"a\xB1"
               "b"}));
  // A two-byte character keeps its trail byte even where that byte is a quote or a blank.
  EXPECT_EQ(Fields("\x81\x22 x"), (V{"\x81\x22", "x"}));
  EXPECT_EQ(Fields("\x81\x20x y"), (V{"\x81\x20x", "y"}));
  // A lead byte that ends the line is dropped with it.
  EXPECT_EQ(Fields("ab \x82"), (V{"ab", ""}));
  EXPECT_EQ(Fields("ab\x82"), (V{"ab"}));
}

TEST(FieldSplitting, HoldsAtMost400Fields) {
  std::string line;
  for (int i = 0; i < 5000; ++i) line += std::to_string(i) + " ";
  TJwwFields f;
  f.Split(line);
  EXPECT_EQ(f.Count(), kMaxJwwFields);
  EXPECT_EQ(f[399], "399");
  EXPECT_EQ(f[400], "");
}

TEST_F(ModelTest, InitSetsTheDefaults) {
  EXPECT_EQ(drawing.EntOrderCount(), 0);
  EXPECT_EQ(drawing.LayerGroupScale[15], 1.0);
  EXPECT_EQ(drawing.TextKinds[10].W, 3.0);
  EXPECT_EQ(drawing.TextKinds[1].Color, 2);
  EXPECT_EQ(drawing.PaperSizeX, 1189.0);
  EXPECT_EQ(drawing.PaperSizeY, 841.0);
  EXPECT_EQ(drawing.GroupState.size(), 16u);
  EXPECT_EQ(drawing.LayerName.size(), 256u);
  EXPECT_EQ(drawing.HpList.size(), 100u);
  EXPECT_EQ(reader.State().CurFontName, "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>");
  EXPECT_EQ(reader.State().DimLine.Hdr.Color, 1);
  EXPECT_EQ(reader.State().DimLine.X2, 1.0);
}

TEST_F(ModelTest, RuleOrderDecidesWhatALineBecomes) {
  Parse({"pt 1 2 3"});  // "pt" with four fields falls through to a segment
  ASSERT_EQ(drawing.LinCount(), 1);
  EXPECT_EQ(drawing.LinList[0].X1, 0.0);
  EXPECT_EQ(drawing.LinList[0].Y1, 1.0);
  EXPECT_EQ(drawing.LinList[0].Y2, 3.0);
  EXPECT_EQ(drawing.PntCount(), 0);

  Parse({"ci 1 2 3 "});  // trailing blank: five fields, nothing matches
  EXPECT_EQ(drawing.CirCount(), 0);
  Parse({"ci 1 2 3"});
  ASSERT_EQ(drawing.CirCount(), 1);
  EXPECT_EQ(drawing.CirList[0].R, 3.0);
  Parse({"ci 1 2 3 4 5 6"});  // seven fields: ignored
  EXPECT_EQ(drawing.ArcCount(), 0);

  Parse({"lg3", "lgn My group", "lyn\"Layer one"});
  EXPECT_EQ(reader.State().CurGroup, 3);
  EXPECT_EQ(drawing.GroupName[3], " My group");  // the name of "lgn" followed by a blank
  EXPECT_EQ(drawing.LayerName[3 * 16], "Layer one");

  Parse({"hs 1 2 3"});  // "hs" short of 17 fields is a four-field line: a segment
  EXPECT_EQ(drawing.LinCount(), 2);
  Parse({"ch 1 2 3"});  // a text key with four fields too
  EXPECT_EQ(drawing.LinCount(), 3);
  EXPECT_EQ(drawing.TxtCount(), 0);
  Parse({"lc5 1 2 3"});  // but "lc" matches on its key alone
  EXPECT_EQ(drawing.LinCount(), 3);
  EXPECT_EQ(reader.State().CurColor, 5);
  EXPECT_EQ(drawing.EntOrderCount(), 4);
}

TEST_F(ModelTest, HeaderLinesSetTheDrawingWideValues) {
  Parse({"file=C:\\jww\\my plan.jww", "hk 2.5", "hzs 420 297", "bz", "hn 1 2 3 4",
         "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", "hcw 1 2 3 4 5 6 7 8 9 10",
         "hcc 1 2 3 4 5 6 7 8 9 10", "hrgb 1 2 3 4 5 6 7 $FF"});
  EXPECT_EQ(drawing.JwwFileName, "C:\\jww\\my plan.jww");
  EXPECT_EQ(drawing.HkValue, 2.5);
  EXPECT_EQ(drawing.PaperSizeY, 297.0);
  EXPECT_TRUE(drawing.NoGroupScale);
  EXPECT_EQ(drawing.HnY2, 4.0);
  EXPECT_EQ(drawing.LayerGroupScale[0], 1.0);
  EXPECT_EQ(drawing.LayerGroupScale[15], 16.0);
  EXPECT_EQ(drawing.TextKinds[10].W, 10.0);
  EXPECT_EQ(drawing.TextKinds[4].Color, 4);
  EXPECT_EQ(drawing.HostRgb[7], 255);
  EXPECT_EQ(drawing.HostRgb[8], 0);

  // "file=" anywhere in field 0: the first five bytes are dropped.
  Parse({"xfile=abc"});
  EXPECT_EQ(drawing.JwwFileName, "=abc");

  std::string many = "hrgb";
  for (int i = 0; i < 399; ++i) many += " 7";
  Parse({many});  // more values than HostRgb holds: the rest is dropped
  EXPECT_EQ(drawing.HostRgb[355], 7);
}

TEST_F(ModelTest, AttributeLinesAndFirstValues) {
  Parse({"lgA", "lyf 3", "lc10 255", "lt47", "lw25", "lc3 99", "lgG"});
  EXPECT_EQ(reader.State().CurGroup, 0);  // G is not a hexadecimal digit
  EXPECT_EQ(reader.State().FirstGroup, 10);
  EXPECT_EQ(reader.State().CurLayer, 15);
  EXPECT_EQ(drawing.LayerState[10 * 16 + 15], 3);
  EXPECT_EQ(reader.State().CurRgb, 255);  // "lc3 99" leaves it
  EXPECT_EQ(reader.State().CurColor, 3);
  EXPECT_EQ(reader.State().FirstColor, 10);
  EXPECT_EQ(reader.State().CurLType, 47);
  EXPECT_EQ(reader.State().CurLWidth, 25);
  EXPECT_TRUE(reader.State().WidthGiven);

  Parse({"sl 0 0 1 0 1 1"});
  ASSERT_EQ(drawing.Sl3Count(), 1);
  EXPECT_EQ(drawing.Sl3List[0].Rgb, 255);
  EXPECT_EQ(drawing.Sl3List[0].Hdr.Group, 0);
  EXPECT_EQ(drawing.Sl3List[0].Hdr.LType, 47);

  // The last value of a coded field's range is inside it.
  Parse({"lgF", "cc8"});
  EXPECT_EQ(reader.State().CurGroup, 15);
  EXPECT_EQ(reader.State().CurBasePoint, 8);
  Parse({"cc5", "cc9", "cn$", "cn$Arial", "cn$Other", "cn0 4 5 0.5 6", "cn3"});
  EXPECT_EQ(reader.State().CurBasePoint, 0);  // 9 is outside 0..8
  EXPECT_EQ(reader.State().FirstFontName, "Arial");
  EXPECT_EQ(reader.State().CurFontName, "Other");
  EXPECT_EQ(reader.State().FirstTextKind, 0);
  EXPECT_EQ(reader.State().FirstFreeTextW, 4.0);
  EXPECT_EQ(reader.State().FreeTextColor, 6);
  EXPECT_EQ(reader.State().CurTextKind, 3);

  reader.ResetCurrentState();
  EXPECT_EQ(reader.State().CurColor, 1);
  EXPECT_EQ(reader.State().CurRgb, 0);
  EXPECT_EQ(reader.State().CurFontName, kDefaultFontName);
  EXPECT_EQ(reader.State().FirstColor, 10);  // kept, only the marker is re-armed
  Parse({"lc7"});
  EXPECT_EQ(reader.State().FirstColor, 7);
}

TEST_F(ModelTest, ZFlagsAndDesignatedPointsBelongToTheNextEntity) {
  Parse({"z1", "z1", "z4", "hhp12ci", "0 0 1 1", "0 0 2 2"});
  ASSERT_EQ(drawing.LinCount(), 2);
  EXPECT_EQ(drawing.LinList[0].Hdr.ZFlags, 1 + 8);
  EXPECT_EQ(drawing.LinList[0].Hdr.HpNo, 12);
  EXPECT_EQ(drawing.LinList[1].Hdr.ZFlags, 0);
  EXPECT_EQ(drawing.LinList[1].Hdr.HpNo, 0);

  Parse({"hp5ln 1.5 2.5", "hp7 1 2", "hp99- 3 4", "hp100 1 1", "hp0 1 1", "hp5ch 9 9", "hp3"});
  EXPECT_TRUE(drawing.HpList[5].Used);
  EXPECT_EQ(drawing.HpList[5].Kind, 4);  // replaced by the later line
  EXPECT_EQ(drawing.HpList[5].X, 9.0);
  EXPECT_EQ(drawing.HpList[7].Kind, 0);
  EXPECT_EQ(drawing.HpList[99].Kind, 1);
  EXPECT_EQ(drawing.HpList[99].Y, 4.0);
  EXPECT_FALSE(drawing.HpList[3].Used);  // too few fields
  EXPECT_EQ(drawing.HpCount, 4);
}

TEST_F(ModelTest, PolylineRunsShareANumberUntilAModeEnds) {
  Parse({"pl", "0 0 1 0", "1 0 1 1", "lc2", "1 1 0 1", "pl", "0 0 5 5", "ci 0 0 1", "2 2 3 3"});
  ASSERT_EQ(drawing.LinCount(), 5);
  EXPECT_EQ(drawing.LinList[0].PlNo, 1);
  EXPECT_EQ(drawing.LinList[1].PlNo, 1);
  EXPECT_EQ(drawing.LinList[2].PlNo, 0);
  EXPECT_EQ(drawing.LinList[3].PlNo, 2);
  EXPECT_EQ(drawing.LinList[4].PlNo, 0);  // the circle ended the second run
  EXPECT_EQ(reader.State().PlCount, 2);
}

TEST_F(ModelTest, DimensionsHoldTheirLineAndText) {
  Parse({"msg", "lc4", "0 0 10 0", "cn0 2.5 2.5 0 5", "cs 5 1 1 0 \"10.0"});
  EXPECT_EQ(drawing.LinCount(), 0);
  ASSERT_EQ(drawing.DimCount(), 1);
  EXPECT_EQ(drawing.EntOrderCount(), 1);
  EXPECT_EQ(drawing.EntOrder[0].Kind, kKindDim);
  const TJwwEntDim& d = drawing.DimList[0];
  EXPECT_EQ(d.Line.X2, 10.0);
  EXPECT_EQ(d.Line.Hdr.Color, 4);  // "lc4" did not end the mode
  EXPECT_EQ(d.Text.TextCode, 2);
  EXPECT_EQ(d.Text.Text, "10.0");
  EXPECT_EQ(d.Text.W, 2.5);
  EXPECT_EQ(d.Text.Hdr.Color, 5);
  EXPECT_FALSE(reader.State().InDimension);

  // A later "msg" without a segment reuses the held line; outside the mode "cs" is a text.
  Parse({"msg", "cs 0 0 1 0 \"again", "cs 0 0 1 0 \"plain"});
  ASSERT_EQ(drawing.DimCount(), 2);
  EXPECT_EQ(drawing.DimList[1].Line.X2, 10.0);
  EXPECT_EQ(drawing.TxtCount(), 1);
  EXPECT_EQ(drawing.TxtList[0].TextCode, 2);

  // "pl" and "#" end the dimension mode.
  Parse({"msg", "pl", "0 0 3 3"});
  EXPECT_EQ(drawing.LinCount(), 1);
  Parse({"msg", "#", "0 0 3 3"});
  EXPECT_EQ(drawing.LinCount(), 2);
}

TEST_F(ModelTest, TextsTakeTheirSizeFromTheTextKind) {
  Parse({"hcw 1 2 3 4 5 6 7 8 9 10", "cn4", "cc2", "cv 1 2 3 4 \"A B"});
  ASSERT_EQ(drawing.TxtCount(), 1);
  const TJwwEntTxt& t = drawing.TxtList[0];
  EXPECT_EQ(t.TextCode, 1);
  EXPECT_EQ(t.BasePoint, 2);
  EXPECT_EQ(t.TextKind, 4);
  EXPECT_EQ(t.W, 4.0);
  EXPECT_EQ(t.H, 3.0);
  EXPECT_EQ(t.Hdr.Color, 2);
  EXPECT_EQ(t.DirY, 4.0);
  EXPECT_EQ(t.Text, "A B");
  EXPECT_EQ(t.FontName, kDefaultFontName);

  Parse({"cn11", "c2 0 0 1 0 \"x", "cn$" + std::string(300, 'F'),
         "ch 0 0 1 0 \"" + std::string(300, 'T')});
  EXPECT_EQ(drawing.TxtList[1].TextCode, 9);
  EXPECT_EQ(drawing.TxtList[1].W, 2.0);  // kinds outside 1..10 use the free-text values
  EXPECT_EQ(drawing.TxtList[1].Hdr.Color, 1);
  EXPECT_EQ(drawing.TxtList[2].Text.size(), 255u);
  EXPECT_EQ(drawing.TxtList[2].FontName.size(), 255u);
  Parse({"ch 0 0 1 0 x y z"});  // only field 5 is the text
  EXPECT_EQ(drawing.TxtList[3].Text, "x");
}

TEST_F(ModelTest, PointsBlocksAndArcSolids) {
  Parse({"pn6", "lc3", "pt 1 2", "pt 1 2 0.5 45 7", "pt 1 2 3 4", "pt 1 2 3", "BL 5 6",
         "BL 5 6 door", "sc 1 2 3 0.5 0.1 0.2 0.3 100", "so 1 2 3 0.5 0.1 0.2 0.3 1.5"});
  ASSERT_EQ(drawing.PntCount(), 1);
  EXPECT_EQ(drawing.PntList[0].Hdr.Color, 6);
  ASSERT_EQ(drawing.PntExCount(), 1);
  EXPECT_EQ(drawing.PntExList[0].Code, 7);
  EXPECT_EQ(drawing.PntExList[0].Angle, 45.0);
  EXPECT_EQ(drawing.LinCount(), 1);
  EXPECT_EQ(drawing.LinList[0].Hdr.Color, 3);
  ASSERT_EQ(drawing.BlkCount(), 1);
  EXPECT_EQ(drawing.BlkList[0].Name, "door");
  ASSERT_EQ(drawing.ScCount(), 1);
  EXPECT_EQ(drawing.ScList[0].SweepAngle, 0.3);
  EXPECT_EQ(drawing.ScList[0].ArcMode, 100);
  ASSERT_EQ(drawing.SoCount(), 1);
  EXPECT_EQ(drawing.SoList[0].R2, 1.5);
  EXPECT_EQ(drawing.EntOrderCount(), 6);
  EXPECT_EQ(drawing.EntOrder[5].Kind, kKindSo);
  EXPECT_EQ(drawing.EntOrder[5].Index, 0);
}

struct SolidCase {
  const char* line;
  int kind;
  std::vector<double> corners;
};

TEST_F(ModelTest, SolidCornersAreReducedInTheirOrder) {
  const SolidCase cases[] = {
      {"sl 1 2 3 4", kKindSl2, {1, 2, 3, 4}},
      {"sl 0 0 0 0 5 5", kKindSl2, {0, 0, 5, 5}},
      {"sl 0 0 5 5 5 5", kKindSl2, {0, 0, 5, 5}},
      {"sl 0 0 5 5 0 0", kKindSl3, {0, 0, 5, 5, 0, 0}},  // P1 = P3 is not tested
      {"sl 0 0 0 0 0 0 7 7", kKindSl2, {0, 0, 7, 7}},
      {"sl 0 0 5 5 5 5 5 5", kKindSl2, {0, 0, 5, 5}},
      {"sl 0 0 0 0 5 5 5 5", kKindSl2, {0, 0, 5, 5}},
      {"sl 0 0 5 0 5 5 0 0", kKindSl3, {0, 0, 5, 0, 5, 5}},
      {"sl 0 0 5 0 0 0 0 5", kKindSl3, {0, 0, 5, 0, 0, 5}},
      {"sl 0 0 0 0 5 0 0 5", kKindSl3, {0, 0, 5, 0, 0, 5}},
      {"sl 0 0 5 0 5 5 0 5", kKindSl4, {0, 0, 5, 0, 5, 5, 0, 5}},
      {"sl 0 0 1e-10 -1e-10 5 5 6 6", kKindSl3, {0, 0, 5, 5, 6, 6}},
      {"sl 0 0 2e-10 0 5 5 6 6", kKindSl4, {0, 0, 2e-10, 0, 5, 5, 6, 6}},
  };
  for (const SolidCase& c : cases) {
    Reset();
    Parse({c.line});
    ASSERT_EQ(drawing.EntOrderCount(), 1) << c.line;
    EXPECT_EQ(drawing.EntOrder[0].Kind, c.kind) << c.line;
    std::vector<double> got;
    if (c.kind == kKindSl2)
      got = {drawing.Sl2List[0].X1, drawing.Sl2List[0].Y1, drawing.Sl2List[0].X2,
             drawing.Sl2List[0].Y2};
    if (c.kind == kKindSl3)
      got = {drawing.Sl3List[0].X1, drawing.Sl3List[0].Y1, drawing.Sl3List[0].X2,
             drawing.Sl3List[0].Y2, drawing.Sl3List[0].X3, drawing.Sl3List[0].Y3};
    if (c.kind == kKindSl4)
      got = {drawing.Sl4List[0].X1, drawing.Sl4List[0].Y1, drawing.Sl4List[0].X2,
             drawing.Sl4List[0].Y2, drawing.Sl4List[0].X3, drawing.Sl4List[0].Y3,
             drawing.Sl4List[0].X4, drawing.Sl4List[0].Y4};
    EXPECT_EQ(got, c.corners) << c.line;
  }
  Reset();
  Parse({"sl 1 2 3 4 5", "sl 1 2 3 4 5 6 7"});  // six and eight fields: ignored
  EXPECT_EQ(drawing.EntOrderCount(), 0);
}

TEST_F(ModelTest, UnsetFieldsReadZeroAndRecordsSurviveGrowth) {
  for (int i = 0; i < 2500; ++i) reader.ParseLine(std::to_string(i) + " 0 0 0");
  ASSERT_EQ(drawing.LinCount(), 2500);
  EXPECT_EQ(drawing.LinList[999].X1, 999.0);
  EXPECT_EQ(drawing.LinList[1000].X1, 1000.0);
  EXPECT_EQ(drawing.EntOrder[2499].Index, 2499);
  Parse({"ci 1 1 1"});
  EXPECT_EQ(drawing.CirList[0].Hdr.HpNo, 0);
  EXPECT_EQ(drawing.CirList[0].Hdr.ZFlags, 0);
}

TEST(ReadJwcTempFile, EndsLinesAtCrLfLfAndLoneCr) {
  const auto path = test::WriteTempFile("0 0 1 1\r\n0 0 2 2\n0 0 3 3\r0 0 4 4\r\n\r\n0 0 5 5");
  const TJwcLoad load = ReadJwcTempFile(path);
  EXPECT_TRUE(load.Result.ReadToEnd);
  ASSERT_EQ(load.Drawing.LinCount(), 5);
  EXPECT_EQ(load.Drawing.LinList[2].X2, 3.0);
  EXPECT_EQ(load.Drawing.LinList[4].Y2, 5.0);
  std::filesystem::remove(path);
}

TEST(ReadJwcTempFile, ReadsTheHostsOwnNotation) {
  // Leading blank before a segment, three-digit exponents, NEC/IBM extension characters.
  const auto path = test::WriteTempFile(
      "file=C:\\\x90\x7D\x96\xCA\\plan 1.jww\r\n"
      "lt47\r\n"
      " 12.5 30 40.25 30\r\n"
      "-3.2783543701953e-005 1.5E+002 0 0\r\n"
      "ch 0 0 1 0 \"\x87\x40\x87\x75\r\n");
  const TJwcLoad load = ReadJwcTempFile(path);
  EXPECT_TRUE(load.Result.ReadToEnd);
  const TDrawing& drawing = load.Drawing;
  EXPECT_EQ(drawing.JwwFileName, "C:\\\x90\x7D\x96\xCA\\plan 1.jww");
  ASSERT_EQ(drawing.LinCount(), 2);
  EXPECT_EQ(drawing.LinList[0].X1, 12.5);
  EXPECT_EQ(drawing.LinList[0].X2, 40.25);
  EXPECT_EQ(drawing.LinList[0].Hdr.LType, 47);
  EXPECT_EQ(drawing.LinList[1].X1, -3.2783543701953e-5);
  EXPECT_EQ(drawing.LinList[1].Y1, 150.0);
  ASSERT_EQ(drawing.TxtCount(), 1);
  EXPECT_EQ(drawing.TxtList[0].Text, "\x87\x40\x87\x75");  // ①㎡
  std::filesystem::remove(path);
}

TEST(ReadJwcTempFile, MissingFileLeavesTheEmptyModel) {
  const TJwcLoad load = ReadJwcTempFile("/nonexistent/dir/JWC_TEMP.TXT");
  EXPECT_FALSE(load.Result.Exists);
  EXPECT_FALSE(load.Result.ReadToEnd);
  EXPECT_EQ(load.Drawing.EntOrderCount(), 0);
  EXPECT_EQ(load.Drawing.LayerGroupScale[0], 1.0);
}

TEST(ReadJwcTempFile, ADirectoryIsAReadFailure) {
  const TJwcLoadResult r = ReadJwcTempFile(std::filesystem::temp_directory_path().string()).Result;
  EXPECT_FALSE(r.ReadToEnd);
  EXPECT_EQ(r.Problem, TJwcLoadProblem::NotRegularFile);
}

}  // namespace
}  // namespace sxf
