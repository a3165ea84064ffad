#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

/// One stored measurement of a simulated radio logger.
struct RadioSimRecord {
  QDateTime time;
  int16_t battery = 360;       ///< hundredths of a volt
  std::vector<int16_t> temps;  ///< hundredths of °C, one per sensor
};

/// A simulated radio logger: what it reports in its header and the records it stores.
struct RadioSimLogger {
  QString id;                      ///< "D123SN00042"
  uint8_t tkType = 1;
  int16_t tkSerial = 0;
  std::vector<int16_t> distances;  ///< sensor positions, one per sensor
  std::vector<RadioSimRecord> records;  ///< oldest first
  qint64 clockOffsetMs = 0;        ///< logger clock minus the simulator's clock
  uint16_t clockCorrection = 0;    ///< units of 8 s, added by the reader to the clock bytes
  uint8_t periodHours = 1;
  uint8_t errorCode = 0;
  uint16_t battery = 362;          ///< hundredths of a volt
  uint8_t signal = 0x30;           ///< signal byte of its packets
  int channel = -1;                ///< answers only on this modem channel; -1 any
  bool neverAnswers = false;

  int sensorCount() const { return static_cast<int>(distances.size()); }

  /// The header block as the logger sends it, its clock read at loggerNow.
  QByteArray headerBlock(const QDateTime& loggerNow) const;
  /// One measurement record block (2n + 10 bytes with its CRC-8).
  QByteArray recordBlock(const RadioSimRecord& record) const;
  /// A plausible record at time t: temperatures around freezing, warmer with depth.
  RadioSimRecord makeRecord(const QDateTime& t, int index) const;
};
