#pragma once
// Drawing attributes: the host's pen colour numbers turned into screen colours, pen widths
// and point sizes, and the preview's background colour.
//
// Colours are Windows colour values 0x00BBGGRR. Widths and dot sizes are in sheet units
// (coordinates divided by the layer-group scale).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sxf {

using TColor = std::uint32_t;  // 0x00BBGGRR

constexpr TColor RgbColor(unsigned r, unsigned g, unsigned b) noexcept {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

struct TgraColor {
  TColor Color = 0;
  double Width = 0.0;
  double DotSize = 0.0;
};

// A layer record of the host's layer table; kept, never consulted.
struct TjwvLayer {
  int State = 0;  // 0 = normal
  double Scale = 1.0;
  std::string Name;
  std::string Label;
};

class TgraAttribute {
 public:
  static constexpr int kColorCount = 265;  // pens 1..9 and extended colours 101..356

  TgraAttribute();  // allocates the tables, then SetDefaults

  void SetDefaults();
  void SetColorScheme(int scheme);
  int GetColorScheme() const noexcept { return ColorScheme; }
  TColor GetBackColor() const noexcept { return BackColor; }

  void InitColors();
  void InitPenWidths();
  void InitDotSizes();

  // Table entry of a colour number: 1..9 -> 0..8, 101..356 -> 9..264, otherwise -1.
  static int ColorIndex(int colorNumber) noexcept;
  // The entry's colour; the background colour for numbers without an entry.
  TColor GetPenColor(int colorNumber) const noexcept;
  // The entry's pen width; 0 for numbers without an entry.
  double GetPenWidth(int colorNumber) const noexcept;
  // The entry's dot size; 0.1 for numbers without an entry.
  double GetDotSize(int colorNumber) const noexcept;

  const std::vector<TgraColor>& ColorTable() const noexcept { return Colors; }

  // Settings the window makes at creation. Nothing in this tool reads them back with any
  // effect: the to-scale mode stays off, no layer leaves the normal state and the display
  // switches stay on.
  void SetToScaleMode(bool on) noexcept { ToScaleMode = on; }
  void ResetLineTypeDashes();
  void ResetLayers();
  void SetShowAuxiliary(bool on) noexcept { ShowAuxiliary = on; }
  void SetDimmedLayerColor(TColor c) noexcept { DimmedLayerColor = c; }
  void SetShowZFlag1(bool on) noexcept { ShowZFlag1 = on; }
  void SetShowNonSolidLineTypes(bool on) noexcept { ShowNonSolidLineTypes = on; }

 private:
  int ColorScheme = 0;
  TColor BackColor = RgbColor(255, 255, 255);
  TColor ForeColor = RgbColor(0, 0, 0);
  std::vector<TgraColor> Colors;

  bool ToScaleMode = false;
  std::vector<std::array<int, 8>> LineTypeDashes;
  std::vector<TjwvLayer> Layers;
  bool ShowAuxiliary = true;
  TColor DimmedLayerColor = RgbColor(128, 128, 128);
  bool ShowZFlag1 = true;
  bool ShowNonSolidLineTypes = true;
};

}  // namespace sxf
