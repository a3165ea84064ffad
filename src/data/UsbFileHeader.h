#pragma once

#include <QString>
#include <cstdint>
#include <vector>

/// The logger image values a USB data file carries. The data-file reader fills it; the main
/// window copies it into the current USB logger image (which has no HID device then).
struct UsbFileHeader {
  QString loggerId;  ///< "D" + model code + "SN" + five-digit serial
  QString firmware = QStringLiteral("n/a");
  uint8_t tkType = 0;              ///< of the last thermal string read
  uint16_t tkSerial = 0;           ///< of the last thermal string read
  int32_t sensorCount = 0;         ///< sensors of thermal string 0
  std::vector<int16_t> distances;  ///< positions of thermal string 0, hundredths
  int32_t measurementPeriod = 0;   ///< hours, from the last two measurements of string 0
  int32_t measurementCount = 0;    ///< measurements of thermal string 0
};
