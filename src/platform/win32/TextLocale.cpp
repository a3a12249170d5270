#include "platform/win32/TextLocale.h"

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

bool JapaneseLocale() noexcept { return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_JAPANESE; }

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

}  // namespace

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
  return WideToShiftJis(FormatDate(t, L"g"));
}

int TWin32TextLocale::EraYear(const TDateTime& t) const {
  const std::wstring year = FormatDate(t, L"yyyy");
  return year.empty() ? t.Year : StrToIntOr0(WideToUtf8(year));
}

std::string TWin32TextLocale::DateSeparator() const { return LocaleText(LOCALE_SDATE, "/"); }
std::string TWin32TextLocale::TimeSeparator() const { return LocaleText(LOCALE_STIME, ":"); }
std::string TWin32TextLocale::DecimalSeparator() const { return LocaleText(LOCALE_SDECIMAL, "."); }

}  // namespace sxf
