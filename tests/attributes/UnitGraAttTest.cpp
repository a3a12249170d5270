#include "attributes/UnitGraAtt.h"

#include <gtest/gtest.h>

namespace sxf {
namespace {

TEST(TgraAttribute, ColourTableOfSchemeZero) {
  const TgraAttribute a;
  EXPECT_EQ(a.GetBackColor(), RgbColor(255, 255, 255));
  const struct {
    int number;
    TColor color;
  } cases[] = {
      {1, RgbColor(0, 192, 192)},
      {2, RgbColor(0, 0, 0)},
      {8, RgbColor(255, 0, 128)},
      {9, RgbColor(255, 128, 255)},
      {102, RgbColor(255, 0, 0)},
      {110, RgbColor(192, 128, 64)},
      {116, RgbColor(128, 128, 128)},
      {117, RgbColor(0, 0, 0)},
      {356, RgbColor(0, 0, 0)},
      // Numbers without an entry are drawn in the background colour.
      {0, RgbColor(255, 255, 255)},
      {10, RgbColor(255, 255, 255)},
      {100, RgbColor(255, 255, 255)},
      {357, RgbColor(255, 255, 255)},
      {-1, RgbColor(255, 255, 255)},
  };
  for (const auto& c : cases) EXPECT_EQ(a.GetPenColor(c.number), c.color) << c.number;
  EXPECT_EQ(RgbColor(255, 0, 128), 0x8000FFu);  // red in the low byte
}

TEST(TgraAttribute, WidthsAndDotSizes) {
  const TgraAttribute a;
  EXPECT_EQ(a.GetPenWidth(1), 0.1);
  EXPECT_EQ(a.GetPenWidth(8), 0.5);
  EXPECT_EQ(a.GetPenWidth(9), 0.01);
  EXPECT_EQ(a.GetDotSize(9), 0.2);
  EXPECT_EQ(a.GetDotSize(2), 0.3);
  EXPECT_EQ(a.GetPenWidth(101), 0.18);
  EXPECT_EQ(a.GetDotSize(356), 0.2);
  for (int n : {0, 10, 100, 357}) {
    EXPECT_EQ(a.GetPenWidth(n), 0.0) << n;
    EXPECT_EQ(a.GetDotSize(n), 0.1) << n;
  }
  EXPECT_EQ(TgraAttribute::ColorIndex(9), 8);
  EXPECT_EQ(TgraAttribute::ColorIndex(101), 9);
  EXPECT_EQ(TgraAttribute::ColorIndex(356), 264);
  EXPECT_EQ(a.ColorTable().size(), 265u);
}

// Every entry of the table: the 25 numbered colours, the nine host pens' widths and dot
// sizes, and the plain black, 0.18 and 0.2 of every extended number after 116.
TEST(TgraAttribute, EveryEntryOfTheTable) {
  const TgraAttribute a;
  const struct {
    int number;
    TColor color;
  } colors[] = {
      {1, RgbColor(0, 192, 192)},     {2, RgbColor(0, 0, 0)},        {3, RgbColor(0, 192, 0)},
      {4, RgbColor(192, 192, 0)},     {5, RgbColor(192, 0, 192)},    {6, RgbColor(0, 0, 255)},
      {7, RgbColor(0, 128, 128)},     {8, RgbColor(255, 0, 128)},    {9, RgbColor(255, 128, 255)},
      {101, RgbColor(0, 0, 0)},       {102, RgbColor(255, 0, 0)},    {103, RgbColor(0, 255, 0)},
      {104, RgbColor(0, 0, 255)},     {105, RgbColor(255, 255, 0)},  {106, RgbColor(255, 0, 255)},
      {107, RgbColor(0, 255, 255)},   {108, RgbColor(0, 0, 0)},      {109, RgbColor(192, 0, 128)},
      {110, RgbColor(192, 128, 64)},  {111, RgbColor(255, 128, 0)},  {112, RgbColor(128, 192, 128)},
      {113, RgbColor(0, 128, 255)},   {114, RgbColor(128, 64, 255)}, {115, RgbColor(192, 192, 192)},
      {116, RgbColor(128, 128, 128)},
  };
  for (const auto& c : colors) EXPECT_EQ(a.GetPenColor(c.number), c.color) << c.number;
  for (int n = 117; n <= 356; ++n) {
    EXPECT_EQ(a.GetPenColor(n), RgbColor(0, 0, 0)) << n;
    EXPECT_EQ(a.GetPenWidth(n), 0.18) << n;
    EXPECT_EQ(a.GetDotSize(n), 0.2) << n;
  }
  for (int n = 101; n <= 116; ++n) {
    EXPECT_EQ(a.GetPenWidth(n), 0.18) << n;
    EXPECT_EQ(a.GetDotSize(n), 0.2) << n;
  }
  const double widths[9] = {0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.5, 0.01};
  const double dots[9] = {0.2, 0.3, 0.4, 0.5, 0.5, 0.5, 0.5, 0.5, 0.2};
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(a.GetPenWidth(n), widths[n - 1]) << n;
    EXPECT_EQ(a.GetDotSize(n), dots[n - 1]) << n;
  }
  // Each number has its own entry, so that a change to one colour changes only that number.
  for (int n = -5; n <= 400; ++n) {
    const int expected = n >= 1 && n <= 9 ? n - 1 : (n >= 101 && n <= 356 ? n - 92 : -1);
    EXPECT_EQ(TgraAttribute::ColorIndex(n), expected) << n;
  }
  // Every number without an entry: the background, width 0, dot 0.1.
  for (int n : {-1000, -1, 0, 10, 50, 99, 100, 357, 1000}) {
    EXPECT_EQ(a.GetPenColor(n), RgbColor(255, 255, 255)) << n;
    EXPECT_EQ(a.GetPenWidth(n), 0.0) << n;
    EXPECT_EQ(a.GetDotSize(n), 0.1) << n;
  }
}

TEST(TgraAttribute, TheWindowsConfigurationEqualsTheDefaults) {
  TgraAttribute configured;
  configured.SetToScaleMode(false);
  configured.SetColorScheme(0);
  configured.InitColors();
  configured.ResetLineTypeDashes();
  configured.ResetLayers();
  configured.InitColors();
  configured.InitPenWidths();
  configured.InitDotSizes();
  const TgraAttribute defaults;
  for (int n = -5; n < 400; ++n) {
    EXPECT_EQ(configured.GetPenColor(n), defaults.GetPenColor(n));
    EXPECT_EQ(configured.GetPenWidth(n), defaults.GetPenWidth(n));
  }
}

}  // namespace
}  // namespace sxf
