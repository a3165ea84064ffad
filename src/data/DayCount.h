#pragma once

#include <QDate>
#include <cmath>
#include <cstdint>

/// A day count (days since 30.12.1899, the fraction the time of day) split into its calendar
/// date and the second of that day, by plain arithmetic: no time zone or daylight-saving
/// rule can move a stored time. Rounds to the millisecond first, then drops the milliseconds,
/// as every date text of the program does.
struct DayCount {
  QDate date;
  int secondOfDay = 0;

  static DayCount split(double value) {
    const int64_t totalMs = static_cast<int64_t>(std::llround(value * 86400000.0));
    int64_t days = totalMs / 86400000;
    int64_t ms = totalMs % 86400000;
    if (ms < 0) {
      ms += 86400000;
      --days;
    }
    return {QDate(1899, 12, 30).addDays(days), static_cast<int>(ms / 1000)};
  }
  int hour() const { return secondOfDay / 3600; }
  int minute() const { return secondOfDay / 60 % 60; }
  int second() const { return secondOfDay % 60; }
};
