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

#include "platform/qt/KeyState.h"

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
  const auto everyTime = EscapeKeyQuery(0);
  const auto cached = EscapeKeyQuery(60000);  // long enough for any machine's pauses
  const auto usual = EscapeKeyQuery();
  EXPECT_FALSE(everyTime());
  EXPECT_FALSE(cached());
  EXPECT_FALSE(usual());
  PressEscape(d, true);
  EXPECT_TRUE(everyTime());
  EXPECT_FALSE(cached());  // answered from its last query
  Wait(30);
  EXPECT_TRUE(usual());  // 20 ms have passed: asked again
  PressEscape(d, false);
  EXPECT_FALSE(everyTime());
  Wait(30);
  EXPECT_FALSE(usual());
}

}  // namespace
}  // namespace sxf

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
