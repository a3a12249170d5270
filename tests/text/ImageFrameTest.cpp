#include "text/ImageFrame.h"

#include <gtest/gtest.h>

#include "model/JwwGaibu2.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

using test::TRectangle;

TEST(ParseImageText, FieldsAndTheirDefaults) {
  using F = std::array<double, 5>;
  struct Case {
    const char* text;
    F fields;
  };
  for (const Case& k : {
           Case{"^@BMpic.bmp,20", F{20, 20, 0, 0, 1}},
           Case{"^@BMpic.bmp,30,10", F{30, 10, 0, 0, 1}},
           Case{"^@BMpic.bmp,30,10,0.5", F{30, 10, 0.5, 0, 1}},
           Case{"^@BM,30,10,0.5,0.5,2", F{30, 10, 0.5, 0.5, 2}},
           Case{"^@BMp,30,10,1,2,3,4", F{30, 10, 1, 2, 0}},  // the fifth takes "3,4"
           Case{"^@BMp,abc", F{0, 0, 0, 0, 1}},
           Case{"^@BMp,abc,5", F{0, 5, 0, 0, 1}},
           Case{"^@BMp,", F{0, 0, 0, 0, 1}},
       }) {
    const auto image = ParseImageText(k.text);
    ASSERT_TRUE(image) << k.text;
    EXPECT_EQ(image->Fields, k.fields) << k.text;
  }
  EXPECT_EQ(ParseImageText("^@BMpic.bmp,20")->FileName, "pic.bmp");
  EXPECT_FALSE(ParseImageText("^@BMpic.bmp"));
  EXPECT_FALSE(ParseImageText("^@bmpic.bmp,20"));
  EXPECT_FALSE(ParseImageText("x^@BMpic,20"));
}

class ImageFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ResetDrawingState(view); }
  test::TRecordingCanvas c;
  TView view;
};

TEST_F(ImageFrameTest, AHatchedFrameOfThePicturesSizeAtItsCorner) {
  TJwwEntTxt e;
  e.Hdr.Color = 3;
  e.X = 10;
  e.Y = 20;
  e.Text = "^@BMa.bmp,30,10";
  DrawImageEntity(c, view, -1, e, 1.0);
  const auto rects = c.Only<TRectangle>();
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].X1, 10);
  EXPECT_EQ(rects[0].Y1, 80);
  EXPECT_EQ(rects[0].X2, 40);
  EXPECT_EQ(rects[0].Y2, 70);
  EXPECT_EQ(rects[0].Brush.Style, TBrushStyle::BDiagonal);
  EXPECT_EQ(rects[0].Brush.Color, GraAttr->GetPenColor(3));
  EXPECT_EQ(rects[0].Pen.Color, GraAttr->GetPenColor(3));
  EXPECT_EQ(rects[0].Pen.Style, TPenStyle::Solid);

  // The group scale moves the corner but leaves the size.
  c.Commands.clear();
  TDrawing drawing;
  drawing.LayerGroupScale[1] = 100.0;
  e.Hdr.Group = 1;
  e.X = 1000;
  e.Y = 2000;
  DrawImageEntity(c, view, RgbColor(9, 8, 7), e, drawing.GroupScaleDivisor(e.Hdr));
  ASSERT_EQ(c.Only<TRectangle>().size(), 1u);
  const TRectangle r = c.Only<TRectangle>()[0];
  EXPECT_EQ((std::array<int, 4>{r.X1, r.Y1, r.X2, r.Y2}), (std::array<int, 4>{10, 80, 40, 70}));
  EXPECT_EQ(r.Brush.Color, RgbColor(9, 8, 7));
  EXPECT_EQ(r.Pen.Color, RgbColor(9, 8, 7));
}

TEST_F(ImageFrameTest, TextsThatAreNotPicturesDrawNothing) {
  TJwwEntTxt e;
  e.Hdr.Color = 3;
  for (const char* text : {"^@BMpic", "plain", "", "^@BMp,abc"}) {
    e.Text = text;
    DrawImageEntity(c, view, -1, e, 1.0);
  }
  // Only the last is a picture, of no size: nothing visible is drawn.
  EXPECT_TRUE(c.Only<TRectangle>().empty());
}

}  // namespace
}  // namespace sxf
