#include "attributes/UnitGraAtt.h"

namespace sxf {

namespace {

struct TNumberedColor {
  int Number;
  TColor Color;
};

// Colour scheme 0 (white background).
constexpr TNumberedColor kScheme0Colors[25] = {
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

constexpr double kPenWidth[9] = {0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.5, 0.01};
constexpr double kDotSize[9] = {0.2, 0.3, 0.4, 0.5, 0.5, 0.5, 0.5, 0.5, 0.2};

}  // namespace

TgraAttribute::TgraAttribute() : Colors(kColorCount) {
  ResetLineTypeDashes();
  ResetLayers();
  SetDefaults();
}

void TgraAttribute::SetDefaults() {
  SetColorScheme(0);
  InitColors();
  InitPenWidths();
  InitDotSizes();
}

void TgraAttribute::SetColorScheme(int scheme) {
  if (scheme != 0) return;  // the only scheme this tool selects
  ColorScheme = 0;
  BackColor = RgbColor(255, 255, 255);
  ForeColor = RgbColor(0, 0, 0);
}

void TgraAttribute::InitColors() {
  for (TgraColor& c : Colors) c.Color = ForeColor;
  for (const TNumberedColor& c : kScheme0Colors)
    Colors[static_cast<std::size_t>(ColorIndex(c.Number))].Color = c.Color;
}

void TgraAttribute::InitPenWidths() {
  for (TgraColor& c : Colors) c.Width = 0.18;
  for (std::size_t i = 0; i < 9; ++i) Colors[i].Width = kPenWidth[i];
}

void TgraAttribute::InitDotSizes() {
  for (TgraColor& c : Colors) c.DotSize = 0.2;
  for (std::size_t i = 0; i < 9; ++i) Colors[i].DotSize = kDotSize[i];
}

int TgraAttribute::ColorIndex(int colorNumber) noexcept {
  if (colorNumber >= 1 && colorNumber <= 9) return colorNumber - 1;
  if (colorNumber >= 101 && colorNumber <= 356) return colorNumber - 92;
  return -1;
}

TColor TgraAttribute::GetPenColor(int colorNumber) const noexcept {
  const int i = ColorIndex(colorNumber);
  return i < 0 ? BackColor : Colors[static_cast<std::size_t>(i)].Color;
}

double TgraAttribute::GetPenWidth(int colorNumber) const noexcept {
  const int i = ColorIndex(colorNumber);
  return i < 0 ? 0.0 : Colors[static_cast<std::size_t>(i)].Width;
}

double TgraAttribute::GetDotSize(int colorNumber) const noexcept {
  const int i = ColorIndex(colorNumber);
  return i < 0 ? 0.1 : Colors[static_cast<std::size_t>(i)].DotSize;
}

void TgraAttribute::ResetLineTypeDashes() { LineTypeDashes.assign(64, std::array<int, 8>{}); }

void TgraAttribute::ResetLayers() { Layers.assign(256, TjwvLayer{}); }

}  // namespace sxf
