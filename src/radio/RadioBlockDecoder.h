#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "data/MeasurementSet.h"
#include "radio/RadioPacketAssembler.h"
#include "radio/RfLogger.h"

/// A decoded header block. Offsets below are from the start of the block; L is the
/// identifier length, n the sensor count, M = L + 6 + 2n. The block is exactly
/// L + 2n + 20 bytes; bytes 0 .. L+5+2n are covered by a CRC-8, the rest (error code,
/// battery, clock, correction, period, stored count) are not.
struct RadioHeader {
  uint8_t TkType = 0;
  int16_t TkSn = 0;
  int SensorCount = 0;
  std::vector<int16_t> Distance;
  uint8_t ErrorCode = 0;
  uint16_t BatteryHundredths = 0;  ///< hundredths of a volt
  double ClockTime = 0;            ///< logger clock plus its correction, days since 30.12.1899
  int PeriodHours = 1;             ///< a period byte of 0 reads as 1
  int StoredCount = 0;

  double batteryVolts() const { return BatteryHundredths / 100.0; }
  /// Parameter of the sensors message: TkSn (16 bits) in the high half, sensor count in
  /// the low 8 bits.
  int32_t sensorsParam() const;
  /// Parameter of the period-and-count message: PeriodHours (8 bits) in bits 16..23,
  /// StoredCount (16 bits) in the low half.
  int32_t periodCountParam() const;
};

/// Results of HeaderCreator.
enum HeaderCreatorResult : int {
  HeaderAccepted = 0,
  HeaderEchoDiffers = 2,
  HeaderWrongLength = 3,
  HeaderCheckFailed = 4,  ///< CRC-8 fails, or the clock bytes form no date-time
};

/// Bytes per measurement record of n sensors.
constexpr int RadioRecordSize(int sensorCount) { return 2 * sensorCount + 10; }
/// Header block length for an identifier of idLength characters and n sensors.
constexpr int RadioHeaderSize(int idLength, int sensorCount) { return idLength + 2 * sensorCount + 20; }

/// The first year of the current century of now (2000 for 2026): two-digit years of the
/// loggers fall in it.
int RadioCentury(const QDateTime& now);

/// Date and time bytes to days since 30.12.1899; empty when they form no valid date or
/// time (month 13, hour 24, day 0 …). The year is century + yy.
std::optional<double> RadioDateTime(const uint8_t* dateBytes, const uint8_t* timeBytes, int century);

/// Checks and decodes a header block for the logger of identifier loggerId.
int DecodeRadioHeader(const QByteArray& arrData, const QString& loggerId, int century, RadioHeader& header);

/// Decodes the header of logger loggerIndex and, when accepted, stores it: TkType, TkSn and
/// the positions in thermal-string slot 0 of results (with one Temp row per sensor), and
/// BatteryVolts, ErrorCode, SensorCount, PeriodHours, StoredCount and ClockTime in
/// logger (the request's copy). Returns a HeaderCreatorResult; header receives the
/// decoded values on acceptance.
int HeaderCreator(const QByteArray& arrData, int loggerIndex, TRfLogger& logger, TMeasurementSet& results,
                  int century, RadioHeader* header = nullptr, const RadioLogSink& log = {});

/// Decodes recsPerBlock records of RadioRecordSize(sensorCount) bytes for logger
/// loggerIndex, appending each good record (CRC-8 ends at 0 and its date-time is valid) to
/// slot 0 of results and counting it in recordCount. Bad records are skipped silently.
/// Only whole records present in arrData are read. Returns the number of good records.
int DataCreator(const QByteArray& arrData, int recsPerBlock, int sensorCount, int loggerIndex,
                TMeasurementSet& results, int century, int32_t& recordCount, const RadioLogSink& log = {});
