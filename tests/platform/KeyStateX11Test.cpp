// The Escape key query against a real X server (run under Xvfb): it sees a key held down
// through the XTEST extension, and answers from its last query for 20 ms.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <thread>

#include "platform/KeyState.h"

namespace sxf {
namespace {

Display* TheDisplay() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

void PressEscape(Display* d, bool down) {
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Escape), down ? True : False, CurrentTime);
  XSync(d, False);
}

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST(EscapeKeyQuery, SeesTheHeldKeyAndThrottlesItsQueries) {
  Display* d = TheDisplay();
  ASSERT_NE(d, nullptr);
  const auto escapeHeld = EscapeKeyQuery();
  EXPECT_FALSE(escapeHeld());
  PressEscape(d, true);
  EXPECT_FALSE(escapeHeld());  // answered from the query made a moment ago
  Wait(30);
  EXPECT_TRUE(escapeHeld());
  PressEscape(d, false);
  EXPECT_TRUE(escapeHeld());
  Wait(30);
  EXPECT_FALSE(escapeHeld());
}

}  // namespace
}  // namespace sxf

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
