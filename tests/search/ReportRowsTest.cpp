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

}  // namespace
}  // namespace sxf
