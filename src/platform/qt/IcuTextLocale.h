#pragma once
// The clock and locale of the special text codes on ICU and Qt: the local time from the
// system clock, weekday names and separators of a QLocale, and the era of that locale's
// calendar from ICU (the Japanese imperial calendar for a Japanese locale, the Gregorian
// era otherwise). Names are handed to the core in Shift-JIS.

#include <QLocale>
#include <functional>
#include <memory>

#include "text/TextLocale.h"

namespace sxf {

class TIcuTextLocale final : public TTextLocale {
 public:
  // now: the local date-time as days since 1899-12-30; the system clock when empty.
  explicit TIcuTextLocale(QLocale locale, std::function<double()> now = {});
  ~TIcuTextLocale() override;

  double Now() const override;
  std::string ShortDayName(const TDateTime& t) const override;
  std::string EraName(const TDateTime& t) const override;
  int EraYear(const TDateTime& t) const override;
  std::string DateSeparator() const override { return dateSeparator_; }
  std::string TimeSeparator() const override { return timeSeparator_; }
  std::string DecimalSeparator() const override { return decimalSeparator_; }

 private:
  struct TEra;
  TEra EraOf(const TDateTime& t) const;

  QLocale locale_;
  std::function<double()> now_;
  bool japanese_;
  std::string dateSeparator_, timeSeparator_, decimalSeparator_;
};

// Installs TIcuTextLocale for the system locale as the codes' locale.
void InstallSystemTextLocale();

}  // namespace sxf
