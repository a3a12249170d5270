// The reader's rules where a careless port goes wrong: field counts one below, at and one
// above each rule's bound, the order of the solid reductions, state carried from line to
// line, and the edges of the Shift-JIS splitting.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

using ReaderRules = test::FreshModel;

// The kinds of the entities read so far, as list names joined by blanks.
std::string Kinds(const TDrawing& drawing) {
  static const char* const kNames[16] = {"?",   "Lin", "Cir", "Arc", "Txt", "Pnt", "PntEx", "Dim",
                                         "Blk", "Sl2", "Sl3", "Sl4", "Sc",  "Se",  "So",    "Sg"};
  std::string out;
  for (const TJwwEntRef& r : drawing.EntOrder)
    out += std::string(out.empty() ? "" : " ") + kNames[r.Kind];
  return out;
}

TEST_F(ReaderRules, EntityRulesAtTheirFieldCountBounds) {
  const struct {
    const char* Line;
    const char* Kinds;  // what the line adds; a line of four fields falls through to a segment
  } cases[] = {
      {"ci 1 2", ""},
      {"ci 1 2 3", "Cir"},
      {"ci 1 2 3 4", ""},
      {"ci 1 2 3 4 5 6", ""},
      {"ci 1 2 3 4 5 6 7", "Arc"},
      {"ci 1 2 3 4 5 6 7 8", "Arc"},
      {"pt 1", ""},
      {"pt 1 2", "Pnt"},
      {"pt 1 2 3", "Lin"},
      {"pt 1 2 3 4", ""},
      {"pt 1 2 3 4 5", "PntEx"},
      {"pt 1 2 3 4 5 6", "PntEx"},
      {"ch 1 2 3", "Lin"},
      {"ch 1 2 3 4", ""},
      {"ch 1 2 3 4 x", "Txt"},
      {"c2 1 2 3 4 x y", "Txt"},
      {"cs 1 2 3 4 x", "Txt"},
      {"cq 1 2 3 4 x", ""},
      {"BL 1 2", ""},
      {"BL 1 2 n", "Blk"},
      {"BL 1 2 n m", "Blk"},
      {"sl 1 2 3", "Lin"},
      {"sl 1 2 3 4", "Sl2"},
      {"sl 1 2 3 4 5", ""},
      {"sl 1 2 3 4 5 6", "Sl3"},
      {"sl 1 2 3 4 5 6 7", ""},
      {"sl 1 2 3 4 5 6 7 8", "Sl4"},
      {"sl 1 2 3 4 5 6 7 8 9", "Sl4"},
      {"sc 1 2 3", "Lin"},
      {"sc 1 2 3 4 5 6 7", ""},
      {"sc 1 2 3 4 5 6 7 8", "Sc"},
      {"se 1 2 3 4 5 6 7 8 9", "Se"},
      {"so 1 2 3 4 5 6 7", ""},
      {"so 1 2 3 4 5 6 7 8", "So"},
      {"sg 1 2 3 4 5 6 7 8", "Sg"},
      {"sx 1 2 3 4 5 6 7 8", ""},
      {"hp1 2", ""},
      {"hp1 2 3", ""},
      {"hp1 2 3 4", ""},
      {"hk 1 2 3", ""},
      {"hn 1 2 3", "Lin"},
      {"hn 1 2 3 4", ""},
      {"lc 1 2 3", ""},
      {"cn 1 2 3", ""},
      {"pn 1 2 3", ""},
      {"z1 1 2 3", ""},
      {"z6 1 2 3", "Lin"},
      {"msg 1 2 3", ""},
      {"1 2 3", ""},
      {"1 2 3 4", "Lin"},
      {"1 2 3 4 5", ""},
      {"1 2 3 4 ", ""},  // a blank at the end opens a fifth, empty field
  };
  for (const auto& c : cases) {
    Reset();
    reader.ParseLine(c.Line);
    EXPECT_EQ(Kinds(drawing), c.Kinds) << '"' << c.Line << '"';
  }
}

TEST_F(ReaderRules, HeaderRulesAtTheirFieldCountBounds) {
  std::string hs = "hs";
  for (int i = 1; i <= 15; ++i) hs += " " + std::to_string(i + 1);
  Parse({hs});  // 16 fields: one too few
  EXPECT_EQ(drawing.LayerGroupScale[0], 1.0);
  Parse({hs + " 17"});
  EXPECT_EQ(drawing.LayerGroupScale[0], 2.0);
  EXPECT_EQ(drawing.LayerGroupScale[15], 17.0);

  std::string hcw = "hcw";
  for (int i = 1; i <= 9; ++i) hcw += " " + std::to_string(i * 10);
  Parse({hcw});
  EXPECT_EQ(drawing.TextKinds[1].W, 3.0);
  Parse({hcw + " 100"});
  EXPECT_EQ(drawing.TextKinds[1].W, 10.0);
  EXPECT_EQ(drawing.TextKinds[10].W, 100.0);

  Parse({"hrgb 1 2 3 4 5 6 7"});
  EXPECT_EQ(drawing.HostRgb[0], 0);
  Parse({"hrgb 1 2 3 4 5 6 7 8"});
  EXPECT_EQ(drawing.HostRgb[0], 1);
  EXPECT_EQ(drawing.HostRgb[7], 8);

  Parse({"hzs 5", "hk"});
  EXPECT_EQ(drawing.PaperSizeX, 1189.0);
  EXPECT_EQ(drawing.HkValue, 0.0);
  Parse({"hzs 5 6", "hk 7", "hn 1 2 3 4"});
  EXPECT_EQ(drawing.PaperSizeY, 6.0);
  EXPECT_EQ(drawing.HkValue, 7.0);
  EXPECT_EQ(drawing.HnY2, 4.0);
}

TEST_F(ReaderRules, SolidReductionsTakeTheirStepsInOrder) {
  struct TCase {
    const char* Line;
    int Kind;
    std::vector<double> Corners;
  } cases[] = {
      {"sl 0 0 0 0 5 5", kKindSl2, {0, 0, 5, 5}},           // P1 = P2
      {"sl 0 0 5 5 5 5", kKindSl2, {0, 0, 5, 5}},           // P2 = P3
      {"sl 0 0 5 5 0 0", kKindSl3, {0, 0, 5, 5, 0, 0}},     // P1 = P3 is not tested
      {"sl 0 0 1e-10 -1e-10 5 5", kKindSl2, {0, 0, 5, 5}},  // within 1e-10
      {"sl 0 0 2e-10 0 5 5", kKindSl3, {0, 0, 2e-10, 0, 5, 5}},
      {"sl 0 0 0 0 0 0 5 5", kKindSl2, {0, 0, 5, 5}},        // 1: P1 = P2 = P3
      {"sl 0 0 5 5 5 5 5 5", kKindSl2, {0, 0, 5, 5}},        // 2 before 4
      {"sl 0 0 0 0 5 5 5 5", kKindSl2, {0, 0, 5, 5}},        // 3 before 4
      {"sl 0 0 5 0 5 5 0 0", kKindSl3, {0, 0, 5, 0, 5, 5}},  // 4: P4 = P1
      {"sl 0 0 5 0 0 0 5 0", kKindSl3, {0, 0, 5, 0, 0, 0}},  // 4 before 5
      {"sl 0 0 5 0 0 0 5 5", kKindSl3, {0, 0, 5, 0, 5, 5}},  // 5: P3 = P1
      {"sl 0 0 5 0 5 0 5 5", kKindSl3, {0, 0, 5, 0, 5, 5}},  // 5: P3 = P2
      {"sl 0 0 0 0 5 0 5 5", kKindSl3, {0, 0, 5, 0, 5, 5}},  // 6: P2 = P1
      {"sl 0 0 5 0 5 5 0 5", kKindSl4, {0, 0, 5, 0, 5, 5, 0, 5}},
  };
  for (const TCase& c : cases) {
    Reset();
    reader.ParseLine(c.Line);
    ASSERT_EQ(drawing.EntOrderCount(), 1) << c.Line;
    EXPECT_EQ(drawing.EntOrder[0].Kind, c.Kind) << c.Line;
    std::vector<double> got;
    if (drawing.Sl2Count())
      got = {drawing.Sl2List[0].X1, drawing.Sl2List[0].Y1, drawing.Sl2List[0].X2,
             drawing.Sl2List[0].Y2};
    if (drawing.Sl3Count())
      got = {drawing.Sl3List[0].X1, drawing.Sl3List[0].Y1, drawing.Sl3List[0].X2,
             drawing.Sl3List[0].Y2, drawing.Sl3List[0].X3, drawing.Sl3List[0].Y3};
    if (drawing.Sl4Count())
      got = {drawing.Sl4List[0].X1, drawing.Sl4List[0].Y1, drawing.Sl4List[0].X2,
             drawing.Sl4List[0].Y2, drawing.Sl4List[0].X3, drawing.Sl4List[0].Y3,
             drawing.Sl4List[0].X4, drawing.Sl4List[0].Y4};
    EXPECT_EQ(got, c.Corners) << c.Line;
  }
}

// Which lines end a polyline run: the attribute lines do, names, flags and points do not.
TEST_F(ReaderRules, EveryAttributeLineEndsAPolylineRun) {
  const struct {
    const char* Line;
    bool Ends;
  } cases[] = {{"lg1", true},   {"ly2", true},     {"lc3", true},      {"lt47", true},
               {"lw5", true},   {"cn$A", true},    {"cn2", true},      {"cc3", true},
               {"pn4", true},   {"#", true},       {"lgn a", false},   {"lyn b", false},
               {"z1", false},   {"hhp2", false},   {"hp3 1 1", false}, {"bz", false},
               {"hk 1", false}, {"1 1 2 2", false}};
  for (const auto& c : cases) {
    Reset();
    Parse({"pl", "0 0 1 1", c.Line, "0 0 2 2"});
    ASSERT_GE(drawing.LinCount(), 2) << c.Line;
    EXPECT_EQ(drawing.LinList[0].PlNo, 1) << c.Line;
    EXPECT_EQ(drawing.LinList[static_cast<std::size_t>(drawing.LinCount() - 1)].PlNo,
              c.Ends ? 0 : 1)
        << c.Line;
  }
}

TEST_F(ReaderRules, ResetRestoresEveryCurrentValueAndNothingElse) {
  Parse({"lg3", "ly4", "lc10 77", "lt48", "lw9", "cn0 5 6 7 8", "cc5", "cn$Font", "pn6", "pl", "z2",
         "hhp4", "msg", "1 2 3 4"});
  reader.ResetCurrentState();
  const TJwwReaderState start{};
  const TJwwReaderState& r = reader.State();
  EXPECT_EQ(r.CurGroup, start.CurGroup);
  EXPECT_EQ(r.CurLayer, start.CurLayer);
  EXPECT_EQ(r.CurColor, start.CurColor);
  EXPECT_EQ(r.CurLType, start.CurLType);
  EXPECT_EQ(r.CurLWidth, start.CurLWidth);
  EXPECT_EQ(r.CurTextKind, start.CurTextKind);
  EXPECT_EQ(r.FreeTextW, start.FreeTextW);
  EXPECT_EQ(r.FreeTextH, start.FreeTextH);
  EXPECT_EQ(r.FreeTextD, start.FreeTextD);
  EXPECT_EQ(r.FreeTextColor, start.FreeTextColor);
  EXPECT_EQ(r.CurBasePoint, start.CurBasePoint);
  EXPECT_EQ(r.CurFontName, kDefaultFontName);
  EXPECT_EQ(r.CurPointColor, 1);
  EXPECT_EQ(r.CurRgb, 0);
  EXPECT_TRUE(r.AwaitGroup && r.AwaitLayer && r.AwaitColor && r.AwaitLType && r.AwaitLWidth &&
              r.AwaitTextKind);
  // The model's values and the per-entity state stay.
  EXPECT_EQ(r.PlCount, 1);
  EXPECT_TRUE(r.InDimension);
  EXPECT_EQ(r.DimLine.X2, 3.0);
  EXPECT_EQ(r.FirstGroup, 3);
  EXPECT_EQ(r.FirstFontName, "Font");
}

TEST_F(ReaderRules, AGroupScaleOfZeroIsStoredAndDividesAsOne) {
  Parse({"hs 0 abc 2 2 2 2 2 2 2 2 2 2 2 2 2 2", "lg1", "4 6 8 10"});
  EXPECT_EQ(drawing.LayerGroupScale[0], 0.0);
  EXPECT_EQ(drawing.LayerGroupScale[1], 0.0);
  EXPECT_EQ(drawing.LayerGroupScale[2], 2.0);
  EXPECT_EQ(drawing.GroupScaleDivisor(drawing.LinList[0].Hdr), 1.0);
  TJwwEntHdr g2;
  g2.Group = 2;
  EXPECT_EQ(drawing.GroupScaleDivisor(g2), 2.0);
}

TEST_F(ReaderRules, ShiftJisEdgesOfTexts) {
  const struct {
    const char* Line;
    std::string Text;
  } cases[] = {
      {"ch 0 0 1 0 \"\x82", ""},  // a lone lead byte right after the quote
      {"ch 0 0 1 0 \"A\x82", "A"},
      {"ch 0 0 1 0 \"\x82\xA0", "\x82\xA0"},        // ends in a two-byte character
      {"ch 0 0 1 0 \"A \x82\x22", "A \x82\x22"},    // a quote as the trail byte stays
      {"ch 0 0 1 0 \x82\x20\x41", "\x82\x20\x41"},  // a blank as the trail byte splits nothing
      {"ch 0 0 1 0 \"a\tb\"c=d", "ab\"c=d"},
  };
  for (const auto& c : cases) {
    Reset();
    reader.ParseLine(c.Line);
    ASSERT_EQ(drawing.TxtCount(), 1) << c.Line;
    EXPECT_EQ(drawing.TxtList[0].Text, c.Text) << c.Line;
  }
}

}  // namespace
}  // namespace sxf
