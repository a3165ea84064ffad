#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

/// Date-times as the loggers and files count them: a double of days since 30 December 1899
/// 00:00, the fraction being the time of day. Conversions never go through UTC, so they are
/// the same on every machine.
namespace DateTimeValue {

double fromQDateTime(const QDateTime& dt);
QDateTime toQDateTime(double value);

/// Days of a calendar date and time; empty for an impossible date or time.
std::optional<double> encode(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0);

/// "dd/mm/yyyy hh:nn:ss.zzz", the stamp of trace lines and log files.
QString traceStamp(const QDateTime& dt);

/// The program's own file formats (DataFormatSettings): "dd.mm.yy" and "hh:nn:ss".
QString fileDate(double value);
QString fileTime(double value);

}  // namespace DateTimeValue
