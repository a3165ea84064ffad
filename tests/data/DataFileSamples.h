#pragma once

// Measurement sets shared by the data-file, workbook and command-line tests.

#include <QDateTime>

#include "app/DateTimeValue.h"
#include "data/MeasurementSet.h"
#include "radio/RfLogger.h"

namespace samples {

inline double at(int y, int mo, int d, int h, int mi, int s) { return *DateTimeValue::encode(y, mo, d, h, mi, s); }

/// The reference file: logger D122SN00017, one thermal string of type 1 and serial 42
/// with sensors at 0 and 100, two measurements.
inline void example(TMeasurementSet& set, TRfLoggerArray& loggers) {
  set.clear();
  set.reset(1);
  set.TkSn[0].clear();
  set.TkType[0].clear();
  set.Distance[0].clear();
  set.MeasTime[0].clear();
  set.BatteryVoltage[0].clear();
  set.Temp[0].clear();
  set.addString(0, 42, 1, {0, 100});
  const int16_t m1[] = {2150, 2125};
  const int16_t m2[] = {NoTempValue, 2100};
  set.appendMeasurement(0, 0, at(2024, 3, 5, 12, 0, 0), 360, m1);
  set.appendMeasurement(0, 0, at(2024, 3, 5, 20, 0, 0), 358, m2);
  TRfLogger logger;
  logger.LoggerId = QStringLiteral("D122SN00017");
  loggers = {logger};
}

inline QDateTime exampleWritten() { return QDateTime(QDate(2024, 3, 5), QTime(21, 30, 15)); }

/// A logger with strings of the given sensor counts, measurements each, values derived from
/// the indices so every one differs; a few are missing.
inline void addLogger(TMeasurementSet& set, const std::vector<int>& sensorsPerString, int measurements, int seed) {
  set.TkSn.emplace_back();
  set.TkType.emplace_back();
  set.Distance.emplace_back();
  set.MeasTime.emplace_back();
  set.BatteryVoltage.emplace_back();
  set.Temp.emplace_back();
  const int logger = set.loggerCount() - 1;
  for (size_t k = 0; k < sensorsPerString.size(); ++k) {
    std::vector<int16_t> d;
    for (int s = 0; s < sensorsPerString[k]; ++s) d.push_back(static_cast<int16_t>(s * 50 - 100 + seed));
    const int tk = set.addString(logger, static_cast<int16_t>(seed * 10 + k), static_cast<uint8_t>(k % 5), d);
    std::vector<int16_t> values(sensorsPerString[k]);
    for (int m = 0; m < measurements; ++m) {
      for (int s = 0; s < sensorsPerString[k]; ++s)
        values[s] =
            (m + s + seed) % 17 == 0 ? NoTempValue : static_cast<int16_t>((m * 37 + s * 101 + seed) % 6000 - 3000);
      set.appendMeasurement(logger, tk, at(2025, 1 + seed % 12, 1, 0, 0, 0) + m / 24.0,
                            static_cast<int16_t>(300 + m % 90), values.data());
    }
  }
}

}  // namespace samples
