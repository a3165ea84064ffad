#include <gtest/gtest.h>

#include "app/Clock.h"
#include "radio/LoggerCommand.h"
#include "radio/RadioBlockDecoder.h"
#include "radio/RadioPacketAssembler.h"
#include "sim/RadioModemEngine.h"

namespace {

struct Decoded {
  bool damaged;
  int packets;
  QString text;
  QByteArray data;
};

Decoded decode(const QByteArray& bytes) {
  RadioPacketAssembler a;
  a.feed(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
  return {a.streamInvalid(), a.receivedPackets(), a.responseText(), a.arrData()};
}

class RadioModemEngineTest : public ::testing::Test {
 protected:
  ManualClock clock_{QDateTime(QDate(2026, 1, 20), QTime(12, 30))};
  RadioModemEngine engine_{RadioSimConfig::generated(2, 10, 2, clock_.now()), clock_};
  QString id_ = engine_.loggerIds().first();
};

}  // namespace

TEST_F(RadioModemEngineTest, AnswersEveryLoggerCommand) {
  EXPECT_EQ(engine_.receive("#?"), "?D130A000417");
  EXPECT_TRUE(engine_.receive(QByteArray("#T\x02\x00\x12", 5)).isEmpty());

  const Decoded period = decode(engine_.receive(LoggerCommand::SetPeriod(id_, 6)));
  EXPECT_EQ(period.text, id_ + QStringLiteral("READY"));
  EXPECT_EQ(engine_.logger(id_)->periodHours, 6);

  const QDateTime newClock(QDate(2026, 1, 20), QTime(13, 0, 5));
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::SetClock(id_, newClock))).text, id_ + QStringLiteral("READY"));
  EXPECT_EQ(engine_.logger(id_)->clockOffsetMs, clock_.now().msecsTo(newClock));

  EXPECT_EQ(decode(engine_.receive(LoggerCommand::Measure(id_))).text, id_ + QStringLiteral("READY"));
  EXPECT_EQ(engine_.logger(id_)->records.size(), 11u);
  EXPECT_EQ(engine_.logger(id_)->records.back().time, newClock);

  // Data blocks count back from the newest record and run oldest first.
  const Decoded newest = decode(engine_.receive(LoggerCommand::DataBlock(id_, 0, 2)));
  EXPECT_EQ(newest.text, id_ + QStringLiteral("START"));
  const RadioSimLogger logger = *engine_.logger(id_);
  EXPECT_EQ(newest.data, logger.recordBlock(logger.records[9]) + logger.recordBlock(logger.records[10]));
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::DataBlock(id_, 11, 1))).text, id_ + QStringLiteral("EMPTY"));

  EXPECT_EQ(decode(engine_.receive(LoggerCommand::Erase(id_))).text, id_ + QStringLiteral("ERASE"));
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::Header(id_))).text, id_ + QStringLiteral("EMPTY"));

  // After a channel change the logger listens only on its new channel.
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::SetChannel(id_, 9))).text, id_ + QStringLiteral("READY"));
  EXPECT_TRUE(engine_.receive(LoggerCommand::Measure(id_)).isEmpty());
  engine_.receive("#C\x09");
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::Measure(id_))).text, id_ + QStringLiteral("READY"));
}

TEST_F(RadioModemEngineTest, HeaderDecodesAndPacketsStayInLimits) {
  const QByteArray bytes = engine_.receive(LoggerCommand::Header(id_));
  // Walk the packets by their length bytes: every one 5..63 bytes, counters consecutive.
  int pos = 0;
  int last = -1;
  while (pos < bytes.size()) {
    const int length = static_cast<uint8_t>(bytes.at(pos)) + 1;
    EXPECT_GE(length, 5);
    EXPECT_LE(length, 63);
    const int counter = static_cast<uint8_t>(bytes.at(pos + 1));
    if (last >= 0) {
      EXPECT_EQ(counter, (last + 1) % 256);
    }
    last = counter;
    pos += length;
  }
  EXPECT_EQ(pos, bytes.size());
  const Decoded d = decode(bytes);
  TRfLogger logger;
  logger.LoggerId = id_;
  TMeasurementSet results;
  results.reset(1);
  ASSERT_EQ(HeaderCreator(d.data, 0, logger, results, 2000), HeaderAccepted);
  EXPECT_EQ(logger.StoredCount, 10);
  EXPECT_EQ(logger.SensorCount, 2);
}

TEST_F(RadioModemEngineTest, LineNoiseAndHalfCommandsAreDropped) {
  // Noise before a command is skipped; a half command is forgotten when the line idles.
  EXPECT_EQ(engine_.receive(QByteArray("\x00\x13zz#?", 6)), "?D130A000417");
  EXPECT_TRUE(engine_.receive(LoggerCommand::Header(id_).left(9)).isEmpty());
  engine_.lineIdle();
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::Header(id_))).text, id_ + QStringLiteral("START"));
  // Commands split over several reads are put together.
  const QByteArray command = LoggerCommand::Measure(id_);
  EXPECT_TRUE(engine_.receive(command.left(5)).isEmpty());
  EXPECT_EQ(decode(engine_.receive(command.mid(5))).text, id_ + QStringLiteral("READY"));
}

TEST_F(RadioModemEngineTest, DataOnlyFaultsWaitForADataBlock) {
  engine_.injectFault(id_, RadioFault::ShortBlock);
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::Header(id_))).data.size(), RadioHeaderSize(11, 2));
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::DataBlock(id_, 0, 3))).data.size(), 3 * RadioRecordSize(2) - 1);
  EXPECT_EQ(decode(engine_.receive(LoggerCommand::DataBlock(id_, 0, 3))).data.size(), 3 * RadioRecordSize(2));
}

TEST(RadioFaultNames, RoundTrip) {
  for (const QString& name : RadioFaultNames()) EXPECT_TRUE(RadioFaultFromName(name).has_value()) << name.toStdString();
  EXPECT_FALSE(RadioFaultFromName(QStringLiteral("nonsense")).has_value());
  EXPECT_EQ(RadioFaultNames().size(), 8);
}
