// The Win32 window's side of navigation: keys and the wheel before any control sees them,
// the preview's presses, and the window services the form's navigation asks for.

#include "graphics/Primitives.h"
#include "platform/win32/DibCanvas.h"
#include "win32app/Win32Form.h"
#include "win32app/WindowClass.h"

namespace sxf {

// ---- Navigation and the mark walk ----

bool TWin32Form::PreviewMessage(const MSG& msg) {
  if (!Form1 || !form_.Shown) return false;
  if (msg.message != WM_KEYDOWN && msg.message != WM_MOUSEWHEEL) return false;
  if (msg.hwnd != Form1 && !IsChild(Form1, msg.hwnd)) return false;
  if (msg.message == WM_KEYDOWN)
    return form_.FormKeyDown(static_cast<int>(msg.wParam), GetKeyState(VK_SHIFT) < 0,
                             GetKeyState(VK_CONTROL) < 0);
  // The wheel's position is on the screen. Over the preview it zooms; over the grid or the
  // help text it scrolls that, wherever the focus is (it stays on the hidden focus holder).
  const POINT at{LowSigned(msg.lParam), HighSigned(msg.lParam)};
  if (form_.FormMouseWheel(GET_WHEEL_DELTA_WPARAM(msg.wParam), at.x, at.y)) return true;
  const HWND under = WindowFromPoint(at);
  if (under != StringGrid1 && under != Memo1) return false;
  SendMessageW(under, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
  return true;
}

void TWin32Form::PaintBox1MouseDown(WPARAM wp, int x, int y, bool doubleClick) {
  if (!form_.Shown) return;
  // Moves and the release reach the preview even when the mouse leaves it.
  SetCapture(PaintBox1);
  form_.PaintBox1MouseDown(x, y,
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
  return {static_cast<int>(origin.x),
          static_cast<int>(origin.y),
          0,
          0,
          PreviewWidth(),
          PreviewHeight()};
}

void TWin32Form::CursorPos(int& x, int& y) const {
  POINT p{};
  GetCursorPos(&p);
  x = static_cast<int>(p.x);
  y = static_cast<int>(p.y);
}

void TWin32Form::FocusEditA() { SetFocus(EditA); }

void TWin32Form::PaintOnPreview(const std::function<void(TCanvas&)>& draw) {
  TDibSurface& surface = paintBox_.Surface();
  if (!surface.Valid()) return;
  {
    TDibCanvas canvas(surface);
    draw(canvas);
  }
  paintBox_.ShowSurface();
}

bool TWin32Form::TakeDragImage() {
  dragImage_ = CopyOfSurface();
  return dragImage_ != nullptr;
}

void TWin32Form::FreeDragImage() { dragImage_.reset(); }

void TWin32Form::ShowDragImageAt(int x, int y) {
  TDibSurface& surface = paintBox_.Surface();
  if (!dragImage_ || !surface.Valid()) return;
  {
    TDibCanvas canvas(surface);
    ClearCanvas(canvas, surface.Width(), surface.Height());
  }
  BitBlt(surface.Dc(), x, y, dragImage_->Width(), dragImage_->Height(), dragImage_->Dc(), 0, 0,
         SRCCOPY);
  paintBox_.ShowSurface();
}

}  // namespace sxf
