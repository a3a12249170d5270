// Walking from mark to mark in the window with real key events and double clicks on the grid,
// on the offscreen platform, with the sample floor plan.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "app/PaintBox.h"
#include "app/SampleFormFixture.h"
#include "app/Unit1.h"
#include "form/WindowMessages.h"
#include "globals/UnitGval.h"
#include "platform/qt/ShiftJis.h"
#include "text/TextLocale.h"
#include "search/LineTypeMarks.h"
#include "search/LineTypeTally.h"

namespace sxf {
namespace {

class MarkWalkQtTest : public test::SampleFormTest {
 protected:
  void SetUp() override {
    ShowSample("sxf-walk-", "0\r\n0\r\n900\r\n600\r\n250\r\n");
    marks_ = CollectLineTypeMarks(Drawing());
  }
  void Key(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_->StringGrid1, Qt::Key_F3, modifiers);  // the key preview sees it anywhere
  }
  bool InView(const TLineTypeMark& m) const {
    const TView& v = View();
    return m.X > v.ViewLeft && m.X < v.ViewRight && m.Y > v.ViewBottom && m.Y < v.ViewTop;
  }
  std::string Status() const { return form_->LabelA1->text().toStdString(); }
  static std::string NothingToWalk() {
    return ShiftJisToQString(NothingToWalkText(JapaneseLanguageFromEnvironment())).toStdString();
  }

  std::vector<TLineTypeMark> marks_;
};

TEST_F(MarkWalkQtTest, F3StepsThroughEveryMarkInOrderAndWraps) {
  ASSERT_EQ(marks_.size(), 12u);
  const double fitScale = View().ViewScale;
  for (std::size_t i = 0; i <= marks_.size(); ++i) {
    Key();
    const TLineTypeMark& m = marks_[i % marks_.size()];
    EXPECT_TRUE(InView(m)) << "step " << i;
    EXPECT_GT(View().ViewScale, fitScale) << "step " << i;
    const std::string expected = std::to_string(i % marks_.size() + 1) + " / 12  ";
    EXPECT_EQ(Status().substr(0, expected.size()), expected) << Status();
  }
  // Shift+F3 goes back, past the start to the last.
  Key(Qt::ShiftModifier);
  EXPECT_EQ(Status().substr(0, 8), "12 / 12 ");
  // Each step saves the view: the previous view is the one before the step.
  const double left = View().ViewLeft, scale = View().ViewScale;
  Key();
  EXPECT_EQ(Views().SavedView.ViewLeft, left);
  EXPECT_EQ(Views().SavedView.ViewScale, scale);
  EXPECT_EQ(Status().substr(0, 7), "1 / 12 ");
  EXPECT_TRUE(InView(marks_[0]));
  // Any other navigation ends the walk and its status.
  QTest::keyClick(form_->StringGrid1, Qt::Key_Home);
  EXPECT_EQ(Status(), "");
  Key();
  EXPECT_EQ(Status().substr(0, 7), "1 / 12 ");
}

TEST_F(MarkWalkQtTest, ADoubleClickOnACountWalksThatLineTypeAndKind) {
  // Row 23 (type 23) has one arc and one ellipse; its arc column walks the arc alone.
  form_->StringGrid1DblClick(23 - 16, kTallyArc);
  EXPECT_NE(Status().find("1 / 1  "), std::string::npos) << Status();
  EXPECT_NE(Status().find("  23  "), std::string::npos) << Status();
  // Row 17's lines: two of them, wrapping.
  form_->StringGrid1DblClick(1, kTallyLine);
  EXPECT_EQ(Status().substr(0, 6), "1 / 2 ");
  Key();
  EXPECT_EQ(Status().substr(0, 6), "2 / 2 ");
  Key();
  EXPECT_EQ(Status().substr(0, 6), "1 / 2 ");
  // An empty cell moves nothing and says so.
  const double scale = View().ViewScale;
  form_->StringGrid1DblClick(2, kTallyLine);  // type 18: nothing
  EXPECT_EQ(Status(), NothingToWalk());
  EXPECT_EQ(View().ViewScale, scale);
}

TEST_F(MarkWalkQtTest, DoubleClicksOnTotalsWalkTheirMarksAndTheCurrentOneIsSetApart) {
  const auto blue = [this] {
    int n = 0;
    const QImage& image = *form_->ViewImage;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(0, 64, 255);
    return n;
  };
  EXPECT_EQ(blue(), 0) << "no walk, no highlight";
  const struct {
    int row, column;
    std::string status;
  } cases[] = {
      {1, 7, "1 / 2  "},            // the row total of type 17: its two segments
      {4, 7, "1 / 2  "},            // type 20: a circle and a full circular arc
      {17, kTallyLine, "1 / 6  "},  // every segment
      {17, 7, "1 / 12  "},          // every mark
      {2, 7, NothingToWalk()},      // type 18: a total of 0
  };
  for (const auto& c : cases) {
    QTest::keyClick(form_->StringGrid1, Qt::Key_Home);
    const double scale = View().ViewScale;
    QTableWidgetItem* item = form_->StringGrid1->item(c.row, c.column);
    form_->StringGrid1->scrollToItem(item);
    const QRect cell = form_->StringGrid1->visualItemRect(item);
    // A double click as the platform delivers it: a click, then the second press as a double one.
    QTest::mouseClick(form_->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(form_->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    const bool walks = c.status[0] == '1';
    EXPECT_EQ(Status().substr(0, c.status.size()), c.status) << c.row << "," << c.column;
    EXPECT_EQ(View().ViewScale != scale, walks) << c.row << "," << c.column;
    EXPECT_EQ(blue() > 50, walks) << c.row << "," << c.column;
    EXPECT_EQ(item->background().style() != Qt::NoBrush, walks) << "the walked cell is set apart";
  }
  QTest::keyClick(form_->StringGrid1, Qt::Key_F3);
  const TLineTypeMark& second = marks_[1];  // F3 goes on from the first of every mark
  EXPECT_NE(form_->StringGrid1->item(second.Number - 16, second.Column)->background().style(),
            Qt::NoBrush);
  QTest::keyClick(form_->StringGrid1, Qt::Key_Home);
  for (int r = 1; r < kTallyRows; ++r)
    for (int c = 1; c < kTallyColumns; ++c)
      EXPECT_EQ(form_->StringGrid1->item(r, c)->background().style(), Qt::NoBrush)
          << "the walk ended";
}

}  // namespace
}  // namespace sxf
