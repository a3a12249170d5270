#include "text/SpecialCodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "globals/UnitGval.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"
#include "text/TextDrawing.h"

namespace sxf {
namespace {

using test::TSetFont;
using test::TTextOut;

const std::string kSat = "\x93\x79";            // 土
const std::string kReiwa = "\x97\xDF\x98\x61";  // 令和
const std::string kCircle = "\x81\x9B";         // ○

// A locale whose clock and names the test sets.
class TPinnedLocale final : public TTextLocale {
 public:
  double Time = 0;
  bool Japanese = true;
  mutable int Reads = 0;
  double Now() const override {
    ++Reads;
    return Time;
  }
  std::string ShortDayName(const TDateTime& t) const override {
    static const char* const ja[7] = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                                      "\x96\xD8", "\x8B\xE0", "\x93\x79"};
    static const char* const en[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return (Japanese ? ja : en)[t.DayOfWeek];
  }
  std::string EraName(const TDateTime&) const override { return Japanese ? kReiwa : "AD"; }
  int EraYear(const TDateTime& t) const override { return Japanese ? t.Year - 2018 : t.Year; }
  std::string DateSeparator() const override { return Japanese ? "/" : "-"; }
  std::string TimeSeparator() const override { return ":"; }
  std::string DecimalSeparator() const override { return Japanese ? "." : ","; }
};

class SpecialCodesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetDrawingState(view);
    test::SetView(view, 0, 0, 2, 400, 100);
    ResetTextEnvironment();
    locale_ = std::make_shared<TPinnedLocale>();
    SetTextLocale(locale_);
  }
  void TearDown() override {
    SetTextLocale(nullptr);
    ResetTextEnvironment();
  }
  // The characters written, in order.
  std::string Written() const {
    std::string s;
    for (const TTextOut& t : c.Only<TTextOut>()) s += t.Text;
    return s;
  }
  std::string Expand(const std::string& code) {
    std::string out;
    return ExpandSpecialCode(code, *locale_, out) ? out : "<no code>";
  }
  // Draws a text from x 10 along the x axis, height and width 4, spacing 1 unless given.
  void Draw(const std::string& text, double w = 4, double d = 1) {
    DrawTextString(c, view, 0, "F", 10, 10, 200, 10, 4, w, d, text);
  }
  std::vector<int> Xs() const {
    std::vector<int> xs;
    for (const TTextOut& t : c.Only<TTextOut>()) xs.push_back(t.X);
    return xs;
  }
  std::shared_ptr<TPinnedLocale> locale_;
  test::TRecordingCanvas c;
  TView view;
};

TEST_F(SpecialCodesTest, HalfWidthDotAtTheEndSpreadsTheCharacters) {
  Draw("ABC\xA5", 4, 0);
  EXPECT_EQ(Written(), "ABC");
  EXPECT_EQ(Xs(), (std::vector<int>{20, 26, 32}));  // 0, 3, 6 units from the start
  // A dot that is not last is a character like any other.
  c.Commands.clear();
  Draw(
      "A\xA5"
      "B",
      4, 0);
  EXPECT_EQ(Written(),
            "A\xA5"
            "B");
}

TEST_F(SpecialCodesTest, FullWidthDotsSpreadTheirRoomOverTheGaps) {
  Draw("AB\x81\x45\x81\x45", 4, 1);
  EXPECT_EQ(Written(), "AB");
  // acc = 0.5 + 0.5 + 1 = 2; D = 2 (2 W + acc) / 1 column = 20: B is (4 + 20) / 2 on.
  EXPECT_EQ(Xs(), (std::vector<int>{20, 44}));
}

TEST_F(SpecialCodesTest, CaretDigitNarrowsLongEnoughTexts) {
  Draw("ABCDEF^2", 4, 1);
  EXPECT_EQ(Written(), "ABCDEF");
  const TLogFont f = c.Only<TSetFont>()[0].Font;
  EXPECT_EQ(f.Width, RoundHalfEven(4.0 * 4 / 6 * 2 / 2));
  EXPECT_EQ(f.Height, 8);  // the height never changes
  const auto xs = Xs();
  ASSERT_EQ(xs.size(), 6u);
  EXPECT_EQ(xs[1], RoundHalfEven((10 + (4.0 + 1.0) * 4 / 6 / 2) * 2));
  c.Commands.clear();
  Draw("ABC^2", 4, 1);  // 3 - 2 < 2: only the mark goes
  EXPECT_EQ(Written(), "ABC");
  EXPECT_EQ(c.Only<TSetFont>()[0].Font.Width, 4);
  c.Commands.clear();
  Draw("^5");  // a mark alone: nothing left to draw
  EXPECT_TRUE(c.Only<TTextOut>().empty());
}

TEST_F(SpecialCodesTest, CodesOfAnEmptyEnvironment) {
  for (const char* code : {"$F", "%f", "$f", "$T", "%m1", "%m2", "%SS", "%SP", "%ss", "%sp"}) {
    c.Commands.clear();
    Draw(code);
    EXPECT_TRUE(c.Only<TTextOut>().empty()) << code;
  }
  EXPECT_EQ(Expand("%mm"), "\xA5\xA5");
  EXPECT_EQ(Expand("%f1"), "\xA5");
  EXPECT_EQ(Expand("%f2"), "");
  EXPECT_EQ(Expand("=F"), "1899/12/30 00:00:00");
  EXPECT_EQ(Expand("_F"), "1899/12/30 00:00:00");
  EXPECT_EQ(Expand("=wa"), "SAT");
  EXPECT_EQ(Expand("=w"), kSat);
  EXPECT_EQ(Expand("_ma"), "DEC");
  EXPECT_EQ(Expand("=N"), "\x91\x4F");  // 前
  EXPECT_EQ(Expand("=h"), "00");
  EXPECT_EQ(Expand("_Y"), "-119");  // the pinned era counts from 2019
  EXPECT_EQ(Expand("$D"), "<no code>");
  EXPECT_EQ(Expand("$F "), "<no code>");
  EXPECT_EQ(Expand("x$F"), "<no code>");
}

TEST_F(SpecialCodesTest, FileNameCodes) {
  DrawingPath =
      "C:\\jww\\\x95\x5C"
      "a.b.jww";  // a two-byte character whose second byte is "\"
  EXPECT_EQ(Expand("$F"), DrawingPath);
  EXPECT_EQ(Expand("%f"),
            "\x95\x5C"
            "a.b.jww");
  EXPECT_EQ(Expand("$f"),
            "\x95\x5C"
            "a.b");
  EXPECT_EQ(Expand("&f"),
            "\x95\x5C"
            "a.b");
  EXPECT_EQ(Expand("%f1"), "\xA5");  // half of a two-byte character is left out
  EXPECT_EQ(Expand("%f3"),
            "\x95\x5C"
            "a");
  EXPECT_EQ(Expand("%ff"),
            "\x95\x5C"
            "a.b");
  DrawingTitle = "T";
  DrawingMemo1 = "one";
  DrawingMemo2 = "two";
  EXPECT_EQ(Expand("_T"), "T");
  EXPECT_EQ(Expand("%mm"), "one\xA5\xA5two");
}

TEST_F(SpecialCodesTest, ScaleCodesWithAScale) {
  DrawingScale = 50;
  PrintFactor = 2;
  EXPECT_EQ(Expand("%SS"), "1/50");
  EXPECT_EQ(Expand("%ss"), "50");
  EXPECT_EQ(Expand("%SP"), "1/25");
  DrawingScale = 0.5;
  EXPECT_EQ(Expand("%SS"), "2/1");
  EXPECT_EQ(Expand("%sp"), "4");
  DrawingScale = 1.0 / 3;
  PrintFactor = 0;
  EXPECT_EQ(Expand("%ss"), "3");
  EXPECT_EQ(Expand("%SP"), "");  // no print factor: nothing, rather than a division by zero
  locale_->Japanese = false;
  DrawingScale = 2.5;
  EXPECT_EQ(Expand("%SS"), "1/2,5");
}

// Below 1:1 the scale is written as its inverse rounded half up to one decimal; from 1:1 on
// as it stands. Values that do not come out whole tell rounding from cutting.
TEST_F(SpecialCodesTest, ScaleCodesRoundTheInverseToOneDecimal) {
  const struct {
    double Scale, Print;
    const char* Code;
    const char* Text;
  } cases[] = {
      {1 / 2.56, 1, "%SS", "2.6/1"}, {1 / 2.56, 1, "%ss", "2.6"},  {1 / 2.54, 1, "%ss", "2.5"},
      {1 / 2.56, 1, "%sp", "2.6"},   {0.4, 1.5, "%SP", "3.8/1"},   {0.4, 1.5, "%sp", "3.8"},
      {0.8, 1, "%ss", "1.3"},        {12.345, 1, "%ss", "12.345"}, {12.345, 1, "%SS", "1/12.345"},
      {24.69, 2, "%SP", "1/12.345"},
  };
  for (const auto& k : cases) {
    DrawingScale = k.Scale;
    PrintFactor = k.Print;
    EXPECT_EQ(Expand(k.Code), k.Text) << k.Code << " at " << k.Scale;
  }
}

TEST_F(SpecialCodesTest, CurrentDateAndTimeCodes) {
  locale_->Time = EncodeDateTime(2026, 12, 7, 0, 5, 9);
  EXPECT_EQ(Expand("$J"), kReiwa +
                              "8\x94\x4E"
                              "12\x8C\x8E 7\x93\xFA");
  EXPECT_EQ(Expand("$j"), "2026/12/ 7");
  EXPECT_EQ(Expand("%d"), "07");
  EXPECT_EQ(Expand("&d"), " 7");
  EXPECT_EQ(Expand("$wa"), "MON");
  EXPECT_EQ(Expand("%ma"), "DEC");
  // Hours at midnight and at noon: the 12-hour codes run 0 to 11.
  struct Case {
    int hour;
    const char *h, *h12, *h12z, *h12s, *ampm, *hh;
  };
  for (const Case& k :
       {Case{0, "0", "0", "00", " 0", "AM", "00"}, Case{12, "12", "0", "00", " 0", "PM", "12"},
        Case{13, "13", "1", "01", " 1", "PM", "13"},
        Case{11, "11", "11", "11", "11", "AM", "11"}}) {
    locale_->Time = EncodeDateTime(2026, 12, 7, k.hour, 30, 0);
    EXPECT_EQ(Expand("$H"), k.h) << k.hour;
    EXPECT_EQ(Expand("$h"), k.h12) << k.hour;
    EXPECT_EQ(Expand("%h"), k.h12z) << k.hour;
    EXPECT_EQ(Expand("&h"), k.h12s) << k.hour;
    EXPECT_EQ(Expand("$n"), k.ampm) << k.hour;
    EXPECT_EQ(Expand("%H"), k.hh) << k.hour;
  }
  for (const auto& [year, yy, y, sy] :
       {std::tuple{2005, "05", "5", " 5"}, std::tuple{2010, "10", "10", "10"}}) {
    locale_->Time = EncodeDateTime(year, 1, 2, 3, 4, 5);
    EXPECT_EQ(Expand("%y"), yy);
    EXPECT_EQ(Expand("$y"), y);
    EXPECT_EQ(Expand("&y"), sy);
  }
  // The clock is read anew for every component.
  locale_->Reads = 0;
  Expand("$j");
  EXPECT_EQ(locale_->Reads, 3);
  // A locale that is not Japanese keeps its own weekday names and separators.
  locale_->Japanese = false;
  locale_->Time = EncodeDateTime(2026, 12, 5, 0, 0, 0);
  EXPECT_EQ(Expand("$wa"), "Sat");
  EXPECT_EQ(Expand("%j"), "2026-12- 5");
}

TEST_F(SpecialCodesTest, VariablesAndWhatIsNotEscaped) {
  TextVariables = {{"%%a", "VAL^!"}, {"%%a", "second"}};
  Draw("%%a");
  EXPECT_EQ(Written(), "VAL^!");  // a variable's value is written as it is
  c.Commands.clear();
  Draw("%%b^!x");
  EXPECT_EQ(Written(), "%%b^!x");  // no variable: unchanged, escapes and all
  c.Commands.clear();
  DrawingTitle = "^!T";
  Draw("$T");
  EXPECT_EQ(Written(), "^!T");
}

TEST_F(SpecialCodesTest, StyleEscapesSwitchRuns) {
  Draw("x^!yz^#w");
  EXPECT_EQ(Written(), "xyzw");
  const auto fonts = c.Only<TSetFont>();
  ASSERT_EQ(fonts.size(), 3u);
  EXPECT_EQ(fonts[0].Font.Weight, 400);
  EXPECT_EQ(fonts[1].Font.Weight, 700);
  EXPECT_EQ(fonts[2].Font.Weight, 400);
  EXPECT_EQ(Xs(), (std::vector<int>{20, 25, 30, 35}));  // each run starts where the last ended
  c.Commands.clear();
  Draw("^/^_^-a");
  const TLogFont f = c.Only<TSetFont>().back().Font;
  EXPECT_TRUE(f.Italic && f.Underline && f.StrikeOut);
}

TEST_F(SpecialCodesTest, ColourEscapes) {
  Draw("a^$3bc");
  const auto outs = c.Only<TTextOut>();
  ASSERT_EQ(outs.size(), 3u);
  EXPECT_EQ(outs[1].Color, GraAttr->GetPenColor(3));
  EXPECT_EQ(outs[2].Color, GraAttr->GetPenColor(3));
  EXPECT_EQ(c.Pen.Color, GraAttr->GetPenColor(3));  // the colour stays on the pen
  for (const char* literal : {"a^$0bc", "a^$abc"}) {
    c.Commands.clear();
    Draw(literal);
    EXPECT_EQ(Written(), literal);
  }
  c.Commands.clear();
  Draw("a^$");
  EXPECT_EQ(Written(), "a^$");
}

TEST_F(SpecialCodesTest, SuperscriptIsHalfHeightRaisedAndAdvances) {
  Draw("10^u2");
  const auto outs = c.Only<TTextOut>();
  ASSERT_EQ(outs.size(), 3u);
  EXPECT_EQ(Written(), "102");
  const auto fonts = c.Only<TSetFont>();
  EXPECT_EQ(fonts.back().Font.Height, 4);  // half of 8 pixels
  // After "10" (2 bytes, 2 x 2.5 units) the 2 starts at x 15, raised by 2 units.
  EXPECT_EQ(outs[2].X, 30);
  EXPECT_EQ(outs[2].Y, 100 - RoundHalfEven((10 + 2 + 2) * 2.0));
}

TEST_F(SpecialCodesTest, EscapesOffAndLiteralCarets) {
  Draw("^*^!x^^y");
  EXPECT_EQ(Written(), "^!xy");
  const auto fonts = c.Only<TSetFont>();
  EXPECT_EQ(fonts.back().Font.Weight, 400);
  for (const char* literal : {"A^u", "A^u^", "A^q", "A^"}) {
    c.Commands.clear();
    Draw(literal);
    EXPECT_EQ(Written(), literal) << literal;
  }
  c.Commands.clear();
  Draw("A^!\x82");  // a lone lead byte at the end is dropped
  EXPECT_EQ(Written(), "A");
}

TEST_F(SpecialCodesTest, OverlayOnAFullWidthCircle) {
  Draw(kCircle + "^o1");
  const auto outs = c.Only<TTextOut>();
  ASSERT_EQ(outs.size(), 2u);
  EXPECT_EQ(outs[0].Text, kCircle);
  EXPECT_EQ(outs[1].Text, "1");
  // After the circle (W + D = 5) the digit goes back g = 2 D / 2 + 2 W / 4 + W / 8 = 3.5 and up
  // H / 4 = 1, at half size.
  EXPECT_EQ(outs[1].X, RoundHalfEven((10 + 5 - 3.5) * 2));
  EXPECT_EQ(outs[1].Y, 100 - RoundHalfEven((10 + 1 + 2) * 2.0));
  EXPECT_EQ(c.Only<TSetFont>().back().Font.Height, 4);
  EXPECT_EQ(c.Only<TSetFont>().back().Font.Width, 2);
}

TEST(DecodeDateTime, CalendarDatesAndWeekdays) {
  const TDateTime zero = DecodeDateTime(0);
  EXPECT_EQ((std::array<int, 4>{zero.Year, zero.Month, zero.Day, zero.DayOfWeek}),
            (std::array<int, 4>{1899, 12, 30, 6}));
  const TDateTime t = DecodeDateTime(EncodeDateTime(2026, 12, 7, 23, 59, 59));
  EXPECT_EQ((std::array<int, 7>{t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second, t.DayOfWeek}),
            (std::array<int, 7>{2026, 12, 7, 23, 59, 59, 1}));
  const TDateTime before = DecodeDateTime(-1.25);  // 1899-12-29, six in the morning
  EXPECT_EQ((std::array<int, 3>{before.Day, before.Hour, before.DayOfWeek}),
            (std::array<int, 3>{29, 6, 5}));
  const TDateTime far = DecodeDateTime(1e300);
  EXPECT_EQ(far.Year, 9999);
  EXPECT_EQ(DecodeDateTime(NAN).Year, 1);
}

}  // namespace
}  // namespace sxf
