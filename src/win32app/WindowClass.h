#pragma once
// What every window class of the Win32 window shares: registering a class, finding the object
// behind a window handle, painting, and reading a mouse message's coordinates.

#include "platform/win32/WindowsApi.h"

namespace sxf {

// Registers a window class whose procedure finds its object with AttachedOwner; a class
// registered before is fine. cursor is a system cursor (IDC_...).
inline bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                                LPCSTR cursor, UINT style, HICON icon = nullptr,
                                HICON smallIcon = nullptr) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(cursor));
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The object passed to CreateWindowExW as its creation parameter: stored at WM_NCCREATE, read
// back afterwards. Null for the messages before WM_NCCREATE.
template <typename T>
T* AttachedOwner(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Answers WM_PAINT: paint(dc) between BeginPaint and EndPaint.
template <typename Paint>
LRESULT PaintWindow(HWND hwnd, Paint&& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  paint(dc);
  EndPaint(hwnd, &ps);
  return 0;
}

// A mouse message's signed client coordinates (negative left of or above the window while
// the mouse is captured).
inline int LowSigned(LPARAM lp) noexcept { return static_cast<short>(LOWORD(lp)); }
inline int HighSigned(LPARAM lp) noexcept { return static_cast<short>(HIWORD(lp)); }

}  // namespace sxf
