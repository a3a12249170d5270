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
  static constexpr int MemoHeight = 144;           // Memo1 as designed
  static constexpr int MemoMinHeight = 32;         // below two lines of help it is hidden
  static constexpr int GridRows = 18;              // heading, 17 to 32 and the total
  static constexpr int GridColumnWidth = 44;       // StringGrid1's default column width
  static constexpr int GridFirstColumnWidth = 24;  // column 0
  static constexpr int GridRowHeight = 24;
  // The preview's gestures.
  static constexpr int ClickTolerance = 5;  // a two-button press and release this close is a click
  static constexpr int RubberBandPen = 3;   // the zoom box's XOR frame
};

// A design length on a screen of dpi pixels per inch.
inline int DesignPixels(int length, int dpi) noexcept { return ScaleForDpi(length, dpi); }

// A length in a window's pixels at fromDpi, on its move to a screen of toDpi: as large to the
// eye as before (a panel 300 pixels wide at 144 dpi is 200 at 96).
inline int RescaleForDpi(int length, int fromDpi, int toDpi) noexcept {
  if (fromDpi <= 0 || length < 0) return length;
  return static_cast<int>((static_cast<long long>(length) * toDpi + fromDpi / 2) / fromDpi);
}

// The side panel below its file name: the grid and, under it, the help box.
struct TPanelSplit {
  int GridHeight = 0;
  int MemoTop = 0;
  int MemoHeight = 0;  // 0: the help box is hidden
  friend bool operator==(const TPanelSplit&, const TPanelSplit&) = default;
};

// The tally grid comes first: it gets gridWanted pixels (every row, its frame and any scroll
// bar of its own) of the room between gridTop and bottom, and the help box takes what is left.
// A help box lower than memoMin shows nothing worth reading, so its room goes to the grid.
inline TPanelSplit SplitPanel(int gridTop, int bottom, int gridWanted, int memoMin) noexcept {
  const int room = bottom > gridTop ? bottom - gridTop : 0;
  const int left = room - (gridWanted > 0 ? gridWanted : 0);
  TPanelSplit s;
  s.MemoHeight = left >= memoMin && left > 0 ? left : 0;
  s.GridHeight = room - s.MemoHeight;
  s.MemoTop = gridTop + s.GridHeight;
  return s;
}

}  // namespace sxf
