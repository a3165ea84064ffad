#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "usb/HidBackend.h"

/// Verdict of the pending command.
enum class UsbVerdict : uint8_t { Sent = 0, Acknowledged = 1, Done = 2, Failed = 3 };

/// A logger clock as six bytes in set order: hour, minute, second, day, month, year - 2000.
using UsbClockValue = std::array<uint8_t, 6>;

/// The zero date-time (30.12.1899 00:00) every exchange time starts at.
QDateTime UsbZeroTime();

/// One USB logger: the exchange state of its pending command and the decoded logger image.
/// Created by the transport for each logger found (holding its opened HID device), or by the
/// data-file reader for an image read back from a file (no HID device). Main thread only.
struct TLoggerHidDevice {
  static constexpr int kCmdPacketSize = 64;
  static constexpr int kDataBufferSize = 2049;

  // Exchange fields.
  std::unique_ptr<HidDevice> hidDevice;  ///< none for an image read from a file
  uint8_t pendingCode = 0;
  UsbVerdict verdict = UsbVerdict::Sent;
  QDateTime sendTime = UsbZeroTime();
  QDateTime ackTime = UsbZeroTime();  ///< acknowledgement or latest Data packet
  QDateTime doneTime = UsbZeroTime();
  int32_t timeout1 = 0;  ///< ms
  int32_t timeout2 = 0;  ///< ms
  QString errorText;
  std::array<uint8_t, kCmdPacketSize> cmdPacket{};
  uint16_t cmdPacketLen = 0;
  /// Data packets of the pending command; an answer longer than the buffer is cut at its end.
  std::array<uint8_t, kDataBufferSize> data{};
  uint16_t dataLen = 0;

  // Logger image.
  QString loggerId;
  uint8_t tkType = 0;
  uint16_t tkSerial = 0;
  int32_t sensorCount = 0;
  std::vector<uint16_t> distances;
  uint8_t headerErrorCode = 0;
  uint16_t supplyVoltage = 0;  ///< hundredths of a volt
  UsbClockValue loggerClock{};
  uint16_t secondsCounter = 0;
  int32_t measPeriodHours = 0;
  int32_t measCount = 0;
  QString memoryChipId;
  int32_t memoryCapacity = 0;  ///< bytes
  int32_t freeMemory = 0;      ///< bytes
  int32_t totalRecCount = 0;
  uint16_t recordSize = 0;
  int32_t currentWriteAddr = 0;
  uint8_t gsmModule = 0;
  uint8_t rfModule = 0;
  uint8_t rfChannel = 0;
  int32_t tkPollPeriodSec = 0;
  uint16_t rfPollPeriodSec = 0;
  int32_t gsmSendPeriodHours = 0;
  QString apn, apnUser, apnPwd;
  QString mqttHost, mqttPort, mqttClientId, mqttUser, mqttPwd, mqttDataTopic, mqttConfigTopic;
  uint8_t tkInitStatus = 0;
  uint8_t gsmPowerStatus = 0;
  uint8_t tkPowerStatus = 0;
  uint8_t tkPowerOnRequest = 0;
  uint8_t gsmPowerOnRequest = 0;
  uint8_t rfPowerOnRequest = 0;
  UsbClockValue nextTkReadWakeup{};
  UsbClockValue nextGsmSendWakeup{};
  uint8_t gsmSignalLevel = 0;  ///< raw
  uint8_t configErrorCode = 0;
  QString configErrorText;     ///< text of configErrorCode
  QString firmwareVersion;
  int32_t clockAdjust = 0;

  /// Cmd packet bytes 1..4, s32 LE: the number of data bytes the logger announced.
  int32_t answerLength() const;
  /// Cmd packet byte 1 of task answers.
  uint8_t statusByte() const { return cmdPacket[1]; }
};
