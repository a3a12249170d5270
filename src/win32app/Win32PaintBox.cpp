#include "win32app/Win32PaintBox.h"

#include <algorithm>

#include "win32app/WindowClass.h"

namespace sxf {

namespace {

constexpr const wchar_t* kPaintBoxClass = L"SxfPaintBox";
// A message no one posts: looking for it finds nothing and takes nothing out of the queue.
constexpr UINT kNeverPostedMessage = WM_APP + 2;

}  // namespace

bool TWin32PaintBox::Register(HINSTANCE instance) {
  // The preview tells a double click from two presses.
  return RegisterWindowClass(instance, kPaintBoxClass, Proc, IDC_ARROW, CS_DBLCLKS);
}

bool TWin32PaintBox::Create(HINSTANCE instance, HWND parent) {
  hwnd_ = CreateWindowExW(0, kPaintBoxClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 381, 368, parent,
                          nullptr, instance, this);
  return hwnd_ != nullptr;
}

int TWin32PaintBox::Width() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return static_cast<int>(rc.right);
}

int TWin32PaintBox::Height() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return static_cast<int>(rc.bottom);
}

TDibSurface& TWin32PaintBox::Surface() {
  const int w = std::max(1, Width());
  const int h = std::max(1, Height());
  if (!surface_ || surface_->Width() != w || surface_->Height() != h) {
    surface_ = std::make_unique<TDibSurface>(w, h);
    if (surface_->Valid()) PatBlt(surface_->Dc(), 0, 0, w, h, WHITENESS);
  }
  return *surface_;
}

void TWin32PaintBox::ShowOn(HDC target) {
  if (!surface_ || !surface_->Valid()) return;
  BitBlt(target, 0, 0, surface_->Width(), surface_->Height(), surface_->Dc(), 0, 0, SRCCOPY);
}

void TWin32PaintBox::ShowOnWindow() {
  HDC dc = GetDC(hwnd_);
  ShowOn(dc);
  ReleaseDC(hwnd_, dc);
}

void TWin32PaintBox::ShowSurface() {
  if (!inPaint_) ShowOnWindow();  // a paint shows the surface as OnPaint leaves it
}

void TWin32PaintBox::ShowSurfaceNow() {
  GdiFlush();
  ShowOnWindow();
  // Wine puts a window's pixels on the X screen when a look at the queue finds nothing.
  MSG msg;
  PeekMessageW(&msg, nullptr, kNeverPostedMessage, kNeverPostedMessage, PM_NOREMOVE | PM_NOYIELD);
}

LRESULT CALLBACK TWin32PaintBox::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWin32PaintBox* self = AttachedOwner<TWin32PaintBox>(hwnd, msg, lp);
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnMessage(msg, wp, lp);
}

LRESULT TWin32PaintBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const bool doubleClick =
          msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      if (OnMouseDown) OnMouseDown(wp, LowSigned(lp), HighSigned(lp), doubleClick);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(LowSigned(lp), HighSigned(lp));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // wParam holds the buttons still down after this release.
      if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == hwnd_)
        ReleaseCapture();
      if (OnMouseUp) OnMouseUp(LowSigned(lp), HighSigned(lp));
      return 0;
    case WM_PAINT: {
      // OnPaint may put anything on the whole surface: all of it goes to the screen, not only
      // what the system found out of date (after an enlargement, the new strips).
      InvalidateRect(hwnd_, nullptr, FALSE);
      return PaintWindow(hwnd_, [this](HDC dc) {
        Surface();
        inPaint_ = true;
        if (OnPaint) OnPaint();
        inPaint_ = false;
        ShowOn(dc);
      });
    }
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace sxf
