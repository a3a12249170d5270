#include "platform/win32/TextLocale.h"

#include <iterator>
#include <memory>

#include "platform/win32/ShiftJis.h"
#include "platform/win32/WindowsApi.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

SYSTEMTIME ToSystemTime(const TDateTime& t) noexcept {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.Year);
  st.wMonth = static_cast<WORD>(t.Month);
  st.wDay = static_cast<WORD>(t.Day);
  st.wDayOfWeek = static_cast<WORD>(t.DayOfWeek);
  return st;
}

bool JapaneseLocale() noexcept {
  return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_JAPANESE;
}

// The date formatted by the user locale, in its imperial calendar where it is Japanese.
std::wstring FormatDate(const TDateTime& t, const wchar_t* picture) {
  const SYSTEMTIME st = ToSystemTime(t);
  const DWORD flags = JapaneseLocale() ? DATE_USE_ALT_CALENDAR : 0;
  wchar_t buffer[80] = {};
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, 80);
  return n > 1 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : std::wstring();
}

std::string LocaleText(LCTYPE what, const char* fallback) {
  wchar_t buffer[16] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buffer, 16);
  if (n <= 1) return fallback;
  return WideToShiftJis(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)));
}

struct TEraStart {
  int Year, Month, Day;
  const char* Name;  // Shift-JIS
};

// The official first days of the eras since the calendar reform, latest last.
constexpr TEraStart kEras[] = {
    {1868, 10, 23, "\x96\xBE\x8E\xA1"},  // 明治
    {1912, 7, 30, "\x91\xE5\x90\xB3"},   // 大正
    {1926, 12, 25, "\x8F\xBA\x98\x61"},  // 昭和
    {1989, 1, 8, "\x95\xBD\x90\xAC"},    // 平成
    {2019, 5, 1, "\x97\xDF\x98\x61"},    // 令和
};

}  // namespace

bool BuiltInJapaneseEra(const TDateTime& t, TJapaneseEra& era) {
  const auto key = [](int y, int m, int d) { return (static_cast<long>(y) * 100 + m) * 100 + d; };
  const long day = key(t.Year, t.Month, t.Day);
  for (auto it = std::rbegin(kEras); it != std::rend(kEras); ++it) {
    if (day >= key(it->Year, it->Month, it->Day)) {
      era = {it->Name, t.Year - it->Year + 1};
      return true;
    }
  }
  return false;
}

bool TWin32TextLocale::ImperialEra(const TDateTime& t, TJapaneseEra& era) const {
  if (!JapaneseLocale()) return false;
  const std::wstring name = FormatDate(t, L"g");
  const std::wstring year = FormatDate(t, L"yyyy");
  const int eraYear = year.empty() ? 0 : StrToIntOr0(WideToUtf8(year));
  // A system without the Japanese calendar answers with the Gregorian era and year (Wine
  // says "西暦 2026"); no imperial era year reaches the years the table covers.
  if (!name.empty() && eraYear > 0 && eraYear != t.Year) {
    era = {WideToShiftJis(name), eraYear};
    return true;
  }
  return BuiltInJapaneseEra(t, era);
}

double TWin32TextLocale::Now() const {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return EncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond) +
         st.wMilliseconds / 86400000.0;
}

std::string TWin32TextLocale::ShortDayName(const TDateTime& t) const {
  return WideToShiftJis(FormatDate(t, L"ddd"));
}

std::string TWin32TextLocale::EraName(const TDateTime& t) const {
  TJapaneseEra era;
  if (ImperialEra(t, era)) return era.Name;
  return WideToShiftJis(FormatDate(t, L"g"));
}

int TWin32TextLocale::EraYear(const TDateTime& t) const {
  TJapaneseEra era;
  if (ImperialEra(t, era)) return era.Year;
  const std::wstring year = FormatDate(t, L"yyyy");
  return year.empty() ? t.Year : StrToIntOr0(WideToUtf8(year));
}

std::string TWin32TextLocale::DateSeparator() const { return LocaleText(LOCALE_SDATE, "/"); }
std::string TWin32TextLocale::TimeSeparator() const { return LocaleText(LOCALE_STIME, ":"); }
std::string TWin32TextLocale::DecimalSeparator() const { return LocaleText(LOCALE_SDECIMAL, "."); }

void InstallSystemTextLocale() { SetTextLocale(std::make_shared<TWin32TextLocale>()); }

}  // namespace sxf
