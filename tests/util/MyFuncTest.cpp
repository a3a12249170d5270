#include "util/MyFunc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace sxf {
namespace {

TEST(StrToIntOr0, ReadsWholeDecimalAndHexTexts) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"12", 12},
      {"$1F", 31},
      {"-7", -7},
      {" 5", 5},
      {"5 ", 0},
      {"1.5", 0},
      {"abc", 0},
      {"", 0},
      {"+8", 8},
      {"x1f", 31},
      {"X1F", 31},
      {"0x10", 16},
      {"0X10", 16},
      {"-$10", -16},
      {"$", 0},
      {"0x", 0},
      {"-", 0},
      {"\t5", 0},
      {"$G", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<int>::min()},
      {"2147483648", 0},
      {"-2147483649", 0},
      {"99999999999999999999999", 0},
      {"$FFFFFFFF", -1},
      {"$100000000", 0},
      {"5x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToIntOr0(c.text), c.value) << '"' << c.text << '"';
}

TEST(StrToFloatOr0, ReadsWholeDecimalTexts) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1.5", 1.5},
      {"-2e3", -2000.0},
      {"1,5", 0.0},
      {"", 0.0},
      {" 2.5", 2.5},
      {"2.5 ", 0.0},
      {"+3", 3.0},
      {".5", 0.5},
      {"5.", 5.0},
      {".", 0.0},
      {"1e", 0.0},
      {"1e+", 0.0},
      {"inf", 0.0},
      {"nan", 0.0},
      {"0x10", 0.0},
      {"1E2", 100.0},
      {"-0.25e-1", -0.025},
      // The host writes exponents with three digits.
      {"-3.2783543701953e-005", -3.2783543701953e-5},
      {"1e400", 0.0},
      {"-1e400", 0.0},
      {"1e-400", 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToFloatOr0(c.text), c.value) << '"' << c.text << '"';
  // Subnormal results keep their value rather than collapsing to 0.
  EXPECT_GT(StrToFloatOr0("1e-310"), 0.0);
  EXPECT_EQ(StrToFloatOr0("1e-310"), 1e-310);
}

// The decimal scale and the exponent are counted so that neither overflows nor, capped,
// brings a huge value back into range: 1e-100000 times 1e1000000 overflows and reads as 0.
TEST(StrToFloatOr0, LongFractionsAndHugeExponentsKeepTheirScale) {
  const std::string zeros(99999, '0');
  EXPECT_EQ(StrToFloatOr0("0." + zeros + "1e1000000"), 0.0);
  EXPECT_EQ(StrToFloatOr0("0." + zeros + "1e100000"), 1.0);
  EXPECT_EQ(StrToFloatOr0("0." + zeros + "15e100001"), 15.0);
  EXPECT_EQ(StrToFloatOr0("1e99999999999999999999"), 0.0);
  EXPECT_EQ(StrToFloatOr0("1e-99999999999999999999"), 0.0);
  EXPECT_EQ(StrToFloatOr0("0." + std::string(1 << 20, '0') + "5e1048577"), 5.0);
}

TEST(StrToFloatOr0, AgreesWithCorrectRoundingOnRandomDecimals) {
  // The exact fast path and the general path must give the correctly rounded double.
  std::mt19937_64 rng(7);
  for (int n = 0; n < 200000; ++n) {
    std::string text;
    if (rng() % 2) text += '-';
    const int intDigits = static_cast<int>(rng() % 12);
    const int fracDigits = static_cast<int>(rng() % 18);
    for (int d = 0; d < intDigits; ++d) text += static_cast<char>('0' + rng() % 10);
    if (fracDigits > 0 || intDigits == 0) {
      text += '.';
      for (int d = 0; d < std::max(fracDigits, 1); ++d) text += static_cast<char>('0' + rng() % 10);
    }
    if (rng() % 4 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 61) - 30);
    ASSERT_EQ(StrToFloatOr0(text), std::strtod(text.c_str(), nullptr)) << text;
  }
}

// A random decimal text of the shapes a host writes and of many it does not: signs, leading
// zeros, up to 24 digits on either side of the point, exponents of 0 to 7 digits, and now
// and then a byte that makes the text invalid.
std::string RandomDecimalText(std::mt19937_64& rng) {
  const auto pick = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  const auto digits = [&](std::string& out, unsigned count) {
    for (unsigned d = 0; d < count; ++d) out += static_cast<char>('0' + pick(10));
  };
  std::string text;
  switch (pick(8)) {
    case 0: text += '-'; break;
    case 1: text += '+'; break;
    case 2:
    case 3: text += '-'; break;
    default: break;
  }
  if (pick(6) == 0) text.append(pick(4), '0');
  // Mostly the host's own shapes (up to 15 significant digits), sometimes far longer.
  const bool longer = pick(5) == 0;
  digits(text, pick(longer ? 25 : 9));
  if (pick(5) != 0) {
    text += '.';
    if (pick(4) == 0) text.append(pick(5), '0');
    digits(text, pick(longer ? 25 : 16));
  }
  if (pick(4) == 0) {
    text += pick(2) ? 'e' : 'E';
    const unsigned sign = pick(3);
    if (sign == 1) text += '-';
    if (sign == 2) text += '+';
    digits(text, pick(6) == 0 ? pick(8) : 1 + pick(3));
  }
  if (pick(40) == 0) {
    const char junk[] = {' ', '.', 'e', 'x', '-', '\0', '\t', '9'};
    text.insert(pick(static_cast<unsigned>(text.size()) + 1), 1, junk[pick(sizeof junk)]);
  }
  return text;
}

// Every text the one-pass conversion finishes itself must read as the digit-by-digit one
// reads it, to the bit (a -0 included); where that one is exact, so is strtod.
TEST(StrToFloatOr0, OnePassAgreesWithDigitByDigitToTheBit) {
  std::mt19937_64 rng(20261207);
  int agreedWithStrtod = 0;
  for (int n = 0; n < 3000000; ++n) {
    const std::string text = RandomDecimalText(rng);
    const double fast = StrToFloatOr0(text);
    const double plain = StrToFloatOr0DigitByDigit(text);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(plain))
        << '"' << text << '"';
    if (n % 16 == 0 && plain != 0.0 && std::strlen(text.c_str()) == text.size()) {
      ASSERT_EQ(fast, std::strtod(text.c_str(), nullptr)) << '"' << text << '"';
      ++agreedWithStrtod;
    }
  }
  EXPECT_GT(agreedWithStrtod, 100000);
  // Shapes at the edges of the one-pass path: 19 and 20 digits, 2^53 and one more, powers
  // of ten at 22 and 23, exponents of six and seven digits, eight digits at a time.
  for (const char* text : {"9999999999999999999", "99999999999999999999", "9007199254740992",
                           "9007199254740993", "1e22", "1e23", "1e-22", "1e-23", "0.1e-21",
                           "12345678.12345678", "-00000000.00000001", "1e000022", "1e0000022",
                           "5e-324", "-0", "-0.0e5", "+.5", "5.", "00000000000000000000001"}) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(StrToFloatOr0(text)),
              std::bit_cast<std::uint64_t>(StrToFloatOr0DigitByDigit(text)))
        << text;
  }
}

TEST(Mbcs, CountsAndCopiesWholeCharacters) {
  const std::string aiu =
      "\x82\xA0\x82\xA2"
      "A";  // あいA
  EXPECT_EQ(MbcsCharCount(aiu), 3);
  EXPECT_EQ(MbcsCharCount("AB\x82"), 3);  // a lone lead byte at the end is one character
  EXPECT_EQ(MbcsCharCount(""), 0);

  EXPECT_EQ(MbcsCopy(aiu, 2, 1), "\x82\xA2");
  EXPECT_EQ(MbcsCopy(aiu, 2, 10),
            "\x82\xA2"
            "A");
  EXPECT_EQ(MbcsCopy(aiu, 4, 1), "");
  EXPECT_EQ(MbcsCopy(aiu, 1, 0), "");
  EXPECT_EQ(MbcsCopy("AB\x82", 3, 1), "\x82");

  // Window 2..3 covers the trail byte of あ and the lead byte of い: neither is whole.
  EXPECT_EQ(MbcsCopyBytes(aiu, 2, 2).Text, "");
  EXPECT_EQ(MbcsCopyBytes(aiu, 2, 2).Taken, 0);
  const TMbcsBytes two = MbcsCopyBytes(aiu, 1, 3);
  EXPECT_EQ(two.Text, "\x82\xA0");
  EXPECT_EQ(two.Taken, 2);
  EXPECT_EQ(MbcsCopyBytes(aiu, 3, 10).Text,
            "\x82\xA2"
            "A");
  EXPECT_EQ(MbcsCopyBytes(aiu, 0, 3).Taken, 0);
  EXPECT_EQ(MbcsCopyBytes(aiu, 6, 1).Taken, 0);
  EXPECT_EQ(MbcsCopyBytes("", 1, 1).Taken, 0);
}

TEST(TextRunLength, AddsWidthsAndSpacingBetweenCharacters) {
  EXPECT_DOUBLE_EQ(TextRunLength("\x82\xA0\x82\xA2", 3, 1), 7.0);
  EXPECT_DOUBLE_EQ(TextRunLength("AB", 3, 1), 3.5);
  EXPECT_DOUBLE_EQ(TextRunLength("", 3, 1), 0.0);
  EXPECT_DOUBLE_EQ(TextRunLength("A\x01", 4, 2), 2.0 + 1.0);  // control bytes have no width
  EXPECT_DOUBLE_EQ(TextRunLength("\x82", 4, 2), 4.0);         // lone lead byte, no spacing
}

TEST(RoundHalfAway, RoundsHalvesAwayFromZeroAndSaturates) {
  EXPECT_EQ(RoundHalfAway(0.5), 1);
  EXPECT_EQ(RoundHalfAway(-0.5), -1);
  EXPECT_EQ(RoundHalfAway(1.49), 1);
  EXPECT_EQ(RoundHalfAway(-1.51), -2);
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(2.4), 2);
  // In plain double arithmetic 0.49999999999999994 + 0.5 rounds up to 1.
  EXPECT_EQ(RoundHalfAway(0.49999999999999994), 0);
  EXPECT_EQ(RoundHalfAway(std::nan("")), 0);
  EXPECT_EQ(RoundHalfAway(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundHalfAway(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(RoundHalfAway(std::numeric_limits<double>::infinity()),
            std::numeric_limits<int>::max());
}

// Design lengths at a screen's dpi, rounded as MulDiv rounds; a scale factor's dpi.
TEST(ScaleForDpi, RoundsHalvesAwayAndKeeps96) {
  const struct {
    int Length, Dpi, Expected;
  } cases[] = {{10, 96, 10},
               {10, 144, 15},
               {3, 144, 5},
               {5, 144, 8},
               {13, 144, 20},
               {13, 120, 16},
               {475, 144, 713},
               {-3, 144, -5},
               {10, 0, 10},
               {10, -1, 10},
               {2147483647, 192, 2147483647}};
  for (const auto& c : cases)
    EXPECT_EQ(ScaleForDpi(c.Length, c.Dpi), c.Expected) << c.Length << " at " << c.Dpi;
  for (const auto& [factor, dpi] :
       {std::pair{1.0, 96}, {1.25, 120}, {1.5, 144}, {2.0, 192}, {0.0, 96}, {9.0, 96}})
    EXPECT_EQ(DpiOfScaleFactor(factor), dpi) << factor;
  EXPECT_EQ(DpiOfScaleFactor(std::nan("")), 96);
}

TEST(RoundHalfAway, MatchesTheExtendedPrecisionRule) {
  // truncate(x + 0.5) formed in extended precision, on values near halves and near the ends.
  const auto reference = [](double x) {
    const long double t = std::trunc(x >= 0 ? static_cast<long double>(x) + 0.5L
                                            : static_cast<long double>(x) - 0.5L);
    return static_cast<long long>(std::clamp(t, -2147483648.0L, 2147483647.0L));
  };
  std::mt19937_64 rng(11);
  for (int n = 0; n < 200000; ++n) {
    const double base =
        static_cast<double>(static_cast<long long>(rng() % 4000000000ull) - 2000000000ll);
    const double x =
        std::nextafter(base + 0.5, (rng() & 1) ? 1e300 : -1e300) + ((rng() % 3) == 0 ? 0.0 : 0.25);
    ASSERT_EQ(RoundHalfAway(x), reference(x)) << x;
  }
  for (double x : {2147483646.5, 2147483647.4, -2147483647.4, -2147483647.6, -2147483648.4,
                   4294967295.9, -4294967295.9, 0.49999999999999994, -0.49999999999999994})
    EXPECT_EQ(RoundHalfAway(x), reference(x)) << x;
}

TEST(VectorAngle, CoversTheFourAxesAndTheZeroVector) {
  constexpr double pi = 3.14159265358979323846;
  EXPECT_EQ(VectorAngle(1, 0), 0.0);
  EXPECT_DOUBLE_EQ(VectorAngle(0, 1), pi / 2);
  EXPECT_DOUBLE_EQ(VectorAngle(-1, 0), pi);
  EXPECT_DOUBLE_EQ(VectorAngle(0, -1), 3 * pi / 2);
  EXPECT_EQ(VectorAngle(1e-11, -1e-11), 0.0);
  // A tiny negative angle plus 2 pi rounds to the double nearest 2 pi.
  EXPECT_EQ(VectorAngle(1, -1e-300), 6.283185307179586);
  EXPECT_DOUBLE_EQ(VectorAngle(1, -1), 7 * pi / 4);
}

TEST(Geometry, DistanceRotationAndEllipsePoints) {
  EXPECT_DOUBLE_EQ(Distance(0, 0, 3, 4), 5.0);
  const TDPoint r = RotatePoint(2, 1, 1, 1, 3.14159265358979323846 / 2);
  EXPECT_NEAR(r.X, 1.0, 1e-15);
  EXPECT_NEAR(r.Y, 2.0, 1e-15);
  EXPECT_EQ(RotatedX(2, 1, 1, 1, 0.3), RotatePoint(2, 1, 1, 1, 0.3).X);
  EXPECT_EQ(RotatedY(2, 1, 1, 1, 0.3), RotatePoint(2, 1, 1, 1, 0.3).Y);

  TDPoint p = EllipsePointDeg(0, 0, 10, 0.5, 90, 0);
  EXPECT_NEAR(p.X, 0.0, 1e-14);
  EXPECT_NEAR(p.Y, 10.0, 1e-14);
  p = EllipsePointDeg(0, 0, 10, 0.5, 0, 90);
  EXPECT_NEAR(p.X, 0.0, 1e-14);
  EXPECT_NEAR(p.Y, 5.0, 1e-14);
  p = EllipsePointDeg(3, 4, 10, 1, 0, 180);
  EXPECT_NEAR(p.X, -7.0, 1e-14);
  EXPECT_NEAR(p.Y, 4.0, 1e-14);
  double a = 1.5, b = -2.0;
  ExchangeDoubles(a, b);
  EXPECT_EQ(a, -2.0);
  EXPECT_EQ(b, 1.5);
}

TEST(EllipsePoint, AgreesWithTheLibraryOverManyTurns) {
  // The extended-precision points must not drift from the library's sine and cosine,
  // also for angles of many turns and negative ones.
  std::mt19937_64 rng(21);
  std::uniform_real_distribution<double> angle(-1e4, 1e4);
  int agree = 0, same = 0;
  for (int n = 0; n < 100000; ++n) {
    const double theta = n % 2 ? angle(rng) : angle(rng) * 1e-3;
    // Scaled by 2^70, the point keeps the extended result's low bits through the double
    // rounding: it must agree with the library to a few units in the last extended place.
    const TDPoint p = EllipsePoint(0, 0, 1, 1, 0, theta);
    const long double c = std::cos(static_cast<long double>(theta));
    const long double s = std::sin(static_cast<long double>(theta));
    EXPECT_NEAR(p.X, static_cast<double>(c), 1.2e-16) << theta;  // the double rounding
    EXPECT_NEAR(p.Y, static_cast<double>(s), 1.2e-16) << theta;
    ++agree;
    if (p.X == static_cast<double>(c) && p.Y == static_cast<double>(s)) ++same;
  }
  // The rare differences are roundings of values within an extended unit of a double's
  // midpoint. MinGW's long double sine and cosine are the x87 instructions, whose own
  // argument reduction is too coarse to be the reference for this count.
#if !defined(_WIN32)
  EXPECT_GT(same, agree * 999 / 1000);
#else
  (void)same;
#endif
}

TEST(SameWithin, UsesTenToTheMinusNAndFallsBackToEightDecimals) {
  EXPECT_TRUE(SameWithin(8, 1, 1 + 5e-9));
  EXPECT_FALSE(SameWithin(8, 1, 1 + 2e-8));
  EXPECT_TRUE(SameWithin(15, 1, 1 + 5e-9));
  EXPECT_FALSE(SameWithin(15, 1, 1 + 2e-8));
  EXPECT_FALSE(SameWithin(-1, 1, 1 + 2e-8));
  EXPECT_TRUE(SameWithin(0, 1, 2));
  EXPECT_FALSE(SameWithin(0, 1, 2.01));
  EXPECT_TRUE(SameWithin(14, 0.0, 1e-14));
  EXPECT_FALSE(SameWithin(14, 0.0, 2e-14));
}

TEST(SegmentIntersection, ClassifiesCrossingsParallelsAndVerticals) {
  double x = -99, y = -99;
  EXPECT_EQ(SegmentIntersection(0, 0, 2, 2, 0, 2, 2, 0, x, y), 1);
  EXPECT_DOUBLE_EQ(x, 1.0);
  EXPECT_DOUBLE_EQ(y, 1.0);
  EXPECT_EQ(SegmentIntersection(0, 0, 1, 1, 3, 0, 2, 1, x, y), 2);
  EXPECT_DOUBLE_EQ(x, 1.5);
  EXPECT_DOUBLE_EQ(y, 1.5);

  x = y = -99;
  EXPECT_EQ(SegmentIntersection(0, 0, 1, 0, 0, 1, 1, 1, x, y), 0);  // parallel
  EXPECT_EQ(SegmentIntersection(0, 0, 0, 1, 1, 0, 1, 1, x, y), 0);  // both vertical
  EXPECT_EQ(x, -99);                                                // untouched
  EXPECT_EQ(y, -99);

  // A vertical: the crossing is on its x.
  EXPECT_EQ(SegmentIntersection(1, -1, 1, 1, 0, 0, 2, 0, x, y), 1);
  EXPECT_DOUBLE_EQ(x, 1.0);
  EXPECT_DOUBLE_EQ(y, 0.0);
  // B vertical, crossing beyond A's end.
  EXPECT_EQ(SegmentIntersection(0, 0, 1, 0, 3, -1, 3, 1, x, y), 2);
  EXPECT_DOUBLE_EQ(x, 3.0);
  // Snapping is asymmetric: dx = -1.2e-8 still counts as zero (vertical), +1.2e-8 does not.
  EXPECT_EQ(SegmentIntersection(0, 0, 1.2e-8, 1, 0, 0.5, 1, 0.5, x, y), 1);
  EXPECT_DOUBLE_EQ(x, 0.0);
}

// Lines away from the axes: slopes and intercepts other than 0 and 1, either end first, a
// vertical on either side, and crossings beyond either segment.
TEST(SegmentIntersection, SegmentsAwayFromTheAxes) {
  const struct {
    double x1, y1, x2, y2, x3, y3, x4, y4;
    int result;
    double x, y;
  } cases[] = {
      {3, 4, 7, 12, 2, 9, 10, 5, 1, 4.8, 7.6},  // y = 2x - 2 and y = -x/2 + 10
      {7, 12, 3, 4, 10, 5, 2, 9, 1, 4.8, 7.6},  // the same, each from its other end
      {-3, -4, -7, -12, -2, -9, -10, -5, 1, -4.8, -7.6},
      {3, 4, 4, 6, 2, 9, 10, 5, 2, 4.8, 7.6},   // beyond A's end
      {3, 4, 7, 12, 8, 6, 10, 5, 2, 4.8, 7.6},  // beyond B's start
      {5, 1, 5, 9, 2, 3, 8, 6, 1, 5, 4.5},      // A vertical at x = 5
      {5, 1, 5, 4, 2, 3, 8, 6, 2, 5, 4.5},      // A vertical, too short
      {2, 3, 8, 6, 6, 0, 6, 10, 1, 6, 5},       // B vertical at x = 6
      {2, 3, 4, 4, 6, 0, 6, 10, 2, 6, 5},       // B vertical beyond A
      {2, 3, 8, 6, 6, 10, 6, 5.5, 2, 6, 5},     // B vertical, above the crossing
  };
  for (const auto& k : cases) {
    double x = -99, y = -99;
    EXPECT_EQ(SegmentIntersection(k.x1, k.y1, k.x2, k.y2, k.x3, k.y3, k.x4, k.y4, x, y), k.result)
        << k.x1 << "," << k.y1 << " " << k.x3 << "," << k.y3;
    EXPECT_NEAR(x, k.x, 1e-12) << k.x1 << "," << k.y1 << " " << k.x3 << "," << k.y3;
    EXPECT_NEAR(y, k.y, 1e-12) << k.x1 << "," << k.y1 << " " << k.x3 << "," << k.y3;
  }
  // Parallel lines away from the axes: no crossing, nothing written.
  double x = -99, y = -99;
  EXPECT_EQ(SegmentIntersection(1, 1, 3, 5, 2, 7, 4, 11, x, y), 0);
  EXPECT_EQ(SegmentIntersection(1, 1, 3, 5, 4, 11, 2, 7, x, y), 0);
  EXPECT_EQ(x, -99);
  EXPECT_EQ(y, -99);
}

}  // namespace
}  // namespace sxf
