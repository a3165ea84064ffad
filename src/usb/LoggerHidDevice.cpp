#include "usb/LoggerHidDevice.h"

QDateTime UsbZeroTime() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

int32_t TLoggerHidDevice::answerLength() const {
  const uint32_t v = static_cast<uint32_t>(cmdPacket[1]) | static_cast<uint32_t>(cmdPacket[2]) << 8 |
                     static_cast<uint32_t>(cmdPacket[3]) << 16 | static_cast<uint32_t>(cmdPacket[4]) << 24;
  return static_cast<int32_t>(v);
}
