// Navigation through the X server (run under Xvfb): a real wheel step over the preview and a
// real middle-button drag, sent through the XTEST extension, change the view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QtGui/qguiapplication_platform.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "globals/UnitGval.h"
#include "platform/qt/Fonts.h"

// After the project's headers: Xlib defines None, Bool and Status as macros.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace sxf {
namespace {

namespace fs = std::filesystem;

Display* TheDisplay() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

// Processes events until the condition holds or two seconds have passed.
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

void MovePointer(Display* d, QPoint screen) {
  XTestFakeMotionEvent(d, -1, screen.x(), screen.y(), CurrentTime);
  XSync(d, False);
}

void Button(Display* d, unsigned button, bool down) {
  XTestFakeButtonEvent(d, button, down ? True : False, CurrentTime);
  XSync(d, False);
}

TEST(NavigationX11, WheelStepAndMiddleDragThroughTheServer) {
  Display* d = TheDisplay();
  ASSERT_NE(d, nullptr);
  const fs::path dir = fs::temp_directory_path() / ("sxf-nav-x11-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const char* samples = std::getenv("SXF_SAMPLES");
  ASSERT_NE(samples, nullptr);
  fs::copy_file(fs::path(samples) / "floor-plan" / "JWC_TEMP.TXT", dir / "JWC_TEMP.TXT",
                fs::copy_options::overwrite_existing);
  std::ofstream(dir / "x.dat", std::ios::binary) << "40\r\n40\r\n700\r\n500\r\n200\r\n";
  auto form =
      std::make_unique<TForm1>(TProgramLocation{dir.string() + "/", (dir / "x.dat").string()});
  form->show();
  ASSERT_TRUE(WaitFor([&] { return form->ViewImage.has_value() && form->isActiveWindow(); }) ||
              form->ViewImage.has_value());
  TPaintBox* box = form->PaintBox1;
  const TView& view = form->Form.Views.View;

  // One wheel step towards the user (button 5) over the preview: zoom in about the cursor.
  const QPoint at(120, 90);
  MovePointer(d, box->mapToGlobal(at));
  ASSERT_TRUE(WaitFor([&] { return box->mapFromGlobal(QCursor::pos()) == at; }));
  const double scale = view.ViewScale;
  const double wx = view.ViewLeft + at.x() / view.ViewScale,
               wy = view.ViewTop - at.y() / view.ViewScale;
  Button(d, 5, true);
  Button(d, 5, false);
  ASSERT_TRUE(WaitFor([&] { return view.ViewScale != scale; }));
  EXPECT_NEAR(view.ViewScale, scale * 1.5, 1e-12 * scale);
  EXPECT_NEAR(view.ViewLeft + at.x() / view.ViewScale, wx, 1e-9);
  EXPECT_NEAR(view.ViewTop - at.y() / view.ViewScale, wy, 1e-9);

  // A middle-button drag: the world point under the press ends under the release.
  const QPoint to(200, 40);
  const double px = view.ViewLeft + at.x() / view.ViewScale,
               py = view.ViewTop - at.y() / view.ViewScale;
  Button(d, 2, true);
  ASSERT_TRUE(WaitFor([&] { return form->Nav.DragImageValid; }));
  MovePointer(d, box->mapToGlobal(QPoint(160, 60)));
  MovePointer(d, box->mapToGlobal(to));
  ASSERT_TRUE(WaitFor([&] { return box->mapFromGlobal(QCursor::pos()) == to; }));
  Button(d, 2, false);
  ASSERT_TRUE(WaitFor([&] { return !form->Nav.DragImageValid; }));
  EXPECT_NEAR(view.ViewLeft + to.x() / view.ViewScale, px, 1e-9);
  EXPECT_NEAR(view.ViewTop - to.y() / view.ViewScale, py, 1e-9);
  EXPECT_NEAR(view.ViewScale, scale * 1.5, 1e-12 * scale);

  form->close();
  form.reset();
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sxf

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  sxf::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
