#pragma once
// The bar between the preview and the side panel on the Windows API: dragging it with the left
// button changes the panel's width. It is drawn as a raised bar in the system's colours with a
// dotted grip at its middle, and shows the sizing cursor.

#include <functional>

#include "platform/win32/WindowsApi.h"

namespace sxf {

class TWin32SplitterBar {
 public:
  static bool Register(HINSTANCE instance);
  bool Create(HINSTANCE instance, HWND parent);
  HWND Handle() const noexcept { return hwnd_; }

  std::function<void()> OnPress;
  // While dragging: the horizontal distance moved since the press, in screen pixels.
  std::function<void(int dx)> OnDrag;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc) const;

  HWND hwnd_ = nullptr;
  int pressX_ = 0;  // screen x of the press
};

}  // namespace sxf
