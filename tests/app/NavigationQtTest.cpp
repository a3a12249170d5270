// The preview's navigation driven by real Qt events on the offscreen platform: wheel events at
// a position, mouse presses with button combinations, key events wherever the focus is.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <memory>

#include "app/PaintBox.h"
#include "app/SampleFormFixture.h"
#include "app/Unit1.h"
#include "globals/UnitGval.h"

namespace sxf {
namespace {

class NavigationQtTest : public test::SampleFormTest {
 protected:
  void SetUp() override {
    ShowSample("sxf-nav-", "0\r\n0\r\n700\r\n500\r\n200\r\n");
    box_ = form_ ? form_->PaintBox1 : nullptr;
  }

  void Wheel(QPoint at, int delta) {
    const QPointF global = box_->mapToGlobal(QPointF(at));
    QWheelEvent e(QPointF(at), global, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(box_, &e);
  }
  QPoint Device(QPoint p) const { return {box_->DevicePixel(p.x()), box_->DevicePixel(p.y())}; }
  // The world point under a widget position, the form's pixels being the screen's.
  double WorldX(QPoint p) const {
    return View().ViewLeft + box_->DevicePixel(p.x()) / View().ViewScale;
  }
  double WorldY(QPoint p) const {
    return View().ViewTop - box_->DevicePixel(p.y()) / View().ViewScale;
  }
  // Presses the buttons one after the other at from, moves and releases them at to.
  void Drag(std::initializer_list<Qt::MouseButton> buttons, QPoint from, QPoint to) {
    for (Qt::MouseButton b : buttons) QTest::mousePress(box_, b, Qt::NoModifier, from);
    QTest::mouseMove(box_, to);
    for (Qt::MouseButton b : buttons) QTest::mouseRelease(box_, b, Qt::NoModifier, to);
  }

  TPaintBox* box_ = nullptr;
};

TEST_F(NavigationQtTest, WheelStepsAboutTheCursorComeBack) {
  const QPoint at(70, 90);
  const double scale = View().ViewScale, wx = WorldX(at), wy = WorldY(at);
  Wheel(at, -120);  // towards the user: zoom in
  EXPECT_NEAR(View().ViewScale, scale * 1.5, 1e-12 * scale);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(form_->EditA));
  Wheel(at, -120);
  Wheel(at, 120);
  Wheel(at, 120);
  EXPECT_NEAR(View().ViewScale, scale, 1e-12 * scale);
  EXPECT_NEAR(WorldX(at), wx, 1e-9);
  EXPECT_NEAR(WorldY(at), wy, 1e-9);
}

TEST_F(NavigationQtTest, TwoButtonClickAndThinDragReCentreWithoutZooming) {
  for (QPoint to : {QPoint(100, 80), QPoint(200, 83)}) {
    const double scale = View().ViewScale;
    const QPoint from(100, 80);
    const double wx = WorldX(from), wy = WorldY(from);
    Drag({Qt::LeftButton, Qt::RightButton}, from, to);
    EXPECT_DOUBLE_EQ(View().ViewScale, scale);
    EXPECT_NEAR((View().ViewLeft + View().ViewRight) / 2, wx, 1e-9);
    EXPECT_NEAR((View().ViewBottom + View().ViewTop) / 2, wy, 1e-9);
    EXPECT_EQ(form_->Nav.ButtonFlags, 0);
  }
}

TEST_F(NavigationQtTest, RightDownBoxFitsExactlyAndLeftDownToggles) {
  const QPoint from(50, 40), to(250, 140);
  const double x0 = WorldX(from), y0 = WorldY(from), x1 = WorldX(to), y1 = WorldY(to);
  const double fitted = View().ViewScale;
  Drag({Qt::RightButton, Qt::LeftButton}, from, to);
  const double w = box_->SurfaceSize().width(), h = box_->SurfaceSize().height();
  EXPECT_DOUBLE_EQ(View().ViewScale, std::min(w / (x1 - x0), h / (y0 - y1)));
  EXPECT_NEAR((View().ViewLeft + View().ViewRight) / 2, (x0 + x1) / 2, 1e-9);
  Drag({Qt::LeftButton, Qt::RightButton}, QPoint(250, 40), QPoint(50, 140));  // left and down
  EXPECT_DOUBLE_EQ(View().ViewScale, fitted);
  Drag({Qt::LeftButton, Qt::RightButton}, QPoint(250, 40), QPoint(50, 140));
  EXPECT_NE(View().ViewScale, fitted);
}

TEST_F(NavigationQtTest, MiddleDragMovesTheViewByTheWorldDistanceUnderTheCursor) {
  const QPoint from(100, 100), to(180, 60);
  const double wx = WorldX(from), wy = WorldY(from), scale = View().ViewScale;
  QTest::mousePress(box_, Qt::MiddleButton, Qt::NoModifier, from);
  ASSERT_TRUE(form_->Nav.DragImageValid);
  const QImage picture = *form_->ViewImage;
  QTest::mouseMove(box_, to);
  // The snapshot follows the cursor: the picture's pixel at from is now at to.
  EXPECT_EQ(box_->Surface().pixel(Device(to) + QPoint(3, 3)),
            picture.pixel(Device(from) + QPoint(3, 3)));
  QTest::mouseRelease(box_, Qt::MiddleButton, Qt::NoModifier, to);
  EXPECT_FALSE(form_->Nav.DragImageValid);
  EXPECT_DOUBLE_EQ(View().ViewScale, scale);
  EXPECT_NEAR(WorldX(to), wx, 1e-9);
  EXPECT_NEAR(WorldY(to), wy, 1e-9);
}

TEST_F(NavigationQtTest, TheBandDrawnAndErasedLeavesThePictureUnchanged) {
  const QImage before = box_->Surface();
  QTest::mousePress(box_, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mousePress(box_, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseMove(box_, QPoint(200, 150));
  ASSERT_TRUE(form_->Nav.BandShown);
  EXPECT_NE(box_->Surface(), before);
  form_->Nav.DrawRubberBand();  // erases it
  EXPECT_EQ(box_->Surface(), before);
}

TEST_F(NavigationQtTest, KeysActWhereverTheFocusIsAndArrowsOnlyOverThePreview) {
  form_->StringGrid1->setFocus();
  const double scale = View().ViewScale;
  QCursor::setPos(form_->mapToGlobal(QPoint(form_->width() - 5, 5)));  // over the side panel
  form_->StringGrid1->setCurrentCell(3, 3);
  QTest::keyClick(form_->StringGrid1, Qt::Key_PageUp);
  EXPECT_NEAR(View().ViewScale, scale * 1.5, 1e-12 * scale);
  QTest::keyClick(form_->StringGrid1, Qt::Key_Down);
  // The grid did not move its current cell: the keys were swallowed.
  EXPECT_EQ(form_->StringGrid1->currentRow(), 3);
  const double left = View().ViewLeft, width = View().ViewRight - View().ViewLeft;
  QTest::keyClick(form_->StringGrid1, Qt::Key_Right);
  EXPECT_EQ(View().ViewLeft, left);  // cursor outside the preview
  QCursor::setPos(box_->mapToGlobal(QPoint(10, 10)));
  QTest::keyClick(form_->Memo1, Qt::Key_Right);
  EXPECT_NEAR(View().ViewLeft, left + width / 2, 1e-9);
  QTest::keyClick(form_->Memo1, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_NEAR(View().ViewLeft, left + width / 2 - width / 10, 1e-9);
  QTest::keyClick(form_->EditA, Qt::Key_Home);
  EXPECT_DOUBLE_EQ(View().ViewScale, scale);
}

}  // namespace
}  // namespace sxf
