#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "usb/LoggerHidDevice.h"

class UserPrompt;
struct TMeasurementSet;

/// One decoded data record.
struct UsbDataRecord {
  std::optional<double> time;  ///< days since 30.12.1899; empty when the bytes form no date
  int16_t battery = 0;         ///< hundredths of a volt
  std::vector<int16_t> temps;  ///< hundredths of °C, one per header sensor
};

/// Decoders of the answers in a device's data buffer into its logger image. Each writes
/// its title line with the announced length (except the data record, whose title the
/// download step writes before the size check) and one line per field to the trace (Memo2),
/// and shows the S-mark, CRC and identifier errors through the prompt; decoding always goes
/// on. Reads stay inside the data buffer whatever the answer holds.
class UsbAnswerDecoder {
 public:
  using Trace = std::function<void(const QString&)>;

  static void decodeSwVersion(TLoggerHidDevice& device, const Trace& trace);
  static void decodeTimeAdjustment(TLoggerHidDevice& device, const Trace& trace);
  static void decodeDataStruct(TLoggerHidDevice& device, const Trace& trace);

  /// Data length at least the announced length and at least 2N + 31 (N from the answer).
  static bool headerSizeAccepted(const TLoggerHidDevice& device);
  static void decodeHeader(TLoggerHidDevice& device, const Trace& trace, UserPrompt& prompt);

  /// Data length at least the announced length and at least 496.
  static bool configSizeAccepted(const TLoggerHidDevice& device);
  static void decodeConfig(TLoggerHidDevice& device, const Trace& trace, UserPrompt& prompt);

  /// "DATA RECORD: Len = " + announced length.
  static QString dataRecordTitle(const TLoggerHidDevice& device);
  /// Data length at least the announced length and at least 2N + 10 (N from the header).
  static bool recordSizeAccepted(const TLoggerHidDevice& device);
  static UsbDataRecord decodeDataRecord(const TLoggerHidDevice& device, const Trace& trace, UserPrompt& prompt);
  /// Appends the record to thermal string 0 of logger 0; a missing time stays 0, sensors
  /// the set has but the record lacks get NoTempValue.
  static void appendRecord(TMeasurementSet& set, const UsbDataRecord& record);

  static constexpr int kConfigSize = 496;
  static inline const QString kBadHeaderS = QStringLiteral("Неверный формат заголовка данных логгера (S)!");
  static inline const QString kBadHeaderCrc = QStringLiteral("Ошибка CRC в заголовке данных логгера!");
  static inline const QString kIdMismatch = QStringLiteral("Идентификатор логгера не совпадает с полученным ранее!");
};
