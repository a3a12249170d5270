#pragma once
// The tally grid (StringGrid1) on the Windows API, drawn by hand: a fixed heading row and
// column, the other cells scrolled by whole cells. A column widens to its widest number, so
// that no count is cut.

#include <array>
#include <functional>

#include "form/DisplayScale.h"
#include "platform/win32/WindowsApi.h"
#include "search/LineTypeTally.h"

namespace sxf {

class TWin32TallyGrid {
 public:
  TWin32TallyGrid() = default;
  ~TWin32TallyGrid();
  TWin32TallyGrid(const TWin32TallyGrid&) = delete;
  TWin32TallyGrid& operator=(const TWin32TallyGrid&) = delete;

  static bool Register(HINSTANCE instance);
  // The control, a child of parent; it writes nothing until SetFont.
  bool Create(HINSTANCE instance, HWND parent);
  HWND Handle() const noexcept { return hwnd_; }
  // The font to write in (the caller's, kept until the next call) and the window's dpi, which
  // scales the cells' design sizes.
  void SetFont(HFONT font, int dpi);

  void Show(const TTallyGrid& grid);
  // After a size change: the scroll bars' ranges and the first cells shown.
  void UpdateScrollBars();
  // Sets cell (row, column) apart, scrolled into view; none for -1.
  void Highlight(int row, int column);
  // The wheel turned by delta (WHEEL_DELTA a notch, positive away from the user): the rows
  // scroll by the system's lines a notch, and stop at either end.
  void Wheel(int delta);
  // The control's height that shows every row: its frame, the rows and, when the columns are
  // wider than width (the control's outer width), the horizontal scroll bar.
  int WantedHeight(int width) const;

  // A double click on cell (row, column).
  std::function<void(int row, int column)> OnDoubleClick;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  void Scroll(int bar, WPARAM wp);
  int ColumnWidth(int column) const noexcept {
    return columnWidths_[static_cast<std::size_t>(column)];
  }
  // The design widths, or wider where a number needs it.
  void MeasureColumns();
  // The cell under client pixel (x, y); false outside every cell.
  bool CellAt(int x, int y, int& column, int& row) const;

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  TTallyGrid grid_;
  std::array<int, kTallyColumns> columnWidths_{};  // pixels
  int dpi_ = kDesignDpi;
  int rowHeight_ = TDesignLengths::GridRowHeight;  // pixels
  int textInset_ = 2;   // the text's distance from the cell's left and top edges, pixels
  int topRow_ = 1;      // first scrolled row shown below the fixed row
  int leftColumn_ = 1;  // first scrolled column shown right of the fixed column
  int highlightRow_ = -1, highlightColumn_ = -1;
  int wheelRest_ = 0;  // wheel delta not yet worth a row (smooth wheels turn less than a notch)
  HBRUSH highlight_ = nullptr;
};

}  // namespace sxf
