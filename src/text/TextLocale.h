#pragma once
// The clock and the locale the special text codes read: the local date and time, the
// abbreviated weekday name, the era of the locale's calendar and the separators. The
// platform installs its own (ICU and the system locale, or the Windows API); tests pin both
// the time and the names. Names come in as Shift-JIS bytes.
//
// Date-times are counted as the host counts them: days since 1899-12-30 00:00, the time of
// day as the fraction.

#include <memory>
#include <string>

namespace sxf {

struct TDateTime {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  int DayOfWeek = 6;  // 0 Sunday .. 6 Saturday
};

// The calendar date and the time of day of a date-time value. The fraction is taken as a
// time of day also for values before 1899-12-30 (its magnitude); values outside years
// 1..9999 give the nearest end of that range.
TDateTime DecodeDateTime(double value) noexcept;
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second) noexcept;

class TTextLocale {
 public:
  virtual ~TTextLocale() = default;
  // The local date and time now.
  virtual double Now() const = 0;
  // The abbreviated weekday name ("土" in a Japanese locale).
  virtual std::string ShortDayName(const TDateTime& t) const = 0;
  // The era of the locale's calendar and the year within it (平成 31, 令和 1, or the
  // Gregorian era and year elsewhere).
  virtual std::string EraName(const TDateTime& t) const = 0;
  virtual int EraYear(const TDateTime& t) const = 0;
  virtual std::string DateSeparator() const = 0;
  virtual std::string TimeSeparator() const = 0;
  virtual std::string DecimalSeparator() const = 0;
};

// A locale of fixed answers: the C library's local time, English weekday names, the Gregorian
// era "AD", "/", ":" and ".". What the codes use until the platform installs its own.
class TPlainTextLocale : public TTextLocale {
 public:
  double Now() const override;
  std::string ShortDayName(const TDateTime& t) const override;
  std::string EraName(const TDateTime& t) const override;
  int EraYear(const TDateTime& t) const override;
  std::string DateSeparator() const override { return "/"; }
  std::string TimeSeparator() const override { return ":"; }
  std::string DecimalSeparator() const override { return "."; }
};

// True when the user's language for messages is Japanese, by the C library's environment:
// the first of LC_ALL, LC_MESSAGES and LANG that is set decides.
bool JapaneseLanguageFromEnvironment();

// The locale the codes read; never null. SetTextLocale(nullptr) puts the plain one back.
const TTextLocale& CurrentTextLocale();
void SetTextLocale(std::shared_ptr<const TTextLocale> locale);

}  // namespace sxf
