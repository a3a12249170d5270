#include "app/WindowManager.h"

#include <QGuiApplication>

#if __has_include(<QtGui/qguiapplication_platform.h>) && __has_include(<X11/Xlib.h>)
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#define SXF_HAVE_X11_WM_QUERY 1
#endif

namespace sxf {

bool WindowManagerPresent() {
#if defined(SXF_HAVE_X11_WM_QUERY) && QT_CONFIG(xcb)
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return false;
  // A window manager that follows the desktop conventions names its check window on the root.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                     count == 1;
  if (data) XFree(data);
  return found;
#else
  return false;
#endif
}

}  // namespace sxf
