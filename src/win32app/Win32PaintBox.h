#pragma once
// The preview's paint box on the Windows API. It owns a DIB section that stands for its pixels
// on screen: all drawing goes into that surface, and a paint only shows it. A paint the system
// asks for (first show, a size change, uncovering) first runs OnPaint, so that the window can
// decide what to put on the surface.

#include <functional>
#include <memory>

#include "platform/win32/DibSurface.h"
#include "platform/win32/WindowsApi.h"

namespace sxf {

class TWin32PaintBox {
 public:
  static bool Register(HINSTANCE instance);
  // The control, a child of parent; false when it cannot be made.
  bool Create(HINSTANCE instance, HWND parent);
  HWND Handle() const noexcept { return hwnd_; }

  int Width() const;
  int Height() const;
  // The pixels, the control's size (at least 1 x 1); a new surface, white, after a change of
  // size. Not Valid() when the system refuses one.
  TDibSurface& Surface();
  // Shows the surface as it is now; inside OnPaint, when that paint ends.
  void ShowSurface();
  // Puts the surface on the screen at once while a drawing goes on, handling no message: the
  // progress of a long drawing.
  void ShowSurfaceNow();

  std::function<void()> OnPaint;
  // Mouse buttons and moves over the preview, in its pixels. Presses capture the mouse until
  // the last button is up; a double click counts as a press.
  std::function<void(WPARAM buttons, int x, int y, bool doubleClick)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(int x, int y)> OnMouseUp;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void ShowOn(HDC target);
  void ShowOnWindow();

  HWND hwnd_ = nullptr;
  bool inPaint_ = false;  // OnPaint runs
  std::unique_ptr<TDibSurface> surface_;
};

}  // namespace sxf
