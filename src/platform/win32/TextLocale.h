#pragma once
// The clock and locale of the special text codes from the Windows API: the local time, the
// user locale's abbreviated weekday names and separators, and, in a Japanese locale, the
// Japanese imperial era of the system's own calendar. Names are Shift-JIS.

#include "text/TextLocale.h"

namespace sxf {

class TWin32TextLocale final : public TTextLocale {
 public:
  double Now() const override;
  std::string ShortDayName(const TDateTime& t) const override;
  std::string EraName(const TDateTime& t) const override;
  int EraYear(const TDateTime& t) const override;
  std::string DateSeparator() const override;
  std::string TimeSeparator() const override;
  std::string DecimalSeparator() const override;
};

}  // namespace sxf
