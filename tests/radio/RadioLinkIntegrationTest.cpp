// The real termios port on the simulator's pseudo-terminal: identification, a header and a
// data block through the reassembly and decoders, every fault mode, and port failures.
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/Clock.h"
#include "app/DateTimeValue.h"
#include "radio/CommThread.h"
#include "radio/LoggerCommand.h"
#include "radio/RadioBlockDecoder.h"
#include "radio/RadioPacketAssembler.h"
#include "radio/TermiosSerialPort.h"
#include "sim/RadioSimulator.h"

namespace {

constexpr int kSensors = 3;
constexpr int kRecords = 100;

struct Answer {
  bool damaged = false;
  int packets = 0;
  QString text;
  QByteArray data;
};

class RadioLinkIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RadioSimConfig config = RadioSimConfig::generated(2, kRecords, kSensors, clock_.now());
    sim_ = std::make_unique<RadioSimulator>(config, clock_);
    QString error;
    ASSERT_TRUE(sim_->start(&error)) << error.toStdString();
    id_ = sim_->engine().loggerIds().first();
    link_ = std::make_unique<TCommThread>(std::make_unique<TermiosSerialPort>(), clock_);
  }

  // As the main window does: a modem that has not answered in time is asked again. The
  // identification reply must be queued 15 ms after the command, which a loaded machine
  // may miss now and then.
  TCommThread::OpenResult openLink() {
    TCommThread::OpenResult result;
    for (int attempt = 0; attempt < 40; ++attempt) {
      result = link_->OpenLink(sim_->ptyPath());
      if (result.errorText != QStringLiteral("Радиомодем не обнаружен")) break;
    }
    return result;
  }

  // Sends a logger command and collects its answer by the receive rule of the link: the
  // answer has ended once the line stays silent after at least one packet (or damage).
  // Silence is taken generously here (300 ms) so a loaded machine does not cut answers.
  Answer exchange(const QByteArray& command, int waitMs = 10000) {
    assembler_.reset();
    assembler_.setReload();
    link_->PurgeComPort(true, true);
    link_->SendToModem(false, command, false);
    QElapsedTimer total;
    total.start();
    QElapsedTimer silent;
    silent.start();
    while (total.elapsed() < waitMs) {
      const int n = link_->RxBufCount();
      if (n > 0) {
        const int got = link_->ReadCOM(link_->DataBuf(), std::min(n, 4096));
        if (got > 0) assembler_.feed(link_->DataBuf(), got);
        silent.restart();
        continue;
      }
      if ((assembler_.receivedPackets() > 0 || assembler_.streamInvalid()) && silent.elapsed() > 300) break;
      QThread::msleep(10);
    }
    return Answer{assembler_.streamInvalid(), assembler_.receivedPackets(), assembler_.responseText(),
                  assembler_.arrData()};
  }

  ManualClock clock_{QDateTime(QDate(2026, 1, 20), QTime(12, 30))};
  std::unique_ptr<RadioSimulator> sim_;
  std::unique_ptr<TCommThread> link_;
  RadioPacketAssembler assembler_;
  QString id_;
};

}  // namespace

TEST_F(RadioLinkIntegrationTest, IdentifiesTheModem) {
  const auto result = openLink();
  ASSERT_TRUE(result.ok()) << result.errorText.toStdString();
  EXPECT_EQ(result.modemText, QStringLiteral("USB/PM A000417"));
  EXPECT_EQ(link_->ModemName(), QStringLiteral("D130A000417"));
  EXPECT_EQ(sim_->engine().commands().last(), "#?");
  // A pseudo-terminal has no modem lines: RTS and DTR report false, the link stays up.
  EXPECT_FALSE(link_->SetDtr(1));
  EXPECT_TRUE(link_->PortOpen());
}

TEST_F(RadioLinkIntegrationTest, ReadsHeaderAndOneDataBlock) {
  ASSERT_TRUE(openLink().ok());
  link_->SendChannel(5);
  link_->SendSetup();
  link_->SendPower(1);

  const Answer header = exchange(LoggerCommand::Header(id_));
  ASSERT_FALSE(header.damaged);
  EXPECT_EQ(header.text, id_ + QStringLiteral("START"));
  TMeasurementSet results;
  results.reset(1);
  TRfLogger logger;
  logger.LoggerId = id_;
  const int century = RadioCentury(clock_.now());
  ASSERT_EQ(HeaderCreator(header.data, 0, logger, results, century), HeaderAccepted);
  EXPECT_EQ(logger.SensorCount, kSensors);
  EXPECT_EQ(logger.StoredCount, kRecords);
  EXPECT_DOUBLE_EQ(logger.ClockTime, DateTimeValue::fromQDateTime(clock_.now()));

  // The oldest block of a 512-byte budget: positions counted back from the newest record.
  const int recSize = RadioRecordSize(kSensors);
  const int perBlock = 512 / recSize;
  const Answer block = exchange(LoggerCommand::DataBlock(id_, static_cast<uint16_t>(kRecords - perBlock),
                                                         static_cast<uint16_t>(perBlock)));
  ASSERT_FALSE(block.damaged);
  EXPECT_EQ(block.text, id_ + QStringLiteral("START"));
  ASSERT_EQ(block.data.size(), perBlock * recSize);
  int32_t count = 0;
  EXPECT_EQ(DataCreator(block.data, perBlock, kSensors, 0, results, century, count), perBlock);
  const RadioSimLogger simLogger = *sim_->engine().logger(id_);
  EXPECT_DOUBLE_EQ(results.MeasTime[0][0].front(), DateTimeValue::fromQDateTime(simLogger.records.front().time));
  EXPECT_EQ(results.Temp[0][0][2].back(), simLogger.records[perBlock - 1].temps[2]);
  EXPECT_TRUE(results.isConsistent());
  EXPECT_EQ(sim_->engine().modemChannel(), 5);
  EXPECT_EQ(sim_->engine().powerCode(), 0x60);
}

TEST_F(RadioLinkIntegrationTest, EveryFaultModeIsDetected) {
  ASSERT_TRUE(openLink().ok());
  const int recSize = RadioRecordSize(kSensors);
  const QByteArray dataCommand = LoggerCommand::DataBlock(id_, 0, 10);
  const QByteArray headerCommand = LoggerCommand::Header(id_);
  for (RadioFault fault : {RadioFault::DamagedLength, RadioFault::CounterGap, RadioFault::ClearCheckBit,
                           RadioFault::Garbage}) {
    SCOPED_TRACE(static_cast<int>(fault));
    sim_->engine().injectFault(id_, fault);
    EXPECT_TRUE(exchange(headerCommand).damaged);
    const Answer again = exchange(headerCommand);  // the resend gets a good answer
    EXPECT_FALSE(again.damaged);
    EXPECT_EQ(again.data.size(), RadioHeaderSize(11, kSensors));
  }

  sim_->engine().injectFault(id_, RadioFault::BadRecordCrc);
  TMeasurementSet results;
  results.reset(1);
  TRfLogger logger;
  logger.LoggerId = id_;
  ASSERT_EQ(HeaderCreator(exchange(headerCommand).data, 0, logger, results, 2000), HeaderAccepted);
  const Answer badRecord = exchange(dataCommand);
  ASSERT_EQ(badRecord.data.size(), 10 * recSize);
  int32_t count = 0;
  EXPECT_EQ(DataCreator(badRecord.data, 10, kSensors, 0, results, 2000, count), 9);

  sim_->engine().injectFault(id_, RadioFault::ShortBlock);
  EXPECT_EQ(exchange(dataCommand).data.size(), 10 * recSize - 1);

  sim_->engine().injectFault(id_, RadioFault::Empty);
  EXPECT_EQ(exchange(headerCommand).text, id_ + QStringLiteral("EMPTY"));

  sim_->engine().injectFault(id_, RadioFault::Silence);
  EXPECT_EQ(exchange(headerCommand, 1500).packets, 0);
  EXPECT_GT(exchange(headerCommand).packets, 1);

  sim_->engine().setNeverAnswers(id_, true);
  EXPECT_EQ(exchange(headerCommand, 1500).packets, 0);
  EXPECT_EQ(exchange(LoggerCommand::Header(QStringLiteral("D122SN99999")), 1000).packets, 0);
}

TEST_F(RadioLinkIntegrationTest, OpenFailuresAreReported) {
  TCommThread missing(std::make_unique<TermiosSerialPort>(), clock_);
  EXPECT_EQ(missing.OpenLink(QStringLiteral("/dev/ttyUSB-does-not-exist")).errorText,
            QStringLiteral("Попытка открыть несуществующий COM-порт"));

  // Another program holding the device with a lock.
  const int other = ::open(QFile::encodeName(sim_->ptyPath()).constData(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(link_->OpenLink(sim_->ptyPath()).errorText, QStringLiteral("Порт занят другой программой"));
  EXPECT_FALSE(link_->PortOpen());
  ::close(other);
  EXPECT_TRUE(openLink().ok());

  // While this link holds the port, a second link is refused.
  TCommThread second(std::make_unique<TermiosSerialPort>(), clock_);
  EXPECT_EQ(second.OpenLink(sim_->ptyPath()).errorText, QStringLiteral("Порт занят другой программой"));

  TCommThread notATerminal(std::make_unique<TermiosSerialPort>(), clock_);
  EXPECT_EQ(notATerminal.OpenLink(QStringLiteral("/dev/null")).errorText,
            QStringLiteral("Функция GetCommState вернула код ошибки 25"));
}

TEST_F(RadioLinkIntegrationTest, APortThatDisappearsFailsWithoutBlocking) {
  ASSERT_TRUE(openLink().ok());
  sim_->stop();  // both sides of the pseudo-terminal close, as when an adapter is pulled
  QElapsedTimer timer;
  timer.start();
  uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_EQ(link_->RxBufCount(), -1);
  EXPECT_EQ(link_->ReadCOM(link_->DataBuf(), 10), -1);
  EXPECT_EQ(link_->WriteCOM(bytes, 4), -1);
  EXPECT_FALSE(link_->LastOpOk());
  link_->SendToModem(true, "#P\x60", false);
  // Each call returns within its own time-out (tens of ms); a generous bound shows none
  // waited for the vanished peer.
  EXPECT_LT(timer.elapsed(), 5000);
}
