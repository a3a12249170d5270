#include "text/TextDrawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/JwwGaibu2.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

using test::TLineTo;
using test::TSetFont;
using test::TTextOut;

constexpr double kPi = 3.14159265358979323846;
// "あ" and "漢" in Shift-JIS.
const std::string kA2 = "\x82\xA0";
const std::string kKan = "\x8A\xBF";

class TextDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ResetDrawingState(view); }
  static TJwwEntTxt Text(std::string text, double x, double y, double w, double h, double d) {
    TJwwEntTxt e;
    e.Hdr.Color = 1;
    e.Text = std::move(text);
    e.X = x;
    e.Y = y;
    e.W = w;
    e.H = h;
    e.D = d;
    e.DirX = 10;
    e.FontName = "F";
    return e;
  }
  std::vector<TTextOut> Outs() const { return c.Only<TTextOut>(); }
  test::TRecordingCanvas c;
  TView view;
};

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);  // the double just below a half
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(-0.4), 0);
  EXPECT_EQ(RoundHalfEven(2147483646.5), 2147483646);
  EXPECT_EQ(RoundHalfEven(-2147483647.5), -2147483647 - 1);
  EXPECT_EQ(RoundHalfEven(NAN), 0);
  EXPECT_EQ(RoundHalfEven(1e300), 2147483647);
  EXPECT_EQ(RoundHalfEven(-1e300), -2147483647 - 1);
}

TEST_F(TextDrawingTest, OneByteCharactersStepHalfOfWidthPlusSpacing) {
  test::SetView(view, 0, 0, 2, 200, 100);
  DrawTextEntity(c, view, -1, Text("AB", 10, 10, 4, 4, 1), 1.0);
  const auto outs = Outs();
  ASSERT_EQ(outs.size(), 2u);
  // Cells' upper-left corners: x0 and x0 + (4 + 1) / 2, top at y0 + 4.
  EXPECT_EQ(outs[0].X, 20);
  EXPECT_EQ(outs[0].Y, 100 - 28);
  EXPECT_EQ(outs[0].Text, "A");
  EXPECT_EQ(outs[0].Color, GraAttr->GetPenColor(1));
  EXPECT_EQ(outs[1].X, 25);
  const auto fonts = c.Only<TSetFont>();
  ASSERT_EQ(fonts.size(), 1u);  // one font for the run
  EXPECT_EQ(fonts[0].Font.Height, 8);
  EXPECT_EQ(fonts[0].Font.Width, 4);
  EXPECT_EQ(fonts[0].Font.FaceName, "F");
  EXPECT_EQ(fonts[0].Font.CharSet, 1);
  EXPECT_EQ(fonts[0].Font.Weight, 400);
}

TEST_F(TextDrawingTest, TwoByteThenOneByteStepsWidthPlusSpacingThenHalf) {
  test::SetView(view, 0, 0, 1, 200, 100);
  DrawTextEntity(c, view, -1, Text(kA2 + "AB", 10, 10, 10, 10, 2), 1.0);
  const auto outs = Outs();
  ASSERT_EQ(outs.size(), 3u);
  EXPECT_EQ(outs[0].X, 10);
  EXPECT_EQ(outs[1].X, 22);  // 10 + 10 + 2
  EXPECT_EQ(outs[2].X, 28);  // + (10 + 2) / 2
  EXPECT_EQ(outs[0].Text, kA2);
}

TEST_F(TextDrawingTest, BasePointOffsetsComeFromTheStoredText) {
  test::SetView(view, 0, 0, 2, 200, 100);
  struct Case {
    int base;
    double x, y;  // the first cell's lower-left corner
  };
  // "AB" with W 4, D 1: L = 2 + 0.5 + 2 = 4.5; H 4.
  for (const Case& k :
       {Case{0, 20, 10}, Case{1, 17.75, 10}, Case{2, 15.5, 10}, Case{3, 20, 8}, Case{4, 17.75, 8},
        Case{5, 15.5, 8}, Case{6, 20, 6}, Case{8, 15.5, 6}, Case{9, 20, 10}, Case{-1, 20, 10}}) {
    c.Commands.clear();
    TJwwEntTxt e = Text("AB", 20, 10, 4, 4, 1);
    e.BasePoint = k.base;
    DrawTextEntity(c, view, -1, e, 1.0);
    const auto outs = Outs();
    ASSERT_EQ(outs.size(), 2u) << k.base;
    EXPECT_EQ(outs[0].X, RoundHalfEven(k.x * 2)) << k.base;
    EXPECT_EQ(outs[0].Y, 100 - RoundHalfEven((k.y + 4) * 2)) << k.base;
  }
  // A special code is measured as it is stored: two one-byte characters of W / 2.
  c.Commands.clear();
  TJwwEntTxt code = Text("$j", 20, 10, 4, 4, 0);
  code.BasePoint = 2;
  DrawTextEntity(c, view, -1, code, 1.0);
  ASSERT_FALSE(Outs().empty());
  EXPECT_EQ(Outs()[0].X, 32);  // (20 - 4) * 2
}

TEST_F(TextDrawingTest, PositionsAndSizesRoundHalfToEven) {
  test::SetView(view, 0, 0, 1, 200, 100);
  // x 2.5 -> 2 (the world-to-pixel mapping would give 3); height 10.5 -> 10; width 13 / 2 -> 6.
  DrawTextEntity(c, view, -1, Text("A", 2.5, 10, 13, 10.5, 0), 1.0);
  ASSERT_EQ(Outs().size(), 1u);
  EXPECT_EQ(Outs()[0].X, 2);
  EXPECT_EQ(Outs()[0].Y, 100 - 20);  // 10 + 10.5 = 20.5 -> 20
  const TLogFont f = c.Only<TSetFont>()[0].Font;
  EXPECT_EQ(f.Height, 10);
  EXPECT_EQ(f.Width, 6);
}

TEST_F(TextDrawingTest, EscapementInTenthsOfADegree) {
  test::SetView(view, -50, -50, 1, 100, 100);
  struct Case {
    double dx, dy;
    int escapement;
  };
  for (const Case& k : {Case{1, 0, 0}, Case{1, 1, 450}, Case{0, 1, 900}, Case{-1, 0, 1800},
                        Case{0, -1, 2700}, Case{1e-11, -1e-11, 0}}) {
    c.Commands.clear();
    TJwwEntTxt e = Text("A", 0, 0, 10, 10, 0);
    e.DirX = k.dx;
    e.DirY = k.dy;
    DrawTextEntity(c, view, -1, e, 1.0);
    ASSERT_FALSE(c.Only<TSetFont>().empty());
    EXPECT_EQ(c.Only<TSetFont>()[0].Font.Escapement, k.escapement) << k.dx << "," << k.dy;
  }
}

TEST_F(TextDrawingTest, VerticalTextExchangesWidthAndHeightAndTakesTheAtFace) {
  test::SetView(view, -50, -50, 2, 200, 200);
  TJwwEntTxt e = Text(kA2 + kKan, 0, 0, 3, 5, 0);
  e.TextCode = 1;
  e.DirX = 0;
  e.DirY = -10;
  e.BasePoint = 2;  // dx = -L, and L is now the record's height
  DrawTextEntity(c, view, -1, e, 1.0);
  const TLogFont f = c.Only<TSetFont>()[0].Font;
  EXPECT_EQ(f.FaceName, "@F");
  EXPECT_EQ(f.Height, 6);  // W 3 at scale 2
  EXPECT_EQ(f.Width, 5);   // H 5 / 2 at scale 2
  EXPECT_EQ(f.Escapement, 2700);
  // L = 2 * 3 = 6 and h = 5 exchanged: dx = -5 along the text, turned by 270 degrees: the
  // start moves 5 up. The first cell's upper-left corner is then (0 + 3, 5): height 3 turned.
  const auto outs = Outs();
  ASSERT_EQ(outs.size(), 2u);
  EXPECT_EQ(outs[0].X, RoundHalfEven((3 + 50) * 2.0));
  EXPECT_EQ(outs[0].Y, 200 - RoundHalfEven((5 + 50) * 2.0));
  EXPECT_EQ(outs[1].Y, outs[0].Y + 10);  // the second character 5 units (10 pixels) lower
}

TEST_F(TextDrawingTest, DoubleAtFaceTurnsHalfARevolutionAndMovesTheStart) {
  test::SetView(view, 0, 0, 1, 100, 100);
  DrawTextRun(c, view, 0, "@@N", 10, 10, 0.0, 8, 6, 0, "AB");
  const TLogFont f = c.Only<TSetFont>()[0].Font;
  EXPECT_EQ(f.FaceName, "N");
  EXPECT_EQ(f.Escapement, 1800);
  const auto outs = Outs();
  ASSERT_EQ(outs.size(), 2u);
  // Start (10 + 6, 10 - 8); cell tops at y + 8: reference on the base line, one width on.
  EXPECT_EQ(outs[0].X, 16);
  EXPECT_EQ(outs[0].Y, 90);
  EXPECT_EQ(outs[1].X, 19);
  // Turned past a full revolution: 2700 + 1800 - 3600.
  c.Commands.clear();
  DrawTextRun(c, view, 0, "@@N", 50, 50, 3 * kPi / 2, 8, 6, 0, "A");
  EXPECT_EQ(c.Only<TSetFont>()[0].Font.Escapement, 900);
}

TEST_F(TextDrawingTest, NegativeWidthRunsBackFromTheEndPointUpsideDown) {
  test::SetView(view, 0, 0, 1, 100, 100);
  DrawTextString(c, view, 0, "F", 20, 50, 40, 50, 10, -10, 2, "AB");
  const TLogFont f = c.Only<TSetFont>()[0].Font;
  EXPECT_EQ(f.Escapement, 1800);
  EXPECT_EQ(f.Width, 5);
  const auto outs = Outs();
  ASSERT_EQ(outs.size(), 2u);
  // From (40, 50), turned half a revolution: the upper-left corner is 10 below.
  EXPECT_EQ(outs[0].X, 40);
  EXPECT_EQ(outs[0].Y, 100 - 40);
  // Spacing negated too: step (10 - 2) / 2 = 4 towards smaller x.
  EXPECT_EQ(outs[1].X, 36);
}

TEST_F(TextDrawingTest, NegativeHeightHangsTheCellsBelowTheBaseLine) {
  test::SetView(view, 0, 0, 1, 100, 100);
  DrawTextString(c, view, 0, "F", 20, 50, 40, 50, -10, 10, 0, "A");
  ASSERT_EQ(Outs().size(), 1u);
  EXPECT_EQ(Outs()[0].Y, 50);  // the upper edge on the base line
  EXPECT_EQ(c.Only<TSetFont>()[0].Font.Height, 10);
  // Alignment rows swap: top-row alignment 8 with a negative height anchors like 2.
  c.Commands.clear();
  DrawTextChar(c, view, 8, 20, 50, -10, 10, 0.0, "F", "A");
  ASSERT_EQ(Outs().size(), 1u);
  EXPECT_EQ(Outs()[0].X, 15);
  EXPECT_EQ(Outs()[0].Y, 100 - 60);
  c.Commands.clear();
  DrawTextChar(c, view, 4, 20, 50, -10, 10, 0.0, "F", "A");  // the middle row stays
  EXPECT_EQ(Outs()[0].Y, 100 - 55);
}

TEST_F(TextDrawingTest, SizeRuleDrawsTooSmallOrTooLargeTextsAsAThickLine) {
  struct Case {
    double height, width;
    bool characters;
  };
  for (const Case& k :
       {Case{5.99, 10, false}, Case{6, 10, true}, Case{1000, 10, true}, Case{1000.01, 10, false},
        Case{10, 5.99, false}, Case{10, 6, true}, Case{10, 1000.01, false}, Case{-6, -6, true},
        Case{0, 10, false}, Case{NAN, 10, false}}) {
    c.Commands.clear();
    test::SetView(view, 0, 0, 1, 100, 100);
    DrawTextString(c, view, 0, "F", 10, 10, 60, 10, k.height, k.width, 0, "A");
    const bool font = !c.Only<TSetFont>().empty();
    EXPECT_EQ(font, k.characters) << k.height << " x " << k.width;
    if (!k.characters) {
      const auto lines = c.Only<TLineTo>();
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_EQ(lines[0].Pen.Width, 3);
    }
  }
  // The same rule in pixels: height 2.9 at scale 2 is a line, 3 is characters.
  c.Commands.clear();
  test::SetView(view, 0, 0, 2, 100, 100);
  DrawTextString(c, view, 0, "F", 10, 10, 20, 10, 2.9, 5, 0, "A");
  EXPECT_TRUE(c.Only<TSetFont>().empty());
  DrawTextString(c, view, 0, "F", 10, 10, 20, 10, 3, 5, 0, "A");
  EXPECT_FALSE(c.Only<TSetFont>().empty());
}

TEST_F(TextDrawingTest, ACellIsWrittenWhenOneCornerIsInView) {
  test::SetView(view, 0, 0, 1, 100, 100);
  // Two-byte cell 10 wide: from x -5 its right corners are inside.
  DrawTextChar(c, view, 0, -5, 50, 10, 10, 0.0, "F", kA2);
  EXPECT_EQ(Outs().size(), 1u);
  // From x -10 the right corners lie on the left edge, which counts as outside.
  c.Commands.clear();
  DrawTextChar(c, view, 0, -10, 50, 10, 10, 0.0, "F", kA2);
  EXPECT_TRUE(Outs().empty());
  // The view wholly inside one huge cell: no corner inside, not written.
  c.Commands.clear();
  DrawTextChar(c, view, 0, -500, -500, 2000, 2000, 0.0, "F", kA2);
  EXPECT_TRUE(Outs().empty());
  c.Commands.clear();
  DrawTextChar(c, view, 0, 5, 5, 10, 10, 0.0, "F", "");
  EXPECT_TRUE(c.Commands.empty());
}

TEST_F(TextDrawingTest, ImageTextsAreLeftToTheImagePass) {
  test::SetView(view, 0, 0, 1, 100, 100);
  DrawTextEntity(c, view, -1, Text("^@BMa,1", 10, 10, 10, 10, 0), 1.0);
  EXPECT_TRUE(c.Commands.empty());
  DrawTextEntity(c, view, -1, Text("^@BMab", 10, 10, 10, 10, 0), 1.0);
  EXPECT_EQ(Outs().size(), 6u);
}

TEST_F(TextDrawingTest, GroupScaleDividesThePointAndDirectionButNotTheSizes) {
  test::SetView(view, 0, 0, 1, 200, 100);
  TDrawing drawing;
  drawing.LayerGroupScale[2] = 10.0;
  TJwwEntTxt e = Text("A", 200, 100, 10, 10, 0);
  e.Hdr.Group = 2;
  e.DirX = 1000;  // to x 120 after the division
  DrawTextEntity(c, view, -1, e, drawing.GroupScaleDivisor(e.Hdr));
  ASSERT_EQ(Outs().size(), 1u);
  EXPECT_EQ(Outs()[0].X, 20);
  EXPECT_EQ(Outs()[0].Y, 100 - 20);
  EXPECT_EQ(c.Only<TSetFont>()[0].Font.Height, 10);
}

TEST_F(TextDrawingTest, StylesAndColourOverride) {
  test::SetView(view, 0, 0, 1, 100, 100);
  DrawTextRun(c, view, kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut, "F", 10, 10,
              0.0, 10, 10, 0, "");
  const TLogFont f = c.Only<TSetFont>()[0].Font;  // an empty run still makes its font
  EXPECT_EQ(f.Weight, 700);
  EXPECT_TRUE(f.Italic && f.Underline && f.StrikeOut);
  c.Commands.clear();
  DrawTextEntity(c, view, RgbColor(1, 2, 3), Text("A", 10, 10, 10, 10, 0), 1.0);
  ASSERT_EQ(Outs().size(), 1u);
  EXPECT_EQ(Outs()[0].Color, RgbColor(1, 2, 3));
}

}  // namespace
}  // namespace sxf
