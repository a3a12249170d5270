// The reader's one-pass path (the line end and the fields found together, fields as views
// into the line, lists given their room ahead) against the plain one: every line split off
// on its own, every field copied. Both must leave the same model, field for field and bit
// for bit.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

// The whole model as text, doubles as their bit patterns.
class TSnapshot {
 public:
  std::string Take(const TDrawing& drawing, const TJwwReaderState& r) {
    s_.clear();
    for (const TJwwEntRef& e : drawing.EntOrder) Row(e.Kind, e.Index);
    Row(drawing.EntOrderCount(), static_cast<int>(drawing.EntOrder.size()));
    for (const auto& e : drawing.LinList) Lin(e);
    for (const auto& e : drawing.CirList) Row(e.Hdr, e.Cx, e.Cy, e.R);
    for (const auto& e : drawing.ArcList)
      Row(e.Hdr, e.Cx, e.Cy, e.R, e.StartAngle, e.EndAngle, e.Flatness, e.Tilt);
    for (const auto& e : drawing.TxtList) Txt(e);
    for (const auto& e : drawing.PntList) Row(e.Hdr, e.X, e.Y);
    for (const auto& e : drawing.PntExList) Row(e.Hdr, e.X, e.Y, e.Scale, e.Angle, e.Code);
    for (const auto& e : drawing.DimList) {
      Row(e.Hdr);
      Lin(e.Line);
      Txt(e.Text);
    }
    for (const auto& e : drawing.BlkList) Row(e.Hdr, e.X, e.Y, e.Name);
    for (const auto& e : drawing.Sl2List) Row(e.Hdr, e.Rgb, e.X1, e.Y1, e.X2, e.Y2);
    for (const auto& e : drawing.Sl3List) Row(e.Hdr, e.Rgb, e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3);
    for (const auto& e : drawing.Sl4List)
      Row(e.Hdr, e.Rgb, e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3, e.X4, e.Y4);
    for (const auto* list : {&drawing.ScList, &drawing.SeList})
      for (const auto& e : *list)
        Row(e.Hdr, e.Rgb, e.Cx, e.Cy, e.R, e.Flatness, e.Tilt, e.StartAngle, e.SweepAngle,
            e.ArcMode);
    for (const auto* list : {&drawing.SoList, &drawing.SgList})
      for (const auto& e : *list)
        Row(e.Hdr, e.Rgb, e.Cx, e.Cy, e.R, e.Flatness, e.Tilt, e.StartAngle, e.SweepAngle, e.R2);
    Row(drawing.LinCount(), drawing.CirCount(), drawing.ArcCount(), drawing.TxtCount(),
        drawing.PntCount(), drawing.PntExCount(), drawing.DimCount(), drawing.BlkCount(),
        drawing.Sl2Count(), drawing.Sl3Count(), drawing.Sl4Count(), drawing.ScCount(),
        drawing.SeCount(), drawing.SoCount(), drawing.SgCount(), drawing.HpCount);
    Row(drawing.JwwFileName, drawing.NoGroupScale, drawing.PaperSizeX, drawing.PaperSizeY,
        drawing.HkValue, drawing.HnX1, drawing.HnY1, drawing.HnX2, drawing.HnY2);
    for (double v : drawing.LayerGroupScale) Row(v);
    for (const TJwwTextKind& k : drawing.TextKinds) Row(k.W, k.H, k.D, k.Color);
    for (int v : drawing.HostRgb) Row(v);
    for (std::size_t g = 0; g < drawing.GroupState.size(); ++g)
      Row(drawing.GroupState[g], drawing.GroupName[g]);
    for (std::size_t l = 0; l < drawing.LayerState.size(); ++l)
      Row(drawing.LayerState[l], drawing.LayerName[l]);
    for (const TJwwHp& hp : drawing.HpList) Row(hp.Used, hp.X, hp.Y, hp.Kind);
    Row(r.CurGroup, r.CurLayer, r.CurColor, r.CurLType, r.CurLWidth, r.CurTextKind, r.FreeTextW,
        r.FreeTextH, r.FreeTextD, r.FreeTextColor, r.CurBasePoint, r.CurFontName, r.CurPointColor,
        r.CurRgb, r.CurHp, r.CurZFlags, r.PlCount, r.InPolyline, r.InDimension);
    Lin(r.DimLine);
    Row(r.FirstGroup, r.FirstLayer, r.FirstColor, r.FirstLType, r.FirstLWidth, r.FirstTextKind,
        r.FirstFreeTextW, r.FirstFreeTextH, r.FirstFreeTextD, r.FirstFreeTextColor, r.FirstFontName,
        r.WidthGiven, r.AwaitGroup, r.AwaitLayer, r.AwaitColor, r.AwaitLType, r.AwaitLWidth,
        r.AwaitTextKind);
    return s_;
  }

 private:
  void Put(int v) { s_ += std::to_string(v) + ' '; }
  void Put(bool v) { s_ += v ? "T " : "F "; }
  void Put(double v) {
    char b[24];
    std::snprintf(b, sizeof b, "%016llx ",
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v)));
    s_ += b;
  }
  void Put(const std::string& v) { s_ += '"' + v + "\" "; }
  void Put(const TJwwEntHdr& h) {
    for (int v : {h.HpNo, h.Group, h.Layer, h.Color, h.LType, h.LWidth, h.ZFlags}) Put(v);
  }
  template <typename... T>
  void Row(const T&... fields) {
    (Put(fields), ...);
    s_ += '\n';
  }
  void Lin(const TJwwEntLin& e) { Row(e.Hdr, e.PlNo, e.X1, e.Y1, e.X2, e.Y2); }
  void Txt(const TJwwEntTxt& e) {
    Row(e.Hdr, e.TextCode, e.BasePoint, e.TextKind, e.W, e.H, e.D, e.X, e.Y, e.DirX, e.DirY,
        e.FontName, e.Text);
  }

  std::string s_;
};

// The plain path: CR LF, LF and a lone CR end a line, each line cut to maxLine bytes, every
// line's fields copied.
std::string ReadThePlainWay(TJwcReader& reader, std::string_view text, std::size_t maxLine) {
  TJwwFields fields;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    fields.SplitCopying(text.substr(at, std::min(end - at, maxLine)));
    reader.ParseFields(fields);
    at = end + 1;
    if (end < text.size() && text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
  }
  return TSnapshot().Take(reader.Drawing(), reader.State());
}

std::string ReadFromFile(const std::string& path, std::size_t maxLine) {
  TJwcReader reader;
  TJwcReadLimits limits;
  limits.MaxLineBytes = maxLine;
  EXPECT_TRUE(reader.ReadFile(path, limits).ReadToEnd);
  return TSnapshot().Take(reader.Drawing(), reader.State());
}

std::string ReadFromMemory(std::string_view text, std::size_t maxLine) {
  TJwcReader reader;
  reader.ParseText(text, maxLine);
  return TSnapshot().Take(reader.Drawing(), reader.State());
}

// Drawings of 3 MB, so that the lists get their room from the share read after the first
// megabyte, at the program's line bound and at small ones that cut many lines.
TEST(ReaderPaths, FilesReadAsTheirLinesReadOneByOne) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    const std::string text = test::RandomDrawingText(seed, 3u << 20);
    const std::string path = test::WriteTempFile(text);
    for (std::size_t maxLine : {kMaxJwcLineBytes, std::size_t{64}, std::size_t{17}}) {
      TJwcReader plainReader;
      const std::string plain = ReadThePlainWay(plainReader, text, maxLine);
      if (maxLine == kMaxJwcLineBytes) { ASSERT_GT(plainReader.Drawing().EntOrderCount(), 10000); }
      EXPECT_TRUE(plain == ReadFromFile(path, maxLine)) << "seed " << seed << " bound " << maxLine;
      EXPECT_TRUE(plain == ReadFromMemory(text, maxLine))
          << "seed " << seed << " bound " << maxLine;
    }
    std::filesystem::remove(path);
  }
}

// Random lines of the bytes that matter to the splitter: every way of splitting a line gives
// the fields of the copying split, and the line ends where the first CR or LF is.
TEST(ReaderPaths, EverySplitGivesTheCopyingSplitsFields) {
  static const char kBytes[] = {'1',    '.',    'a',    ' ',    ' ',    '\t',   '"',
                                '=',    '\x82', '\xE0', '\xB1', '\x01', '\x7f', '\xfe',
                                '\xff', '\r',   '\n',   '\0',   '-',    'e'};
  std::mt19937 rng(11);
  TJwwFields copied, viewed, toEnd;
  const auto same = [](const TJwwFields& a, const TJwwFields& b) {
    if (a.Count() != b.Count()) return false;
    for (int k = 0; k < a.Count(); ++k)
      if (a[k] != b[k]) return false;
    return true;
  };
  for (int n = 0; n < 200000; ++n) {
    std::string line;
    const auto length = static_cast<unsigned>(rng() % 40);
    for (unsigned k = 0; k < length; ++k)
      line += rng() % 3 ? "12 .5e-3"[rng() % 8] : kBytes[rng() % sizeof kBytes];
    copied.SplitCopying(line);
    viewed.Split(line);
    ASSERT_TRUE(same(copied, viewed)) << n;

    const char* const limit = line.data() + rng() % (line.size() + 1);
    const char* const lineEnd = toEnd.SplitToLineEnd(line.data(), limit);
    const std::size_t firstEnd =
        std::string_view(line.data(), static_cast<std::size_t>(limit - line.data()))
            .find_first_of("\r\n");
    const std::size_t expected = firstEnd == std::string_view::npos
                                     ? static_cast<std::size_t>(limit - line.data())
                                     : firstEnd;
    ASSERT_EQ(static_cast<std::size_t>(lineEnd - line.data()), expected) << n;
    copied.SplitCopying(std::string_view(line.data(), expected));
    ASSERT_TRUE(same(copied, toEnd)) << n;
  }
  // More than 400 fields: the rest is dropped on every path, and the line still ends at its end.
  std::string many;
  for (int k = 0; k < 450; ++k) many += "7 ";
  many += "\r\nnext";
  const char* const lineEnd = toEnd.SplitToLineEnd(many.data(), many.data() + many.size());
  EXPECT_EQ(std::string_view(lineEnd, 2), "\r\n");
  EXPECT_EQ(toEnd.Count(), kMaxJwwFields);
}

}  // namespace
}  // namespace sxf
