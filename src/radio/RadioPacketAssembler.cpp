#include "radio/RadioPacketAssembler.h"

namespace {
QString flagText(bool flag) { return flag ? QStringLiteral("-1") : QStringLiteral("0"); }
}  // namespace

bool RadioPacketAssembler::feed(uint8_t b) {
  if (StreamInvalid) return false;
  if (FillPktPtr == 0) {
    DevPktLen = static_cast<uint8_t>(b + 1);
    if (log_) log_(QStringLiteral("начало нового пакета радиомодема: DevPktLen not(< 5 & > 63)=%1").arg(DevPktLen));
    if (DevPktLen < kMinPacket || DevPktLen > kMaxPacket) {
      StreamInvalid = true;
      return false;
    }
  } else if (FillPktPtr == 1) {
    if (log_) log_(QStringLiteral("FillPktPtr = 1; ReloadPktInfo=%1, DevPktCnt=%2").arg(flagText(ReloadPktInfo)).arg(b));
    if (ReloadPktInfo) {
      DevPktCnt = b;
      ReloadPktInfo = false;
    } else {
      DevPktCnt = static_cast<uint8_t>(DevPktCnt + 1);
      if (DevPktCnt != b) {
        StreamInvalid = true;
        return false;
      }
    }
  } else if (FillPktPtr == DevPktLen - 2) {
    SignalByte = b;
  } else if (FillPktPtr == DevPktLen - 1) {
    if (!(b & 0x80)) {
      StreamInvalid = true;
      return false;
    }
  } else if (ReceivedPktCnt == 0) {
    ResponseText += QChar(static_cast<char16_t>(b));
  } else {
    ArrData.append(static_cast<char>(b));
    if (log_) {
      QString line = QStringLiteral("Length(ArrData)=%1; ArrData[%2]=%3; (")
                 .arg(ArrData.size())
                 .arg(ArrData.size() - 1)
                 .arg(QString::number(b, 16).rightJustified(2, QLatin1Char('0')).toUpper());
      if (b >= 0x20 && b <= 0x7E) line += QChar(static_cast<char16_t>(b));
      line += QLatin1Char(')');
      log_(line);
    }
  }
  ++FillPktPtr;
  if (FillPktPtr == DevPktLen) {
    FillPktPtr = 0;
    ++ReceivedPktCnt;
    if (log_) log_(QStringLiteral("ReceivedPktCnt=%1").arg(ReceivedPktCnt));
  }
  return true;
}

int RadioPacketAssembler::feed(const uint8_t* data, int count) {
  int taken = 0;
  while (taken < count && !StreamInvalid) {
    const bool ok = feed(data[taken]);
    ++taken;
    if (!ok) break;
  }
  return taken;
}

void RadioPacketAssembler::reset() {
  StreamInvalid = false;
  FillPktPtr = 0;
  ReceivedPktCnt = 0;
  ArrData.clear();
  ResponseText.clear();
}

double SignalDbm(uint8_t signalByte) { return static_cast<int8_t>(signalByte) / 2.0 - 74.0; }
