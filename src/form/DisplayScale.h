#pragma once
// The window's design lengths: pixels at 96 dpi, as the window was laid out. A window on a
// screen of another scale (125 %, 150 %, ...) draws each of them at ScaleForDpi(length, dpi),
// so that it is as large as at 96 dpi and as sharp as the screen. Both front ends ask here;
// one-pixel entity pens and the drawing's texts are not design lengths.

#include "form/WindowSettings.h"
#include "util/MyFunc.h"

namespace sxf {

struct TDesignLengths {
  // The form.
  static constexpr int DesignWidth = 601, DesignHeight = 430;  // outer, before the settings
  static constexpr int FontHeight = 13;    // "ＭＳ ゴシック", every control
  static constexpr int StatusHeight = 24;  // LabelA1
  // Splitter1's width, its sides' minimum and the window's minimums: WindowSettings.h.
  // The side panel.
  static constexpr int PanelTopHeight = 40;  // Panel3: the file name
  static constexpr int LabelHeight = 13;     // Label1, Label2
  static constexpr int Label2Left = 8, Label2Top = 16;
  static constexpr int Label1Width = 112;
  static constexpr int MemoHeight = 144;           // Memo1
  static constexpr int GridColumnWidth = 44;       // StringGrid1's default column width
  static constexpr int GridFirstColumnWidth = 24;  // column 0
  static constexpr int GridRowHeight = 24;
  // The preview's gestures.
  static constexpr int ClickTolerance = 5;  // a two-button press and release this close is a click
  static constexpr int RubberBandPen = 3;   // the zoom box's XOR frame
};

// A design length on a screen of dpi pixels per inch.
inline int DesignPixels(int length, int dpi) noexcept { return ScaleForDpi(length, dpi); }

}  // namespace sxf
