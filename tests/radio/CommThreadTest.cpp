#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include "app/Clock.h"
#include "radio/CommThread.h"
#include "radio/ThreadLog.h"
#include "sim/RadioModemEngine.h"
#include "sim/SimulatedSerialPort.h"

namespace {

using Event = SimulatedSerialPort::Event;

// Lends the thread a port that outlives it, so tests can look at the port afterwards.
class LentPort : public SerialPort {
 public:
  explicit LentPort(std::shared_ptr<SimulatedSerialPort> port) : port_(std::move(port)) {}
  int open(const QString& device) override { return port_->open(device); }
  void close() override { port_->close(); }
  bool isOpen() const override { return port_->isOpen(); }
  int readLineSettings() override { return port_->readLineSettings(); }
  int writeLineSettings(const SerialLineSettings& s) override { return port_->writeLineSettings(s); }
  int setTimeouts(const SerialTimeouts& t) override { return port_->setTimeouts(t); }
  int setQueueSizes(int rx, int tx) override { return port_->setQueueSizes(rx, tx); }
  bool purge(bool rx, bool tx) override { return port_->purge(rx, tx); }
  bool setRts(bool on) override { return port_->setRts(on); }
  bool setDtr(bool on) override { return port_->setDtr(on); }
  int queuedBytes() override { return port_->queuedBytes(); }
  int read(uint8_t* b, int n) override { return port_->read(b, n); }
  int write(const uint8_t* b, int n) override { return port_->write(b, n); }

 private:
  std::shared_ptr<SimulatedSerialPort> port_;
};

struct Link {
  ManualClock clock;
  std::shared_ptr<SimulatedSerialPort> port;
  std::unique_ptr<TCommThread> thread;

  explicit Link(RadioModemEngine* engine = nullptr)
      : port(std::make_shared<SimulatedSerialPort>(engine)),
        thread(std::make_unique<TCommThread>(std::make_unique<LentPort>(port), clock)) {}
  QStringList logTexts() const {
    QStringList texts;
    for (const QString& line : thread->log().heldLines()) texts.append(line.mid(25));  // after the stamp and ": "
    return texts;
  }
};

}  // namespace

TEST(CommThread, ModemIdentification) {
  struct Case {
    const char* name;
    QByteArray reply;
    QString modemText;  // empty: rejected
    QString logLine;
  } cases[] = {
      {"seven characters", "?D130ABCDEFG", QStringLiteral("USB/PM ABCDEFG"), {}},
      {"nineteen characters", "?D130ABCDEFGHIJKLMNO", QStringLiteral("USB/PM ABCDEFG"), {}},
      {"six characters", "?D130ABCDEF", {}, {}},
      {"other modem", "?D131ABCDEFG", {}, {}},
      {"21 bytes", "?D130ABCDEFGHIJKLMNOP", {}, QStringLiteral("SendToModem: getModemName error: (nb > 20)")},
      {"one byte", "?", {}, QStringLiteral("SendToModem: getModemName error: (nb < 2)")},
      {"no reply", "", {}, QStringLiteral("SendToModem: getModemName error: (nb < 2)")},
      {"control character", QByteArray("?D130ABC\x01" "EFG"), {},
       QStringLiteral("SendToModem: getModemName error: (DataBuf[i] < $20)")},
      {"first byte not ?", "!D130ABCDEFG", {}, QStringLiteral("SendToModem: getModemName error: (DataBuf[0] <> byte(\"?\"))")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Link link;
    link.port->replyOnce(c.reply);
    const TCommThread::OpenResult r = link.thread->OpenLink(QStringLiteral("/dev/ttyUSB0"));
    const QStringList log = link.logTexts();
    if (c.modemText.isEmpty()) {
      EXPECT_EQ(r.errorText, QStringLiteral("Радиомодем не обнаружен"));
      EXPECT_FALSE(link.thread->PortOpen());
      EXPECT_FALSE(link.port->isOpen());
      EXPECT_EQ(log.last(), QStringLiteral("Create: Радиомодем не обнаружен на СОМ/dev/ttyUSB0"));
    } else {
      EXPECT_TRUE(r.ok());
      EXPECT_EQ(r.modemText, c.modemText);
      EXPECT_EQ(link.thread->ModemName(), QString::fromLatin1(c.reply.mid(1)));
      EXPECT_TRUE(link.thread->PortOpen());
      EXPECT_EQ(log.last(), QStringLiteral("Create: New thread started: port=/dev/ttyUSB0"));
    }
    if (!c.logLine.isEmpty()) {
      EXPECT_TRUE(log.contains(c.logLine)) << log.join('\n').toStdString();
      EXPECT_TRUE(link.thread->ModemName().isEmpty());
    }
  }
}

TEST(CommThread, OpenFailuresGiveTheirTexts) {
  struct Case {
    int error;
    QString text;
  } cases[] = {
      {ENOENT, QStringLiteral("Попытка открыть несуществующий COM-порт")},
      {EBUSY, QStringLiteral("Порт занят другой программой")},
      {EACCES, QStringLiteral("Нет прав доступа к COM-порту, код ошибки 13")},
      {EIO, QStringLiteral("Не удалось открыть COM-порт, код ошибки 5")},
  };
  for (const Case& c : cases) {
    Link link;
    link.port->setOpenError(c.error);
    const auto r = link.thread->OpenLink(QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(r.errorText, c.text);
    EXPECT_FALSE(link.thread->PortOpen());
    EXPECT_TRUE(link.port->written().isEmpty());
    EXPECT_EQ(link.logTexts(), (QStringList{QStringLiteral("Create: Trying to open COM-port"), c.text}));
  }
}

TEST(CommThread, ConfigurationFailuresNameTheStep) {
  using Step = SimulatedSerialPort::Step;
  const std::pair<Step, QString> cases[] = {
      {Step::ReadSettings, QStringLiteral("Функция GetCommState вернула код ошибки 25")},
      {Step::WriteSettings, QStringLiteral("Функция SetCommState вернула код ошибки 25")},
      {Step::Timeouts, QStringLiteral("Функция SetCommTimeouts вернула код ошибки 25")},
      {Step::QueueSizes, QStringLiteral("Функция SetupComm вернула код ошибки 25")},
  };
  for (const auto& [step, text] : cases) {
    Link link;
    link.port->setStepError(step, ENOTTY);
    EXPECT_EQ(link.thread->OpenLink(QStringLiteral("/dev/null")).errorText, text);
    EXPECT_FALSE(link.thread->LastOpOk());
    EXPECT_TRUE(link.port->written().isEmpty());  // no identification attempted
    link.thread.reset();                          // discarding the object closes the port
    EXPECT_FALSE(link.port->isOpen());
  }
}

TEST(CommThread, ModemCommandsAreFramedByRts) {
  Link link;
  link.port->replyOnce("?D130ABCDEFG");
  ASSERT_TRUE(link.thread->OpenLink(QStringLiteral("/dev/ttyUSB0")).ok());
  // After opening: both directions purged, RTS on, DTR off, then "#?" framed by RTS.
  const QList<Event> open = link.port->events();
  ASSERT_GE(open.size(), 8);
  EXPECT_EQ(open[1].kind, Event::Purge);
  EXPECT_TRUE(open[2].kind == Event::Rts && open[2].flag);
  EXPECT_TRUE(open[3].kind == Event::Dtr && !open[3].flag);

  link.thread->SendPower(2);
  link.thread->SendToModem(false, "D123SN00042HEADER-", false);
  link.thread->SendToModem(true, {}, false);
  const QList<Event> events = link.port->events().mid(open.size());
  ASSERT_EQ(events.size(), 4);
  EXPECT_TRUE(events[0].kind == Event::Rts && !events[0].flag);
  EXPECT_EQ(events[1].kind, Event::Write);
  EXPECT_EQ(events[1].bytes, QByteArray("#P\x6E"));
  EXPECT_TRUE(events[2].kind == Event::Rts && events[2].flag);
  EXPECT_EQ(events[3].kind, Event::Write);
  EXPECT_EQ(events[3].bytes, "D123SN00042HEADER-");
  // Guard times are lower bounds: RTS falls at least 10 ms before the write and rises at
  // least 15 ms after it.
  using std::chrono::milliseconds;
  EXPECT_GE(events[1].at - events[0].at, milliseconds(TCommThread::kRtsLeadMs));
  EXPECT_GE(events[2].at - events[1].at, milliseconds(TCommThread::kRtsTrailMs));
}

TEST(CommThread, ModemCommandBytes) {
  EXPECT_EQ(TCommThread::PowerCode(0), 0xC0);
  EXPECT_EQ(TCommThread::PowerCode(1), 0x60);
  EXPECT_EQ(TCommThread::PowerCode(2), 0x6E);
  EXPECT_EQ(TCommThread::PowerCode(3), 0x60);
  EXPECT_EQ(TCommThread::PowerCode(-1), 0x60);
  EXPECT_EQ(TCommThread::SetupCommand(), QByteArray("#T\x02\x00\x12", 5));

  ManualClock clock;
  RadioSimConfig config;
  RadioModemEngine engine(config, clock);
  Link link(&engine);
  ASSERT_TRUE(link.thread->OpenLink(QStringLiteral("/dev/ttyUSB0")).ok());
  link.thread->SendChannel(17);
  link.thread->SendSetup();
  link.thread->SendPower(0);
  EXPECT_EQ(engine.modemChannel(), 17);
  EXPECT_EQ(engine.powerCode(), 0xC0);
  EXPECT_EQ(engine.commands().mid(1),
            (QList<QByteArray>{QByteArray("#C\x11"), QByteArray("#T\x02\x00\x12", 5), QByteArray("#P\xC0")}));
}

TEST(CommThread, SendToModemLogLines) {
  Link link;
  link.port->replyOnce("?D130ABCDEFG");
  ASSERT_TRUE(link.thread->OpenLink(QStringLiteral("/dev/ttyUSB0")).ok());
  link.thread->log().drop();
  link.clock.set(QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6, 789)));
  link.thread->SendToModem(true, QByteArray("#T\x02\x00\x12", 5), false);
  const QStringList lines = link.thread->log().heldLines();
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], QStringLiteral("03/02/2026 04:05:06.789: SendToModem => prog=-1; cmdstr=#T..."));
  EXPECT_EQ(lines[1].mid(25), QStringLiteral("23 54 02 00 12 "));
  EXPECT_EQ(lines[2].mid(25), QStringLiteral("#T..."));
  EXPECT_EQ(lines[3].mid(25), QStringLiteral("WriteCOM: data sent at 04:05:06.789; BytesCount = 5"));

  link.thread->log().drop();
  link.thread->SendToModem(false, {}, false);
  EXPECT_EQ(link.logTexts(), QStringList{QStringLiteral("SendToModem => prog=0; cmdstr=")});
}

TEST(CommThread, PrimitivesRefuseAClosedPortAndBadValues) {
  Link link;
  uint8_t buf[4] = {1, 2, 3, 4};
  EXPECT_EQ(link.thread->RxBufCount(), -1);
  EXPECT_EQ(link.thread->ReadCOM(buf, 4), -1);
  EXPECT_EQ(link.thread->WriteCOM(buf, 4), -1);
  EXPECT_FALSE(link.thread->SetRts(1));
  EXPECT_FALSE(link.thread->SetDtr(0));
  EXPECT_FALSE(link.thread->PurgeComPort(true, true));
  link.thread->SendToModem(true, "#?", true);
  EXPECT_TRUE(link.port->events().isEmpty());

  link.port->replyOnce("?D130ABCDEFG");
  ASSERT_TRUE(link.thread->OpenLink(QStringLiteral("/dev/ttyUSB0")).ok());
  EXPECT_FALSE(link.thread->SetRts(2));
  EXPECT_FALSE(link.thread->SetDtr(-1));
  EXPECT_TRUE(link.thread->SetDtr(1));
  EXPECT_TRUE(link.port->dtr());

  // A failed write and an unplugged adapter are -1 results and a false LastOpOk.
  link.port->setWriteFails(true);
  EXPECT_EQ(link.thread->WriteCOM(buf, 4), -1);
  EXPECT_FALSE(link.thread->LastOpOk());
  link.port->setWriteFails(false);
  link.port->queueRx("ab");
  EXPECT_EQ(link.thread->RxBufCount(), 2);
  EXPECT_TRUE(link.thread->LastOpOk());
  link.port->unplug();
  EXPECT_EQ(link.thread->RxBufCount(), -1);
  EXPECT_EQ(link.thread->ReadCOM(buf, 2), -1);
  EXPECT_FALSE(link.thread->LastOpOk());
  link.thread->SendToModem(true, "#P\x60", false);  // neither blocks nor crashes
}

TEST(CommThread, VerboseTraceDumpsWritesAndKeepsTheLogAtDestruction) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("thread.log"));
  ManualClock clock;
  auto port = std::make_unique<SimulatedSerialPort>();
  port->replyOnce("?D130ABCDEFG");
  auto thread = std::make_unique<TCommThread>(std::move(port), clock, file);
  thread->setVerboseTrace(true);
  ASSERT_TRUE(thread->OpenLink(QStringLiteral("/dev/ttyUSB0")).ok());
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().endsWith(": 23 3F \r\n"));  // the dump of "#?" goes straight to the file
  f.close();
  thread.reset();
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray all = f.readAll();
  EXPECT_TRUE(all.contains(": Create: Trying to open COM-port\r\n"));
  EXPECT_TRUE(all.endsWith(": TCommThread.Destroy\r\n"));
}

TEST(ThreadLog, WritesAllHeldLinesAtThe1001st) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ManualClock clock(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 8)));
  const QString file = dir.filePath(QStringLiteral("thread.log"));
  ThreadLog log(clock, file);
  for (int i = 1; i <= 1000; ++i) log.append(QStringLiteral("line %1").arg(i));
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(log.heldLines().size(), 1000);
  EXPECT_EQ(log.heldLines().first(), QStringLiteral("04/03/2026 05:06:07.008: line 1"));
  log.append(QStringLiteral("line 1001"));
  EXPECT_TRUE(log.heldLines().isEmpty());
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = f.readAll().split('\n');
  ASSERT_EQ(lines.size(), 1002);  // 1001 lines and the empty rest after the last line end
  // Each written line carries the write stamp, then the event stamp.
  EXPECT_TRUE(lines[0].endsWith(": 04/03/2026 05:06:07.008: line 1\r"));
  EXPECT_TRUE(lines[1000].endsWith(": line 1001\r"));
}

TEST(ThreadLog, EndOfRequestWritesOnlyWhenVerbose) {
  QTemporaryDir dir;
  ManualClock clock;
  const QString file = dir.filePath(QStringLiteral("thread.log"));
  ThreadLog log(clock, file);
  log.append(QStringLiteral("a"));
  log.endOfRequest(false);
  EXPECT_TRUE(log.heldLines().isEmpty());
  EXPECT_FALSE(QFile::exists(file));
  log.append(QStringLiteral("b"));
  log.endOfRequest(true);
  EXPECT_TRUE(log.heldLines().isEmpty());
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().endsWith(": b\r\n"));
}

TEST(ThreadLog, AppendsFromTwoThreadsKeepEveryLine) {
  QTemporaryDir dir;
  ManualClock clock;
  ThreadLog log(clock, dir.filePath(QStringLiteral("thread.log")));
  auto work = [&](QChar tag) {
    for (int i = 0; i < 600; ++i) log.append(QString(tag) + QString::number(i));
  };
  std::thread other(work, QChar(u'b'));
  work(QChar(u'a'));
  other.join();
  // 1200 appends: one flush of 1001 lines at the 1001st, 199 held.
  EXPECT_EQ(log.heldLines().size(), 199);
  QFile f(dir.filePath(QStringLiteral("thread.log")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().count('\n'), 1001);
}
