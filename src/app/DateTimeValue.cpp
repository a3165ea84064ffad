#include "app/DateTimeValue.h"

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
}  // namespace

namespace DateTimeValue {

double fromQDateTime(const QDateTime& dt) {
  const double days = static_cast<double>(kEpoch.daysTo(dt.date()));
  const double ms = static_cast<double>(dt.time().msecsSinceStartOfDay());
  return days + ms / kMsPerDay;
}

QDateTime toQDateTime(double value) {
  // Round to the millisecond first so that 0.999999… of a day never shows as 23:59:59.999
  // of the day before.
  const qint64 totalMs = static_cast<qint64>(std::llround(value * kMsPerDay));
  qint64 days = totalMs / 86400000;
  qint64 ms = totalMs % 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  // A wall-clock time with no zone rules: a local time would be invalid (and format as an
  // empty text) inside a daylight-saving gap, and the loggers' clocks know no such gaps.
  return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

std::optional<double> encode(int year, int month, int day, int hour, int minute, int second, int ms) {
  const QDate date(year, month, day);
  if (!date.isValid() || !QTime::isValid(hour, minute, second, ms)) return std::nullopt;
  return fromQDateTime(QDateTime(date, QTime(hour, minute, second, ms)));
}

QString traceStamp(const QDateTime& dt) { return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss.zzz")); }

QString fileDate(double value) { return toQDateTime(value).toString(QStringLiteral("dd.MM.yy")); }

QString fileTime(double value) { return toQDateTime(value).toString(QStringLiteral("HH:mm:ss")); }

}  // namespace DateTimeValue
