#include "text/TextLocale.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace sxf {

namespace {

// Days from 1970-01-01 to the civil date, and back (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d) noexcept {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) noexcept {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochShift = -25569;

std::shared_ptr<const TTextLocale>& Installed() {
  static std::shared_ptr<const TTextLocale> locale = std::make_shared<TPlainTextLocale>();
  return locale;
}

}  // namespace

TDateTime DecodeDateTime(double value) noexcept {
  // Years 1 .. 9999.
  constexpr double kFirst = -693593.0;
  constexpr double kLast = 2958465.99999999;
  if (!(value >= kFirst)) value = kFirst;  // NaN too
  if (value > kLast) value = kLast;
  const double whole = std::trunc(value);
  long long ms = std::llround(std::fabs(value - whole) * 86400000.0);
  long long days = static_cast<long long>(whole);
  if (ms >= 86400000) {  // rounding reached the next day
    ms -= 86400000;
    days += value < 0 ? -1 : 1;
  }
  TDateTime t;
  CivilFromDays(days + kEpochShift, t.Year, t.Month, t.Day);
  t.Hour = static_cast<int>(ms / 3600000);
  t.Minute = static_cast<int>(ms / 60000 % 60);
  t.Second = static_cast<int>(ms / 1000 % 60);
  t.Millisecond = static_cast<int>(ms % 1000);
  // 1970-01-01 was a Thursday.
  const long long fromEpoch = days + kEpochShift;
  t.DayOfWeek = static_cast<int>(((fromEpoch % 7) + 7 + 4) % 7);
  return t;
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second) noexcept {
  const long long days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochShift;
  const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

double TPlainTextLocale::Now() const {
  const std::time_t now = std::time(nullptr);
  // The bands of a drawing may ask at once: the reentrant form, with a result of its own.
  std::tm parts{};
#if defined(_WIN32)
  const std::tm* local = localtime_s(&parts, &now) == 0 ? &parts : nullptr;
#else
  const std::tm* local = localtime_r(&now, &parts);
#endif
  if (local == nullptr) return 0.0;
  return EncodeDateTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                        local->tm_min, local->tm_sec);
}

std::string TPlainTextLocale::ShortDayName(const TDateTime& t) const {
  static const char* const names[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  return names[t.DayOfWeek >= 0 && t.DayOfWeek < 7 ? t.DayOfWeek : 0];
}

std::string TPlainTextLocale::EraName(const TDateTime&) const { return "AD"; }

int TPlainTextLocale::EraYear(const TDateTime& t) const { return t.Year; }

const TTextLocale& CurrentTextLocale() { return *Installed(); }

void SetTextLocale(std::shared_ptr<const TTextLocale> locale) {
  Installed() = locale ? std::move(locale) : std::make_shared<TPlainTextLocale>();
}

bool JapaneseLanguageFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return std::string_view(value).starts_with("ja");
  }
  return false;
}

}  // namespace sxf
