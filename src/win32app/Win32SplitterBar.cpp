#include "win32app/Win32SplitterBar.h"

#include "win32app/WindowClass.h"

namespace sxf {

namespace {

constexpr const wchar_t* kSplitterClass = L"SxfSplitter";

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

LRESULT TWin32SplitterBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
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
