#include "usb/UsbAnswerDecoder.h"

#include <algorithm>

#include "app/Cp1251.h"
#include "app/UserPrompt.h"
#include "data/Crc8.h"
#include "data/MeasurementSet.h"
#include "usb/UsbCommands.h"
#include "usb/UsbErrorCodeText.h"
#include "usb/UsbPayloads.h"

namespace {

constexpr int kBuf = TLoggerHidDevice::kDataBufferSize;

/// Bounded reads from the data buffer: offsets outside it read as 0.
struct Reader {
  const uint8_t* d;
  uint8_t u8(int at) const { return at >= 0 && at < kBuf ? d[at] : 0; }
  uint16_t be16(int at) const { return static_cast<uint16_t>(u8(at) << 8 | u8(at + 1)); }
  uint16_t le16(int at) const { return static_cast<uint16_t>(u8(at) | u8(at + 1) << 8); }
  int32_t le32(int at) const {
    return static_cast<int32_t>(static_cast<uint32_t>(u8(at)) | static_cast<uint32_t>(u8(at + 1)) << 8 |
                                static_cast<uint32_t>(u8(at + 2)) << 16 | static_cast<uint32_t>(u8(at + 3)) << 24);
  }
  uint32_t be32(int at) const {
    return static_cast<uint32_t>(u8(at)) << 24 | static_cast<uint32_t>(u8(at + 1)) << 16 |
           static_cast<uint32_t>(u8(at + 2)) << 8 | static_cast<uint32_t>(u8(at + 3));
  }
  /// Text field; callers keep at + width inside the buffer.
  QString text(int at, int width) const { return UsbPayloads::textField(d + at, width); }
};

QString num(long long v) { return QString::number(v); }

QString sChar(uint8_t b) { return QString(QChar(Cp1251::toUnicode(b))); }

/// The sensor count N as a record or header may use it without leaving the buffer.
int boundedSensors(int n, int fixedPart) { return std::clamp(n, 0, (kBuf - fixedPart) / 2); }

void traceClock(const UsbAnswerDecoder::Trace& trace, const QString& label, const uint8_t* six) {
  trace(label + UsbPayloads::answerClockTrace(six));
}

}  // namespace

void UsbAnswerDecoder::decodeSwVersion(TLoggerHidDevice& dev, const Trace& trace) {
  trace(QStringLiteral("CMD_GET_SW_VERSION: Len = ") + num(dev.answerLength()));
  dev.firmwareVersion = UsbPayloads::textField(dev.data.data(), 5);
  trace(QStringLiteral("Firmware version = ") + dev.firmwareVersion);
}

void UsbAnswerDecoder::decodeTimeAdjustment(TLoggerHidDevice& dev, const Trace& trace) {
  trace(QStringLiteral("CMD_GET_TIME_ADJUSTMENT: Len = ") + num(dev.answerLength()));
  dev.clockAdjust = Reader{dev.data.data()}.le32(0);
  trace(QStringLiteral("Time adjustment = ") + num(dev.clockAdjust));
}

void UsbAnswerDecoder::decodeDataStruct(TLoggerHidDevice& dev, const Trace& trace) {
  const Reader r{dev.data.data()};
  trace(QStringLiteral("DATA STRUCT: Len = ") + num(dev.answerLength()));
  dev.memoryCapacity = r.le32(0);
  trace(QStringLiteral("Flash capacity = ") + num(dev.memoryCapacity));
  dev.freeMemory = r.le32(4);
  trace(QStringLiteral("Flash free memory = ") + num(dev.freeMemory));
  dev.totalRecCount = r.le32(8);
  trace(QStringLiteral("Total rec count = ") + num(dev.totalRecCount));
  dev.recordSize = r.le16(12);
  trace(QStringLiteral("Record size = ") + num(dev.recordSize));
  dev.currentWriteAddr = static_cast<int32_t>(r.be32(14));
  trace(QStringLiteral("Current write addr = ") + num(static_cast<uint32_t>(dev.currentWriteAddr)));
}

bool UsbAnswerDecoder::headerSizeAccepted(const TLoggerHidDevice& dev) {
  const int n = dev.data[14];
  return dev.dataLen >= dev.answerLength() && dev.dataLen >= 2 * n + 31;
}

void UsbAnswerDecoder::decodeHeader(TLoggerHidDevice& dev, const Trace& trace, UserPrompt& prompt) {
  const Reader r{dev.data.data()};
  trace(QStringLiteral("HEADER: Len = ") + num(dev.answerLength()));
  dev.loggerId = r.text(0, 11);
  trace(QStringLiteral("Logger = ") + dev.loggerId);
  dev.tkType = r.u8(11);
  trace(QStringLiteral("TK type = ") + num(dev.tkType));
  dev.tkSerial = r.be16(12);
  trace(QStringLiteral("TK SN = ") + num(dev.tkSerial));
  const int n = r.u8(14);
  dev.sensorCount = n;
  trace(QStringLiteral("Sensor count = ") + num(n));
  dev.distances.assign(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    dev.distances[static_cast<size_t>(i)] = r.be16(15 + 2 * i);
    trace(QStringLiteral("Distance[%1] = %2").arg(i + 1).arg(dev.distances[static_cast<size_t>(i)]));
  }
  const int s = 15 + 2 * n;
  trace(QStringLiteral("S symbol = ") + sChar(r.u8(s)));
  if (r.u8(s) != 0x53) prompt.error(kBadHeaderS);
  const uint8_t crc = Crc8::compute(dev.data.data(), static_cast<size_t>(s + 1));
  trace(QStringLiteral("CRC = ") + Hex2(r.u8(s + 1)) + QLatin1Char(' '));
  if (crc != r.u8(s + 1)) prompt.error(kBadHeaderCrc);
  dev.headerErrorCode = r.u8(s + 2);
  trace(QStringLiteral("Error code = ") + num(dev.headerErrorCode));
  dev.supplyVoltage = r.be16(s + 3);
  trace(QStringLiteral("Power voltage = ") + num(dev.supplyVoltage));
  dev.loggerClock = UsbPayloads::clockFromAnswer(dev.data.data() + s + 5);
  traceClock(trace, QStringLiteral("Header time: "), dev.data.data() + s + 5);
  dev.secondsCounter = r.le16(s + 11);
  trace(QStringLiteral("Seconds counter = ") + num(dev.secondsCounter));
  dev.measPeriodHours = r.u8(s + 13);
  trace(QStringLiteral("Meas period, h = ") + num(dev.measPeriodHours));
  dev.measCount = r.be16(s + 14);
  trace(QStringLiteral("Meas count = ") + num(dev.measCount));
}

bool UsbAnswerDecoder::configSizeAccepted(const TLoggerHidDevice& dev) {
  return dev.dataLen >= dev.answerLength() && dev.dataLen >= kConfigSize;
}

void UsbAnswerDecoder::decodeConfig(TLoggerHidDevice& dev, const Trace& trace, UserPrompt& prompt) {
  const Reader r{dev.data.data()};
  const uint8_t* d = dev.data.data();
  trace(QStringLiteral("CONFIGURATION: Len = ") + num(dev.answerLength()));
  const QString id = r.text(0, 11);
  if (id != dev.loggerId) prompt.error(kIdMismatch);
  trace(QStringLiteral("Logger = ") + id);
  QString chip;
  for (int i = 11; i < 19; ++i) chip += Hex2(d[i]) + QLatin1Char(' ');
  dev.memoryChipId = chip;
  trace(QStringLiteral("Memory chip ID = ") + chip);
  dev.gsmModule = d[19];
  trace(QStringLiteral("GSM module on = ") + num(dev.gsmModule));
  dev.rfModule = d[20];
  trace(QStringLiteral("RF module on = ") + num(dev.rfModule));
  dev.rfChannel = d[21];
  trace(QStringLiteral("RF channel = ") + num(dev.rfChannel));
  dev.tkPollPeriodSec = r.le32(24);
  trace(QStringLiteral("TK poll period, s = ") + num(dev.tkPollPeriodSec));
  dev.rfPollPeriodSec = r.le16(28);
  trace(QStringLiteral("RF poll period, s = ") + num(dev.rfPollPeriodSec));
  const int32_t gsmSeconds = r.le32(32);
  dev.gsmSendPeriodHours = gsmSeconds / 3600;  // truncated toward zero
  trace(QStringLiteral("GSM send period, s = %1; h = %2").arg(gsmSeconds).arg(dev.gsmSendPeriodHours));

  QString* texts[10] = {&dev.apn,          &dev.apnUser,  &dev.apnPwd,  &dev.mqttHost,      &dev.mqttPort,
                        &dev.mqttClientId, &dev.mqttUser, &dev.mqttPwd, &dev.mqttDataTopic, &dev.mqttConfigTopic};
  static const char* const kLabels[10] = {"APN = ",       "APN user = ",       "APN pwd = ",
                                          "MQTT host = ", "MQTT port = ",      "MQTT client ID = ",
                                          "MQTT user = ", "MQTT pwd = ",       "MQTT topic data = ",
                                          "MQTT topic config = "};
  for (int i = 0; i < 10; ++i) {
    *texts[i] = r.text(36 + UsbPayloads::kGsmFields[i].offset, UsbPayloads::kGsmFields[i].width);
    trace(QString::fromLatin1(kLabels[i]) + *texts[i]);
  }

  dev.loggerClock = UsbPayloads::clockFromAnswer(d + 464);
  traceClock(trace, QStringLiteral("Logger time: "), d + 464);
  dev.supplyVoltage = r.le16(470);
  trace(QStringLiteral("Battery voltage = ") + QString::number(dev.supplyVoltage / 100.0));
  dev.tkInitStatus = d[472];
  trace(QStringLiteral("TK init status = ") + num(dev.tkInitStatus));
  dev.gsmPowerStatus = d[473];
  trace(QStringLiteral("GSM power status = ") + num(dev.gsmPowerStatus));
  dev.tkPowerStatus = d[474];
  trace(QStringLiteral("TK power status = ") + num(dev.tkPowerStatus));
  dev.tkPowerOnRequest = d[475];
  trace(QStringLiteral("TK need to turn on status = ") + num(dev.tkPowerOnRequest));
  dev.gsmPowerOnRequest = d[476];
  trace(QStringLiteral("GSM need to turn on status = ") + num(dev.gsmPowerOnRequest));
  dev.rfPowerOnRequest = d[477];
  trace(QStringLiteral("RF need to turn on status = ") + num(dev.rfPowerOnRequest));
  dev.nextTkReadWakeup = UsbPayloads::clockFromAnswer(d + 478);
  traceClock(trace, QStringLiteral("Next TK read wakeup time: "), d + 478);
  dev.nextGsmSendWakeup = UsbPayloads::clockFromAnswer(d + 484);
  traceClock(trace, QStringLiteral("Next GSM send wakeup time: "), d + 484);
  dev.gsmSignalLevel = d[490];
  trace(QStringLiteral("GSM signal level = ") + num(dev.gsmSignalLevel));
  trace(QStringLiteral("Active = ") + num(d[491]));
  dev.configErrorCode = d[492];
  trace(QStringLiteral("Error = ") + num(dev.configErrorCode));
  dev.configErrorText = UsbErrorCodeText(dev.configErrorCode);
}

QString UsbAnswerDecoder::dataRecordTitle(const TLoggerHidDevice& dev) {
  return QStringLiteral("DATA RECORD: Len = ") + num(dev.answerLength());
}

bool UsbAnswerDecoder::recordSizeAccepted(const TLoggerHidDevice& dev) {
  const long long need = 2LL * std::max(dev.sensorCount, 0) + 10;
  return dev.dataLen >= dev.answerLength() && dev.dataLen >= need;
}

UsbDataRecord UsbAnswerDecoder::decodeDataRecord(const TLoggerHidDevice& dev, const Trace& trace, UserPrompt& prompt) {
  const Reader r{dev.data.data()};
  const uint8_t* d = dev.data.data();
  UsbDataRecord rec;
  rec.time = UsbPayloads::clockDateTime(UsbPayloads::clockFromAnswer(d));
  traceClock(trace, QStringLiteral("Meas time: "), d);
  const uint16_t battery = r.be16(6);
  rec.battery = static_cast<int16_t>(battery);
  trace(QStringLiteral("Battery voltage = ") + num(battery));
  const int n = boundedSensors(dev.sensorCount, 10);
  rec.temps.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const uint16_t raw = r.be16(8 + 2 * i);
    rec.temps[static_cast<size_t>(i)] = static_cast<int16_t>(raw);
    trace(QStringLiteral("Temp[%1] = %2").arg(i + 1).arg(raw));
  }
  const int s = 8 + 2 * n;
  trace(QStringLiteral("S symbol = ") + sChar(r.u8(s)));
  if (r.u8(s) != 0x53) prompt.error(kBadHeaderS);
  trace(QStringLiteral("CRC = ") + Hex2(r.u8(s + 1)) + QLatin1Char(' '));
  if (Crc8::compute(d, static_cast<size_t>(s + 1)) != r.u8(s + 1)) prompt.error(kBadHeaderCrc);
  return rec;
}

void UsbAnswerDecoder::appendRecord(TMeasurementSet& set, const UsbDataRecord& rec) {
  if (set.loggerCount() == 0 || set.tkCount(0) == 0) set.reset(1);
  const int sensors = set.sensorCount(0, 0);
  std::vector<int16_t> values(static_cast<size_t>(sensors), NoTempValue);
  std::copy_n(rec.temps.begin(), std::min<size_t>(rec.temps.size(), values.size()), values.begin());
  set.appendMeasurement(0, 0, rec.time.value_or(0.0), rec.battery, values.data());
}
