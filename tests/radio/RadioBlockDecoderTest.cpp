#include <QByteArray>
#include <QDateTime>

#include <gtest/gtest.h>

#include "app/DateTimeValue.h"
#include "data/Crc8.h"
#include "radio/LoggerCommand.h"
#include "radio/RadioBlockDecoder.h"

namespace {

const QString kId = QStringLiteral("D123SN00042");
constexpr int kCentury = 2000;

struct HeaderFields {
  uint8_t type = 2;
  uint16_t tkSn = 0x1234;
  std::vector<uint16_t> distances = {50, 150, 250};
  uint8_t error = 3;
  uint16_t battery = 362;
  uint8_t date[3] = {15, 1, 26};
  uint8_t time[3] = {10, 20, 30};
  uint16_t correction = 0;
  uint8_t period = 2;
  uint16_t stored = 500;
};

void put16(QByteArray& b, uint16_t v) {
  b.append(static_cast<char>(v >> 8));
  b.append(static_cast<char>(v & 0xFF));
}

QByteArray header(const HeaderFields& f, const QString& id = kId) {
  QByteArray b = id.toLatin1();
  b.append(static_cast<char>(f.type));
  put16(b, f.tkSn);
  b.append(static_cast<char>(f.distances.size()));
  for (uint16_t d : f.distances) put16(b, d);
  b.append('\x55');
  b.append(static_cast<char>(Crc8::compute(b.constData(), static_cast<size_t>(b.size()))));
  b.append(static_cast<char>(f.error));
  put16(b, f.battery);
  b.append(reinterpret_cast<const char*>(f.date), 3);
  b.append(reinterpret_cast<const char*>(f.time), 3);
  put16(b, f.correction);
  b.append(static_cast<char>(f.period));
  put16(b, f.stored);
  return b;
}

QByteArray record(std::array<uint8_t, 6> when, uint16_t battery, const std::vector<uint16_t>& temps) {
  QByteArray b(reinterpret_cast<const char*>(when.data()), 6);
  put16(b, battery);
  for (uint16_t t : temps) put16(b, t);
  b.append('\x00');
  b.append(static_cast<char>(Crc8::compute(b.constData(), static_cast<size_t>(b.size()))));
  return b;
}

double at(int y, int mo, int d, int h, int mi, int s) { return *DateTimeValue::encode(y, mo, d, h, mi, s); }

}  // namespace

TEST(Crc8, CheckValueOfOneToNine) { EXPECT_EQ(Crc8::compute("123456789", 9), 0xA1); }

TEST(HeaderCreator, ReturnCodes) {
  const QByteArray good = header({});
  QByteArray badCrc = good;
  badCrc[kId.size() + 4] = static_cast<char>(badCrc.at(kId.size() + 4) ^ 1);
  HeaderFields badDate;
  badDate.date[1] = 13;
  HeaderFields badHour;
  badHour.time[0] = 24;
  struct Case {
    const char* name;
    QByteArray data;
    int expected;
  } cases[] = {
      {"good", good, HeaderAccepted},
      {"other logger", header({}, QStringLiteral("D123SN00043")), HeaderEchoDiffers},
      {"empty", {}, HeaderEchoDiffers},
      {"echo only", kId.toLatin1(), HeaderWrongLength},
      {"one byte short", good.left(good.size() - 1), HeaderWrongLength},
      {"one byte long", good + "x", HeaderWrongLength},
      {"bad crc", badCrc, HeaderCheckFailed},
      {"month 13", header(badDate), HeaderCheckFailed},
      {"hour 24", header(badHour), HeaderCheckFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRfLogger logger;
    logger.LoggerId = kId;
    TMeasurementSet results;
    results.reset(1);
    EXPECT_EQ(HeaderCreator(c.data, 0, logger, results, kCentury), c.expected);
    if (c.expected != HeaderAccepted) {
      EXPECT_EQ(logger.SensorCount, 0);
    }
  }
}

TEST(HeaderCreator, StoresTheHeader) {
  TRfLogger logger;
  logger.LoggerId = kId;
  TMeasurementSet results;
  results.reset(2);
  RadioHeader h;
  HeaderFields f;
  f.tkSn = 0xFFFE;
  f.distances = {0xFF9C, 100};
  QStringList log;
  ASSERT_EQ(HeaderCreator(header(f), 1, logger, results, kCentury, &h, [&](const QString& l) { log.append(l); }),
            HeaderAccepted);
  EXPECT_EQ(log, QStringList{QStringLiteral("in HeaderCreator")});
  EXPECT_EQ(results.TkType[1][0], 2);
  EXPECT_EQ(results.TkSn[1][0], -2);
  EXPECT_EQ(results.Distance[1][0], (std::vector<int16_t>{-100, 100}));
  EXPECT_EQ(results.Temp[1][0].size(), 2u);
  EXPECT_TRUE(results.isConsistent());
  EXPECT_EQ(logger.SensorCount, 2);
  EXPECT_DOUBLE_EQ(logger.BatteryVolts, 3.62);
  EXPECT_EQ(logger.ErrorCode, 3);
  EXPECT_EQ(logger.PeriodHours, 2);
  EXPECT_EQ(logger.StoredCount, 500);
  EXPECT_DOUBLE_EQ(logger.ClockTime, at(2026, 1, 15, 10, 20, 30));
  EXPECT_EQ(h.sensorsParam(), static_cast<int32_t>(0xFFFE0002u));
  EXPECT_EQ(h.periodCountParam(), (2 << 16) | 500);
}

TEST(HeaderCreator, FieldEdges) {
  TRfLogger logger;
  logger.LoggerId = kId;
  TMeasurementSet results;
  results.reset(1);

  HeaderFields none;
  none.distances.clear();
  EXPECT_EQ(header(none).size(), 31);
  EXPECT_EQ(HeaderCreator(header(none), 0, logger, results, kCentury), HeaderAccepted);
  EXPECT_EQ(logger.SensorCount, 0);

  HeaderFields f;
  f.period = 0;
  f.correction = 1;
  EXPECT_EQ(HeaderCreator(header(f), 0, logger, results, kCentury), HeaderAccepted);
  EXPECT_EQ(logger.PeriodHours, 1);
  EXPECT_NEAR(logger.ClockTime, at(2026, 1, 15, 10, 20, 38), 1e-9);

  f.correction = 0xFFFF;
  f.stored = 0xFFFF;
  f.battery = 0xFFFF;
  EXPECT_EQ(HeaderCreator(header(f), 0, logger, results, kCentury), HeaderAccepted);
  EXPECT_NEAR(logger.ClockTime, at(2026, 1, 15, 10, 20, 30) + 524280.0 / 86400.0, 1e-9);
  EXPECT_EQ(logger.StoredCount, 65535);
  EXPECT_DOUBLE_EQ(logger.BatteryVolts, 655.35);
}

TEST(DataCreator, DecodesGoodRecordsAndSkipsBadOnes) {
  TRfLogger logger;
  logger.LoggerId = kId;
  TMeasurementSet results;
  results.reset(1);
  HeaderFields f;
  f.distances = {100, 200};
  ASSERT_EQ(HeaderCreator(header(f), 0, logger, results, kCentury), HeaderAccepted);

  QByteArray block = record({31, 12, 24, 23, 59, 59}, 360, {0x8000, 0x7FFF});
  QByteArray bad = record({1, 1, 25, 0, 0, 0}, 359, {1, 2});
  bad[9] = 0x77;  // a temperature byte changed after the CRC was computed
  block += bad;
  block += record({1, 1, 25, 1, 0, 0}, 0xFFF6, {0xFFFF, 0xFF9C});
  block += record({1, 13, 25, 2, 0, 0}, 358, {3, 4});  // month 13 passes its CRC only
  ASSERT_EQ(block.size(), 4 * RadioRecordSize(2));

  int32_t recordCount = 5;
  EXPECT_EQ(DataCreator(block, 4, 2, 0, results, kCentury, recordCount), 2);
  EXPECT_EQ(recordCount, 7);
  ASSERT_EQ(results.measurementCount(0, 0), 2);
  EXPECT_DOUBLE_EQ(results.MeasTime[0][0][0], at(2024, 12, 31, 23, 59, 59));
  EXPECT_DOUBLE_EQ(results.MeasTime[0][0][1], at(2025, 1, 1, 1, 0, 0));
  EXPECT_EQ(results.BatteryVoltage[0][0], (std::vector<int16_t>{360, -10}));
  EXPECT_EQ(results.Temp[0][0][0], (std::vector<int16_t>{-32768, -1}));
  EXPECT_EQ(results.Temp[0][0][1], (std::vector<int16_t>{32767, -100}));
  EXPECT_TRUE(results.isConsistent());

  // A repeated header of the same logger keeps what was decoded; a block cut short gives
  // only its whole records.
  ASSERT_EQ(HeaderCreator(header(f), 0, logger, results, kCentury), HeaderAccepted);
  EXPECT_EQ(results.measurementCount(0, 0), 2);
  EXPECT_EQ(DataCreator(block.left(RadioRecordSize(2) + 3), 4, 2, 0, results, kCentury, recordCount), 1);
  EXPECT_EQ(results.measurementCount(0, 0), 3);
}

TEST(DataCreator, RefusesRecordsWithoutAMatchingHeader) {
  TMeasurementSet results;
  results.reset(1);
  const QByteArray block = record({1, 1, 25, 0, 0, 0}, 360, {1, 2});
  int32_t count = 0;
  EXPECT_EQ(DataCreator(block, 1, 2, 0, results, kCentury, count), 0);
  EXPECT_EQ(DataCreator(block, 1, 2, 5, results, kCentury, count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(results.isConsistent());
}

TEST(LoggerCommand, SevenByteTails) {
  const auto bytes = [](const char* s, int n) { return QByteArray(s, n); };
  EXPECT_EQ(LoggerCommand::Header(kId), "D123SN00042HEADER-");
  EXPECT_EQ(LoggerCommand::DataBlock(kId, 0x0102, 0x00FF), kId.toLatin1() + bytes("D\x01\x02\x00\xFF--", 7));
  EXPECT_EQ(LoggerCommand::SetClock(kId, QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))),
            kId.toLatin1() + bytes("T\x1F\x0C\x18\x17\x3B\x3A", 7));
  EXPECT_EQ(LoggerCommand::Erase(kId), "D123SN00042ERASE--");
  EXPECT_EQ(LoggerCommand::SetPeriod(kId, 0), kId.toLatin1() + bytes("P\x00-----", 7));
  EXPECT_EQ(LoggerCommand::Measure(kId), "D123SN00042MEASE--");
  EXPECT_EQ(LoggerCommand::SetChannel(kId, 12), kId.toLatin1() + bytes("C\x0C-----", 7));
  for (const QByteArray& c : {LoggerCommand::Header(kId), LoggerCommand::DataBlock(kId, 1, 2), LoggerCommand::Erase(kId),
                              LoggerCommand::SetPeriod(kId, 3), LoggerCommand::Measure(kId),
                              LoggerCommand::SetChannel(kId, 4),
                              LoggerCommand::SetClock(kId, QDateTime(QDate(2026, 1, 1), QTime(0, 0)))})
    EXPECT_EQ(c.size(), 18);
  EXPECT_EQ(LoggerCommand::Printable(bytes("#T\x02\x00\x12", 5)), QStringLiteral("#T..."));
}
