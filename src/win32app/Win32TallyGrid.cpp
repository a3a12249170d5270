#include "win32app/Win32TallyGrid.h"

#include <algorithm>
#include <string>

#include "platform/win32/ShiftJis.h"
#include "win32app/WindowClass.h"

namespace sxf {

namespace {

constexpr const wchar_t* kGridClass = L"SxfStringGrid";

constexpr int kGridLine = 1;       // one pixel at every scale
constexpr int kGridTextInset = 2;  // design pixels from the cell's left and top edges

std::wstring Wide(const std::string& sjis) { return ShiftJisToWide(sjis); }

// How many scrolled cells from `first` fit after the fixed one in `extent` pixels (at least 1).
template <typename TSize>
int VisibleCells(int extent, int fixed, int first, int count, const TSize& size) {
  int used = fixed + kGridLine;
  int n = 0;
  for (int i = first; i < count && used + size(i) <= extent; ++i, ++n) used += size(i) + kGridLine;
  return std::max(1, n);
}

// A system metric at dpi (Windows 10 1607 and later), else at the system's dpi, which is every
// monitor's on older Windows.
int MetricAtDpi(int index, int dpi) {
  using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
  static const auto forDpi = reinterpret_cast<TGetSystemMetricsForDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace

TWin32TallyGrid::~TWin32TallyGrid() {
  if (background_) DeleteObject(background_);
  if (highlight_) DeleteObject(highlight_);
}

bool TWin32TallyGrid::Register(HINSTANCE instance) {
  // The grid tells a double click from two presses.
  return RegisterWindowClass(instance, kGridClass, Proc, IDC_ARROW, CS_DBLCLKS);
}

bool TWin32TallyGrid::Create(HINSTANCE instance, HWND parent) {
  background_ = CreateSolidBrush(RGB(255, 255, 255));
  highlight_ =
      CreateSolidBrush(RGB(255, 214, 102));  // the walked cell: light amber under black digits
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, kGridClass, L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 1, 41, 199,
                          182, parent, nullptr, instance, this);
  return hwnd_ != nullptr;
}

void TWin32TallyGrid::SetFont(HFONT font, int dpi) {
  font_ = font;
  dpi_ = dpi;
  rowHeight_ = DesignPixels(TDesignLengths::GridRowHeight, dpi);
  textInset_ = DesignPixels(kGridTextInset, dpi);
  MeasureColumns();
}

void TWin32TallyGrid::Show(const TTallyGrid& grid) {
  grid_ = grid;
  MeasureColumns();
}

void TWin32TallyGrid::MeasureColumns() {
  if (!hwnd_) return;
  // A column widens to its widest number, so that no count is cut; the design widths stay
  // where the numbers fit.
  const int designWidth = DesignPixels(TDesignLengths::GridColumnWidth, dpi_);
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_);
  for (int c = 0; c < kTallyColumns; ++c) {
    int widest = 0;
    for (int r = 1; c > 0 && r < kTallyRows; ++r) {
      const std::wstring text = Wide(grid_.Cell(c, r));
      SIZE size{};
      if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
        widest = std::max(widest, static_cast<int>(size.cx) + 2 * textInset_);
    }
    columnWidths_[static_cast<std::size_t>(c)] =
        c == 0 ? DesignPixels(TDesignLengths::GridFirstColumnWidth, dpi_)
               : std::max(designWidth, widest);
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TWin32TallyGrid::UpdateScrollBars() {
  if (!hwnd_) return;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int rows =
      VisibleCells(rc.bottom, rowHeight_, 1, kTallyRows, [this](int) { return rowHeight_; });
  const int cols = VisibleCells(rc.right, ColumnWidth(0), 1, kTallyColumns,
                                [this](int c) { return ColumnWidth(c); });
  topRow_ = std::clamp(topRow_, 1, std::max(1, kTallyRows - rows));
  leftColumn_ = std::clamp(leftColumn_, 1, std::max(1, kTallyColumns - cols));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 1;
  si.nMax = kTallyRows - 1;
  si.nPage = static_cast<UINT>(rows);
  si.nPos = topRow_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  si.nMax = kTallyColumns - 1;
  si.nPage = static_cast<UINT>(cols);
  si.nPos = leftColumn_;
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
}

void TWin32TallyGrid::Highlight(int row, int column) {
  highlightRow_ = row;
  highlightColumn_ = column;
  if (row >= 1 && column >= 1) {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int rows = VisibleCells(rc.bottom, rowHeight_, topRow_, kTallyRows,
                                  [this](int) { return rowHeight_; });
    const int cols = VisibleCells(rc.right, ColumnWidth(0), leftColumn_, kTallyColumns,
                                  [this](int c) { return ColumnWidth(c); });
    if (row < topRow_ || row >= topRow_ + rows) topRow_ = row;
    if (column < leftColumn_ || column >= leftColumn_ + cols) leftColumn_ = column;
    UpdateScrollBars();
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void TWin32TallyGrid::Wheel(int delta) {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  if (lines == 0 || delta == 0) return;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int page =
      VisibleCells(rc.bottom, rowHeight_, topRow_, kTallyRows, [this](int) { return rowHeight_; });
  const int perNotch = lines == WHEEL_PAGESCROLL ? page : static_cast<int>(std::min(lines, 100u));
  // A smooth wheel's small turns add up to a row: WHEEL_DELTA / perNotch of delta each.
  const int perRow = std::max(1, WHEEL_DELTA / perNotch);
  if ((wheelRest_ < 0) != (delta < 0)) wheelRest_ = 0;  // turned back: start afresh
  wheelRest_ += delta;
  const int rows = wheelRest_ / perRow;
  wheelRest_ %= perRow;
  if (rows == 0) return;
  const int before = topRow_;
  topRow_ -= rows;  // turned away from the user: the rows above come into sight
  UpdateScrollBars();
  if (topRow_ == before)
    wheelRest_ = 0;  // at an end it stops, and keeps no rest
  else
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int TWin32TallyGrid::WantedHeight(int width) const {
  int columns = -kGridLine;  // the last column's line may fall outside
  for (int c = 0; c < kTallyColumns; ++c) columns += ColumnWidth(c) + kGridLine;
  const int edgeX = MetricAtDpi(SM_CXEDGE, dpi_), edgeY = MetricAtDpi(SM_CYEDGE, dpi_);
  const int scrollBar = columns > width - 2 * edgeX ? MetricAtDpi(SM_CYHSCROLL, dpi_) : 0;
  return 2 * edgeY + kTallyRows * (rowHeight_ + kGridLine) + scrollBar;
}

void TWin32TallyGrid::Scroll(int bar, WPARAM wp) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, bar, &si);
  int pos = si.nPos;
  switch (LOWORD(wp)) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:  // thumb tracking: the cells follow the thumb
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: break;
  }
  pos = std::clamp(pos, si.nMin, std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1));
  (bar == SB_VERT ? topRow_ : leftColumn_) = pos;
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void TWin32TallyGrid::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  HBRUSH background = background_;
  FillRect(dc, &rc, background);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  HBRUSH fixed = GetSysColorBrush(COLOR_BTNFACE);
  HPEN line = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, line);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  // Row 0 and column 0 stay; the others scroll by whole cells.
  auto rowAt = [&](int index) { return index == 0 ? 0 : topRow_ + index - 1; };
  auto colAt = [&](int index) { return index == 0 ? 0 : leftColumn_ + index - 1; };
  int y = 0;
  for (int ri = 0; rowAt(ri) < kTallyRows && y < rc.bottom; ++ri) {
    const int row = rowAt(ri);
    int x = 0;
    for (int ci = 0; colAt(ci) < kTallyColumns && x < rc.right; ++ci) {
      const int col = colAt(ci);
      const int w = ColumnWidth(col);
      RECT cell{x, y, x + w, y + rowHeight_};
      const bool highlighted = row == highlightRow_ && col == highlightColumn_;
      FillRect(dc, &cell, (row == 0 || col == 0) ? fixed : highlighted ? highlight_ : background);
      const std::wstring text = Wide(grid_.Cell(col, row));
      RECT clip = cell;
      ExtTextOutW(dc, x + textInset_, y + textInset_, ETO_CLIPPED, &clip, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
      MoveToEx(dc, x + w, y, nullptr);
      LineTo(dc, x + w, y + rowHeight_ + kGridLine);
      MoveToEx(dc, x, y + rowHeight_, nullptr);
      LineTo(dc, x + w + kGridLine, y + rowHeight_);
      x += w + kGridLine;
    }
    y += rowHeight_ + kGridLine;
  }
  SelectObject(dc, oldPen);
  DeleteObject(line);
  SelectObject(dc, oldFont);
}

bool TWin32TallyGrid::CellAt(int x, int y, int& column, int& row) const {
  if (x < 0 || y < 0) return false;
  // The layout PaintGrid draws: row 0 and column 0 fixed, then the scrolled cells, each
  // followed by its one-pixel line.
  const int ri = y / (rowHeight_ + kGridLine);
  row = ri == 0 ? 0 : topRow_ + ri - 1;
  if (row >= kTallyRows) return false;
  int left = 0;
  for (int ci = 0;; ++ci) {
    column = ci == 0 ? 0 : leftColumn_ + ci - 1;
    if (column >= kTallyColumns) return false;
    left += ColumnWidth(column) + kGridLine;
    if (x < left) return true;
  }
}

LRESULT CALLBACK TWin32TallyGrid::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32TallyGrid* self = AttachedOwner<TWin32TallyGrid>(hwnd, msg, lp);
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnMessage(msg, wp, lp);
}

LRESULT TWin32TallyGrid::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: return PaintWindow(hwnd_, [this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND: return 1;
    case WM_VSCROLL: Scroll(SB_VERT, wp); return 0;
    case WM_HSCROLL: Scroll(SB_HORZ, wp); return 0;
    case WM_MOUSEWHEEL: Wheel(GET_WHEEL_DELTA_WPARAM(wp)); return 0;
    case WM_SIZE: UpdateScrollBars(); return 0;
    case WM_LBUTTONDBLCLK: {
      int column = 0, row = 0;
      if (CellAt(LowSigned(lp), HighSigned(lp), column, row) && OnDoubleClick)
        OnDoubleClick(row, column);
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace sxf
