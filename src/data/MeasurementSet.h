#pragma once

#include <QString>

#include <cstdint>
#include <vector>

using T2DSmallintArray = std::vector<std::vector<int16_t>>;
using T2DByteArray = std::vector<std::vector<uint8_t>>;
using T3DSmallintArray = std::vector<std::vector<std::vector<int16_t>>>;
using T3DDoubleArray = std::vector<std::vector<std::vector<double>>>;
using T4DSmallintArray = std::vector<std::vector<std::vector<std::vector<int16_t>>>>;

/// A sensor value that was not measured (pattern 0x955C): never shown, never drawn,
/// written to files as "-27300".
constexpr int16_t NoTempValue = -27300;

/// Measurements of loggers as six parallel jagged arrays, first index logger, second
/// thermal string (TK). Values stay as the logger delivered them: hundredths of °C (of the
/// sensor's quantity for TK type 4) and hundredths of a volt. Measurements keep their
/// arrival order; the set never sorts.
///
/// Invariants for every logger i and thermal string j: all arrays have the same logger and
/// string counts; Distance[i][j] and Temp[i][j] have one entry per sensor; MeasTime[i][j],
/// BatteryVoltage[i][j] and every Temp[i][j][s] have one entry per measurement.
struct TMeasurementSet {
  T2DSmallintArray TkSn;
  T2DByteArray TkType;
  T3DSmallintArray Distance;
  T3DDoubleArray MeasTime;  ///< days since 30.12.1899
  T3DSmallintArray BatteryVoltage;
  T4DSmallintArray Temp;  ///< [logger][tk][sensor][measurement]

  int loggerCount() const { return static_cast<int>(TkSn.size()); }
  int tkCount(int logger) const;
  int sensorCount(int logger, int tk) const;
  int measurementCount(int logger, int tk) const;
  /// Logger exists, has a thermal string, and its first string has a sensor.
  bool hasData(int logger) const;

  /// No loggers at all.
  void clear();
  /// loggers loggers, each with exactly one empty thermal string of serial 0 and type 0.
  void reset(int loggers);
  /// Empties sensors and measurements of thermal string 0 of logger i, keeping its serial
  /// and type.
  void clearFirstString(int logger);
  /// Appends one thermal string to logger i (serial, type, sensor positions, no
  /// measurements) and returns its index.
  int addString(int logger, int16_t serial, uint8_t type, std::vector<int16_t> distances);
  /// Appends one measurement to string (i, j); values has one entry per sensor.
  void appendMeasurement(int logger, int tk, double time, int16_t battery, const int16_t* values);
  /// Checks every invariant above.
  bool isConsistent() const;
};

/// A sensor's label number: Distance / 100 rounded half to even (250 -> 2, 350 -> 4).
int SensorLabelNumber(int16_t distance);

/// Heading of a TK type 4 sensor by its quantity kind 0..4 ("To, °C", "RH, %", …); empty
/// for any other kind.
QString QuantityKindHeading(int kind);
