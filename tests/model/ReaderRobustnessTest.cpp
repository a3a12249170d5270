// The reader takes any bytes: nothing may crash, hang or trip the sanitizers, and what it
// makes of hostile input stays consistent with the order list.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

// Every order entry points at an existing record, the counts add up, and the reader's current
// layer is a layer.
void ExpectConsistentModel(TJwcReader& reader) {
  const TDrawing& drawing = reader.Drawing();
  ASSERT_EQ(static_cast<std::size_t>(drawing.EntOrderCount()), drawing.EntOrder.size());
  int sizes[16] = {};
  ForEachEntityList(drawing, [&sizes](const char*, int kind, const auto& list) {
    sizes[kind] = TEntityLists::Count(list);
  });
  int total = 0;
  for (int k = 1; k <= 15; ++k) total += sizes[k];
  EXPECT_EQ(total, drawing.EntOrderCount());
  for (const TJwwEntRef& ref : drawing.EntOrder) {
    ASSERT_GE(ref.Kind, 1);
    ASSERT_LE(ref.Kind, 15);
    ASSERT_GE(ref.Index, 0);
    ASSERT_LT(ref.Index, sizes[ref.Kind]);
  }
  for (const TJwwEntTxt& t : drawing.TxtList) {
    EXPECT_LE(t.Text.size(), 255u);
    EXPECT_LE(t.FontName.size(), 255u);
  }
  EXPECT_GE(reader.State().CurGroup, 0);
  EXPECT_LE(reader.State().CurGroup, 15);
  EXPECT_GE(reader.State().CurLayer, 0);
  EXPECT_LE(reader.State().CurLayer, 15);
}

std::string RandomBytes(std::mt19937& rng, std::size_t n, std::string_view alphabet = {}) {
  std::string s(n, '\0');
  for (char& c : s) {
    if (alphabet.empty())
      c = static_cast<char>(rng() & 0xFF);
    else
      c = alphabet[rng() % alphabet.size()];
  }
  return s;
}

TEST(ReaderRobustness, RandomBytesAndRandomKeyedLines) {
  std::mt19937 rng(12345);
  // Lines built from the reader's own vocabulary reach deep into the rules.
  const char* keys[] = {"hk",    "hs",  "hzs",    "hcw",  "hcc",  "bz",     "hn",     "hrgb", "lgn",
                        "lyn",   "lgF", "ly",     "lc10", "lt47", "lw",     "cn$",    "cn0",  "cc8",
                        "z3",    "pn",  "pl",     "msg",  "#",    "hp12ci", "hhp3ln", "ci",   "ch",
                        "cs",    "cv",  "pt",     "BL",   "sl",   "sc",     "se",     "so",   "sg",
                        "file=", "0",   "-1e308", "\x82", "\"",   "="};
  for (int round = 0; round < 40; ++round) {
    std::string text;
    for (int line = 0; line < 400; ++line) {
      const int fields = static_cast<int>(rng() % 12);
      text += keys[rng() % std::size(keys)];
      for (int f = 0; f < fields; ++f) {
        text += (rng() % 5 == 0) ? "\t" : " ";
        text += (rng() % 3 == 0) ? RandomBytes(rng, rng() % 6)
                                 : std::to_string(static_cast<int>(rng() % 200) - 100);
      }
      text += (rng() % 3 == 0) ? "\r" : "\r\n";
    }
    text += RandomBytes(rng, 2000);
    const std::string path = test::WriteTempFile(text);
    TJwcReader reader;
    EXPECT_TRUE(reader.ReadFile(path).ReadToEnd);
    ExpectConsistentModel(reader);
    std::filesystem::remove(path);
  }
}

TEST(ReaderRobustness, NulBytesLoneLeadBytesAndTruncatedFiles) {
  const std::string lines[] = {
      std::string("0 0\0 1 1", 8),
      std::string("\0\0\0\0", 4),
      "\x82",
      "\x82\x82\x82",
      "ch 0 0 1 0 \"\x82",
      "lg\x82\xA0",
      "cc\x82\xA0",
      "hp\x82\xA0 1 1",
      "msg",
      "ci 1 2",
  };
  TJwcReader reader;
  for (const std::string& l : lines) reader.ParseLine(l);
  ExpectConsistentModel(reader);
  EXPECT_EQ(reader.Drawing().LinCount(),
            1);  // the NUL is dropped: "0 0\0 1 1" still has four fields
}

TEST(ReaderRobustness, TruncatedFilesKeepWhatTheyHold) {
  const char* samples = std::getenv("SXF_SAMPLES");
  ASSERT_NE(samples, nullptr);
  std::ifstream in(std::string(samples) + "/floor-plan/JWC_TEMP.TXT", std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 1000u);
  const TJwcLoad load = ReadJwcTempFile(std::string(samples) + "/floor-plan/JWC_TEMP.TXT");
  ASSERT_TRUE(load.Result.ReadToEnd);
  const int complete = load.Drawing.EntOrderCount();
  int atPreviousLineEnd = 0;
  for (std::size_t cut = 0; cut <= whole.size(); cut += 3) {
    const std::string path = test::WriteTempFile(std::string_view(whole).substr(0, cut));
    TJwcReader reader;
    EXPECT_TRUE(reader.ReadFile(path).ReadToEnd);
    ExpectConsistentModel(reader);
    const int count = reader.Drawing().EntOrderCount();
    // Only the cut line can read differently from its whole self: at most one entity more.
    EXPECT_LE(count, complete + 1);
    if (cut >= 2 && whole.compare(cut - 2, 2, "\r\n") == 0) {
      // Cut at a line end: whole lines only, and never fewer entities than before.
      EXPECT_GE(count, atPreviousLineEnd);
      atPreviousLineEnd = count;
    }
    std::filesystem::remove(path);
  }
}

TEST(ReaderRobustness, HugeLinesAndManyFields) {
  TJwcReader reader;
  const TDrawing& drawing = reader.Drawing();
  std::string longLine(1000000, 'x');
  reader.ParseLine(longLine);
  std::string longText = "ch 0 0 1 0 \"" + std::string(1000000, '\x82');  // lead bytes only
  reader.ParseLine(longText);
  std::string manyFields = "sl";
  for (int i = 0; i < 5000; ++i) manyFields += " " + std::to_string(i % 7);
  reader.ParseLine(manyFields);
  std::string manyNames = "lgn";
  for (int i = 0; i < 5000; ++i) manyNames += " n";
  reader.ParseLine(manyNames);
  ExpectConsistentModel(reader);
  ASSERT_EQ(drawing.TxtCount(), 1);
  EXPECT_EQ(drawing.TxtList[0].Text.size(), 255u);
  EXPECT_EQ(drawing.Sl4Count() + drawing.Sl3Count() + drawing.Sl2Count(), 1);
  EXPECT_EQ(drawing.GroupName[0].size(), 399u * 2);  // 399 further fields, each " n"

  // The same through a file, with a line that straddles the read buffer's end.
  std::string text = "file=" + std::string(1500000, 'p') + "\r\n";  // cut at 1 MiB
  for (int i = 0; i < 100000; ++i) text += std::to_string(i) + " 0 0 1\r\n";
  const std::string path = test::WriteTempFile(text);
  const TJwcLoad load = ReadJwcTempFile(path);
  EXPECT_TRUE(load.Result.ReadToEnd);
  EXPECT_EQ(load.Drawing.JwwFileName.size(), kMaxJwcLineBytes - 5);
  ASSERT_EQ(load.Drawing.LinCount(), 100000);
  for (int i = 0; i < load.Drawing.LinCount(); ++i)
    ASSERT_EQ(load.Drawing.LinList[static_cast<std::size_t>(i)].X1, i);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace sxf
