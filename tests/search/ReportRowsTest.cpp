// Joining rows into CSV and into the tab-separated lines spreadsheets paste.

#include "search/ReportRows.h"

#include <gtest/gtest.h>

namespace sxf {
namespace {

TEST(ReportRows, CellsAreQuotedForCsvAndFlattenedForTabs) {
  const TTextRows rows{{"a", "b,c", "say \"hi\""}, {"line\nbreak", "tab\there", ""}};
  EXPECT_EQ(CsvText(rows), "a,\"b,c\",\"say \"\"hi\"\"\"\n\"line\nbreak\",tab\there,\n");
  EXPECT_EQ(TabSeparatedText(rows), "a\tb,c\tsay \"hi\"\nline break\ttab here\t\n");
  // The conversion sees each cell alone, before any quoting.
  EXPECT_EQ(CsvText({{"x", ","}}, [](const std::string& c) { return "<" + c + ">"; }),
            "<x>,\"<,>\"\n");
}

TEST(ReportRows, NamesAndNumbersAtTheEdgesOfTheirRanges) {
  TDrawing drawing;
  for (int k = 0; k < 256; ++k) drawing.LayerName[static_cast<std::size_t>(k)] = std::to_string(k);
  drawing.GroupName[15] = "last";
  const struct {
    int group, layer;
    const char* layerName;
    const char* groupName;
  } names[] = {
      {0, 0, "0", ""}, {0, 15, "15", ""}, {15, 15, "255", "last"},
      {0, 16, "", ""},  // not the next group's first layer
      {16, 0, "", ""}, {-1, 0, "", ""},   {0, -1, "", ""},
  };
  for (const auto& n : names) {
    EXPECT_EQ(LayerNameOf(drawing, n.group, n.layer), n.layerName) << n.group << " " << n.layer;
    EXPECT_EQ(GroupNameOf(drawing, n.group), n.groupName) << n.group;
  }
  const struct {
    double v;
    const char* sheet;
    const char* report;
  } numbers[] = {
      {0.1 + 0.2, "0.3", "0.3"},  // the last bit's noise shows in neither
      {8706.21778264911, "8706.218", "8706.21778264911"},
      {-0.0004, "0", "-0.0004"},  // never "-0"
      {2.0, "2", "2"},
      {-1234.5, "-1234.5", "-1234.5"},
      {1e20, "100000000000000000000", "1e+20"},
  };
  for (const auto& n : numbers) {
    EXPECT_EQ(CheckSheetNumber(n.v), n.sheet) << n.v;
    EXPECT_EQ(ReportNumber(n.v), n.report) << n.v;
  }
}

}  // namespace
}  // namespace sxf
