#include "platform/win32/Win32Form.h"

#include <imm.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "graphics/Primitives.h"
#include "platform/win32/ShiftJis.h"

namespace sxf {

namespace {

constexpr const wchar_t* kFormClass = L"SxfUsertypeFinderForm1";
constexpr const wchar_t* kPaintBoxClass = L"SxfPaintBox";
constexpr const wchar_t* kSplitterClass = L"SxfSplitter";
constexpr const wchar_t* kPanelClass = L"SxfPanel";
constexpr const wchar_t* kGridClass = L"SxfStringGrid";

// Posted by the first paint: the preview's drawing, once the rest of the window is painted.
constexpr UINT kQueuedDrawingMessage = WM_APP + 1;
constexpr UINT kNeverPostedMessage = WM_APP + 2;

constexpr int kIconResource = 1;  // Resources.rc.in

constexpr int kGridRowHeight = 24;
constexpr int kGridColumnWidth = 44;
constexpr int kGridFirstColumnWidth = 24;  // set at show
constexpr int kGridLine = 1;
constexpr int kGridTextInset = 2;  // the text's distance from the cell's left edge

constexpr COLORREF kStatusColour = RGB(231, 231, 231);
constexpr COLORREF kMemoColour = RGB(187, 235, 244);
constexpr COLORREF kCreamColour = RGB(255, 251, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);

template <typename T>
T* Owner(HWND hwnd) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Stores the owner passed to CreateWindowExW at WM_NCCREATE; the owner afterwards.
TWin32Form* Attach(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWin32Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return Owner<TWin32Form>(hwnd);
}

std::wstring Wide(const std::string& sjis) { return ShiftJisToWide(sjis); }

// The form's keys as Windows names them.
constexpr TFormKeyCodes kWin32Keys = {VK_PRIOR, VK_NEXT,  VK_INSERT, VK_END,    VK_HOME, VK_LEFT,
                                      VK_RIGHT, VK_UP,    VK_DOWN,   VK_ESCAPE, VK_F3,   VK_F1};

// A mouse message's signed client coordinates (negative left of or above the window while
// the mouse is captured).
int LowSigned(LPARAM lp) noexcept { return static_cast<short>(LOWORD(lp)); }
int HighSigned(LPARAM lp) noexcept { return static_cast<short>(HIWORD(lp)); }

// A system resource's number (IDC_ARROW and the like are spelled for the A calls).
LPCWSTR ResourceW(LPCSTR id) noexcept { return reinterpret_cast<LPCWSTR>(id); }

}  // namespace

TWin32Form::TWin32Form(HINSTANCE instance, std::string programFolder, std::string settingsFile)
    : instance_(instance), form_(*this, std::move(programFolder), std::move(settingsFile), kWin32Keys) {}

TWin32Form::~TWin32Form() {
  if (Form1) DestroyWindow(Form1);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(statusBrush_),
                    static_cast<HGDIOBJ>(memoBrush_), static_cast<HGDIOBJ>(whiteBrush_),
                    static_cast<HGDIOBJ>(creamBrush_)})
    if (o) DeleteObject(o);
}

bool TWin32Form::RegisterClasses(HINSTANCE instance) {
  struct TClass { const wchar_t* name; WNDPROC proc; HCURSOR cursor; UINT style; };
  // The preview and the grid tell a double click from two presses.
  const TClass classes[] = {
      {kFormClass, FormProc, LoadCursorW(nullptr, ResourceW(IDC_ARROW)), 0},
      {kPaintBoxClass, PaintBoxProc, LoadCursorW(nullptr, ResourceW(IDC_ARROW)), CS_DBLCLKS},
      {kSplitterClass, SplitterProc, LoadCursorW(nullptr, ResourceW(IDC_SIZEWE)), 0},
      {kPanelClass, PanelProc, LoadCursorW(nullptr, ResourceW(IDC_ARROW)), 0},
      {kGridClass, GridProc, LoadCursorW(nullptr, ResourceW(IDC_ARROW)), CS_DBLCLKS},
  };
  for (const TClass& c : classes) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = c.style;
    wc.lpfnWndProc = c.proc;
    wc.hInstance = instance;
    wc.hCursor = c.cursor;
    if (c.name == kFormClass) {
      // The program's own icon (resource 1), in the title bar's small size too.
      wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
      wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
      if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, ResourceW(IDI_APPLICATION));
    }
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = c.name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }
  return true;
}

bool TWin32Form::Create(int showCommand) {
  if (!RegisterClasses(instance_)) return false;
  font_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                      L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF");  // ＭＳ ゴシック
  statusBrush_ = CreateSolidBrush(kStatusColour);
  memoBrush_ = CreateSolidBrush(kMemoColour);
  whiteBrush_ = CreateSolidBrush(kWhite);
  creamBrush_ = CreateSolidBrush(kCreamColour);

  // Design position and size; FormShow replaces them with the settings.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME |
                      WS_CLIPCHILDREN;
  Form1 = CreateWindowExW(0, kFormClass, Wide(FormCaption()).c_str(), style, 194, 105, 601, 430,
                          nullptr, nullptr, instance_, this);
  if (!Form1) return false;
  CreateControls();
  form_.FormCreate();
  form_.FormShow();
  LayoutControls();
  SetFocus(EditA);
  ShowWindow(Form1, showCommand);
  UpdateWindow(Form1);
  return true;
}

void TWin32Form::CreateControls() {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, int x, int y,
                  int w, int h, DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, child | style, x, y, w, h, parent, nullptr,
                                instance_, this);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return hwnd;
  };
  LabelA1 = make(L"STATIC", L"\u3000", SS_CENTER | SS_CENTERIMAGE, Form1, 0, 368, 585, 24);
  PaintBox1 = make(kPaintBoxClass, L"", 0, Form1, 0, 0, 381, 368);
  Splitter1 = make(kSplitterClass, L"", 0, Form1, 381, 0, 3, 368);
  Panel2 = make(kPanelClass, L"", WS_CLIPCHILDREN, Form1, 384, 0, 201, 368);
  Panel3 = make(kPanelClass, L"", WS_CLIPCHILDREN, Panel2, 1, 1, 199, 40);
  Label1 = make(L"STATIC", Wide("\x90}\x96\xCA\x83t\x83@\x83\x43\x83\x8B\x96\xBC\x81" "F").c_str(), 0,
                Panel3, 0, 0, 112, 13);  // 図面ファイル名：
  Label2 = make(L"STATIC", Wide("\x81i\x90V\x8BK\x81j").c_str(), 0, Panel3, 8, 16, 56, 13);  // （新規）
  std::wstring help;
  for (int i = 0; i < kFormHelpLineCount; ++i) {
    if (i > 0) help += L"\r\n";
    help += Wide(FormHelpLines()[i]);
  }
  Memo1 = make(L"EDIT", help.c_str(),
               ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL,
               Panel2, 1, 223, 199, 144, WS_EX_CLIENTEDGE);
  StringGrid1 = make(kGridClass, L"", WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, Panel2, 1, 41, 199, 182,
                     WS_EX_CLIENTEDGE);
  // The focus holder is never seen: left of the panel's client area rather than at its design
  // place (216, 400), which a panel wider than 216 pixels would show, caret and all.
  EditA = make(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, Panel2, -216, 400, 25, 21, WS_EX_CLIENTEDGE);
  SendMessageW(EditA, EM_LIMITTEXT, 1, 0);
  ImmAssociateContext(EditA, nullptr);  // no input method on the focus holder
  SetWindowPos(EditA, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (int r = 0; r < kTallyRows; ++r) grid_.Rows[static_cast<std::size_t>(r)].fill({});
}

void TWin32Form::LayoutControls() {
  RECT rc{};
  GetClientRect(Form1, &rc);
  const int w = static_cast<int>(rc.right);
  const int h = static_cast<int>(rc.bottom);
  const int body = std::max(0, h - kStatusHeight);
  const int maxPanel = std::max(kPanelMinSize, w - kSplitterWidth - kPanelMinSize);
  const int panel = std::clamp(panelWidth_, kPanelMinSize, maxPanel);
  const int panelLeft = w - panel;
  const int inner = std::max(0, panel - 2);
  const int memoTop = std::max(41, body - 1 - 144);
  MoveWindow(LabelA1, 0, body, w, kStatusHeight, TRUE);
  MoveWindow(Panel2, panelLeft, 0, panel, body, TRUE);
  MoveWindow(Splitter1, panelLeft - kSplitterWidth, 0, kSplitterWidth, body, TRUE);
  MoveWindow(PaintBox1, 0, 0, std::max(0, panelLeft - kSplitterWidth), body, TRUE);
  MoveWindow(Panel3, 1, 1, inner, 40, TRUE);
  MoveWindow(Memo1, 1, memoTop, inner, std::max(0, body - 1 - memoTop), TRUE);
  MoveWindow(StringGrid1, 1, 41, inner, std::max(0, memoTop - 41), TRUE);
  UpdateGridScrollBars();
}

// ---- TFormFrontEnd ----

TWindowRect TWin32Form::WindowRect() const {
  RECT r{};
  if (IsIconic(Form1)) {
    // A minimised window's own rectangle is the icon's, far off screen: the placement to
    // keep is the one it is restored to.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(Form1, &placement);
    r = placement.rcNormalPosition;
  } else {
    GetWindowRect(Form1, &r);
  }
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
          static_cast<int>(r.bottom - r.top)};
}

void TWin32Form::SetWindowRect(const TWindowRect& r) {
  SetWindowPos(Form1, nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Form::SetPanelWidth(int width) {
  panelWidth_ = width;
  LayoutControls();
  RECT rc{};
  GetClientRect(Form1, &rc);
  panelWidth_ = std::clamp(width, kPanelMinSize,
                           std::max(kPanelMinSize, static_cast<int>(rc.right) - kSplitterWidth - kPanelMinSize));
}

void TWin32Form::SetFileNameCaption(const std::string& sjis) {
  const std::wstring text = Wide(sjis);
  SetWindowTextW(Label2, text.c_str());
  // Sized to its caption, as a label is.
  HDC dc = GetDC(Label2);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(Label2, dc);
  SetWindowPos(Label2, nullptr, 0, 0, std::max(1, static_cast<int>(size.cx)), 13,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Form::ScreenSizeAt(int x, int y, int& width, int& height) const {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTOPRIMARY);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    return;
  }
  width = static_cast<int>(info.rcMonitor.right - info.rcMonitor.left);
  height = static_cast<int>(info.rcMonitor.bottom - info.rcMonitor.top);
}

void TWin32Form::ResizeWindow(int width, int height) {
  SetWindowPos(Form1, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Form::SetStatusCaption(const std::string& sjis) {
  status_ = sjis;
  ShowStatus();
}

void TWin32Form::SetReadNotice(const std::string& sjis, bool alert) {
  notice_ = sjis;
  noticeAlert_ = alert;
  ShowStatus();
}

bool TWin32Form::JapaneseMessages() const {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

bool TWin32Form::StatusAlert() const { return status_.empty() && noticeAlert_; }

void TWin32Form::ShowStatus() {
  SetWindowTextW(LabelA1, Wide(status_.empty() ? notice_ : status_).c_str());
  InvalidateRect(LabelA1, nullptr, TRUE);  // the colour may change with the same text
}

void TWin32Form::ShowTally(const TTallyGrid& grid) {
  grid_ = grid;
  // A column widens to its widest number, so that no count is cut; the design widths stay
  // where the numbers fit.
  HDC dc = GetDC(StringGrid1);
  HGDIOBJ old = SelectObject(dc, font_);
  for (int c = 0; c < kTallyColumns; ++c) {
    int widest = 0;
    for (int r = 1; c > 0 && r < kTallyRows; ++r) {
      const std::wstring text = Wide(grid_.Cell(c, r));
      SIZE size{};
      if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
        widest = std::max(widest, static_cast<int>(size.cx) + 2 * kGridTextInset);
    }
    columnWidths_[static_cast<std::size_t>(c)] =
        c == 0 ? kGridFirstColumnWidth : std::max(kGridColumnWidth, widest);
  }
  SelectObject(dc, old);
  ReleaseDC(StringGrid1, dc);
  UpdateGridScrollBars();
  InvalidateRect(StringGrid1, nullptr, TRUE);
}

int TWin32Form::PreviewWidth() const {
  RECT rc{};
  GetClientRect(PaintBox1, &rc);
  return static_cast<int>(rc.right);
}

int TWin32Form::PreviewHeight() const {
  RECT rc{};
  GetClientRect(PaintBox1, &rc);
  return static_cast<int>(rc.bottom);
}

void TWin32Form::EnsureSurface() {
  const int w = std::max(1, PreviewWidth());
  const int h = std::max(1, PreviewHeight());
  if (surface_ && surface_->Width() == w && surface_->Height() == h) return;
  canvas_.reset();
  surface_ = std::make_unique<TDibSurface>(w, h);
  if (surface_->Valid()) PatBlt(surface_->Dc(), 0, 0, w, h, WHITENESS);
}

TCanvas& TWin32Form::BeginPreviewDrawing() {
  EnsureSurface();
  canvas_ = std::make_unique<TDibCanvas>(*surface_);
  return *canvas_;
}

void TWin32Form::ShowPreviewProgress() {
  GdiFlush();
  HDC dc = GetDC(PaintBox1);
  ShowSurface(dc);
  ReleaseDC(PaintBox1, dc);
  // Wine puts a window's pixels on the X screen when a look at the queue finds nothing: ask
  // for a message no one posts, so that no message of ours is taken or handled.
  MSG msg;
  PeekMessageW(&msg, nullptr, kNeverPostedMessage, kNeverPostedMessage, PM_NOREMOVE | PM_NOYIELD);
}

bool TWin32Form::QueueFirstDrawing() {
  if (!drawingQueued_ && PostMessageW(Form1, kQueuedDrawingMessage, 0, 0)) drawingQueued_ = true;
  return drawingQueued_;
}

void TWin32Form::EndPreviewDrawing() {
  canvas_.reset();
  // The drawing goes to the screen at once, as drawing on the paint box's canvas does.
  HDC dc = GetDC(PaintBox1);
  ShowSurface(dc);
  ReleaseDC(PaintBox1, dc);
}

void TWin32Form::ShowSurface(HDC target) {
  if (!surface_ || !surface_->Valid()) return;
  BitBlt(target, 0, 0, surface_->Width(), surface_->Height(), surface_->Dc(), 0, 0, SRCCOPY);
}

bool TWin32Form::StoreViewImage() {
  viewImage_.reset();
  if (!surface_ || !surface_->Valid()) return false;
  auto image = std::make_unique<TDibSurface>(surface_->Width(), surface_->Height());
  if (!image->Valid() || !BitBlt(image->Dc(), 0, 0, image->Width(), image->Height(), surface_->Dc(),
                                 0, 0, SRCCOPY))
    return false;
  viewImage_ = std::move(image);
  return true;
}

void TWin32Form::FreeImages() {
  viewImage_.reset();
  dragImage_.reset();
}

void TWin32Form::DrawViewImage() {
  if (!viewImage_ || !surface_) return;
  BitBlt(surface_->Dc(), 0, 0, viewImage_->Width(), viewImage_->Height(), viewImage_->Dc(), 0, 0,
         SRCCOPY);
}

// ---- Messages ----

HBRUSH TWin32Form::ControlBrush(HWND control, HDC dc) {
  COLORREF colour = kWhite;
  HBRUSH brush = whiteBrush_;
  if (control == LabelA1) {
    SetBkColor(dc, kStatusColour);
    SetTextColor(dc, StatusAlert() ? RGB(255, 0, 0) : GetSysColor(COLOR_WINDOWTEXT));
    return statusBrush_;
  } else if (control == Memo1) {
    colour = kMemoColour;
    brush = memoBrush_;
  } else if (control == Panel2) {
    colour = kCreamColour;
    brush = creamBrush_;
  } else if (control != Label1 && control != Label2 && control != Panel3) {
    return nullptr;
  }
  SetBkColor(dc, colour);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return brush;
}

LRESULT CALLBACK TWin32Form::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32Form* self = Attach(hwnd, msg, lp);
  if (!self || !self->Form1) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnFormMessage(msg, wp, lp);
}

LRESULT TWin32Form::OnFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = POINT{kMinWinWidth, kMinWinHeight};
      return 0;
    }
    case WM_SIZE:
      if (!LabelA1) break;
      if (wp == SIZE_MINIMIZED) return 0;  // nothing to lay out or keep at icon size
      LayoutControls();
      if (!resizing_) {
        resizing_ = true;
        form_.FormResize();
        resizing_ = false;
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (HBRUSH b = ControlBrush(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)))
        return reinterpret_cast<LRESULT>(b);
      break;
    case WM_SETFOCUS:
      SetFocus(EditA);  // the focus holder takes the keys first
      return 0;
    case kQueuedDrawingMessage:
      drawingQueued_ = false;
      // A posted message comes before the paints still due: the panel, the grid and the help
      // text are painted first, then the drawing starts.
      RedrawWindow(Form1, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      form_.DrawQueuedPicture();
      return 0;
    case WM_CLOSE:
      if (!closed_) {
        closed_ = true;
        form_.FormClose();
      }
      DestroyWindow(Form1);
      return 0;
    case WM_DESTROY:
      Form1 = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(Form1, msg, wp, lp);
}

LRESULT CALLBACK TWin32Form::PaintBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32Form* self = Attach(hwnd, msg, lp);
  if (!self || !self->PaintBox1) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnPaintBoxMessage(msg, wp, lp);
}

LRESULT TWin32Form::OnPaintBoxMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      PaintBox1MouseDown(wp, lp, false);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      PaintBox1MouseDown(wp, lp, true);
      return 0;
    case WM_MOUSEMOVE:
      form_.PaintBox1MouseMove(LowSigned(lp), HighSigned(lp));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // wParam holds the buttons still down after this release.
      if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == PaintBox1) ReleaseCapture();
      form_.PaintBox1MouseUp(LowSigned(lp), HighSigned(lp));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(PaintBox1, &ps);
      EnsureSurface();
      form_.PaintBox1Paint();
      ShowSurface(dc);
      EndPaint(PaintBox1, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(PaintBox1, msg, wp, lp);
}

LRESULT CALLBACK TWin32Form::SplitterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32Form* self = Attach(hwnd, msg, lp);
  if (!self || !self->Splitter1) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnSplitterMessage(msg, wp, lp);
}

LRESULT TWin32Form::OnSplitterMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      POINT p{};
      GetCursorPos(&p);
      splitterStartX_ = static_cast<int>(p.x);
      splitterStartWidth_ = panelWidth_;
      SetCapture(Splitter1);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (GetCapture() == Splitter1) {
        POINT p{};
        GetCursorPos(&p);
        // The panel grows as the bar moves left.
        SetPanelWidth(splitterStartWidth_ - (static_cast<int>(p.x) - splitterStartX_));
        InvalidateRect(PaintBox1, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == Splitter1) ReleaseCapture();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(Splitter1, msg, wp, lp);
}

LRESULT CALLBACK TWin32Form::PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32Form* self = Attach(hwnd, msg, lp);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (HBRUSH b = self->ControlBrush(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)))
        return reinterpret_cast<LRESULT>(b);
      break;
    case WM_ERASEBKGND: {
      RECT rc{};
      GetClientRect(hwnd, &rc);
      const auto dc = reinterpret_cast<HDC>(wp);
      FillRect(dc, &rc, hwnd == self->Panel2 ? self->creamBrush_ : self->whiteBrush_);
      DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);  // the panel's one-pixel raised bevel
      return 1;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TWin32Form::GridProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32Form* self = Attach(hwnd, msg, lp);
  if (!self || !self->StringGrid1) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnGridMessage(msg, wp, lp);
}

LRESULT TWin32Form::OnGridMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(StringGrid1, &ps);
      PaintGrid(dc);
      EndPaint(StringGrid1, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_VSCROLL:
      ScrollGrid(SB_VERT, wp);
      return 0;
    case WM_HSCROLL:
      ScrollGrid(SB_HORZ, wp);
      return 0;
    case WM_SIZE:
      UpdateGridScrollBars();
      return 0;
    case WM_LBUTTONDBLCLK: {
      int column = 0, row = 0;
      if (GridCellAt(LowSigned(lp), HighSigned(lp), column, row)) form_.StringGrid1DblClick(row, column);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(StringGrid1, msg, wp, lp);
}

namespace {

// How many scrolled cells from `first` fit after the fixed one in `extent` pixels (at least 1).
template <typename TSize>
int VisibleCells(int extent, int fixed, int first, int count, const TSize& size) {
  int used = fixed + kGridLine;
  int n = 0;
  for (int i = first; i < count && used + size(i) <= extent; ++i, ++n) used += size(i) + kGridLine;
  return std::max(1, n);
}

int RowHeight(int) { return kGridRowHeight; }

}  // namespace

void TWin32Form::UpdateGridScrollBars() {
  if (!StringGrid1) return;
  RECT rc{};
  GetClientRect(StringGrid1, &rc);
  const int rows = VisibleCells(rc.bottom, kGridRowHeight, 1, kTallyRows, RowHeight);
  const int cols = VisibleCells(rc.right, kGridFirstColumnWidth, 1, kTallyColumns,
                                [this](int c) { return GridColumnWidth(c); });
  gridTopRow_ = std::clamp(gridTopRow_, 1, std::max(1, kTallyRows - rows));
  gridLeftCol_ = std::clamp(gridLeftCol_, 1, std::max(1, kTallyColumns - cols));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 1;
  si.nMax = kTallyRows - 1;
  si.nPage = static_cast<UINT>(rows);
  si.nPos = gridTopRow_;
  SetScrollInfo(StringGrid1, SB_VERT, &si, TRUE);
  si.nMax = kTallyColumns - 1;
  si.nPage = static_cast<UINT>(cols);
  si.nPos = gridLeftCol_;
  SetScrollInfo(StringGrid1, SB_HORZ, &si, TRUE);
}

void TWin32Form::ScrollGrid(int bar, WPARAM wp) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(StringGrid1, bar, &si);
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
  (bar == SB_VERT ? gridTopRow_ : gridLeftCol_) = pos;
  UpdateGridScrollBars();
  InvalidateRect(StringGrid1, nullptr, FALSE);
}

void TWin32Form::PaintGrid(HDC dc) {
  RECT rc{};
  GetClientRect(StringGrid1, &rc);
  HBRUSH background = whiteBrush_;
  FillRect(dc, &rc, background);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  HBRUSH fixed = GetSysColorBrush(COLOR_BTNFACE);
  HPEN line = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, line);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  // Row 0 and column 0 stay; the others scroll by whole cells.
  auto rowAt = [&](int index) { return index == 0 ? 0 : gridTopRow_ + index - 1; };
  auto colAt = [&](int index) { return index == 0 ? 0 : gridLeftCol_ + index - 1; };
  int y = 0;
  for (int ri = 0; rowAt(ri) < kTallyRows && y < rc.bottom; ++ri) {
    const int row = rowAt(ri);
    int x = 0;
    for (int ci = 0; colAt(ci) < kTallyColumns && x < rc.right; ++ci) {
      const int col = colAt(ci);
      const int w = GridColumnWidth(col);
      RECT cell{x, y, x + w, y + kGridRowHeight};
      FillRect(dc, &cell, (row == 0 || col == 0) ? fixed : background);
      const std::wstring text = Wide(grid_.Cell(col, row));
      RECT clip = cell;
      ExtTextOutW(dc, x + kGridTextInset, y + 2, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()), nullptr);
      MoveToEx(dc, x + w, y, nullptr);
      LineTo(dc, x + w, y + kGridRowHeight + kGridLine);
      MoveToEx(dc, x, y + kGridRowHeight, nullptr);
      LineTo(dc, x + w + kGridLine, y + kGridRowHeight);
      x += w + kGridLine;
    }
    y += kGridRowHeight + kGridLine;
  }
  SelectObject(dc, oldPen);
  DeleteObject(line);
  SelectObject(dc, oldFont);
}

bool TWin32Form::GridCellAt(int x, int y, int& column, int& row) const {
  if (x < 0 || y < 0) return false;
  // The layout PaintGrid draws: row 0 and column 0 fixed, then the scrolled cells, each
  // followed by its one-pixel line.
  const int ri = y / (kGridRowHeight + kGridLine);
  row = ri == 0 ? 0 : gridTopRow_ + ri - 1;
  if (row >= kTallyRows) return false;
  int left = 0;
  for (int ci = 0;; ++ci) {
    column = ci == 0 ? 0 : gridLeftCol_ + ci - 1;
    if (column >= kTallyColumns) return false;
    left += GridColumnWidth(column) + kGridLine;
    if (x < left) return true;
  }
}

// ---- Navigation and the mark walk ----

bool TWin32Form::PreviewMessage(const MSG& msg) {
  if (!Form1 || !form_.Shown) return false;
  if (msg.message != WM_KEYDOWN && msg.message != WM_MOUSEWHEEL) return false;
  if (msg.hwnd != Form1 && !IsChild(Form1, msg.hwnd)) return false;
  if (msg.message == WM_KEYDOWN)
    return form_.FormKeyDown(static_cast<int>(msg.wParam), GetKeyState(VK_SHIFT) < 0);
  // The wheel's position is on the screen.
  return form_.FormMouseWheel(GET_WHEEL_DELTA_WPARAM(msg.wParam), LowSigned(msg.lParam), HighSigned(msg.lParam));
}

void TWin32Form::PaintBox1MouseDown(WPARAM wp, LPARAM lp, bool doubleClick) {
  if (!form_.Shown) return;
  // Moves and the release reach the preview even when the mouse leaves it.
  SetCapture(PaintBox1);
  form_.PaintBox1MouseDown(LowSigned(lp), HighSigned(lp),
                           MouseShiftState({.Left = (wp & MK_LBUTTON) != 0,
                                            .Right = (wp & MK_RBUTTON) != 0,
                                            .Middle = (wp & MK_MBUTTON) != 0,
                                            .DoubleClick = doubleClick,
                                            .Shift = (wp & MK_SHIFT) != 0,
                                            .Alt = GetKeyState(VK_MENU) < 0,
                                            .Ctrl = (wp & MK_CONTROL) != 0}));
}

// ---- Navigation's window services ----

TPreviewPlace TWin32Form::PreviewPlace() const {
  POINT origin{0, 0};
  ClientToScreen(Form1, &origin);
  // PaintBox1 sits at the client area's top-left corner.
  return {static_cast<int>(origin.x), static_cast<int>(origin.y), 0, 0, PreviewWidth(), PreviewHeight()};
}

void TWin32Form::CursorPos(int& x, int& y) const {
  POINT p{};
  GetCursorPos(&p);
  x = static_cast<int>(p.x);
  y = static_cast<int>(p.y);
}

void TWin32Form::FocusEditA() { SetFocus(EditA); }

void TWin32Form::PaintOnPreview(const std::function<void(TCanvas&)>& draw) {
  EnsureSurface();
  if (!surface_->Valid()) return;
  {
    TDibCanvas canvas(*surface_);
    draw(canvas);
  }
  HDC dc = GetDC(PaintBox1);
  ShowSurface(dc);
  ReleaseDC(PaintBox1, dc);
}

bool TWin32Form::TakeDragImage() {
  dragImage_.reset();
  if (!surface_ || !surface_->Valid()) return false;
  auto image = std::make_unique<TDibSurface>(surface_->Width(), surface_->Height());
  if (!image->Valid() || !BitBlt(image->Dc(), 0, 0, image->Width(), image->Height(), surface_->Dc(),
                                 0, 0, SRCCOPY))
    return false;
  dragImage_ = std::move(image);
  return true;
}

void TWin32Form::FreeDragImage() { dragImage_.reset(); }

void TWin32Form::ShowDragImageAt(int x, int y) {
  if (!dragImage_ || !surface_ || !surface_->Valid()) return;
  {
    TDibCanvas canvas(*surface_);
    ClearCanvas(canvas, surface_->Width(), surface_->Height());
  }
  BitBlt(surface_->Dc(), x, y, dragImage_->Width(), dragImage_->Height(), dragImage_->Dc(), 0, 0, SRCCOPY);
  HDC dc = GetDC(PaintBox1);
  ShowSurface(dc);
  ReleaseDC(PaintBox1, dc);
}

}  // namespace sxf
