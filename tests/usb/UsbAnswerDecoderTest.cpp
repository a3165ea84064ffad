#include <gtest/gtest.h>

#include <QStringList>

#include "TestSupport.h"
#include "UsbTestDoubles.h"
#include "data/Crc8.h"
#include "data/MeasurementSet.h"
#include "sim/UsbLoggerSimulator.h"
#include "usb/UsbAnswerDecoder.h"
#include "usb/UsbPayloads.h"

namespace {

/// Puts an answer into the device as the transport would: data buffer and a Cmd packet
/// announcing `announced` bytes.
void load(TLoggerHidDevice& dev, const QByteArray& bytes, int announced = -1) {
  dev.data.fill(0);
  std::copy(bytes.begin(), bytes.end(), dev.data.begin());
  dev.dataLen = static_cast<uint16_t>(bytes.size());
  if (announced < 0) announced = static_cast<int>(bytes.size());
  dev.cmdPacket.fill(0);
  dev.cmdPacket[1] = static_cast<uint8_t>(announced & 0xFF);
  dev.cmdPacket[2] = static_cast<uint8_t>((announced >> 8) & 0xFF);
  dev.cmdPacketLen = 5;
}

QByteArray bytes(std::initializer_list<int> list) {
  QByteArray b;
  for (int v : list) b += static_cast<char>(v);
  return b;
}

/// Header of D122SN00017, TK type 3, TK SN 0x0102, two sensors at 150 and 250, taken on
/// 5.3.24 14:07:09, 6.20 V, seconds counter 0x0304, period 8 h, 300 measurements.
QByteArray goodHeader() {
  QByteArray h = QByteArray("D122SN00017") + bytes({3, 0x01, 0x02, 2, 0x00, 150, 0x00, 250, 'S', 0});
  h[20] = static_cast<char>(Crc8::compute(h.constData(), 20));
  h += bytes({7, 0x02, 0x6C, 5, 3, 24, 14, 7, 9, 0x04, 0x03, 8, 0x01, 0x2C});
  return h;
}

struct Traced {
  QStringList lines;
  UsbAnswerDecoder::Trace fn() {
    return [this](const QString& s) { lines << s; };
  }
};

TEST(UsbAnswerDecoderTest, HeaderGoldenTraceAndImage) {
  TLoggerHidDevice dev;
  load(dev, goodHeader());
  ASSERT_EQ(goodHeader().size(), 35);  // 2N + 31
  ASSERT_TRUE(UsbAnswerDecoder::headerSizeAccepted(dev));
  Traced t;
  RecordingPrompt prompt;
  UsbAnswerDecoder::decodeHeader(dev, t.fn(), prompt);
  EXPECT_TRUE(prompt.boxes().empty());
  const QString crc = Hex2(static_cast<uint8_t>(goodHeader()[20]));
  EXPECT_EQ(t.lines, QStringList({"HEADER: Len = 35", "Logger = D122SN00017", "TK type = 3", "TK SN = 258",
                                  "Sensor count = 2", "Distance[1] = 150", "Distance[2] = 250", "S symbol = S",
                                  "CRC = " + crc + " ", "Error code = 7", "Power voltage = 620",
                                  "Header time: 5.3.24 14:7:9", "Seconds counter = 772", "Meas period, h = 8",
                                  "Meas count = 300"}));
  EXPECT_EQ(dev.loggerId, "D122SN00017");
  EXPECT_EQ(dev.distances, (std::vector<uint16_t>{150, 250}));
  EXPECT_EQ(UsbPayloads::clockText(dev.loggerClock), "05.03.2024 14:07:09");
  EXPECT_EQ(dev.measCount, 300);
}

TEST(UsbAnswerDecoderTest, HeaderChecksShowBoxesAndGoOn) {
  struct Case {
    const char* name;
    int offset;
    char value;
    QStringList boxes;
  };
  const QStringList both{UsbAnswerDecoder::kBadHeaderS, UsbAnswerDecoder::kBadHeaderCrc};
  for (const Case& c : {Case{"good", -1, 0, {}},
                        Case{"bad S mark", 15 + 4, 'X', both},  // CRC covers the S byte
                        Case{"bad CRC", 16 + 4, 0x00, {UsbAnswerDecoder::kBadHeaderCrc}}}) {
    QByteArray h = goodHeader();
    if (c.offset >= 0) h[c.offset] = c.value;
    if (h == goodHeader() && c.offset >= 0) h[c.offset] = static_cast<char>(c.value ^ 1);
    TLoggerHidDevice dev;
    load(dev, h);
    Traced t;
    RecordingPrompt prompt;
    UsbAnswerDecoder::decodeHeader(dev, t.fn(), prompt);
    EXPECT_EQ(prompt.texts(), c.boxes) << c.name;
    EXPECT_EQ(dev.measCount, 300) << c.name << ": decoding goes on after a failed check";
    for (const auto& box : prompt.boxes()) EXPECT_EQ(box.kind, UserPrompt::Kind::Error);
  }
}

TEST(UsbAnswerDecoderTest, HeaderWithNoSensorsIs31Bytes) {
  QByteArray h = QByteArray("D121SN00001") + bytes({1, 0, 5, 0, 'S', 0});
  h[16] = static_cast<char>(Crc8::compute(h.constData(), 16));
  h += QByteArray(14, '\0');
  ASSERT_EQ(h.size(), 31);
  TLoggerHidDevice dev;
  load(dev, h);
  EXPECT_TRUE(UsbAnswerDecoder::headerSizeAccepted(dev));
  Traced t;
  RecordingPrompt prompt;
  UsbAnswerDecoder::decodeHeader(dev, t.fn(), prompt);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_EQ(dev.sensorCount, 0);
}

TEST(UsbAnswerDecoderTest, HeaderSizeRules) {
  struct Case {
    int dataLen, announced;
    bool accepted;
  };
  // N = 2: 35 bytes needed.
  for (const Case& c : {Case{35, 35, true}, Case{64, 35, true}, Case{34, 34, false}, Case{35, 36, false},
                        Case{0, 0, false}}) {
    TLoggerHidDevice dev;
    load(dev, goodHeader().left(c.dataLen).leftJustified(c.dataLen, '\0'), c.announced);
    dev.data[14] = 2;
    EXPECT_EQ(UsbAnswerDecoder::headerSizeAccepted(dev), c.accepted) << c.dataLen << "/" << c.announced;
  }
}

TEST(UsbAnswerDecoderTest, LongestHeaderStaysInsideTheBuffer) {
  UsbSimImage img;
  img.distances.assign(255, 0xFFFF);
  const QByteArray h = UsbLoggerSimulator::headerAnswer(img, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
  ASSERT_EQ(h.size(), 2 * 255 + 31);
  TLoggerHidDevice dev;
  load(dev, h);
  ASSERT_TRUE(UsbAnswerDecoder::headerSizeAccepted(dev));
  Traced t;
  RecordingPrompt prompt;
  UsbAnswerDecoder::decodeHeader(dev, t.fn(), prompt);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_EQ(dev.distances.size(), 255u);
  EXPECT_EQ(dev.distances.back(), 0xFFFF);
  EXPECT_EQ(t.lines.size(), 1 + 4 + 255 + 8);
}

QByteArray configFor(const UsbSimImage& img) {
  return UsbLoggerSimulator::configAnswer(img, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
}

TEST(UsbAnswerDecoderTest, ConfigurationSizeRules) {
  const QByteArray c = configFor(UsbSimImage());
  for (int size : {493, 494, 495, 496, 512}) {
    TLoggerHidDevice dev;
    load(dev, c.leftJustified(size, '\0', true), std::min(size, 496));
    EXPECT_EQ(UsbAnswerDecoder::configSizeAccepted(dev), size >= 496) << size;
  }
  TLoggerHidDevice dev;
  load(dev, c, 497);  // fewer bytes than announced
  EXPECT_FALSE(UsbAnswerDecoder::configSizeAccepted(dev));
}

TEST(UsbAnswerDecoderTest, ConfigurationFieldsAndTraces) {
  UsbSimImage img;
  img.loggerId = QStringLiteral("D124SN00042");
  img.gsmSendPeriodSec = 86400;
  img.supplyVoltage = 655;
  img.configErrorCode = 10;
  img.texts.apn = QStringLiteral("12345678901234567890");  // full width: no zero byte follows
  img.texts.mqttHost = QStringLiteral("сервер.рф");         // Windows-1251 on the wire
  TLoggerHidDevice dev;
  dev.loggerId = img.loggerId;
  load(dev, configFor(img));
  Traced t;
  RecordingPrompt prompt;
  UsbAnswerDecoder::decodeConfig(dev, t.fn(), prompt);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_EQ(dev.gsmSendPeriodHours, 24);
  EXPECT_EQ(dev.apn, "12345678901234567890");
  EXPECT_EQ(dev.apnUser, "");
  EXPECT_EQ(dev.mqttHost, "сервер.рф");
  EXPECT_EQ(dev.memoryChipId, "EF 40 18 00 C2 20 16 01 ");
  EXPECT_EQ(dev.configErrorText, "Карта памяти не обнаружена");
  EXPECT_TRUE(t.lines.contains("GSM send period, s = 86400; h = 24"));
  EXPECT_TRUE(t.lines.contains("Battery voltage = 6.55"));
  EXPECT_TRUE(t.lines.contains("Logger time: 5.3.24 14:7:9"));
  EXPECT_EQ(t.lines.first(), "CONFIGURATION: Len = 496");

  img.gsmSendPeriodSec = 5399;
  load(dev, configFor(img));
  UsbAnswerDecoder::decodeConfig(dev, t.fn(), prompt);
  EXPECT_EQ(dev.gsmSendPeriodHours, 1);

  dev.loggerId = QStringLiteral("D124SN00043");
  UsbAnswerDecoder::decodeConfig(dev, t.fn(), prompt);
  EXPECT_EQ(prompt.texts(), QStringList{UsbAnswerDecoder::kIdMismatch});
  EXPECT_EQ(dev.loggerId, "D124SN00043") << "the header's identifier stays";
}

TEST(UsbAnswerDecoderTest, DataRecordValuesChecksAndSize) {
  UsbSimImage img;
  img.distances = {100, 200};
  img.records.push_back({QDateTime(QDate(2024, 3, 5), QTime(14, 0)), 362, {static_cast<int16_t>(0xFF38), 1234}});
  const QByteArray good = UsbLoggerSimulator::recordAnswer(img, 0);
  ASSERT_EQ(good.size(), 2 * 2 + 10);

  struct Case {
    const char* name;
    int offset;
    char value;
    QStringList boxes;
  };
  for (const Case& c : {Case{"good", -1, 0, {}},
                        Case{"bad S", 12, 'X', {UsbAnswerDecoder::kBadHeaderS, UsbAnswerDecoder::kBadHeaderCrc}},
                        Case{"bad CRC", 13, static_cast<char>(good[13] ^ 0x5A), {UsbAnswerDecoder::kBadHeaderCrc}}}) {
    QByteArray r = good;
    if (c.offset >= 0) r[c.offset] = c.value;
    TLoggerHidDevice dev;
    dev.sensorCount = 2;
    load(dev, r);
    ASSERT_TRUE(UsbAnswerDecoder::recordSizeAccepted(dev));
    Traced t;
    RecordingPrompt prompt;
    const UsbDataRecord rec = UsbAnswerDecoder::decodeDataRecord(dev, t.fn(), prompt);
    EXPECT_EQ(prompt.texts(), c.boxes) << c.name;
    EXPECT_EQ(rec.temps, (std::vector<int16_t>{-200, 1234})) << c.name;
    EXPECT_EQ(rec.battery, 362);
    EXPECT_TRUE(t.lines.contains("Temp[1] = 65336")) << c.name;
    EXPECT_TRUE(t.lines.contains("Meas time: 5.3.24 14:0:0"));
    EXPECT_EQ(UsbAnswerDecoder::dataRecordTitle(dev), "DATA RECORD: Len = 14");
  }

  TLoggerHidDevice dev;
  dev.sensorCount = 2;
  load(dev, good.left(13));
  EXPECT_FALSE(UsbAnswerDecoder::recordSizeAccepted(dev));
  // An image read from a file may claim more sensors than any answer can hold.
  dev.sensorCount = 5000;
  load(dev, good);
  EXPECT_FALSE(UsbAnswerDecoder::recordSizeAccepted(dev));
  RecordingPrompt prompt;
  EXPECT_EQ(UsbAnswerDecoder::decodeDataRecord(dev, [](const QString&) {}, prompt).temps.size(), 1019u);
}

TEST(UsbAnswerDecoderTest, RecordGoesIntoTheUsbSet) {
  TMeasurementSet set;
  set.reset(1);
  set.addString(0, 0, 0, {});
  set = TMeasurementSet();
  set.reset(1);
  set.Distance[0][0] = {100, 200};
  set.Temp[0][0].resize(2);
  UsbDataRecord rec;
  rec.time = 45356.5;
  rec.battery = 360;
  rec.temps = {-200};  // one sensor short
  UsbAnswerDecoder::appendRecord(set, rec);
  UsbDataRecord noDate;  // a time that forms no date keeps 0
  noDate.temps = {1, 2};
  UsbAnswerDecoder::appendRecord(set, noDate);
  ASSERT_TRUE(set.isConsistent());
  EXPECT_EQ(set.MeasTime[0][0], (std::vector<double>{45356.5, 0.0}));
  EXPECT_EQ(set.Temp[0][0][0], (std::vector<int16_t>{-200, 1}));
  EXPECT_EQ(set.Temp[0][0][1], (std::vector<int16_t>{NoTempValue, 2}));
}

TEST(UsbAnswerDecoderTest, SmallAnswersWithoutSizeCheck) {
  TLoggerHidDevice dev;
  Traced t;
  load(dev, QByteArray("1.2.3"));
  UsbAnswerDecoder::decodeSwVersion(dev, t.fn());
  load(dev, bytes({0xFE, 0xFF, 0xFF, 0xFF}));
  UsbAnswerDecoder::decodeTimeAdjustment(dev, t.fn());
  load(dev, bytes({0, 0, 0x40, 0, 0x10, 0, 0x40, 0, 5, 0, 0, 0, 42, 0, 0x00, 0x00, 0x01, 0x02}));
  UsbAnswerDecoder::decodeDataStruct(dev, t.fn());
  EXPECT_EQ(t.lines, QStringList({"CMD_GET_SW_VERSION: Len = 5", "Firmware version = 1.2.3",
                                  "CMD_GET_TIME_ADJUSTMENT: Len = 4", "Time adjustment = -2", "DATA STRUCT: Len = 18",
                                  "Flash capacity = 4194304", "Flash free memory = 4194320", "Total rec count = 5",
                                  "Record size = 42", "Current write addr = 258"}));
  EXPECT_EQ(dev.clockAdjust, -2);
  EXPECT_EQ(dev.currentWriteAddr, 258);
}

TEST(UsbPayloadsTest, RequestPayloads) {
  EXPECT_EQ(UsbPayloads::setTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))).toHex(' '), "0e 07 09 05 03 18");
  EXPECT_EQ(UsbPayloads::recordNumber(0x01020304).toHex(' '), "04 03 02 01");
  EXPECT_EQ(UsbPayloads::clockAdjust(-2).toHex(' '), "fe ff ff ff");
  EXPECT_EQ(UsbPayloads::oneByte(0x1FF).toHex(), "ff");

  UsbGsmTexts texts;
  texts.apn = QString(25, QLatin1Char('a'));  // cut to 20
  texts.apnUser = QStringLiteral("user");
  texts.mqttPort = QStringLiteral("1883");
  texts.mqttConfigTopic = QString(64, QLatin1Char('t'));
  const QByteArray p = UsbPayloads::gsmConfig(texts);
  ASSERT_EQ(p.size(), 428);
  EXPECT_EQ(p.left(20), QByteArray(20, 'a'));
  EXPECT_EQ(p.mid(20, 8), QByteArray("user\0\0\0\0", 8));
  EXPECT_EQ(p.mid(100, 8), QByteArray("1883\0\0\0\0", 8));
  EXPECT_EQ(p.mid(364, 64), QByteArray(64, 't'));
  EXPECT_EQ(p.mid(28, 8), QByteArray(8, '\0'));
}

TEST(UsbPayloadsTest, ClockTexts) {
  const uint8_t answer[6] = {5, 3, 24, 14, 7, 9};
  const UsbClockValue c = UsbPayloads::clockFromAnswer(answer);
  EXPECT_EQ(c, (UsbClockValue{14, 7, 9, 5, 3, 24}));
  EXPECT_EQ(UsbPayloads::clockText(c), "05.03.2024 14:07:09");
  EXPECT_EQ(UsbPayloads::answerClockTrace(answer), "5.3.24 14:7:9");
  EXPECT_FALSE(UsbPayloads::clockDateTime(UsbClockValue{25, 0, 0, 31, 2, 24}).has_value());
}

}  // namespace
