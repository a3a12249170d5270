#include "util/MyFunc.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace sxf {

namespace {

constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowerOf10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Rounds an extended intermediate to double once; out-of-range results saturate to the
// infinities as the hardware conversion does, without undefined behaviour.
double ToDouble(long double v) noexcept {
  constexpr long double kMax = std::numeric_limits<double>::max();
  if (v > kMax) return std::numeric_limits<double>::infinity();
  if (v < -kMax) return -std::numeric_limits<double>::infinity();
  return static_cast<double>(v);
}

}  // namespace

int StrToIntOr0(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string_view rest = text.substr(i);
  if (rest.empty()) return 0;

  bool hex = false;
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  } else if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    hex = true;
    rest.remove_prefix(1);
  }
  if (rest.empty()) return 0;

  if (hex) {
    std::uint64_t value = 0;
    for (char c : rest) {
      const int d = HexDigitValue(c);
      if (d < 0) return 0;
      value = value * 16 + static_cast<std::uint64_t>(d);
      if (value > 0xFFFFFFFFull) return 0;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<int>(bits);  // two's complement pattern, defined since C++20
  }

  // Decimal: accumulate the magnitude and check it against the signed range.
  std::uint64_t magnitude = 0;
  const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  for (char c : rest) {
    if (!IsDigit(c)) return 0;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > limit) return 0;
  }
  if (negative) return static_cast<int>(-static_cast<std::int64_t>(magnitude));
  return static_cast<int>(magnitude);
}

bool IsZeroNumber(std::string_view text) noexcept {
  std::size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  bool zero = false;
  for (; i < text.size() && (text[i] == '0' || text[i] == '.'); ++i) zero = zero || text[i] == '0';
  if (zero && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  }
  return zero && i == text.size();
}

double StrToFloatOr0DigitByDigit(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t numberStart = i;

  // Validate the whole text first: from_chars would accept "inf", "nan" and stop early on
  // "1e" or "1.5x", and all of those are invalid here. The digits are gathered on the way
  // for the exact fast path below.
  std::uint64_t mantissa = 0;
  int significant = 0;  // digits in mantissa, leading zeros not counted
  // value = mantissa * 10^scale before the exponent. 64 bits: a field of 2^31 zeros after
  // the point must not overflow it.
  std::int64_t scale = 0;
  bool overflowed = false;
  std::size_t mantissaDigits = 0;
  const auto takeDigit = [&](char c, bool fraction) {
    const auto d = static_cast<std::uint64_t>(c - '0');
    if (significant == 0 && d == 0) {
      if (fraction) --scale;
      return;
    }
    if (significant < 19) {
      mantissa = mantissa * 10 + d;
      ++significant;
      if (fraction) --scale;
    } else {
      overflowed = true;
    }
  };
  while (i < text.size() && IsDigit(text[i])) takeDigit(text[i++], false), ++mantissaDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) takeDigit(text[i++], true), ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0.0;
  // Capped far beyond any double; |scale| is at most the text's length, so a capped
  // exponent never brings the sum back into the range of the exact path.
  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    std::size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < 1000000000000000) exponent = exponent * 10 + (text[i] - '0');
      ++i, ++exponentDigits;
    }
    if (exponentDigits == 0) return 0.0;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return 0.0;

  // Exact fast path: a mantissa below 2^53 and a power of ten up to 10^22 are both exact
  // doubles, so one IEEE multiplication or division rounds correctly, as from_chars does.
  const std::int64_t power = scale + exponent;
  if (!overflowed && mantissa <= (std::uint64_t{1} << 53) && power >= -22 && power <= 22) {
    const auto m = static_cast<double>(mantissa);
    const double value = power >= 0 ? m * kExactPowerOf10[power] : m / kExactPowerOf10[-power];
    return negative ? -value : value;
  }

  const char* first = text.data() + numberStart;
  const char* last = text.data() + text.size();
  double value = 0.0;
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Overflow reads as 0; underflow keeps its nearest double, which strtod gives.
    const std::string copy(first, last);
    value = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(value)) return 0.0;
  } else if (result.ec != std::errc() || result.ptr != last) {
    return 0.0;
  }
  return negative ? -value : value;
}

namespace {

// The high bit of every byte of w (first byte lowest) that is not '0'..'9'.
constexpr std::uint64_t NonDigitBytes(std::uint64_t w) noexcept {
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  const std::uint64_t x = w ^ 0x3030303030303030ull;  // digits become 0..9
  const std::uint64_t belowTen = ~(((x & ~kHigh) + 0x7676767676767676ull) | x) & kHigh;
  return ~belowTen & kHigh;
}

// The value of eight digit bytes (first byte most significant), in three multiplications.
constexpr std::uint32_t EightDigitsValue(std::uint64_t w) noexcept {
  w -= 0x3030303030303030ull;
  w = (w * 10) + (w >> 8);  // pairs
  w = (((w & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
       (((w >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
      32;
  return static_cast<std::uint32_t>(w);
}

constexpr std::uint64_t kPowerOf10Int[9] = {1,      10,      100,      1000,     10000,
                                            100000, 1000000, 10000000, 100000000};

// The eight bytes from p (first byte lowest), bytes at or past end read as 0. Reads no
// byte outside [begin, end).
std::uint64_t LoadUpTo8(const char* begin, const char* p, const char* end) noexcept {
  const std::ptrdiff_t left = end - p;
  if (left >= 8) return LoadLittleEndian64(p);
  if (left <= 0) return 0;
  if (end - begin >= 8) return LoadLittleEndian64(end - 8) >> (8 * (8 - left));
  std::uint64_t w = 0;
  for (std::ptrdiff_t k = left - 1; k >= 0; --k) w = (w << 8) | static_cast<unsigned char>(p[k]);
  return w;
}

// Takes the digits at p into m (m * 10 + digit each, wrapping past 64 bits), up to eight at
// a time without a branch per digit; returns the first byte that is not a digit. begin is
// where the text starts: no byte outside [begin, end) is read.
const char* TakeDigits(const char* begin, const char* p, const char* end,
                       std::uint64_t& m) noexcept {
  for (;;) {
    const std::uint64_t w = LoadUpTo8(begin, p, end);
    const std::uint64_t stop = NonDigitBytes(w);
    if (stop == 0) {
      m = m * 100000000u + EightDigitsValue(w);
      p += 8;
      continue;
    }
    const int n = std::countr_zero(stop) / 8;  // digits before the first other byte
    if (n == 0) return p;
    // The n digits moved to the top, '0' bytes below them.
    const int shift = 8 * (8 - n);
    const std::uint64_t digits = (w << shift) | (0x3030303030303030ull >> (64 - shift));
    m = m * kPowerOf10Int[n] + EightDigitsValue(digits);
    return p + n;
  }
}

}  // namespace

// The texts a host writes (a sign, at most 19 digits around the point, an exponent of a few
// digits) are read here in one pass, eight digits at a time where they come in eights; every
// other text, valid or not, goes to the digit-by-digit conversion. Both end in the same exact
// step, so the results are the same bits.
double StrToFloatOr0(std::string_view text) noexcept {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  std::uint64_t mantissa = 0;  // every digit, leading zeros included
  const char* const intStart = p;
  p = TakeDigits(text.data(), p, end, mantissa);
  const std::ptrdiff_t intDigits = p - intStart;
  std::ptrdiff_t fracDigits = 0;
  if (p < end && *p == '.') {
    const char* const fracStart = ++p;
    p = TakeDigits(text.data(), p, end, mantissa);
    fracDigits = p - fracStart;
  }
  const std::ptrdiff_t digits = intDigits + fracDigits;
  if (digits == 0 || digits > 19) return StrToFloatOr0DigitByDigit(text);
  int exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p < end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
    const char* const expStart = p;
    while (p < end && IsDigit(*p) && p - expStart < 6) exponent = exponent * 10 + (*p++ - '0');
    if (p == expStart) return 0.0;  // "1e", "1e+": invalid
    if (negativeExponent) exponent = -exponent;
  }
  if (p != end) return StrToFloatOr0DigitByDigit(text);
  const std::ptrdiff_t power = exponent - fracDigits;
  if (mantissa > (std::uint64_t{1} << 53) || power < -22 || power > 22)
    return StrToFloatOr0DigitByDigit(text);
  const auto m = static_cast<double>(mantissa);
  const double value = power >= 0 ? m * kExactPowerOf10[power] : m / kExactPowerOf10[-power];
  return negative ? -value : value;
}

int MbcsCharCount(std::string_view text) noexcept {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) ++count;
  return count;
}

std::string MbcsCopy(std::string_view text, int first, int count) {
  if (count <= 0) return {};
  if (first < 1) first = 1;
  std::size_t i = 0;
  int index = 1;
  while (i < text.size() && index < first) {
    i += CharLength(text, i);
    ++index;
  }
  if (i >= text.size()) return {};
  const std::size_t begin = i;
  for (int taken = 0; i < text.size() && taken < count; ++taken) i += CharLength(text, i);
  return std::string(text.substr(begin, i - begin));
}

TMbcsBytes MbcsCopyBytes(std::string_view text, int start, int count) {
  TMbcsBytes out;
  if (text.empty() || start <= 0 || count <= 0 || static_cast<std::size_t>(start) > text.size()) {
    return out;
  }
  // 0-based window [from, to).
  const std::size_t from = static_cast<std::size_t>(start) - 1;
  const std::size_t to = std::min(text.size(), from + static_cast<std::size_t>(count));
  std::size_t i = 0;
  while (i < text.size() && i < to) {
    const std::size_t len = CharLength(text, i);
    if (i >= from && i + len <= to) out.Text.append(text.substr(i, len));
    i += len;
  }
  out.Taken = static_cast<int>(out.Text.size());
  return out;
}

double TextRunLength(std::string_view text, double W, double D) noexcept {
  long double length = 0.0L;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(b)) {
      length += W;
      i += 2;
      if (i < text.size()) length += D;
    } else {
      if (b >= 0x20) length += static_cast<long double>(W) / 2.0L;
      i += 1;
      if (i < text.size()) length += static_cast<long double>(D) / 2.0L;
    }
  }
  return ToDouble(length);
}

void ExchangeDoubles(double& a, double& b) noexcept {
  const double t = a;
  a = b;
  b = t;
}

double Distance(double x1, double y1, double x2, double y2) noexcept {
  const long double dx = static_cast<long double>(x2) - x1;
  const long double dy = static_cast<long double>(y2) - y1;
  return ToDouble(std::sqrt(dx * dx + dy * dy));
}

double VectorAngle(double dx, double dy) noexcept {
  if (std::fabs(dx) < 1e-10 && std::fabs(dy) < 1e-10) return 0.0;
  const double a = ToDouble(std::atan2(static_cast<long double>(dy), static_cast<long double>(dx)));
  if (a < 0.0) return ToDouble(static_cast<long double>(a) + kTwoPi);
  return a;
}

namespace {

struct TLPoint {
  long double X;
  long double Y;
};

// Cosine and sine in extended precision.
struct TSinCos {
  long double Sin, Cos;
};

// The library's extended-precision sine and cosine reduce every argument beyond pi/4 with a
// slow general method. For angles below 2^31 quadrants this reduction is as good: pi/2 is split
// into three parts (32, 32 and 64 bits), so that k * P1 and k * P2 are exact, and the reduced
// angle is carried as a sum hi + lo, since hi alone would lose the bits below its last place.
TSinCos SinCosReduced(long double x) noexcept {
  constexpr long double kP1 = 0xc90fdaa2p-31L;
  constexpr long double kP2 = 0x85a308d3p-65L;
  constexpr long double kP3 = 0x98cc51701b839a25p-132L;
  // The number of quadrants to take off, nearest but not necessarily so: any whole k works,
  // since k * P1 and k * P2 are exact. Found in double arithmetic, where rounding to a whole
  // number is an addition and a subtraction of 1.5 * 2^52 (extended-precision conversions
  // to integers change the FPU's control word, which is slow).
  const double quadrants = static_cast<double>(x) * 0.63661977236758134;
  if (!(std::fabs(quadrants) < 2147483648.0)) return {std::sin(x), std::cos(x)};
  const double whole = (quadrants + 0x1.8p52) - 0x1.8p52;
  const auto quadrant = static_cast<long long>(whole);
  const auto k = static_cast<long double>(whole);
  const long double t = x - k * kP1;  // exact
  const long double p2 = k * kP2;     // exact
  const long double hi = t - p2;
  const long double lo = ((t - hi) - p2) - k * kP3;  // what hi could not hold, less k * P3
  const long double sinHi = std::sin(hi);
  const long double cosHi = std::cos(hi);
  const long double s = sinHi + cosHi * lo;
  const long double c = cosHi - sinHi * lo;
  switch (quadrant & 3) {
    case 0: return {s, c};
    case 1: return {c, -s};
    case 2: return {-s, -c};
    default: return {-c, s};
  }
}

// The angles 0, pi/2, pi and 3pi/2 (as doubles) come up for every circle of the extents and
// every untilted curve: their values are taken once, the rest are reduced as above.
TSinCos SinCosL(long double x) noexcept {
  if (x == 0.0L) return {0.0L, 1.0L};
  struct TQuadrant {
    long double Angle;
    TSinCos Value;
  };
  static const auto quadrant = [](long double angle) {
    const auto a = static_cast<long double>(static_cast<double>(angle));
    return TQuadrant{a, {std::sin(a), std::cos(a)}};
  };
  static const TQuadrant kQuadrants[3] = {quadrant(kPi / 2.0L), quadrant(kPi),
                                          quadrant(kPi * 3.0L / 2.0L)};
  for (const TQuadrant& q : kQuadrants)
    if (x == q.Angle) return q.Value;
  return SinCosReduced(x);
}

TLPoint RotateL(long double px, long double py, long double cx, long double cy,
                long double theta) noexcept {
  const TSinCos t = SinCosL(theta);
  const long double c = t.Cos;
  const long double s = t.Sin;
  const long double dx = px - cx;
  const long double dy = py - cy;
  return {cx + c * dx - s * dy, cy + s * dx + c * dy};
}

TDPoint EllipsePointL(long double cx, long double cy, long double r, long double flatness,
                      long double tilt, long double theta) noexcept {
  const TSinCos t = SinCosL(theta);
  const long double u = r * t.Cos;
  const long double v = r * flatness * t.Sin;
  const TLPoint p = RotateL(u, v, 0.0L, 0.0L, tilt);
  return {ToDouble(p.X + cx), ToDouble(p.Y + cy)};
}

}  // namespace

TDPoint RotatePoint(double px, double py, double cx, double cy, double theta) noexcept {
  const TLPoint p = RotateL(px, py, cx, cy, theta);
  return {ToDouble(p.X), ToDouble(p.Y)};
}

double RotatedX(double px, double py, double cx, double cy, double theta) noexcept {
  return RotatePoint(px, py, cx, cy, theta).X;
}

double RotatedY(double px, double py, double cx, double cy, double theta) noexcept {
  return RotatePoint(px, py, cx, cy, theta).Y;
}

TDPoint EllipsePoint(double cx, double cy, double r, double flatness, double tilt,
                     double theta) noexcept {
  return EllipsePointL(cx, cy, r, flatness, tilt, theta);
}

TDPoint EllipsePointDeg(double cx, double cy, double r, double flatness, double tiltDeg,
                        double thetaDeg) noexcept {
  const long double toRad = kPi / 180.0L;
  return EllipsePointL(cx, cy, r, flatness, tiltDeg * toRad, thetaDeg * toRad);
}

double DegToRad(double degrees) noexcept {
  return ToDouble(static_cast<long double>(degrees) / 180.0L * kPi);
}

double RadToDeg(double radians) noexcept {
  return ToDouble(static_cast<long double>(radians) * 180.0L / kPi);
}

bool SameWithin(int n, double a, double b) noexcept {
  static constexpr long double kTolerance[15] = {1.0L,   1e-1L,  1e-2L,  1e-3L,  1e-4L,
                                                 1e-5L,  1e-6L,  1e-7L,  1e-8L,  1e-9L,
                                                 1e-10L, 1e-11L, 1e-12L, 1e-13L, 1e-14L};
  const long double tolerance = (n >= 0 && n <= 14) ? kTolerance[n] : 1e-8L;
  return std::fabs(static_cast<long double>(a) - b) <= tolerance;
}

int SegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                        double y4, double& X, double& Y) noexcept {
  constexpr long double e = 1e-8L;
  // v counts as zero when Int(v / e + 0.5) is 0, that is when -1 < v / e + 0.5 < 1.
  const auto countsAsZero = [](long double v) {
    const long double s = v / e + 0.5L;
    return s > -1.0L && s < 1.0L;
  };
  const long double X1 = x1, Y1 = y1, X2 = x2, Y2 = y2;
  const long double X3 = x3, Y3 = y3, X4 = x4, Y4 = y4;
  const bool aVertical = countsAsZero(X1 - X2);
  const bool bVertical = countsAsZero(X3 - X4);
  long double px = 0.0L;
  long double py = 0.0L;
  if (aVertical && bVertical) return 0;
  if (aVertical) {
    const long double sB = (Y4 - Y3) / (X4 - X3);
    px = X1;
    py = (X1 - X3) * sB + Y3;
  } else if (bVertical) {
    const long double sA = (Y2 - Y1) / (X2 - X1);
    px = X3;
    py = (X3 - X1) * sA + Y1;
  } else {
    const long double sA = (Y2 - Y1) / (X2 - X1);
    const long double cA = Y1 - sA * X1;
    const long double sB = (Y4 - Y3) / (X4 - X3);
    const long double cB = Y3 - sB * X3;
    if (countsAsZero(sA - sB)) return 0;
    px = (cB - cA) / (sA - sB);
    py = sA * px + cA;
  }
  X = ToDouble(px);
  Y = ToDouble(py);
  const auto within = [](long double v, long double a, long double b) {
    return v >= std::min(a, b) - e && v <= std::max(a, b) + e;
  };
  const bool onBoth =
      within(X, X1, X2) && within(Y, Y1, Y2) && within(X, X3, X4) && within(Y, Y3, Y4);
  return onBoth ? 1 : 2;
}

int ScaleForDpi(int length, int dpi) noexcept {
  if (dpi <= 0) dpi = kDesignDpi;
  const long long product = static_cast<long long>(length) * dpi;
  const long long half = kDesignDpi / 2;
  const long long scaled =
      product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
  if (scaled > INT32_MAX) return INT32_MAX;
  if (scaled < INT32_MIN) return INT32_MIN;
  return static_cast<int>(scaled);
}

int DpiOfScaleFactor(double factor) noexcept {
  if (!(factor >= 0.25 && factor <= 8.0)) return kDesignDpi;
  return RoundHalfAway(factor * kDesignDpi);
}

}  // namespace sxf
