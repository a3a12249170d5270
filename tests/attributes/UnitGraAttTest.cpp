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
      {1, RgbColor(0, 192, 192)},   {2, RgbColor(0, 0, 0)},       {8, RgbColor(255, 0, 128)},
      {9, RgbColor(255, 128, 255)}, {102, RgbColor(255, 0, 0)},   {110, RgbColor(192, 128, 64)},
      {116, RgbColor(128, 128, 128)}, {117, RgbColor(0, 0, 0)},   {356, RgbColor(0, 0, 0)},
      // Numbers without an entry are drawn in the background colour.
      {0, RgbColor(255, 255, 255)}, {10, RgbColor(255, 255, 255)}, {100, RgbColor(255, 255, 255)},
      {357, RgbColor(255, 255, 255)}, {-1, RgbColor(255, 255, 255)},
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
