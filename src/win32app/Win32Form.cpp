#include "win32app/Win32Form.h"

#include <imm.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "graphics/Primitives.h"
#include "platform/win32/ShiftJis.h"
#include "render/BandCanvases.h"
#include "win32app/Win32HandOver.h"
#include "win32app/WindowClass.h"

namespace sxf {

namespace {

constexpr const wchar_t* kFormClass = L"SxfUsertypeFinderForm1";
constexpr const wchar_t* kPanelClass = L"SxfPanel";

// Posted by the first paint: the preview's drawing, once the rest of the window is painted.
constexpr UINT kQueuedDrawingMessage = WM_APP + 1;

constexpr int kIconResource = 1;  // Resources.rc.in

constexpr COLORREF kStatusColour = RGB(231, 231, 231);
constexpr COLORREF kMemoColour = RGB(187, 235, 244);
constexpr COLORREF kCreamColour = RGB(255, 251, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);

std::wstring Wide(const std::string& sjis) { return ShiftJisToWide(sjis); }

// The form's keys as Windows names them.
constexpr TFormKeyCodes kWin32Keys = {VK_PRIOR, VK_NEXT, VK_INSERT, VK_END,    VK_HOME, VK_LEFT,
                                      VK_RIGHT, VK_UP,   VK_DOWN,   VK_ESCAPE, VK_F3,   VK_F1,
                                      'C',      'S',     'O',       VK_F5};

// A system resource's number (IDC_ARROW and the like are spelled for the A calls).
LPCWSTR ResourceW(LPCSTR id) noexcept { return reinterpret_cast<LPCWSTR>(id); }

// The dpi of the window's monitor (Windows 10 1607 and later), else the system's, which is
// every monitor's on older Windows.
int DpiOfWindow(HWND hwnd) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (hwnd && getDpiForWindow)
    if (const UINT dpi = getDpiForWindow(hwnd); dpi > 0) return static_cast<int>(dpi);
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

// The side panel's bevel and the controls' one-pixel insets stay one pixel at every scale.
constexpr int kBevel = 1;

// Design pixels above and below the status strip's text at the least.
constexpr int kStatusMargin = 2;

// The height of font's character cell (ascent and descent) in control's pixels.
int FontCellHeight(HWND control, HFONT font) {
  HDC dc = GetDC(control);
  if (!dc) return 0;
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  const int height = GetTextMetricsW(dc, &metrics) ? static_cast<int>(metrics.tmHeight) : 0;
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return height;
}

}  // namespace

TWin32Form::TWin32Form(HINSTANCE instance, std::string programFolder, std::string settingsFile)
    : instance_(instance),
      form_(*this, std::move(programFolder), std::move(settingsFile), kWin32Keys) {}

TWin32Form::~TWin32Form() {
  if (Form1) DestroyWindow(Form1);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(statusBrush_),
                    static_cast<HGDIOBJ>(memoBrush_), static_cast<HGDIOBJ>(whiteBrush_),
                    static_cast<HGDIOBJ>(creamBrush_)})
    if (o) DeleteObject(o);
}

bool TWin32Form::RegisterClasses(HINSTANCE instance) {
  // The program's own icon (resource 1), in the title bar's small size too.
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  if (!icon) icon = LoadIconW(nullptr, ResourceW(IDI_APPLICATION));
  const auto smallIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  return RegisterWindowClass(instance, kFormClass, FormProc, IDC_ARROW, 0, icon, smallIcon) &&
         // A panel paints itself whole when its size changes: its bevel moves with its edges.
         RegisterWindowClass(instance, kPanelClass, PanelProc, IDC_ARROW,
                             CS_HREDRAW | CS_VREDRAW) &&
         TWin32PaintBox::Register(instance) && TWin32SplitterBar::Register(instance) &&
         TWin32TallyGrid::Register(instance);
}

bool TWin32Form::Create(int showCommand) {
  if (!RegisterClasses(instance_)) return false;
  dpi_ = DpiOfWindow(nullptr);
  statusBrush_ = CreateSolidBrush(kStatusColour);
  memoBrush_ = CreateSolidBrush(kMemoColour);
  whiteBrush_ = CreateSolidBrush(kWhite);
  creamBrush_ = CreateSolidBrush(kCreamColour);

  // Design position and size; FormShow replaces them with the settings.
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  Form1 = CreateWindowExW(0, kFormClass, Wide(FormCaption()).c_str(), style, 194, 105,
                          Px(TDesignLengths::DesignWidth), Px(TDesignLengths::DesignHeight),
                          nullptr, nullptr, instance_, this);
  if (!Form1) return false;
  DragAcceptFiles(Form1, TRUE);  // a drawing file dropped on the window is opened
  if (const int dpi = DpiOfWindow(Form1); dpi != dpi_) {
    dpi_ = dpi;  // created on a monitor of another scale than the primary one
    SetWindowPos(Form1, nullptr, 0, 0, Px(TDesignLengths::DesignWidth),
                 Px(TDesignLengths::DesignHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateControls();
  ApplyFont();
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
    return CreateWindowExW(exStyle, cls, text, child | style, x, y, w, h, parent, nullptr,
                           instance_, this);
  };
  // Centred; a text wider than the strip is cut at its end with an ellipsis, so that its
  // beginning stays in sight (a centred text would lose both ends).
  LabelA1 = make(L"STATIC", L"\u3000", SS_CENTER | SS_CENTERIMAGE | SS_ENDELLIPSIS, Form1, 0, 368,
                 585, 24);
  paintBox_.Create(instance_, Form1);
  PaintBox1 = paintBox_.Handle();
  paintBox_.OnPaint = [this] { form_.PaintBox1Paint(); };
  paintBox_.OnMouseDown = [this](WPARAM buttons, int x, int y, bool doubleClick) {
    PaintBox1MouseDown(buttons, x, y, doubleClick);
  };
  paintBox_.OnMouseMove = [this](int x, int y) { form_.PaintBox1MouseMove(x, y); };
  paintBox_.OnMouseUp = [this](int x, int y) { form_.PaintBox1MouseUp(x, y); };
  splitter_.Create(instance_, Form1);
  Splitter1 = splitter_.Handle();
  splitter_.OnPress = [this] { splitterStartWidth_ = panelWidth_; };
  splitter_.OnDrag = [this](int dx) {
    SetPanelWidth(splitterStartWidth_ - dx);  // the panel grows as the bar moves left
    InvalidateRect(PaintBox1, nullptr, FALSE);
  };
  Panel2 = make(kPanelClass, L"", WS_CLIPCHILDREN, Form1, 384, 0, 201, 368);
  Panel3 = make(kPanelClass, L"", WS_CLIPCHILDREN, Panel2, 1, 1, 199, 40);
  Label1 = make(L"STATIC",
                Wide("\x90}\x96\xCA\x83t\x83@\x83\x43\x83\x8B\x96\xBC\x81"
                     "F")
                    .c_str(),
                0, Panel3, 0, 0, 112, 13);   // 図面ファイル名：
  fileName_ = Wide("\x81i\x90V\x8BK\x81j");  // （新規）
  Label2 = make(L"STATIC", fileName_.c_str(), 0, Panel3, 8, 16, 56, 13);
  std::wstring help;
  for (int i = 0; i < kFormHelpLineCount; ++i) {
    if (i > 0) help += L"\r\n";
    help += Wide(FormHelpLines()[i]);
  }
  // The help wraps its lines to the box's width: no horizontal scrolling.
  Memo1 = make(L"EDIT", help.c_str(), ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
               Panel2, 1, 223, 199, 144, WS_EX_CLIENTEDGE);
  tallyGrid_.Create(instance_, Panel2);
  StringGrid1 = tallyGrid_.Handle();
  tallyGrid_.OnDoubleClick = [this](int row, int column) {
    form_.StringGrid1DblClick(row, column);
  };
  // The focus holder is never seen: left of the panel's client area rather than at its design
  // place (216, 400), which a panel wider than 216 pixels would show, caret and all.
  EditA =
      make(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, Panel2, -216, 400, 25, 21, WS_EX_CLIENTEDGE);
  PassContextMenuToParent(Memo1);
  SendMessageW(EditA, EM_LIMITTEXT, 1, 0);
  ImmAssociateContext(EditA, nullptr);  // no input method on the focus holder
  SetWindowPos(EditA, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWin32Form::LayoutControls() {
  RECT rc{};
  GetClientRect(Form1, &rc);
  const int w = static_cast<int>(rc.right);
  const int h = static_cast<int>(rc.bottom);
  const int status = StatusHeight();
  const int splitter = Px(kSplitterWidth);
  const int side = Px(kMinSplitterSide);
  const int body = std::max(0, h - status);
  const int maxPanel = std::max(side, w - splitter - side);
  const int panel = std::clamp(panelWidth_, side, maxPanel);
  const int panelLeft = w - panel;
  const int inner = std::max(0, panel - 2 * kBevel);
  const int gridTop = kBevel + Px(TDesignLengths::PanelTopHeight);
  const TPanelSplit split = SplitPanel(gridTop, body - kBevel, tallyGrid_.WantedHeight(inner),
                                       Px(TDesignLengths::MemoMinHeight));
  MoveWindow(LabelA1, 0, body, w, status, TRUE);
  MoveWindow(Panel2, panelLeft, 0, panel, body, TRUE);
  MoveWindow(Splitter1, panelLeft - splitter, 0, splitter, body, TRUE);
  MoveWindow(PaintBox1, 0, 0, std::max(0, panelLeft - splitter), body, TRUE);
  MoveWindow(Panel3, kBevel, kBevel, inner, Px(TDesignLengths::PanelTopHeight), TRUE);
  MoveWindow(Label1, 0, 0, Px(TDesignLengths::Label1Width), Px(TDesignLengths::LabelHeight), TRUE);
  SetWindowPos(Label2, nullptr, Px(TDesignLengths::Label2Left), Px(TDesignLengths::Label2Top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  MoveWindow(Memo1, kBevel, split.MemoTop, inner, split.MemoHeight, TRUE);
  ShowWindow(Memo1, split.MemoHeight > 0 ? SW_SHOWNA : SW_HIDE);
  MoveWindow(StringGrid1, kBevel, gridTop, inner, split.GridHeight, TRUE);
  tallyGrid_.UpdateScrollBars();
  // A static control keeps the pixels it had where its size changed: the centred status text
  // would show at its old place as well.
  InvalidateRect(LabelA1, nullptr, TRUE);
}

void TWin32Form::ApplyFont() {
  HFONT old = font_;
  font_ = CreateFontW(-Px(TDesignLengths::FontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      SHIFTJIS_CHARSET, 0, 0, 0, 0,
                      L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF");  // ＭＳ ゴシック
  for (HWND control : {LabelA1, Panel2, Panel3, Label1, Label2, Memo1, EditA})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  tallyGrid_.SetFont(font_, dpi_);
  SizeFileNameLabel();
  statusHeight_ = std::max(Px(TDesignLengths::StatusHeight),
                           FontCellHeight(LabelA1, font_) + 2 * Px(kStatusMargin));
  if (old) DeleteObject(old);
}

void TWin32Form::DpiChanged(int newDpi, const RECT& suggested) {
  panelWidth_ = RescaleForDpi(panelWidth_, dpi_, newDpi);
  dpi_ = newDpi;
  ApplyFont();
  // The window placed from the settings keeps their size: it is in the screen's pixels.
  if (!placing_)
    SetWindowPos(Form1, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
  if (form_.Shown) form_.Redraw();  // the marks and the notice at the new scale
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
  placing_ = true;
  SetWindowPos(Form1, nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  placing_ = false;
}

void TWin32Form::SetPanelWidth(int width) {
  panelWidth_ = width;
  LayoutControls();
  RECT rc{};
  GetClientRect(Form1, &rc);
  const int side = Px(kMinSplitterSide);
  panelWidth_ = std::clamp(width, side,
                           std::max(side, static_cast<int>(rc.right) - Px(kSplitterWidth) - side));
}

void TWin32Form::SetFileNameCaption(const std::string& sjis) {
  fileName_ = Wide(sjis);
  SetWindowTextW(Label2, fileName_.c_str());
  SizeFileNameLabel();
}

void TWin32Form::SizeFileNameLabel() {
  // Sized to its caption, as a label is.
  HDC dc = GetDC(Label2);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32W(dc, fileName_.c_str(), static_cast<int>(fileName_.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(Label2, dc);
  SetWindowPos(Label2, nullptr, 0, 0, std::max(1, static_cast<int>(size.cx)),
               Px(TDesignLengths::LabelHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

std::string TWin32Form::MessageTextOfFileName(const std::string& utf8) const {
  return WideToShiftJis(Utf8ToWide(utf8));
}

bool TWin32Form::StatusAlert() const { return status_.empty() && noticeAlert_; }

void TWin32Form::ShowStatus() {
  SetWindowTextW(LabelA1, Wide(status_.empty() ? notice_ : status_).c_str());
  InvalidateRect(LabelA1, nullptr, TRUE);  // the colour may change with the same text
}

void TWin32Form::ShowTally(const TTallyGrid& grid) {
  tallyGrid_.Show(grid);
  LayoutControls();  // wider numbers may need the grid's horizontal scroll bar
}

int TWin32Form::PreviewWidth() const { return paintBox_.Width(); }
int TWin32Form::PreviewHeight() const { return paintBox_.Height(); }

TCanvas& TWin32Form::BeginPreviewDrawing() {
  canvas_ = std::make_unique<TDibCanvas>(paintBox_.Surface());
  return *canvas_;
}

std::vector<TCanvas*> TWin32Form::BeginBandedPreviewDrawing(std::span<const TBand> bands) {
  return HandOutBandCanvases(
      bandCanvases_, bands, [&] { return MakeBandCanvases(paintBox_.Surface(), bands); },
      [&]() -> TCanvas& { return BeginPreviewDrawing(); });
}

void TWin32Form::ShowPreviewProgress() { paintBox_.ShowSurfaceNow(); }

bool TWin32Form::QueueFirstDrawing() {
  if (!drawingQueued_ && PostMessageW(Form1, kQueuedDrawingMessage, 0, 0)) drawingQueued_ = true;
  return drawingQueued_;
}

void TWin32Form::EndPreviewDrawing() {
  canvas_.reset();
  bandCanvases_.clear();
  GdiFlush();
  // The drawing goes to the screen at once, as drawing on the paint box's canvas does.
  paintBox_.ShowSurface();
}

// A copy of the surface's pixels; null when there are none or no copy can be had.
std::unique_ptr<TDibSurface> TWin32Form::CopyOfSurface() {
  TDibSurface& surface = paintBox_.Surface();
  if (!surface.Valid()) return nullptr;
  auto image = std::make_unique<TDibSurface>(surface.Width(), surface.Height());
  if (!image->Valid() ||
      !BitBlt(image->Dc(), 0, 0, image->Width(), image->Height(), surface.Dc(), 0, 0, SRCCOPY))
    return nullptr;
  return image;
}

bool TWin32Form::StoreViewImage() {
  viewImage_ = CopyOfSurface();
  return viewImage_ != nullptr;
}

void TWin32Form::FreeImages() {
  viewImage_.reset();
  dragImage_.reset();
}

void TWin32Form::DrawViewImage() {
  if (!viewImage_) return;
  BitBlt(paintBox_.Surface().Dc(), 0, 0, viewImage_->Width(), viewImage_->Height(),
         viewImage_->Dc(), 0, 0, SRCCOPY);
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
  TWin32Form* self = AttachedOwner<TWin32Form>(hwnd, msg, lp);
  if (!self || !self->Form1) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnFormMessage(msg, wp, lp);
}

LRESULT TWin32Form::OnFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = POINT{Px(kMinWinWidth), Px(kMinWinHeight)};
      return 0;
    }
    case WM_DPICHANGED:
      if (!LabelA1) break;  // still in Create, which reads the dpi itself
      DpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
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
    case WM_CONTEXTMENU:
      if (ShowHandOverMenu(reinterpret_cast<HWND>(wp), lp)) return 0;
      break;
    case WM_DROPFILES: {
      const auto drop = reinterpret_cast<HDROP>(wp);
      std::wstring name;
      if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        name.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        name.resize(DragQueryFileW(drop, 0, name.data(), static_cast<UINT>(name.size())));
      }
      DragFinish(drop);
      if (!name.empty()) form_.OpenDrawingFile(WideToUtf8(name.c_str()));
      return 0;
    }
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
    default: break;
  }
  return DefWindowProcW(Form1, msg, wp, lp);
}

LRESULT CALLBACK TWin32Form::PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32Form* self = AttachedOwner<TWin32Form>(hwnd, msg, lp);
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
    default: break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace sxf
