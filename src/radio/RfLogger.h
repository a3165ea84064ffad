#pragma once

#include <QString>

#include <cstdint>
#include <vector>

/// One radio logger of the list. Entry i of the list is logger i of the radio measurement
/// set and of every radio request; requests take whole copies.
struct TRfLogger {
  QString LoggerId;        ///< "D" + model code (3 digits) + "SN" + serial (5 digits)
  uint16_t TkSerial = 0;   ///< serial number of the thermal string
  double ClockTime = 0;    ///< logger clock, days since 30.12.1899
  double BatteryVolts = 0;
  int32_t SensorCount = 0;
  int32_t PeriodHours = 0;
  int32_t StoredCount = 0;
  double SignalLevel = 0;  ///< dBm
  uint8_t Status = 0;      ///< 0..5, status in the last request
  uint8_t ErrorCode = 0;
  QString ErrorText;
  bool Selected = true;    ///< takes part in radio requests, written to data files
  QString Comment;
  QString Firmware = QStringLiteral("n/a");
};

using TRfLoggerArray = std::vector<TRfLogger>;

/// Model code (characters 2..4 of the identifier) as an integer; -1 when not a number.
int LoggerModelCode(const QString& loggerId);
/// Serial number (characters 7..11 of the identifier) as an integer; -1 when not a number.
int LoggerSerialNumber(const QString& loggerId);
/// "D" + model + "SN" + serial with five digits.
QString MakeLoggerId(int modelCode, int serial);

/// "ТКЛ-1/100 РМ" and friends for model codes 121..124; empty otherwise.
QString ModelNameRu(const QString& loggerId);
/// Latin form of the model name, for workbooks; empty for unknown codes.
QString ModelNameLat(const QString& loggerId);

/// A copy of list without entry index, the other entries in their order (the list itself
/// when index is out of range; RemoveLoggerAtError tells that case apart).
TRfLoggerArray RemoveLoggerAt(const TRfLoggerArray& list, int index);
/// "Указанный элемент не существует" when index names no entry of list; empty otherwise.
QString RemoveLoggerAtError(const TRfLoggerArray& list, int index);
