#include "win32app/Win32SplitterBar.h"

#include <algorithm>

#include "win32app/WindowClass.h"

namespace sxf {

namespace {

constexpr const wchar_t* kSplitterClass = L"SxfSplitter";
constexpr int kGripDots = 8;

int CursorX() {
  POINT p{};
  GetCursorPos(&p);
  return static_cast<int>(p.x);
}

}  // namespace

bool TWin32SplitterBar::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kSplitterClass, Proc, IDC_SIZEWE, 0);
}

bool TWin32SplitterBar::Create(HINSTANCE instance, HWND parent) {
  hwnd_ = CreateWindowExW(0, kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 381, 0, 3, 368, parent,
                          nullptr, instance, this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK TWin32SplitterBar::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32SplitterBar* self = AttachedOwner<TWin32SplitterBar>(hwnd, msg, lp);
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnMessage(msg, wp, lp);
}

void TWin32SplitterBar::Paint(HDC dc) const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_LEFT | BF_RIGHT);
  // The grip: a column of dots at the bar's middle, as wide as a third of the bar's face.
  const int face = static_cast<int>(rc.right) - 2;
  const int dot = std::max(1, face / 3);
  const int left = (static_cast<int>(rc.right) - dot) / 2;
  const int dots = std::min(kGripDots, static_cast<int>(rc.bottom) / (2 * dot));
  const int top = (static_cast<int>(rc.bottom) - (2 * dots - 1) * dot) / 2;
  for (int i = 0; i < dots; ++i) {
    const RECT d{left, top + 2 * i * dot, left + dot, top + (2 * i + 1) * dot};
    FillRect(dc, &d, GetSysColorBrush(COLOR_BTNSHADOW));
  }
}

LRESULT TWin32SplitterBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: return PaintWindow(hwnd_, [this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR:
      // Over the bar, whatever a parent or a busy state set before.
      if (LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      pressX_ = CursorX();
      if (OnPress) OnPress();
      SetCapture(hwnd_);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd_ && OnDrag) OnDrag(CursorX() - pressX_);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd_) ReleaseCapture();
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace sxf
