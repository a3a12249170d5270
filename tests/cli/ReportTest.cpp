#include "cli/Report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/JsonWriter.h"
#include "DrawingGenerator.h"
#include "cli/ReportOptions.h"
#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"
#include "globals/UnitGval.h"
#include "preview/PreviewPicture.h"
#include "search/Extents.h"
#include "search/LineTypeTally.h"

namespace sxf {
namespace {

using ReportTest = test::FreshModel;

TEST(FormatDouble, ShortestRoundTripWithAPoint) {
  EXPECT_EQ(FormatDouble(5.0), "5.0");
  EXPECT_EQ(FormatDouble(-0.1), "-0.1");
  EXPECT_EQ(FormatDouble(1e21), "1e+21");
  EXPECT_EQ(FormatDouble(0.30000000000000004), "0.30000000000000004");
  std::string out;
  TJsonWriter j(out);
  j.BeginArray();
  j.Double(std::numeric_limits<double>::infinity());
  j.String("a\"b\\c\x01");
  // Control bytes at the edges of their range: the first and the last are escaped, a blank
  // and DEL are not.
  j.String(std::string("\x00\x1f\x20\x7f\n", 5));
  j.EndArray();
  EXPECT_EQ(out, "[null,\"a\\\"b\\\\c\\u0001\",\"\\u0000\\u001f \x7f\\n\"]");
}

TEST_F(ReportTest, JsonHasFileCountsTallyAndEntities) {
  Parse({"file=C:\\\x90\x7D\x96\xCA\\a.jww", "lt47", "0 0 1 1", "lc10 255", "sl 0 0 1 1", "msg",
         "0 0 4 0", "cs 2 0 1 0 \"\x87\x40"});
  const std::string json = FormatReportJson(drawing, BuildTallyGrid(drawing), {true, true});
  EXPECT_NE(json.find("\"file\":\"C:\\\\図面\\\\a.jww\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"read_to_end\":true"), std::string::npos);
  EXPECT_NE(json.find("\"counts\":{\"Lin\":1,\"Cir\":0,"), std::string::npos);
  EXPECT_NE(json.find("\"EntOrder\":3}"), std::string::npos);
  EXPECT_NE(json.find("[\"No.\",\"線分\",\"円\",\"円弧\",\"楕円\",\"楕円弧\",\"寸法線\",\"計\"]"),
            std::string::npos);
  EXPECT_NE(json.find("[\"17\",\"1\",\"\",\"\",\"\",\"\",\"1\",\"2\"]"), std::string::npos) << json;
  EXPECT_NE(json.find("{\"list\":\"Lin\",\"index\":0,\"HpNo\":0,\"Group\":0,\"Layer\":0,"
                      "\"Color\":1,\"LType\":47,\"LWidth\":0,\"ZFlags\":0,\"PlNo\":0,"
                      "\"X1\":0.0,\"Y1\":0.0,\"X2\":1.0,\"Y2\":1.0}"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"list\":\"Sl2\",\"index\":0"), std::string::npos);
  EXPECT_NE(json.find("\"Rgb\":255"), std::string::npos);
  EXPECT_NE(json.find("\"Line\":{\"HpNo\":0"), std::string::npos);
  EXPECT_NE(json.find("\"Text\":\"①\""), std::string::npos);
  EXPECT_NE(json.find("\"FontName\":\"<ＭＳ ゴシック>\""), std::string::npos);
}

TEST_F(ReportTest, TextAndCsvShowTheGridCells) {
  Parse({"lt62", "0 0 1 1"});
  const TTallyGrid grid = BuildTallyGrid(drawing);
  const std::string csv = FormatTallyCsv(grid);
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "No.,線分,円,円弧,楕円,楕円弧,寸法線,計");
  EXPECT_NE(csv.find("\n32,1,,,,,,1\n"), std::string::npos);
  EXPECT_NE(csv.find("\n計,1,0,0,0,0,0,1\n"), std::string::npos);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 18);

  const std::string text = FormatTallyText(grid);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 18);
  EXPECT_NE(text.find("No.  線分  円  円弧  楕円  楕円弧  寸法線  計"), std::string::npos) << text;
  EXPECT_NE(text.find("\n32      1"), std::string::npos) << text;
}

// Option values are plain decimal numbers; the tolerant drawing conversions ("$10" is 16)
// must not reach them.
TEST(ReportOptions, PictureSizeIsTwoPlainDecimalNumbers) {
  struct TCase {
    const char* Text;
    int Width, Height;  // 0: a usage error
  } cases[] = {{"800x600", 800, 600}, {"1x1", 1, 1},      {"16384x16384", 16384, 16384},
               {"007x8", 7, 8},       {"$10x$10", 0, 0},  {"0x10x10", 0, 0},
               {"x10x10", 0, 0},      {"10x", 0, 0},      {"x10", 0, 0},
               {" 10x10", 0, 0},      {"10 x10", 0, 0},   {"+10x10", 0, 0},
               {"-10x10", 0, 0},      {"1e2x10", 0, 0},   {"10.0x10", 0, 0},
               {"0x10", 0, 0},        {"16385x10", 0, 0}, {"10x4294967306", 0, 0},
               {"10X10", 0, 0},       {"", 0, 0}};
  for (const TCase& c : cases) {
    const auto size = ParsePictureSize(c.Text);
    if (c.Width == 0) {
      EXPECT_FALSE(size.has_value()) << c.Text;
    } else {
      ASSERT_TRUE(size.has_value()) << c.Text;
      EXPECT_EQ(size->Width, c.Width) << c.Text;
      EXPECT_EQ(size->Height, c.Height) << c.Text;
    }
  }
}

// The CSV quoting rule cell by cell: a cell is quoted when it holds a comma, a quote or a line
// end, and a quote inside it is doubled; the text report writes the name as it stands.
TEST_F(ReportTest, CsvQuotesACellOnlyWhereItMust) {
  const struct {
    const char* Name;
    const char* Cell;
  } cases[] = {
      {"Walls", "Walls"},   {"a\"b", "\"a\"\"b\""}, {"\"", "\"\"\"\""},   {"a,b", "\"a,b\""},
      {"a\rb", "\"a\rb\""}, {"a\nb", "\"a\nb\""},   {"a b;c'", "a b;c'"}, {"", ""}};
  for (const auto& c : cases) {
    Reset();
    Parse({"ly3", "lt47", "0 0 10 0"});
    drawing.LayerName[3] = c.Name;
    EXPECT_NE(
        FormatMarksCsv(drawing).find("\n17,線分,0,,3," + std::string(c.Cell) + ",5,0,5,0,Lin,0\n"),
        std::string::npos)
        << c.Name;
    EXPECT_NE(
        FormatLayerTalliesCsv(drawing).find("\n0,,3," + std::string(c.Cell) + ",17,1,,,,,,1\n"),
        std::string::npos)
        << c.Name;
    if (*c.Name != '\0') {
      EXPECT_NE(FormatMarksText(drawing).find(" /" + std::string(c.Name) + "  file (5, 0)"),
                std::string::npos)
          << c.Name;
    }
  }
}

// Every kind has its own words: the grid's kind word and the list name of a mark, the list
// name of every record in "entities", and the key of every list in "counts".
TEST_F(ReportTest, EveryKindHasItsListNameAndWord) {
  const struct {
    int Kind;
    const char* Name;
  } names[] = {{kKindLin, "Lin"}, {kKindCir, "Cir"}, {kKindArc, "Arc"},
               {kKindTxt, "Txt"}, {kKindPnt, "Pnt"}, {kKindPntEx, "PntEx"},
               {kKindDim, "Dim"}, {kKindBlk, "Blk"}, {kKindSl2, "Sl2"},
               {kKindSl3, "Sl3"}, {kKindSl4, "Sl4"}, {kKindSc, "Sc"},
               {kKindSe, "Se"},   {kKindSo, "So"},   {kKindSg, "Sg"},
               {0, "?"},          {16, "?"},         {-1, "?"}};
  for (const auto& n : names) EXPECT_STREQ(KindListName(n.Kind), n.Name) << n.Kind;

  // The random text holds every kind but dimensions: one is added at its end.
  reader.ParseText(test::RandomDrawingText(11, 300000) + "msg\r\n2 2 12 2\r\ncs 5 3 1 0 \"10\r\n");
  reader.ResetCurrentState();
  const std::string json = FormatReportJson(drawing, BuildTallyGrid(drawing), {true, true});
  const int counts[] = {drawing.LinCount(), drawing.CirCount(), drawing.ArcCount(),
                        drawing.TxtCount(), drawing.PntCount(), drawing.PntExCount(),
                        drawing.DimCount(), drawing.BlkCount(), drawing.Sl2Count(),
                        drawing.Sl3Count(), drawing.Sl4Count(), drawing.ScCount(),
                        drawing.SeCount(),  drawing.SoCount(),  drawing.SgCount()};
  std::string countsMember = "\"counts\":{";
  for (int k = 0; k < 15; ++k) {
    const std::string name = names[k].Name;
    countsMember += "\"" + name + "\":" + std::to_string(counts[k]) + ",";
    const std::string record = "{\"list\":\"" + name + "\",\"index\":";
    std::size_t found = 0;
    for (std::size_t at = json.find(record); at != std::string::npos;
         at = json.find(record, at + 1))
      ++found;
    EXPECT_GT(counts[k], 0) << name;
    EXPECT_EQ(found, static_cast<std::size_t>(counts[k])) << name;
  }
  EXPECT_NE(
      json.find(countsMember + "\"EntOrder\":" + std::to_string(drawing.EntOrderCount()) + "}"),
      std::string::npos)
      << countsMember;

  // One mark of every column of the grid, in drawing order.
  Reset();
  Parse({"lt47", "0 0 10 4", "lt48", "ci 0 0 5", "lt49", "ci 0 0 10 90 180 1 0", "lt50",
         "ci 0 0 10 0 0 0.5 0", "lt51", "ci 0 0 10 90 180 0.5 90", "msg", "lt52", "2 2 12 2", "lt1",
         "cs 5 3 1 0 \"10"});
  const std::string csv = FormatMarksCsv(drawing);
  const char* const rows[] = {"\n17,線分,", "\n18,円,",     "\n19,円弧,",
                              "\n20,楕円,", "\n21,楕円弧,", "\n22,寸法線,"};
  const char* const lists[] = {",Lin,0\n", ",Cir,0\n", ",Arc,0\n",
                               ",Arc,1\n", ",Arc,2\n", ",Dim,0\n"};
  std::size_t at = 0;
  for (int k = 0; k < 6; ++k) {
    at = csv.find(rows[k], at);
    ASSERT_NE(at, std::string::npos) << rows[k] << csv;
    EXPECT_EQ(csv.find(lists[k], at), csv.find('\n', at + 1) - std::strlen(lists[k]) + 1)
        << rows[k] << csv;
  }
}

// Every option alone and in the combinations that are refused; a problem's words are what the
// user reads above the usage. Problem "" means the arguments are good.
TEST(ReportOptions, ArgumentsToOptionsOrAProblem) {
  struct TCase {
    std::vector<std::string> Args;
    const char* Problem;
    const char* Summary;  // File|Format|Entities ByLayer Marks|Png|WxH SizeGiven|Help Version
  } cases[] = {
      {{"a.txt"}, "", "a.txt|text|000||800x600 0|00"},
      {{"--format", "csv", "a"}, "", "a|csv|000||800x600 0|00"},
      {{"a", "--format=json", "--entities"}, "", "a|json|100||800x600 0|00"},
      {{"--by-layer", "--marks", "a"}, "", "a|text|011||800x600 0|00"},
      {{"a", "--png", "o.png", "--size", "40x30"}, "", "a|text|000|o.png|40x30 1|00"},
      {{"-"}, "", "-|text|000||800x600 0|00"},
      {{"--help", "--bogus"}, "", "|text|000||800x600 0|10"},
      {{"a", "-h"}, "", "a|text|000||800x600 0|10"},
      {{"--version"}, "", "|text|000||800x600 0|01"},
      {{}, "no FILE given", nullptr},
      {{"a", "b", "--format", "csv"}, "", "a|csv|000||800x600 0|00"},  // the summary of both
      {{"a", "b", "--marks"}, "--marks goes with one FILE", nullptr},
      {{"a", "b", "--png", "o.png"}, "--png goes with one FILE", nullptr},
      {{"a", "--bogus", "--help"}, "unknown option --bogus", nullptr},
      {{"a", "--png=o.png"}, "unknown option --png=o.png", nullptr},
      {{"a", "--format"}, "--format needs a value", nullptr},
      {{"a", "--format", "xml"}, "--format takes text, csv or json", nullptr},
      {{"a", "--format="}, "--format takes text, csv or json", nullptr},
      {{"a", "--formats=csv"}, "unknown option --formats=csv", nullptr},
      {{"a", "--png"}, "--png needs a file name", nullptr},
      {{"a", "--png", "o", "--size"}, "--size needs WxH", nullptr},
      {{"a", "--png", "o", "--size", "0x1"},
       "--size takes WxH, each a plain decimal number from 1 to 16384",
       nullptr},
      {{"a", "--entities"}, "--entities goes with --format json", nullptr},
      {{"a", "--size", "4x3"}, "--size goes with --png", nullptr},
      {{"a", "--view", "0,0,1,1"}, "--view goes with --png", nullptr},
      {{"a", "--png", "o", "--view"}, "--view needs LEFT,BOTTOM,RIGHT,TOP", nullptr},
      {{"a", "--png", "o", "--scale", "1.5"}, "", "a|text|000|o|800x600 0|00"},
      {{"a", "--scale", "2"}, "--scale goes with --png", nullptr},
      {{"a", "--png", "o", "--scale"}, "--scale needs a number", nullptr},
  };
  for (const TCase& c : cases) {
    const std::string where = c.Args.empty() ? "(none)" : c.Args.front() + " ... " + c.Args.back();
    const TReportArguments r = ParseReportArguments(c.Args);
    EXPECT_EQ(r.Problem, c.Problem) << where;
    if (c.Summary == nullptr) continue;
    const TReportOptions& o = r.Options;
    const std::string summary = o.File + "|" + o.Format + "|" + std::to_string(o.Entities) +
                                std::to_string(o.ByLayer) + std::to_string(o.Marks) + "|" + o.Png +
                                "|" + std::to_string(o.Size.Width) + "x" +
                                std::to_string(o.Size.Height) + " " + std::to_string(o.SizeGiven) +
                                "|" + std::to_string(o.Help) + std::to_string(o.Version);
    EXPECT_EQ(summary, c.Summary) << where;
  }
}

// A box is four finite numbers in order, left below right and bottom below top.
TEST(ReportOptions, ViewBoxes) {
  const struct {
    const char* Text;
    std::optional<TWorldBox> Box;
  } cases[] = {
      {"-10.5,2,1e3,4", TWorldBox{-10.5, 2, 1000, 4}},
      {"0,0,0.001,1", TWorldBox{0, 0, 0.001, 1}},
      {"0,0,1", std::nullopt},
      {"0,0,1,1,", std::nullopt},
      {"0,0,1,1,2", std::nullopt},
      {"0, 0,1,1", std::nullopt},
      {"+0,0,1,1", std::nullopt},
      {"1,0,1,1", std::nullopt},  // no width
      {"0,1,1,0", std::nullopt},
      {"0,0,inf,1", std::nullopt},
      {"0,0,nan,1", std::nullopt},
      {"0,0,1,1e999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseWorldBox(c.Text), c.Box) << c.Text;
  const TReportArguments r = ParseReportArguments({"a", "--png", "o.png", "--view", "1,2,3,4"});
  EXPECT_EQ(r.Problem, "");
  EXPECT_EQ(r.Options.View, (TWorldBox{1, 2, 3, 4}));
  EXPECT_EQ(
      ParseReportArguments({"a", "--png", "o", "--view", "1,2"}).Problem,
      "--view takes LEFT,BOTTOM,RIGHT,TOP in world units, left below right, bottom below top");
}

// A display scale is digits with at most one point, from 0.5 to 4.
TEST(ReportOptions, DisplayScales) {
  const struct {
    const char* Text;
    std::optional<double> Scale;
  } cases[] = {{"1", 1.0},
               {"1.5", 1.5},
               {"0.5", 0.5},
               {"4", 4.0},
               {"1.25", 1.25},
               {"0.49", std::nullopt},
               {"4.01", std::nullopt},
               {"-1", std::nullopt},
               {"1e0", std::nullopt},
               {".5", std::nullopt},
               {"1.", std::nullopt},
               {"1.2.3", std::nullopt},
               {"", std::nullopt},
               {"nan", std::nullopt},
               {" 1", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseDisplayScale(c.Text), c.Scale) << c.Text;
  EXPECT_EQ(ParseReportArguments({"a", "--png", "o", "--scale", "3x"}).Problem,
            "--scale takes a plain decimal number from 0.5 to 4 (1.5 for 150 %)");
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

TEST(ReportSideEffects, TheJsonHasTheExtentsAndAFailedPictureLeavesNoAttributes) {
  const TDrawing drawing = ParseJwcText("0 0 100 50\n10 10 20 20\n");
  const std::string json = FormatReportJson(drawing, BuildTallyGrid(drawing), {true, false, true});
  EXPECT_NE(json.find("\"extents\":[0.0,0.0,100.0,50.0]"), std::string::npos) << json;
  GraAttr.reset();
  EXPECT_FALSE(WritePreviewPng(drawing, "/nonexistent/folder/x.png", 20, 20).empty());
  EXPECT_FALSE(GraAttr);
  EXPECT_FALSE(
      WritePreviewPng(drawing, "/tmp/never.png", 1 << 20, 1 << 20).empty());  // no such picture
  EXPECT_FALSE(GraAttr);
}

// --view: the box fills the picture in its limiting direction, centred, with no margin.
TEST(ReportSideEffects, APictureOfABoxShowsThatBoxAsAZoomToItWould) {
  const TDrawing drawing = ParseJwcText("0 0 100 50");
  const std::string png = (std::filesystem::temp_directory_path() / "sxf-view-test.png").string();
  const struct {
    TWorldBox Box;
    std::array<double, 5> View;  // scale, left, bottom, right, top
  } cases[] = {
      {{0, 0, 20, 10}, {10, 0, 0, 20, 10}},
      {{0, 0, 10, 10}, {10, -5, 0, 15, 10}},
      {{30, 10, 40, 50}, {2.5, -5, 10, 75, 50}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(WritePreviewPng(drawing, png, 200, 100, c.Box), "");
    const TView view = PictureView(ComputeExtents(drawing), 200, 100, c.Box, kDesignDpi);
    EXPECT_EQ((std::array<double, 5>{view.ViewScale, view.ViewLeft, view.ViewBottom, view.ViewRight,
                                     view.ViewTop}),
              c.View)
        << c.Box.Left << "," << c.Box.Bottom << "," << c.Box.Right << "," << c.Box.Top;
  }
  std::filesystem::remove(png);
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

using ReportBeyondTheGrid = test::FreshModel;

TEST_F(ReportBeyondTheGrid, MarksLayersAndTheBlocksLine) {
  Parse({"hs 1 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg1", "lgn Plan", "ly3", "lyn Walls", "lt47",
         "0 0 1000 0", "lt50", "ci 500 0 100", "lt1", "5 5 6 6", "lg2", "ly0", "lt62", "0 0 2 2"});
  // One CSV line per mark (under the heading), in the file's units and in world units. The
  // names are as the reader keeps them, with the blank after the key.
  const std::string csv = FormatMarksCsv(drawing);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
  EXPECT_NE(csv.find("\n17,線分,1, Plan,3, Walls,500,0,5,0,Lin,0\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\n20,円,1, Plan,3, Walls,600,0,6,0,Cir,0\n"), std::string::npos) << csv;
  const std::string json =
      FormatReportJson(drawing, BuildTallyGrid(drawing), {true, false, true, true});
  EXPECT_NE(json.find("\"layers\":[\n{\"group\":1,\"group_name\":\" "
                      "Plan\",\"layer\":3,\"layer_name\":\" Walls\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"blocks_not_searched\":0"), std::string::npos);
  EXPECT_EQ(BlocksNotSearchedLine(drawing, true), "");
  // The per-layer CSV row for row: one heading, then each layer's 17 rows in layer order.
  std::vector<std::string> rows;
  std::istringstream layers(FormatLayerTalliesCsv(drawing));
  for (std::string line; std::getline(layers, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 1u + 2 * 17);
  const std::pair<std::size_t, const char*> exact[] = {
      {0, "group,group_name,layer,layer_name,No.,線分,円,円弧,楕円,楕円弧,寸法線,計"},
      {1, "1, Plan,3, Walls,17,1,,,,,,1"},
      {2, "1, Plan,3, Walls,18,,,,,,,0"},
      {4, "1, Plan,3, Walls,20,,1,,,,,1"},
      {17, "1, Plan,3, Walls,計,1,1,0,0,0,0,2"},
      {18, "2,,0,,17,,,,,,,0"},
      {33, "2,,0,,32,1,,,,,,1"},
      {34, "2,,0,,計,1,0,0,0,0,0,1"}};
  for (const auto& [row, text] : exact) EXPECT_EQ(rows[row], text) << row;
  reader.ParseLine("BL 10 10 door");
  EXPECT_EQ(BlocksNotSearchedLine(drawing, true), "ブロック 1 個の中は検索していません\n");
  EXPECT_EQ(BlocksNotSearchedLine(drawing, false).substr(0, 36),
            "The insides of 1 block were not sear");
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

// The streamed JSON is the whole text, byte for byte, however small its chunks: on the
// samples, on a drawing with every kind of record and on a benchmark drawing, with and without
// entities.
TEST(ReportJsonStream, ChunksMakeTheWholeText) {
  std::vector<std::string> drawings = {
      test::RandomDrawingText(5, 200000),
      bench::GenerateDrawing(3000, 3, bench::TDrawingProfile::Dense)};
  if (const char* samples = std::getenv("SXF_SAMPLES")) {
    for (const char* name : {"/floor-plan/JWC_TEMP.TXT", "/clean-detail/JWC_TEMP.TXT"}) {
      std::ifstream in(std::string(samples) + name, std::ios::binary);
      drawings.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      EXPECT_GT(drawings.back().size(), 100u) << name;
    }
  }
  for (const std::string& text : drawings) {
    const TDrawing drawing = ParseJwcText(text);
    const TTallyGrid grid = BuildTallyGrid(drawing);
    for (const TJsonReportOptions options : {TJsonReportOptions{true, true, true, true},
                                             TJsonReportOptions{false, false, true, false}}) {
      const std::string whole = FormatReportJson(drawing, grid, options);
      for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        std::string streamed;
        std::size_t pieces = 0;
        WriteReportJson(
            drawing, grid, options,
            [&](std::string_view piece) {
              EXPECT_FALSE(piece.empty());
              streamed += piece;
              ++pieces;
            },
            chunk);
        EXPECT_TRUE(streamed == whole) << "chunks of " << chunk;
        EXPECT_GE(pieces, whole.size() / (chunk + 256)) << "chunks of " << chunk;
      }
    }
  }
}

}  // namespace
}  // namespace sxf
