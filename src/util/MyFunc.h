#pragma once
// Small stateless helpers shared by every part of the tool: tolerant text-to-number
// conversion, Shift-JIS character rules, rounding, distances, angles, rotations, points on
// tilted ellipses and segment intersection.
//
// Angles are radians unless a name ends in Deg. Intermediate results are computed in long
// double (x87 extended precision here) and every double result is rounded once, at the end.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace sxf {

// Eight bytes from p as a little-endian word, whatever the host's byte order (the byte at p is
// the lowest). Scans of text read eight bytes at a time through it.
inline std::uint64_t LoadLittleEndian64(const char* p) noexcept {
  std::uint64_t w = 0;
  std::memcpy(&w, p, 8);
  if constexpr (std::endian::native == std::endian::big) {
    std::uint64_t swapped = 0;
    for (int k = 0; k < 8; ++k) swapped = (swapped << 8) | ((w >> (8 * k)) & 0xFF);
    w = swapped;
  }
  return w;
}

inline constexpr long double kPi = 3.1415926535897932385L;
inline constexpr long double kTwoPi = 6.283185307179586477L;

struct TDPoint {
  double X = 0.0;
  double Y = 0.0;
  friend bool operator==(const TDPoint&, const TDPoint&) = default;
};

// ---- Text to number -------------------------------------------------------------------
// Whole-text conversions: optional leading blanks, optional sign, digits; anything else in
// the text (a trailing blank included) makes it invalid, and invalid text reads as 0.

// Decimal, or hexadecimal after "$", "x", "X", "0x" or "0X". A decimal value outside the
// 32-bit signed range reads as 0; a hexadecimal one is taken as a 32-bit pattern
// ("$FFFFFFFF" is -1) and reads as 0 when it needs more than 32 bits.
int StrToIntOr0(std::string_view text) noexcept;

// Decimal with "." as the point and an optional exponent. A value that overflows a double
// reads as 0; one that underflows reads as its nearest double (0 or a subnormal).
double StrToFloatOr0(std::string_view text) noexcept;
// The same conversion taken one digit at a time, with no shortcut: StrToFloatOr0 hands it
// every text outside the common shapes. Tests and benchmarks compare the two.
double StrToFloatOr0DigitByDigit(std::string_view text) noexcept;
// "0", "-0.00", "0e5": a text that StrToFloatOr0 reads as 0 because it is a zero, not because
// it is no number.
bool IsZeroNumber(std::string_view text) noexcept;

// ---- Shift-JIS characters -------------------------------------------------------------
// A byte 0x80..0x9F or 0xE0..0xFD begins a two-byte character.
constexpr bool IsLeadByte(unsigned char b) noexcept {
  return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}
constexpr bool IsLeadByte(char b) noexcept { return IsLeadByte(static_cast<unsigned char>(b)); }
// Byte length of the character that starts at i: 2 for a lead byte with a byte after it.
constexpr std::size_t CharLength(std::string_view text, std::size_t i) noexcept {
  return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// Characters in the text; a lead byte that is the last byte counts as one character.
int MbcsCharCount(std::string_view text) noexcept;

// Characters first .. first + count - 1 (1-based, counted in characters), the end capped at
// the last character; empty when the text has fewer than first characters or count <= 0.
// A first below 1 is taken as 1.
std::string MbcsCopy(std::string_view text, int first, int count);

struct TMbcsBytes {
  std::string Text;
  int Taken = 0;  // bytes copied
};
// The whole characters inside the byte window start .. start + count - 1 (1-based byte
// positions); a two-byte character only when both of its bytes are inside.
TMbcsBytes MbcsCopyBytes(std::string_view text, int start, int count);

// Width of one line of text: a two-byte character is W wide, a one-byte character W / 2
// (control bytes 0), with spacing D (two-byte) or D / 2 (one-byte) between characters.
double TextRunLength(std::string_view text, double W, double D) noexcept;

// ---- Numbers and geometry -------------------------------------------------------------
void ExchangeDoubles(double& a, double& b) noexcept;

// Pixels per inch the window's design lengths are given at.
inline constexpr int kDesignDpi = 96;

// A design length (pixels at 96 dpi) on a screen of dpi pixels per inch: length * dpi / 96,
// rounded half away from zero as MulDiv rounds. A dpi of 0 or less counts as 96.
int ScaleForDpi(int length, int dpi) noexcept;

// The dpi of a display scale factor (1.5 -> 144), rounded; 96 for a factor that is not a
// number from 0.25 to 8.
int DpiOfScaleFactor(double factor) noexcept;

// Rounds half away from zero: 2.5 -> 3, -2.5 -> -3. NaN gives 0; values beyond the 32-bit
// range give the range's ends. Inline: every world-to-pixel mapping calls it.
inline int RoundHalfAway(double x) noexcept {
  // truncate(|x| + 0.5), exactly: the integer part plus one when the fraction, which a
  // double holds exactly, is at least a half. (In plain double arithmetic
  // 0.49999999999999994 + 0.5 would round up to 1.)
  const double ax = x < 0 ? -x : x;
  if (!(ax < 4294967296.0)) {
    if (x != x) return 0;  // NaN
    return x > 0 ? 2147483647 : -2147483647 - 1;
  }
  const auto whole = static_cast<long long>(ax);
  long long r = whole + (ax - static_cast<double>(whole) >= 0.5 ? 1 : 0);
  if (x < 0) r = -r;
  if (r > 2147483647) return 2147483647;
  if (r < -2147483647 - 1) return -2147483647 - 1;
  return static_cast<int>(r);
}

double Distance(double x1, double y1, double x2, double y2) noexcept;

// Direction of (dx, dy) in [0, 2 pi); 0 for a vector shorter than 1e-10 on both axes.
double VectorAngle(double dx, double dy) noexcept;

// Counter-clockwise rotation (y up) of p about c by theta.
TDPoint RotatePoint(double px, double py, double cx, double cy, double theta) noexcept;
double RotatedX(double px, double py, double cx, double cy, double theta) noexcept;
double RotatedY(double px, double py, double cx, double cy, double theta) noexcept;

// Point at parameter theta of the ellipse with centre c, semi-major axis r, minor/major
// ratio flatness and major axis rotated by tilt.
TDPoint EllipsePoint(double cx, double cy, double r, double flatness, double tilt,
                     double theta) noexcept;
TDPoint EllipsePointDeg(double cx, double cy, double r, double flatness, double tiltDeg,
                        double thetaDeg) noexcept;

// Degrees to radians as value / 180 * pi, in extended precision, rounded once.
double DegToRad(double degrees) noexcept;
// Radians to degrees as value * 180 / pi, in extended precision, rounded once.
double RadToDeg(double radians) noexcept;

// |a - b| <= 10^-n for n = 0..14; any other n uses 1e-8.
bool SameWithin(int n, double a, double b) noexcept;

// Intersection of the lines through segments A (p1-p2) and B (p3-p4).
// Returns 0: no single crossing (parallel, or both vertical), X and Y untouched;
//         1: the crossing lies on both segments (within 1e-8);
//         2: the lines cross outside a segment.
int SegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                        double y4, double& X, double& Y) noexcept;

}  // namespace sxf
