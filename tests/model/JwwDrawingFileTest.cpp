// The drawing-file reader against the host's own files, against written files of every
// version and string form, and against damaged and hostile bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/BlockExpansion.h"
#include "model/JwwDrawingFile.h"
#include "model/ShiftJisFromUtf16.h"
#include "support/JwwFileWriter.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string RealFile(const std::string& name) {
  return std::string(SXF_TEST_DATA) + "/jww-blocks/" + name;
}

// The records of one list stay consistent whatever the bytes: the order list points into the
// lists, placements run beside the references, texts are cut as the text reader cuts them.
void ExpectConsistent(const TEntityLists& l, const std::vector<TBlockPlacement>& placements) {
  std::size_t total = 0;
  ForEachEntityList(l, [&](const char*, int, const auto& list) { total += list.size(); });
  ASSERT_EQ(total, l.EntOrder.size());
  ASSERT_EQ(placements.size(), l.BlkList.size());
  for (const TJwwEntRef& ref : l.EntOrder) {
    std::size_t size = 0;
    ForEachEntityList(l, [&](const char*, int kind, const auto& list) {
      if (kind == ref.Kind) size = list.size();
    });
    ASSERT_LT(static_cast<std::size_t>(ref.Index), size);
  }
  for (const TJwwEntTxt& t : l.TxtList) ASSERT_LE(t.Text.size(), 255u);
}

void ExpectConsistent(const TJwwDrawingFile& f) {
  ExpectConsistent(f.Top, f.TopPlacements);
  for (const TJwwBlockDef& def : f.Blocks) ExpectConsistent(def.Contents, def.Placements);
}

// ---- The host's files ----

struct TRealFile {
  const char* Name;
  int TopRecords;
  std::vector<int> BlockRecords;  // records directly inside each definition
};

class RealDrawingFile : public ::testing::TestWithParam<TRealFile> {};

TEST_P(RealDrawingFile, ReadsWithTheCountsTheHostSaved) {
  const TRealFile& row = GetParam();
  TJwwDrawingFile f;
  const TJwwFileLoad load = ReadJwwDrawingFile(RealFile(row.Name), f);
  ASSERT_TRUE(load.ReadToEnd) << load.Message;
  EXPECT_EQ(f.Version, 700);
  EXPECT_EQ(f.Top.EntOrderCount(), row.TopRecords);
  ASSERT_EQ(f.Blocks.size(), row.BlockRecords.size());
  for (std::size_t k = 0; k < f.Blocks.size(); ++k)
    EXPECT_EQ(f.Blocks[k].Contents.EntOrderCount(), row.BlockRecords[k]) << "block " << k;
  ExpectConsistent(f);
  // Every reference names its definition; the strings were UTF-16 and are Shift-JIS now.
  for (const TJwwEntBlk& b : f.Top.BlkList) EXPECT_FALSE(b.Name.empty());
  ASSERT_FALSE(f.Top.TxtList.empty());
  EXPECT_EQ(f.Top.TxtList[0].FontName, "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(f.LayerGroupScale[0], 50.0);
  ASSERT_EQ(f.LineTypes.size(), 33u);
  EXPECT_EQ(f.LineTypes[1].Name, "continuous");
  // Drawn, each reference adds its definition's records (none of these files nests).
  TEntityLists drawn;
  TBlockExpansion info;
  ASSERT_TRUE(ExpandBlocks(f, drawn, info)) << info.Message;
  std::size_t inside = 0;
  for (const TBlockPlacement& p : f.TopPlacements)
    for (const TJwwBlockDef& def : f.Blocks)
      if (def.Number == p.DefNumber) inside += def.Contents.EntOrder.size();
  EXPECT_EQ(info.FromBlocks, inside);
  EXPECT_EQ(drawn.EntOrder.size(), static_cast<std::size_t>(row.TopRecords) + inside);
}

INSTANTIATE_TEST_SUITE_P(HostFiles, RealDrawingFile,
                         ::testing::Values(TRealFile{"non_block.jww", 12, {}},
                                           TRealFile{"2-circles-blocks.jww", 11, {2}},
                                           TRealFile{"2blocks.jww", 8, {2, 2}},
                                           TRealFile{"3blocks.jww", 7, {6}},
                                           TRealFile{"copy-block.jww", 7, {8}},
                                           TRealFile{"out1_in2.jww", 8, {2}},
                                           TRealFile{"sqr-circle-blocks.jww", 8, {5}}),
                         [](const auto& row) {
                           std::string name = row.param.Name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// ---- Written files: every version and string form ----

// One record of each kind the reader makes, on assorted layers, and a nested block.
TJwwDrawingFile SampleDrawing(int version) {
  TJwwDrawingFile f;
  f.Memo = "memo";
  f.PaperSize = 3;
  f.WriteGroup = 2;
  for (std::size_t g = 0; g < 16; ++g) {
    f.LayerGroupScale[g] = 10.0 * static_cast<double>(g + 1);
    f.GroupState[g] = static_cast<int>(g % 4);
    f.GroupName[g] = "G" + std::to_string(g);
  }
  f.LayerName[2 * 16 + 5] = "walls";
  f.LayerState[2 * 16 + 5] = 3;
  for (std::size_t n = 1; n <= 10; ++n)
    f.TextKinds[n] = {2.0 + static_cast<double>(n), 3.0, 0.5, 1};
  if (version >= 420) {
    f.LineTypes.resize(kSxfLineTypeCount);
    f.LineTypes[17] = {"user1", 2, 0xF0F0F0F0u, {1.5, 0.5}};
  }
  const bool widths = version >= 351;
  const auto hdr = [&](int ltype, int color, int group, int layer) {
    return TJwwEntHdr{0, group, layer, color, ltype, widths ? 35 : 0, 0};
  };
  const auto add = [](TEntityLists& l, auto& list, int kind, auto record) {
    l.EntOrder.push_back({kind, static_cast<int>(list.size())});
    list.push_back(record);
  };
  TEntityLists& t = f.Top;
  add(t, t.LinList, kKindLin, TJwwEntLin{hdr(47, 2, 2, 5), 0, 1, 2, 3, 4});
  add(t, t.CirList, kKindCir, TJwwEntCir{hdr(62, 3, 1, 0), 5, 6, 7});
  add(t, t.ArcList, kKindArc, TJwwEntArc{hdr(50, 4, 0, 15), 1, 1, 3, 90, 180, 1, 0});
  add(t, t.ArcList, kKindArc, TJwwEntArc{hdr(1, 4, 0, 1), 1, 1, 3, 0, 360, 0.5, 90});
  TJwwEntTxt text{hdr(1, 5, 3, 3), 0, 0, 7, 1.5, 2.5, 0.25, 10, 20, 8, 6, "font", "hello"};
  add(t, t.TxtList, kKindTxt, text);
  text.TextCode = 1;  // vertical
  add(t, t.TxtList, kKindTxt, text);
  add(t, t.PntList, kKindPnt, TJwwEntPnt{hdr(1, 6, 0, 0), 3, 4});
  add(t, t.PntExList, kKindPntEx, TJwwEntPntEx{hdr(100, 6, 0, 0), 3, 4, 2, 90, 11});
  TJwwEntTxt dimText = text;
  dimText.TextCode = 2;
  add(t, t.DimList, kKindDim,
      TJwwEntDim{hdr(1, 2, 0, 0), TJwwEntLin{hdr(48, 2, 0, 0), 0, 0, 0, 10, 0}, dimText});
  add(t, t.Sl2List, kKindSl2, TJwwEntSl2{hdr(1, 10, 0, 0), 0x123456, 0, 0, 1, 1});
  add(t, t.Sl3List, kKindSl3, TJwwEntSl3{hdr(1, 2, 0, 0), 0, 0, 0, 1, 0, 1, 1});
  add(t, t.Sl4List, kKindSl4, TJwwEntSl4{hdr(1, 2, 0, 0), 0, 0, 0, 1, 0, 1, 1, 0, 1});
  add(t, t.ScList, kKindSc, TJwwEntSlArc{hdr(101, 2, 0, 0), 0, 0, 0, 5, 1, 0, 0, 3.14, 2});
  add(t, t.BlkList, kKindBlk, TJwwEntBlk{hdr(1, 2, 4, 0), 100, 200, "outer"});
  f.TopPlacements.push_back({2, 2, 0.5, 7});

  TJwwBlockDef inner{3, true, "inner", {}, {}};
  add(inner.Contents, inner.Contents.CirList, kKindCir, TJwwEntCir{hdr(1, 2, 0, 0), 1, 0, 1});
  TJwwBlockDef outer{7, true, "outer", {}, {}};
  add(outer.Contents, outer.Contents.LinList, kKindLin, TJwwEntLin{hdr(1, 2, 0, 0), 0, 0, 0, 1, 1});
  add(outer.Contents, outer.Contents.BlkList, kKindBlk, TJwwEntBlk{hdr(1, 2, 0, 0), 5, 5, "inner"});
  outer.Placements.push_back({1, -1, 0, 3});
  f.Blocks = {inner, outer};
  return f;
}

struct TVersionRow {
  int Version;
  bool Utf16;
};

class WrittenDrawingFile : public ::testing::TestWithParam<TVersionRow> {};

// Writing what was read gives the same bytes: no value the records hold is lost or moved.
TEST_P(WrittenDrawingFile, ReadsBackEveryRecordAndHeaderValue) {
  const test::TJwwWriteOptions options{GetParam().Version, GetParam().Utf16};
  const std::string bytes = test::WriteJwwFile(SampleDrawing(options.Version), options);
  TJwwDrawingFile f;
  const TJwwFileLoad load = ReadJwwDrawingBytes(bytes, f);
  ASSERT_TRUE(load.ReadToEnd) << load.Message;
  EXPECT_EQ(load.BytesRead, bytes.size());
  const std::string again = test::WriteJwwFile(f, options);
  const auto differ = std::mismatch(again.begin(), again.end(), bytes.begin(), bytes.end());
  EXPECT_EQ(differ.first, again.end())
      << "first differing byte " << (differ.first - again.begin()) << " of " << bytes.size();
  ExpectConsistent(f);
  // The mapping the interchange text has: a whole circle stays one, texts keep their kind
  // and vertical mark, references name their definitions.
  EXPECT_EQ(f.Top.CirCount(), 1);
  EXPECT_EQ(f.Top.TxtList[1].TextCode, 1);
  EXPECT_EQ(f.Top.TxtList[1].FontName, "font");
  EXPECT_EQ(f.Top.DimList[0].Text.TextCode, 2);
  EXPECT_EQ(f.Blocks[1].Contents.BlkList[0].Name, "inner");
  EXPECT_EQ(f.LineTypes.size(), options.Version >= 420 ? 33u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Versions, WrittenDrawingFile,
                         ::testing::Values(TVersionRow{300, false}, TVersionRow{351, false},
                                           TVersionRow{420, false}, TVersionRow{600, false},
                                           TVersionRow{700, false}, TVersionRow{700, true}));

// Past 0x7FFF numbers a class is named by a 32-bit tag; the block list then names the class
// the drawing's list introduced after them.
TEST(DrawingFile, ClassesNumberedPastTheShortTagsStillResolve) {
  TJwwDrawingFile f;
  for (int k = 0; k < 0x4000; ++k) {
    f.Top.EntOrder.push_back({kKindLin, k});
    f.Top.LinList.push_back({});
  }
  f.Top.EntOrder.push_back({kKindCir, 0});
  f.Top.CirList.push_back({});
  TJwwBlockDef def{1, false, "b", {}, {}};
  def.Contents.EntOrder = {{kKindCir, 0}, {kKindLin, 0}};
  def.Contents.CirList.resize(1);
  def.Contents.LinList.resize(1);
  f.Blocks.push_back(def);
  const std::string bytes = test::WriteJwwFile(f);
  TJwwDrawingFile back;
  const TJwwFileLoad load = ReadJwwDrawingBytes(bytes, back);
  ASSERT_TRUE(load.ReadToEnd) << load.Message;
  EXPECT_EQ(back.Blocks[0].Contents.EntOrderCount(), 2);
}

// ---- Damaged and hostile bytes ----

// Cut anywhere, a file reads as far as it goes: a clear failure, never more records than the
// whole file has, and a longer piece never gives fewer.
TEST(DrawingFile, TruncatedAnywhereKeepsWhatWasRead) {
  for (const std::string& bytes :
       {ReadBytes(RealFile("2blocks.jww")), test::WriteJwwFile(SampleDrawing(700))}) {
    TJwwDrawingFile whole;
    ASSERT_TRUE(ReadJwwDrawingBytes(bytes, whole).ReadToEnd);
    int before = 0;
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
      TJwwDrawingFile f;
      const TJwwFileLoad load = ReadJwwDrawingBytes(std::string_view(bytes).substr(0, cut), f);
      ASSERT_FALSE(load.ReadToEnd) << cut;
      ASSERT_NE(load.Problem, TJwwFileProblem::None);
      ASSERT_LE(load.BytesRead, cut);
      ASSERT_FALSE(load.Message.empty());
      ExpectConsistent(f);
      const int read = f.Top.EntOrderCount();
      ASSERT_LE(read, whole.Top.EntOrderCount());
      ASSERT_GE(read, before) << cut;
      before = read;
    }
  }
}

TEST(DrawingFile, BitFlipsNeverBreakTheRecords) {
  const std::string bytes = ReadBytes(RealFile("2blocks.jww"));
  for (std::size_t at = 8; at < bytes.size(); at += 3) {
    std::string flipped = bytes;
    flipped[at] = static_cast<char>(flipped[at] ^ (1 << (at % 8)));
    TJwwDrawingFile f;
    const TJwwFileLoad load = ReadJwwDrawingBytes(flipped, f);
    ASSERT_EQ(load.ReadToEnd, load.Problem == TJwwFileProblem::None);
    ExpectConsistent(f);
  }
}

// The header of an empty drawing, up to where its entity list begins.
std::string HeaderOnly() {
  const std::string empty = test::WriteJwwFile(TJwwDrawingFile{});
  return empty.substr(0, empty.size() - 8);  // two empty lists and no pictures
}

struct THostileRow {
  const char* Name;
  std::string Bytes;
  TJwwFileProblem Problem;
  const char* Says;
};

class HostileDrawingFile : public ::testing::TestWithParam<THostileRow> {};

TEST_P(HostileDrawingFile, FailsSayingWhatAndWhere) {
  TJwwDrawingFile f;
  const TJwwFileLoad load = ReadJwwDrawingBytes(GetParam().Bytes, f);
  EXPECT_FALSE(load.ReadToEnd);
  EXPECT_EQ(load.Problem, GetParam().Problem);
  EXPECT_NE(load.Message.find(GetParam().Says), std::string::npos) << load.Message;
  EXPECT_NE(load.Message.find("at byte 0x"), std::string::npos) << load.Message;
}

const std::string kNewLine =
    std::string("\xFF\xFF\xBC\x02\x08\x00", 6) + "CDataSen" + std::string(13 + 2 + 32, '\0');

INSTANTIATE_TEST_SUITE_P(
    Bytes, HostileDrawingFile,
    ::testing::Values(
        THostileRow{"NoSignature", "JwsData.\xbc\x02\0\0", TJwwFileProblem::NotADrawing,
                    "signature"},
        THostileRow{"FutureVersion", std::string("JwwData.\x10\x27\0\0", 12),
                    TJwwFileProblem::UnknownVersion, "version 10000"},
        THostileRow{"CountBeyondTheBytes",
                    HeaderOnly() + std::string("\xFF\xFF\xF0\xFF\xFF\x0F", 6),
                    TJwwFileProblem::BadValue, "more than"},
        THostileRow{"ClassIndexOutOfRange",
                    HeaderOnly() + std::string("\x01\x00\x63\x80", 4) + std::string(32, '\0'),
                    TJwwFileProblem::BadClass, "entity 1 of 1 at byte"},
        THostileRow{
            "ObjectStoredTwice",
            HeaderOnly() + std::string("\x02\x00", 2) + kNewLine + std::string("\x02\x00", 2),
            TJwwFileProblem::BadReference, "entity 2 of 2"},
        THostileRow{"UnknownClass",
                    HeaderOnly() + std::string("\x01\x00\xFF\xFF\xBC\x02\x05\x00", 8) + "CEvil" +
                        std::string(32, '\0'),
                    TJwwFileProblem::BadClass, "unknown class \"CEvil\""},
        THostileRow{"BlockDefinitionAmongEntities",
                    HeaderOnly() + std::string("\x01\x00\xFF\xFF\xBC\x02\x09\x00", 8) +
                        "CDataList" + std::string(32, '\0'),
                    TJwwFileProblem::BadClass, "block definition among entities"},
        THostileRow{"StringLongerThanTheFile",
                    "JwwData." + std::string("\xbc\x02\0\0\xff\x00\x10", 7),
                    TJwwFileProblem::Truncated, "string of 4096 bytes"}),
    [](const auto& row) { return std::string(row.param.Name); });

// ---- UTF-16 to Shift-JIS ----

TEST(ShiftJisFromUtf16, ConvertsAsWindowsWritesCodePage932) {
  struct TRow {
    std::u16string Utf16;
    std::string ShiftJis;
  };
  const TRow rows[] = {
      {u"A~\\", "A~\\"},
      {u"\u3042\uFF71", "\x82\xA0\xB1"},      // あ, half-width ｱ
      {u"\u2252\uFFE2", "\x81\xE0\x81\xCA"},  // ≒ ¬: the JIS codes, not the NEC or IBM ones
      {u"\u2170\u2160", "\xFA\x40\x87\x54"},  // ⅰ from the IBM rows, Ⅰ from the NEC row
      {u"\U0001F600\u00E9", "??"},            // beyond the code page
      {std::u16string(1, u'\xD800') + u"x", "?x"},  // a lone surrogate
  };
  for (const TRow& row : rows) {
    std::string units;
    for (char16_t c : row.Utf16) {
      units += static_cast<char>(c & 0xFF);
      units += static_cast<char>(c >> 8);
    }
    std::string out;
    AppendShiftJisFromUtf16Le(reinterpret_cast<const unsigned char*>(units.data()),
                              row.Utf16.size(), out);
    EXPECT_EQ(out, row.ShiftJis);
  }
}

}  // namespace
}  // namespace sxf
