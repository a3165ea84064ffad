#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

#include "usb/LoggerHidDevice.h"
#include "usb/UsbCommands.h"

/// The ten GSM and MQTT texts the CMD_SET_GSM_CONFIG payload carries, in payload order.
struct UsbGsmTexts {
  QString apn, apnUser, apnPwd;
  QString mqttHost, mqttPort, mqttClientId, mqttUser, mqttPwd, mqttDataTopic, mqttConfigTopic;

  static UsbGsmTexts fromImage(const TLoggerHidDevice& device);
};

/// Request payloads and the clock encodings of the USB logger protocol.
class UsbPayloads {
 public:
  /// Field offsets and widths of the CMD_SET_GSM_CONFIG payload (the configuration answer
  /// holds the same fields 36 bytes further on).
  struct TextField {
    int offset;
    int width;
  };
  static const TextField kGsmFields[10];

  /// CMD_GET_DATA_RECORD: record number, u32 LE (records 1 .. total, newest last).
  static QByteArray recordNumber(uint32_t number);
  /// CMD_SET_TIME_ADJUSTMENT: s32 LE.
  static QByteArray clockAdjust(int32_t value);
  /// CMD_SET_RF_CHANNEL, CMD_SET_TK_POLL_PERIOD, CMD_SET_GSM_SEND_PERIOD: the low byte.
  static QByteArray oneByte(int value);
  /// CMD_SET_TIME: the local date-time in set order (hour, minute, second, day, month,
  /// year - 2000).
  static QByteArray setTime(const QDateTime& now);
  /// CMD_SET_GSM_CONFIG: 428 bytes, zero-filled, each field cut to its width (Windows-1251).
  static QByteArray gsmConfig(const UsbGsmTexts& texts);

  /// Answer order (day, month, year - 2000, hour, minute, second) to the stored set order.
  static UsbClockValue clockFromAnswer(const uint8_t* sixBytes);
  /// "dd.mm.yyyy hh:nn:ss", every part zero-padded.
  static QString clockText(const UsbClockValue& clock);
  /// The raw answer-order bytes as "d.m.y h:n:s", unpadded (trace lines).
  static QString answerClockTrace(const uint8_t* sixBytes);
  /// Days since 30.12.1899; empty when the six numbers form no valid date-time.
  static std::optional<double> clockDateTime(const UsbClockValue& clock);
  /// A fixed-width text field: its characters before the first zero byte, Windows-1251.
  static QString textField(const uint8_t* bytes, int width);
};
