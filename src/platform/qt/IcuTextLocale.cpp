#include "platform/qt/IcuTextLocale.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <QDateTime>
#include <memory>

#include "platform/qt/ShiftJis.h"

namespace sxf {

namespace {

// The first character of a format that is neither a letter nor a quote: the separator the
// locale writes between the fields.
std::string SeparatorIn(const QString& format, const char* fallback) {
  for (const QChar c : format)
    if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace())
      return QStringToShiftJis(QString(c));
  return fallback;
}

QString FromIcu(const icu::UnicodeString& s) {
  return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

}  // namespace

struct TIcuTextLocale::TEra {
  std::string Name;
  int Year = 0;
};

TIcuTextLocale::TIcuTextLocale(QLocale locale, std::function<double()> now)
    : locale_(std::move(locale)),
      now_(std::move(now)),
      japanese_(locale_.language() == QLocale::Japanese) {
  dateSeparator_ = SeparatorIn(locale_.dateFormat(QLocale::ShortFormat), "/");
  timeSeparator_ = SeparatorIn(locale_.timeFormat(QLocale::ShortFormat), ":");
  decimalSeparator_ = QStringToShiftJis(locale_.decimalPoint());
  if (decimalSeparator_.empty()) decimalSeparator_ = ".";
}

TIcuTextLocale::~TIcuTextLocale() = default;

double TIcuTextLocale::Now() const {
  if (now_) return now_();
  const QDateTime local = QDateTime::currentDateTime();
  const QDate d = local.date();
  const QTime t = local.time();
  return EncodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

std::string TIcuTextLocale::ShortDayName(const TDateTime& t) const {
  // Qt counts Monday 1 .. Sunday 7.
  const int day = t.DayOfWeek == 0 ? 7 : t.DayOfWeek;
  return QStringToShiftJis(locale_.dayName(day, QLocale::ShortFormat));
}

TIcuTextLocale::TEra TIcuTextLocale::EraOf(const TDateTime& t) const {
  // The date as noon UTC of its calendar day, read by a calendar in UTC, so that no time
  // zone moves it to another day.
  UErrorCode status = U_ZERO_ERROR;
  const std::string name = locale_.name().toStdString() + (japanese_ ? "@calendar=japanese" : "");
  const icu::Locale icuLocale(name.c_str());
  std::unique_ptr<icu::TimeZone> utc(icu::TimeZone::createTimeZone("UTC"));
  icu::GregorianCalendar gregorian(*utc, status);
  gregorian.clear();
  gregorian.set(t.Year, t.Month - 1, t.Day, 12, 0, 0);
  const UDate when = gregorian.getTime(status);
  std::unique_ptr<icu::Calendar> calendar(
      icu::Calendar::createInstance(utc->clone(), icuLocale, status));
  if (U_FAILURE(status) || !calendar) return {"", t.Year};
  calendar->setTime(when, status);
  const int year = calendar->get(UCAL_YEAR, status);
  icu::SimpleDateFormat format(icu::UnicodeString("G"), icuLocale, status);
  if (U_FAILURE(status)) return {"", t.Year};
  format.adoptCalendar(calendar.release());
  icu::UnicodeString era;
  format.format(when, era);
  return {QStringToShiftJis(FromIcu(era)), U_FAILURE(status) ? t.Year : year};
}

std::string TIcuTextLocale::EraName(const TDateTime& t) const { return EraOf(t).Name; }

int TIcuTextLocale::EraYear(const TDateTime& t) const { return EraOf(t).Year; }

void InstallSystemTextLocale() {
  SetTextLocale(std::make_shared<TIcuTextLocale>(QLocale::system()));
}

}  // namespace sxf
