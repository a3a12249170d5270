// The clock and locale of the special text codes from the Windows API, as a Japanese system
// answers (run with a Japanese locale) and as any other does.

#include "platform/win32/TextLocale.h"

#include <gtest/gtest.h>

#include "platform/win32/ShiftJis.h"
#include "platform/win32/WindowsApi.h"
#include "text/SpecialCodes.h"

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
    // The system's imperial calendar, or the built-in table where it has none (Wine).
    EXPECT_EQ(ShiftJisToUtf8(locale.EraName(lastHeisei)), "平成");
    EXPECT_EQ(locale.EraYear(lastHeisei), 31);
    EXPECT_EQ(ShiftJisToUtf8(locale.EraName(firstReiwa)), "令和");
    EXPECT_EQ(locale.EraYear(firstReiwa), 1);
  } else {
    EXPECT_EQ(locale.EraYear(firstReiwa), 2019);
    EXPECT_FALSE(locale.ShortDayName(saturday).empty());
  }
  EXPECT_EQ(locale.TimeSeparator(), ":");
  EXPECT_FALSE(locale.DateSeparator().empty());
  EXPECT_FALSE(locale.DecimalSeparator().empty());
}

TEST(Win32TextLocale, BuiltInErasStartOnTheirOfficialFirstDays) {
  const struct {
    int y, m, d;
    const char* era;  // empty: before the table
    int year;
  } cases[] = {
      {1868, 10, 22, "", 0},     {1868, 10, 23, "明治", 1}, {1899, 12, 30, "明治", 32},
      {1912, 7, 29, "明治", 45}, {1912, 7, 30, "大正", 1},  {1926, 12, 24, "大正", 15},
      {1926, 12, 25, "昭和", 1}, {1989, 1, 7, "昭和", 64},  {1989, 1, 8, "平成", 1},
      {2019, 4, 30, "平成", 31}, {2019, 5, 1, "令和", 1},   {2026, 12, 7, "令和", 8},
  };
  for (const auto& c : cases) {
    TJapaneseEra era;
    const bool known =
        BuiltInJapaneseEra(DecodeDateTime(EncodeDateTime(c.y, c.m, c.d, 0, 0, 0)), era);
    EXPECT_EQ(known, *c.era != '\0') << c.y << "-" << c.m << "-" << c.d;
    if (!known) continue;
    EXPECT_EQ(ShiftJisToUtf8(era.Name), c.era) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(era.Year, c.year) << c.y << "-" << c.m << "-" << c.d;
  }
}

// The Windows locale at a fixed time.
class TFixedClockLocale final : public TTextLocale {
 public:
  explicit TFixedClockLocale(double now) : now_(now) {}
  double Now() const override { return now_; }
  std::string ShortDayName(const TDateTime& t) const override { return system_.ShortDayName(t); }
  std::string EraName(const TDateTime& t) const override { return system_.EraName(t); }
  int EraYear(const TDateTime& t) const override { return system_.EraYear(t); }
  std::string DateSeparator() const override { return system_.DateSeparator(); }
  std::string TimeSeparator() const override { return system_.TimeSeparator(); }
  std::string DecimalSeparator() const override { return system_.DecimalSeparator(); }

 private:
  TWin32TextLocale system_;
  double now_;
};

TEST(Win32TextLocale, TheEraCodeReadsAsOnLinux) {
  if (!Japanese()) GTEST_SKIP() << "the imperial era is shown in a Japanese locale only";
  const TFixedClockLocale locale(EncodeDateTime(2026, 12, 7, 9, 0, 0));
  std::string out;
  ASSERT_TRUE(ExpandSpecialCode("$J", locale, out));
  EXPECT_EQ(ShiftJisToUtf8(out), "令和8年12月 7日");
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
