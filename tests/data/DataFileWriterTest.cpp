#include <gmock/gmock.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "DataFileSamples.h"
#include "TestSupport.h"
#include "app/Clock.h"
#include "app/Cp1251.h"
#include "data/DataFileWriter.h"

using ::testing::ElementsAre;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
  QList<QByteArray> lines = bytes.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (auto& l : lines) {
    EXPECT_TRUE(l.endsWith('\r')) << l.constData();
    l.chop(1);
  }
  return lines;
}

TEST(DataFileWriter, ExampleComesOutByteForByte) {
  TMeasurementSet set;
  TRfLoggerArray loggers;
  samples::example(set, loggers);
  const QByteArray golden = readAll(fixturePath("datafile/example.tmd"));
  ASSERT_FALSE(golden.isEmpty());
  EXPECT_EQ(DataFileWriter::radioBytes(set, loggers, samples::exampleWritten()), golden);

  // The same through the file path the save command takes.
  QTemporaryDir dir;
  RecordingPrompt prompt;
  ManualClock clock(samples::exampleWritten());
  const QString name = dir.filePath("example.tmd");
  ASSERT_TRUE(WriteRadioDataFile(name, true, set, loggers, prompt, clock));
  EXPECT_EQ(readAll(name), golden);
  EXPECT_TRUE(prompt.boxes().empty());
}

TEST(DataFileWriter, UsbVariantDiffersOnlyInFirstLineAndComment) {
  TMeasurementSet set;
  TRfLoggerArray loggers;
  samples::example(set, loggers);
  loggers[0].Comment = QStringLiteral("не пишется");
  const auto usb = linesOf(DataFileWriter::usbBytes(set, QStringLiteral("D122SN00017"), samples::exampleWritten()));
  const auto golden = linesOf(readAll(fixturePath("datafile/example.tmd")));
  ASSERT_EQ(usb.size(), golden.size());
  EXPECT_EQ(usb[0], QByteArray("//[tmd] Created by Tundrabase (USB) 05.03.24 21:30:15"));
  for (int i = 1; i < usb.size(); ++i) EXPECT_EQ(usb[i], golden[i]) << i;
  EXPECT_EQ(usb[5], Cp1251::encode(QStringLiteral("D122 SN 00017 © ")));
}

TEST(DataFileWriter, RadioLoggerLineCarriesComment) {
  TMeasurementSet set;
  TRfLoggerArray loggers;
  samples::example(set, loggers);
  // A line break in a comment would split the logger line; it is written as a blank.
  loggers[0].Comment = QStringLiteral("скв. 5\r\nверх");
  const auto lines = linesOf(DataFileWriter::radioBytes(set, loggers, samples::exampleWritten()));
  ASSERT_EQ(lines.size(), 9);
  EXPECT_EQ(Cp1251::decode(lines[5]), QStringLiteral("D122 SN 00017 © скв. 5  верх"));
}

TEST(DataFileWriter, FieldLayoutEdges) {
  TMeasurementSet set;
  samples::addLogger(set, {2}, 0, 0);
  set.Distance[0][0] = {-32768, 32767};
  set.TkType[0][0] = 12;
  set.TkSn[0][0] = 7;
  const int16_t values[] = {-32768, NoTempValue};
  set.appendMeasurement(0, 0, samples::at(2024, 12, 31, 23, 59, 59), 12345, values);
  TRfLogger logger;
  logger.LoggerId = QStringLiteral("D124SN00001");
  const auto lines = linesOf(DataFileWriter::radioBytes(set, {logger}, samples::exampleWritten()));
  ASSERT_EQ(lines.size(), 8);
  // A two-digit type shifts the rest of the line; every value keeps a leading space.
  EXPECT_EQ(lines[6], QByteArray("T12   SN 00007          -32768  32767"));
  // A six-character voltage shifts the value fields one position right.
  EXPECT_TRUE(lines[7].startsWith("31.12.24 23:59:5912345V -32768 -27300 (")) << lines[7].constData();
  EXPECT_EQ(lines[7].size(), 17 + 6 + 14 + 6);
}

TEST(DataFileWriter, WhichLoggersAndLinesAreWritten) {
  TMeasurementSet set;
  samples::addLogger(set, {3}, 0, 1);     // sensors, no measurements
  samples::addLogger(set, {2}, 2, 2);     // not selected
  samples::addLogger(set, {}, 0, 3);      // no thermal string at all
  samples::addLogger(set, {0, 2}, 1, 4);  // first string without a sensor
  samples::addLogger(set, {1, 2}, 1, 5);  // two strings
  TRfLoggerArray loggers(5);
  for (int i = 0; i < 5; ++i) loggers[i].LoggerId = MakeLoggerId(121 + i % 4, i);
  loggers[1].Selected = false;
  const QByteArray bytes = DataFileWriter::radioBytes(set, loggers, samples::exampleWritten());
  const auto lines = linesOf(bytes);
  ASSERT_EQ(lines.size(), 4 + 3 + (3 + 1 + 1 + 1 + 1));
  EXPECT_EQ(lines[5], Cp1251::encode(QStringLiteral("D121 SN 00000 © ")));
  EXPECT_TRUE(lines[6].startsWith("T0   SN 00010         "));
  EXPECT_EQ(lines[7], QByteArray());
  EXPECT_EQ(lines[8], Cp1251::encode(QStringLiteral("D121 SN 00004 © ")));
  EXPECT_TRUE(lines[11].isEmpty());
  EXPECT_TRUE(lines[12].startsWith("T1   SN 00051"));

  // The second string's first check value covers CR LF, its string line, CR LF and its own text.
  const QByteArray second = lines[13];
  const QByteArray covered = "\r\n" + lines[12] + "\r\n" + second.left(second.size() - 6);
  uint8_t reg = 0;
  QByteArray sink;
  WriteSignedLine(sink, covered, reg, true);
  EXPECT_EQ(second.right(6), sink.mid(covered.size(), 6));

  // Nothing selected: the four comment lines only.
  for (auto& l : loggers) l.Selected = false;
  EXPECT_EQ(linesOf(DataFileWriter::radioBytes(set, loggers, samples::exampleWritten())).size(), 4);
}

TEST(DataFileWriter, WriteSignedLineRunsTheRegister) {
  QByteArray out;
  uint8_t reg = 0;
  WriteSignedLine(out, "123456789", reg, false);
  EXPECT_EQ(out, QByteArray("123456789\r\n"));
  EXPECT_NE(reg, 0xA1);  // CR LF joined the register
  reg = 0;
  out.clear();
  WriteSignedLine(out, "123456789", reg, true);
  EXPECT_EQ(out, QByteArray("123456789 (161)\r\n"));
  EXPECT_EQ(reg, 0);
}

TEST(DataFileWriter, UnwritableTargetLeavesFilesAlone) {
  TMeasurementSet set;
  TRfLoggerArray loggers;
  samples::example(set, loggers);
  ManualClock clock(samples::exampleWritten());
  QTemporaryDir dir;
  // The folder is made one level deep only.
  RecordingPrompt prompt;
  const QString deep = dir.filePath("a/b/data.tmd");
  EXPECT_FALSE(WriteRadioDataFile(deep, true, set, loggers, prompt, clock));
  EXPECT_THAT(prompt.texts(),
              ElementsAre(QStringLiteral("Файл ") + deep + QStringLiteral(" занят другим приложением.")));
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Error);
  prompt.clear();
  EXPECT_FALSE(WriteUsbDataFile(deep, true, set, QStringLiteral("D121SN00001"), prompt, clock));
  EXPECT_THAT(prompt.texts(),
              ElementsAre(QStringLiteral("Файл ") + deep + QStringLiteral(" занят другим приложением")));
  prompt.clear();
  EXPECT_FALSE(WriteRadioDataFile(deep, false, set, loggers, prompt, clock));
  EXPECT_TRUE(prompt.boxes().empty());

  const QString oneLevel = dir.filePath("new/data.tmd");
  EXPECT_TRUE(WriteRadioDataFile(oneLevel, true, set, loggers, prompt, clock));
  EXPECT_TRUE(QFile::exists(oneLevel));
}

TEST(DataFileWriter, FailedWriteKeepsThePreviousFile) {
  QTemporaryDir dir;
  const QString name = dir.filePath("data.tmd");
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier content\r\n");
  }
  TMeasurementSet set;
  samples::addLogger(set, {64}, 2000, 1);
  TRfLoggerArray loggers(1);
  loggers[0].LoggerId = QStringLiteral("D122SN00001");
  RecordingPrompt prompt;
  ManualClock clock;

  // A file-size limit makes the writes fail part-way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool ok = WriteRadioDataFile(name, true, set, loggers, prompt, clock);
  setrlimit(RLIMIT_FSIZE, &old);

  EXPECT_FALSE(ok);
  EXPECT_THAT(prompt.texts(), ElementsAre(QStringLiteral("Критическая ошибка при сохранении файла ") + name + "!"));
  EXPECT_EQ(readAll(name), QByteArray("earlier content\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"data.tmd"});
}

}  // namespace
