#pragma once
// The clock and locale of the special text codes from the Windows API: the local time, the
// user locale's abbreviated weekday names and separators, and, in a Japanese locale, the
// Japanese imperial era of the system's own calendar. Names are Shift-JIS.

#include <string>

#include "text/TextLocale.h"

namespace sxf {

struct TJapaneseEra {
  std::string Name;  // Shift-JIS
  int Year = 0;      // 1 in the era's first year
};
// The era from the program's own table (明治 from 1868-10-23 to 令和), for systems whose
// locale has no Japanese calendar (Wine has none). False before 明治.
bool BuiltInJapaneseEra(const TDateTime& t, TJapaneseEra& era);

// Every program installs the system's locale for the special text codes with this, at start.
void InstallSystemTextLocale();

class TWin32TextLocale final : public TTextLocale {
 public:
  double Now() const override;
  std::string ShortDayName(const TDateTime& t) const override;
  std::string EraName(const TDateTime& t) const override;
  int EraYear(const TDateTime& t) const override;
  std::string DateSeparator() const override;
  std::string TimeSeparator() const override;
  std::string DecimalSeparator() const override;

 private:
  // The imperial era in a Japanese locale: the system's calendar where it has one, else the
  // built-in table; none elsewhere.
  bool ImperialEra(const TDateTime& t, TJapaneseEra& era) const;
};

}  // namespace sxf
