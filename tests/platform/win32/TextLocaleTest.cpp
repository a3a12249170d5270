// The clock and locale of the special text codes from the Windows API, as a Japanese system
// answers (run with a Japanese locale) and as any other does.

#include "platform/win32/TextLocale.h"

#include <gtest/gtest.h>

#include "platform/win32/ShiftJis.h"
#include "platform/win32/WindowsApi.h"

namespace sxf {
namespace {

bool Japanese() { return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_JAPANESE; }

TEST(Win32TextLocale, ErasWeekdaysAndSeparators) {
  const TWin32TextLocale locale;
  const TDateTime lastHeisei = DecodeDateTime(EncodeDateTime(2019, 4, 30, 0, 0, 0));
  const TDateTime firstReiwa = DecodeDateTime(EncodeDateTime(2019, 5, 1, 0, 0, 0));
  const TDateTime saturday = DecodeDateTime(EncodeDateTime(2024, 6, 1, 0, 0, 0));
  if (Japanese()) {
    EXPECT_EQ(ShiftJisToUtf8(locale.ShortDayName(saturday)), "土");
    // Windows answers with the imperial calendar; Wine knows only the Gregorian one ("西暦").
    const std::string heisei = ShiftJisToUtf8(locale.EraName(lastHeisei));
    if (heisei != "西暦") {
      EXPECT_EQ(heisei, "平成");
      EXPECT_EQ(locale.EraYear(lastHeisei), 31);
      EXPECT_EQ(ShiftJisToUtf8(locale.EraName(firstReiwa)), "令和");
      EXPECT_EQ(locale.EraYear(firstReiwa), 1);
    } else {
      EXPECT_EQ(locale.EraYear(lastHeisei), 2019);
    }
  } else {
    EXPECT_EQ(locale.EraYear(firstReiwa), 2019);
    EXPECT_FALSE(locale.ShortDayName(saturday).empty());
  }
  EXPECT_EQ(locale.TimeSeparator(), ":");
  EXPECT_FALSE(locale.DateSeparator().empty());
  EXPECT_FALSE(locale.DecimalSeparator().empty());
}

TEST(Win32TextLocale, NowIsTheLocalTime) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const TDateTime now = DecodeDateTime(TWin32TextLocale().Now());
  EXPECT_EQ(now.Year, st.wYear);
  EXPECT_EQ(now.Month, st.wMonth);
  EXPECT_EQ(now.DayOfWeek, st.wDayOfWeek);
}

}  // namespace
}  // namespace sxf
