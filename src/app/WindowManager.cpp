#include "app/WindowManager.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#if __has_include(<QtGui/qguiapplication_platform.h>) && __has_include(<X11/Xlib.h>)
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#define SXF_HAVE_X11_WM_QUERY 1
#endif

namespace sxf {

namespace {

#if defined(SXF_HAVE_X11_WM_QUERY) && QT_CONFIG(xcb)
Display* TheDisplay() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

// The four 32-bit values of _NET_FRAME_EXTENTS on the window, when it has them.
std::optional<QMargins> FrameExtentsProperty(Display* display, Window w, Atom extents) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<QMargins> margins;
  if (XGetWindowProperty(display, w, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success &&
      data && format == 32 && count == 4) {
    const long* v = reinterpret_cast<const long*>(data);  // left, right, top, bottom
    margins = QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                       static_cast<int>(v[3]));
  }
  if (data) XFree(data);
  return margins;
}
#endif

}  // namespace

std::optional<QMargins> FrameExtentsBeforeMapping(QWindow& window) {
#if defined(SXF_HAVE_X11_WM_QUERY) && QT_CONFIG(xcb)
  Display* display = TheDisplay();
  if (!display || !WindowManagerPresent()) return std::nullopt;
  const Window w = static_cast<Window>(window.winId());
  const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = request;
  e.xclient.format = 32;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XSync(display, False);
  // The answer is a property on the window; a window manager that does not know the request
  // leaves it unset. No window event is processed while waiting.
  QElapsedTimer waited;
  waited.start();
  do {
    if (auto margins = FrameExtentsProperty(display, w, extents)) {
      // The window manager speaks in the screen's pixels; the widget's geometry is in Qt's
      // device-independent ones.
      const double ratio = window.devicePixelRatio();
      if (ratio > 0.0 && ratio != 1.0)
        margins = QMargins(qRound(margins->left() / ratio), qRound(margins->top() / ratio),
                           qRound(margins->right() / ratio), qRound(margins->bottom() / ratio));
      return margins;
    }
    QThread::msleep(2);
  } while (waited.elapsed() < 200);
  return std::nullopt;
#else
  (void)window;
  return std::nullopt;
#endif
}

bool WindowManagerPresent() {
#if defined(SXF_HAVE_X11_WM_QUERY) && QT_CONFIG(xcb)
  Display* display = TheDisplay();
  if (!display) return false;
  // A window manager that follows the desktop conventions names its check window on the root.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found =
      XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                         &format, &count, &after, &data) == Success &&
      count == 1;
  if (data) XFree(data);
  return found;
#else
  return false;
#endif
}

}  // namespace sxf
