#include "platform/qt/KeyState.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <memory>

#if __has_include(<QtGui/qguiapplication_platform.h>) && __has_include(<X11/Xlib.h>)
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#define SXF_HAVE_X11_KEYMAP 1
#endif

namespace sxf {

std::function<bool()> EscapeKeyQuery(int cacheMilliseconds) {
#if defined(SXF_HAVE_X11_KEYMAP) && QT_CONFIG(xcb)
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (display) {
    const KeyCode code = XKeysymToKeycode(display, XK_Escape);
    if (code != 0) {
      struct TCache {
        QElapsedTimer sinceQuery;
        bool held = false;
      };
      auto cache = std::make_shared<TCache>();
      return [display, code, cache, cacheMilliseconds] {
        if (cache->sinceQuery.isValid() && cache->sinceQuery.elapsed() < cacheMilliseconds)
          return cache->held;
        char keys[32] = {};
        XQueryKeymap(display, keys);
        cache->held = ((static_cast<unsigned char>(keys[code / 8]) >> (code % 8)) & 1) != 0;
        cache->sinceQuery.start();
        return cache->held;
      };
    }
  }
#endif
  (void)cacheMilliseconds;
  return [] { return false; };
}

}  // namespace sxf
