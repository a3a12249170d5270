#include "form/Navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

// A window whose client area is at screen (100, 50) with a 400 x 300 preview at its top-left
// corner; it records what navigation asked of it.
class TFakeHost final : public TNavigationHost {
 public:
  TPreviewPlace Place{100, 50, 0, 0, 400, 300};
  int CursorX = 300, CursorY = 200;
  std::vector<std::string> Calls;
  test::TRecordingCanvas Canvas;
  bool SnapshotWorks = true;

  TPreviewPlace PreviewPlace() const override { return Place; }
  void CursorPos(int& x, int& y) const override {
    x = CursorX;
    y = CursorY;
  }
  void Redraw() override { Calls.push_back("Redraw"); }
  void FitAll() override { Calls.push_back("FitAll"); }
  void FocusEditA() override { Calls.push_back("FocusEditA"); }
  void PaintOnPreview(const std::function<void(TCanvas&)>& draw) override {
    Calls.push_back("Paint");
    draw(Canvas);
  }
  bool TakeDragImage() override {
    Calls.push_back("TakeDragImage");
    return SnapshotWorks;
  }
  void FreeDragImage() override { Calls.push_back("FreeDragImage"); }
  void ShowDragImageAt(int x, int y) override {
    Calls.push_back("ShowDragImageAt " + std::to_string(x) + " " + std::to_string(y));
  }
};

class NavigationTest : public ::testing::Test {
 protected:
  // World 0..400 x 0..300 at one pixel per unit; the previous view is recognisable.
  void SetUp() override { views = {test::MakeView(0, 0, 1, 400, 300), {.ViewScale = 7}}; }
  struct TEdges {
    double Left, Bottom, Right, Top, Scale;
  };
  TEdges View() const {
    return {view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop, view.ViewScale};
  }
  void ExpectView(const TEdges& v, const char* what) const {
    EXPECT_NEAR(view.ViewLeft, v.Left, 1e-9) << what;
    EXPECT_NEAR(view.ViewBottom, v.Bottom, 1e-9) << what;
    EXPECT_NEAR(view.ViewRight, v.Right, 1e-9) << what;
    EXPECT_NEAR(view.ViewTop, v.Top, 1e-9) << what;
    EXPECT_NEAR(view.ViewScale, v.Scale, 1e-12) << what;
  }
  void ExpectSavedView(const TEdges& v) const {
    EXPECT_EQ(views.SavedView.ViewLeft, v.Left);
    EXPECT_EQ(views.SavedView.ViewBottom, v.Bottom);
    EXPECT_EQ(views.SavedView.ViewRight, v.Right);
    EXPECT_EQ(views.SavedView.ViewTop, v.Top);
    EXPECT_EQ(views.SavedView.ViewScale, v.Scale);
  }
  // A gesture of buttons pressed at (x0, y0) and released at (x1, y1).
  void Gesture(int buttons, int x0, int y0, int x1, int y1) {
    if (buttons & kShiftLeftButton) nav_.MouseDown(x0, y0, kShiftLeftButton);
    if (buttons & kShiftRightButton)
      nav_.MouseDown(x0, y0, buttons & (kShiftLeftButton | kShiftRightButton));
    if (buttons & kShiftMiddleButton) nav_.MouseDown(x0, y0, kShiftMiddleButton);
    nav_.MouseMove(x1, y1);
    nav_.MouseUp(x1, y1);
  }

  TWindowViews views;
  TView& view = views.View;
  const TWorldBox extents{10, 20, 110, 60};
  TFakeHost host_;
  TNavigation nav_{host_, views, extents};
};

TEST_F(NavigationTest, WheelStepsKeepTheWorldPointUnderTheCursorAndComeBack) {
  const int sx = 100 + 80, sy = 50 + 60;  // preview pixel (80, 60): world (80, 240)
  const TEdges start = View();
  ASSERT_TRUE(nav_.MouseWheel(true, sx, sy));
  ExpectSavedView(start);
  EXPECT_DOUBLE_EQ(view.ViewScale, 1.5);
  ASSERT_TRUE(nav_.MouseWheel(true, sx, sy));
  EXPECT_NEAR(PixelToWorldX(views, 80), 80, 1e-9);
  EXPECT_NEAR(PixelToWorldY(views, 60), 240, 1e-9);
  ASSERT_TRUE(nav_.MouseWheel(false, sx, sy));
  ASSERT_TRUE(nav_.MouseWheel(false, sx, sy));
  ExpectView(start, "two steps in, two out");
  EXPECT_EQ(host_.Calls,
            (std::vector<std::string>{"FocusEditA", "Redraw", "FocusEditA", "Redraw", "FocusEditA",
                                      "Redraw", "FocusEditA", "Redraw"}));
}

TEST_F(NavigationTest, WheelOutsideThePreviewIsLeftUnhandled) {
  const TEdges start = View();
  // The preview's screen rectangle is 100..500 x 50..350, both ends inclusive.
  EXPECT_TRUE(nav_.MouseWheel(true, 500, 350));
  view = test::MakeView(0, 0, 1, 400, 300);
  host_.Calls.clear();
  for (auto [x, y] : {std::pair{99, 200}, {501, 200}, {300, 49}, {300, 351}}) {
    EXPECT_FALSE(nav_.MouseWheel(true, x, y)) << x << ", " << y;
  }
  EXPECT_TRUE(host_.Calls.empty());
  ExpectView(start, "outside");
}

TEST_F(NavigationTest, KeysZoomPanCentreAndFit) {
  const struct {
    TNavKey key;
    bool shift;
    int cursorX, cursorY;
    TEdges expected;  // from the start view 0..400 x 0..300 at scale 1
    const char* call;
  } cases[] = {
      // Page Up zooms about the preview's centre (200, 150) wherever the cursor is.
      {TNavKey::PageUp,
       false,
       0,
       0,
       {200 - 200 / 1.5, 150 - 150 / 1.5, 200 + 200 / 1.5, 150 + 150 / 1.5, 1.5},
       "Redraw"},
      {TNavKey::PageDown,
       false,
       0,
       0,
       {200 - 300, 150 - 225, 200 + 300, 150 + 225, 1 / 1.5},
       "Redraw"},
      // Insert and End centre the extents (60, 40) at the current scale.
      {TNavKey::Insert, false, 0, 0, {60 - 200, 40 - 150, 60 + 200, 40 + 150, 1}, "Redraw"},
      {TNavKey::End, false, 0, 0, {60 - 200, 40 - 150, 60 + 200, 40 + 150, 1}, "Redraw"},
      // Arrows move half the view, a tenth with Shift, while the cursor is over the preview.
      {TNavKey::Left, false, 300, 200, {-200, 0, 200, 300, 1}, "Redraw"},
      {TNavKey::Right, true, 100, 50, {40, 0, 440, 300, 1}, "Redraw"},
      {TNavKey::Up, false, 500, 350, {0, 150, 400, 450, 1}, "Redraw"},
      {TNavKey::Down, true, 300, 200, {0, -30, 400, 270, 1}, "Redraw"},
      {TNavKey::Left, false, 99, 200, {0, 0, 400, 300, 1}, nullptr},
      {TNavKey::Down, true, 300, 351, {0, 0, 400, 300, 1}, nullptr},
      {TNavKey::Escape, false, 300, 200, {0, 0, 400, 300, 1}, nullptr},
      {TNavKey::Home, false, 300, 200, {0, 0, 400, 300, 1}, "FitAll"},
  };
  for (const auto& c : cases) {
    SetUp();
    host_.Calls.clear();
    host_.CursorX = c.cursorX;
    host_.CursorY = c.cursorY;
    EXPECT_TRUE(nav_.KeyDown(c.key, c.shift));
    const std::string what =
        "key " + std::to_string(static_cast<int>(c.key)) + (c.shift ? " shift" : "");
    ExpectView(c.expected, what.c_str());
    EXPECT_EQ(host_.Calls, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{})
        << what;
  }
  EXPECT_FALSE(nav_.KeyDown(TNavKey::Other, false));
}

TEST_F(NavigationTest, TwoButtonGestures) {
  const struct {
    int x0, y0, x1, y1;
    TEdges expected;
    std::vector<std::string> calls;
  } cases[] = {
      // A click, and a drag of 100 right and 3 down: both re-centre on the press point.
      {200, 100, 200, 100, {0, 50, 400, 350, 1}, {"Redraw"}},
      {200, 100, 300, 103, {0, 50, 400, 350, 1}, {"Redraw"}},
      // Right and down: the box (100..300, 100..250 on screen) fits exactly, no margin.
      {100, 50, 300, 200, {100, 100, 300, 250, 2}, {"Redraw"}},
      // Left and up: half the scale whatever the box.
      {300, 200, 290, 190, {295 - 400, 105 - 300, 295 + 400, 105 + 300, 0.5}, {"Redraw"}},
      // Right and up: fit all. Left and down: the previous view.
      {100, 200, 300, 100, {0, 0, 400, 300, 1}, {"FitAll"}},
      {300, 100, 100, 200, {0, 0, 0, 0, 7}, {"Redraw"}},
  };
  for (const auto& c : cases) {
    SetUp();
    host_.Calls.clear();
    Gesture(kShiftLeftButton | kShiftRightButton, c.x0, c.y0, c.x1, c.y1);
    // Band drawn on the move and erased on the release.
    const std::vector<std::string> band = {"FocusEditA", "Paint", "Paint"};
    std::vector<std::string> expectedCalls = band;
    expectedCalls.insert(expectedCalls.end(), c.calls.begin(), c.calls.end());
    EXPECT_EQ(host_.Calls, expectedCalls) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    ExpectView(c.expected, "gesture");
    EXPECT_EQ(nav_.ButtonFlags, 0);
    EXPECT_FALSE(nav_.BandShown);
  }
}

TEST_F(NavigationTest, SwapTogglesAndSingleButtonsDoNothing) {
  const TEdges start = View();
  Gesture(kShiftLeftButton | kShiftRightButton, 300, 100, 100, 200);
  Gesture(kShiftLeftButton | kShiftRightButton, 300, 100, 100, 200);
  ExpectView(start, "swapped twice");
  host_.Calls.clear();
  Gesture(kShiftLeftButton, 10, 10, 200, 200);
  Gesture(kShiftRightButton, 10, 10, 200, 200);
  ExpectView(start, "single buttons");
  EXPECT_EQ(host_.Calls, (std::vector<std::string>{"FocusEditA", "FocusEditA"}));
}

TEST_F(NavigationTest, ASecondButtonKeepsThePressPointAndTheBandIsXor) {
  nav_.MouseDown(20, 30, kShiftLeftButton);
  nav_.MouseDown(90, 90, kShiftLeftButton | kShiftRightButton | kShiftShiftKey);
  EXPECT_EQ(nav_.PressX, 20);
  EXPECT_EQ(nav_.PressY, 30);
  EXPECT_EQ(nav_.ButtonFlags, kShiftLeftButton | kShiftRightButton | kShiftShiftKey);
  nav_.MouseMove(120, 80);
  nav_.MouseMove(150, 31);  // one pixel high: the band is a line
  ASSERT_TRUE(nav_.BandShown);
  const auto rects = host_.Canvas.Only<test::TRectangle>();
  ASSERT_EQ(rects.size(), 2u);  // the first box, then its erasure
  EXPECT_EQ(rects[0], rects[1]);
  EXPECT_EQ(rects[0].Pen.Mode, TPenMode::Xor);
  EXPECT_EQ(rects[0].Pen.Width, 3);
  EXPECT_EQ(rects[0].Pen.Color, RgbColor(0, 255, 255));
  EXPECT_EQ(rects[0].Brush.Style, TBrushStyle::Clear);
  EXPECT_EQ(host_.Canvas.Only<test::TLineTo>().size(), 1u);
  EXPECT_EQ(host_.Canvas.Only<test::TLineTo>()[0].Pen.Mode, TPenMode::Xor);
}

TEST_F(NavigationTest, MiddleDragMovesTheWorldPointUnderTheCursor) {
  nav_.MouseDown(100, 100, kShiftMiddleButton);
  EXPECT_TRUE(nav_.DragImageValid);
  nav_.MouseMove(130, 90);
  nav_.MouseUp(160, 80);
  // World (100, 200) was under the press point and is now under the release point.
  EXPECT_NEAR(PixelToWorldX(views, 160), 100, 1e-9);
  EXPECT_NEAR(PixelToWorldY(views, 80), 200, 1e-9);
  EXPECT_DOUBLE_EQ(view.ViewScale, 1);
  EXPECT_FALSE(nav_.DragImageValid);
  EXPECT_EQ(host_.Calls,
            (std::vector<std::string>{"TakeDragImage", "FocusEditA", "ShowDragImageAt 30 -10",
                                      "FreeDragImage", "Redraw"}));
  // Without a snapshot nothing follows the cursor, and the release still pans.
  host_.SnapshotWorks = false;
  host_.Calls.clear();
  nav_.MouseDown(0, 0, kShiftMiddleButton);
  nav_.MouseMove(10, 10);
  nav_.MouseUp(10, 0);
  EXPECT_EQ(host_.Calls, (std::vector<std::string>{"TakeDragImage", "FocusEditA", "Redraw"}));
  EXPECT_NEAR(PixelToWorldX(views, 170), 100, 1e-9);
}

TEST_F(NavigationTest, BoxesAndResizeKeepTheirInvariants) {
  // A degenerate box is floored at 0.001 units: the scale comes from the floor.
  ZoomViewToBox(views, 5, 5, 5, 5, 400, 300);
  EXPECT_DOUBLE_EQ(view.ViewScale, 300 / 0.001);
  EXPECT_NEAR((view.ViewLeft + view.ViewRight) / 2, 5, 1e-9);
  // Resizing keeps the centre and the scale; edges follow the new size; no save.
  views = {test::MakeView(0, 0, 2, 400, 300), {.ViewScale = 7}};
  AdjustViewToPreviewSize(views, 600, 100);
  EXPECT_EQ(view.ViewWidth, 600);
  EXPECT_DOUBLE_EQ(view.ViewScale, 2);
  EXPECT_DOUBLE_EQ(view.ViewRight - view.ViewLeft, 300);
  EXPECT_DOUBLE_EQ((view.ViewLeft + view.ViewRight) / 2, 100);
  EXPECT_DOUBLE_EQ((view.ViewBottom + view.ViewTop) / 2, 75);
  EXPECT_EQ(views.SavedView.ViewScale, 7);
}

}  // namespace
}  // namespace sxf
