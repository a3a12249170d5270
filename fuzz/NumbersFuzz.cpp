// The text-to-number conversions and the Shift-JIS helpers on any bytes, checked against
// plain reference readings: a text that is a whole decimal number reads as strtod reads it
// (0 where that overflows), any other text as 0.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "util/MyFunc.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks, sign, digits with an optional point and fraction (at least one digit), an
// optional exponent with at least one digit, and nothing else.
bool IsDecimal(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t e = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++e;
    if (e == 0) return false;
  }
  return i == t.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sxf;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double value = StrToFloatOr0(text);
  if (!IsDecimal(text)) {
    if (value != 0.0) fuzz::Broken("StrToFloatOr0 read an invalid text as a number");
  } else {
    const std::string copy(text);
    double expected = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(expected)) expected = 0.0;
    if (!(value == expected) && !(std::isnan(value) && std::isnan(expected)))
      fuzz::Broken("StrToFloatOr0 differs from strtod");
  }

  // The one-pass conversion and the digit-by-digit one agree to the bit.
  const double plain = StrToFloatOr0DigitByDigit(text);
  if (std::memcmp(&value, &plain, sizeof value) != 0)
    fuzz::Broken("StrToFloatOr0 differs from the digit-by-digit conversion");

  const int integer = StrToIntOr0(text);
  if (integer != 0) {
    // A non-zero integer comes from a text of blanks, sign, prefix and digits only.
    for (char c : text)
      if (!(IsDigit(c) || c == ' ' || c == '+' || c == '-' || c == '$' || c == 'x' || c == 'X' ||
            (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
        fuzz::Broken("StrToIntOr0 read a text with other bytes");
  }

  const int chars = MbcsCharCount(text);
  if (chars < static_cast<int>((size + 1) / 2) || chars > static_cast<int>(size))
    fuzz::Broken("character count out of range");
  const int first = size > 0 ? data[0] % 8 : 1;
  const int count = size > 1 ? data[1] % 16 : 1;
  const std::string part = MbcsCopy(text, first, count);
  if (part.size() > size || MbcsCharCount(part) > count) fuzz::Broken("MbcsCopy took too much");
  const TMbcsBytes bytes = MbcsCopyBytes(text, first, count);
  if (bytes.Taken != static_cast<int>(bytes.Text.size()) || bytes.Taken > count)
    fuzz::Broken("MbcsCopyBytes took too much");
  const double length = TextRunLength(text, 3.0, 1.0);
  if (!(length >= 0.0) || length > 4.0 * static_cast<double>(size)) fuzz::Broken("text length");

  // RoundHalfAway on the bytes as a double: within a half of the value, or saturated.
  if (size >= sizeof(double)) {
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    const int r = RoundHalfAway(x);
    if (std::isnan(x)) {
      if (r != 0) fuzz::Broken("NaN did not round to 0");
    } else if (std::fabs(x) < 2147483647.0) {
      if (std::fabs(static_cast<double>(r) - x) > 0.5) fuzz::Broken("rounded too far");
    }
  }
  return 0;
}
