#include <gmock/gmock.h>

#include <QFile>
#include <QTemporaryDir>

#include "DataFileSamples.h"
#include "TestSupport.h"
#include "app/Clock.h"
#include "app/FileChooser.h"
#include "data/DataFileHost.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"

using ::testing::ElementsAre;

namespace {

// The main window as the loader sees it: state flags, the data, and a log of the calls.
class FakeHost : public DataFileHost {
 public:
  bool radioIdle = false;
  bool usbIsReady = false;
  TRfLoggerArray loggers;
  TMeasurementSet radio, usb;
  bool hasImage = false;
  UsbFileHeader image;
  QStringList calls;

  bool radioConnectedIdle() const override { return radioIdle; }
  void disconnectComPort() override { calls << "disconnectComPort"; }
  void setRadioStateFileData() override { calls << "radioState8"; }
  TRfLoggerArray& rfLoggers() override { return loggers; }
  TMeasurementSet& radioSet() override { return radio; }
  void showLoggerList(bool warnIfEmpty) override {
    calls << QStringLiteral("showLoggerList(%1,%2)").arg(warnIfEmpty).arg(loggers.size());
    radio.reset(static_cast<int>(loggers.size()));
  }
  void showRadioData() override { calls << "showRadioData"; }
  void showRadioPage() override { calls << "radioPage"; }
  bool usbReady() const override { return usbIsReady; }
  void disconnectUsb() override { calls << "disconnectUsb"; }
  void setUsbStateFileData() override { calls << "usbFileData"; }
  void clearUsbDataAll() override {
    calls << "clearUsbData";
    usb.clear();
  }
  TMeasurementSet& usbSet() override { return usb; }
  void setUsbFileImage(const UsbFileHeader& header) override {
    calls << "usbImage";
    hasImage = true;
    image = header;
  }
  void dropUsbImage() override {
    calls << "dropUsbImage";
    hasImage = false;
  }
  void showUsbPage() override { calls << "usbPage"; }
  void updateControls() override { calls << "updateControls"; }
  void setBusyCursor(bool busy) override { calls << (busy ? "busy" : "idle"); }
};

class DataFileLoaderTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(dir.filePath(name), bytes); }
  QByteArray example() {
    TMeasurementSet set;
    TRfLoggerArray loggers;
    samples::example(set, loggers);
    return DataFileWriter::radioBytes(set, loggers, samples::exampleWritten());
  }
  QByteArray usbFile() {
    TMeasurementSet set;
    samples::addLogger(set, {4}, 6, 2);
    return DataFileWriter::usbBytes(set, QStringLiteral("D121SN00033"), samples::exampleWritten());
  }

  QTemporaryDir dir;
  RecordingPrompt prompt;
  FakeHost host;
  ManualClock clock{QDateTime(QDate(2024, 6, 1), QTime(9, 5, 3))};
  DataFileLoader loader{prompt, host, clock};
};

TEST_F(DataFileLoaderTest, NameRule) {
  EXPECT_TRUE(DataFileLoader::IsDataFileName("archive.TMD"));
  EXPECT_TRUE(DataFileLoader::IsDataFileName("/x/a.tmd"));
  EXPECT_FALSE(DataFileLoader::IsDataFileName("archive.tmd.bak"));
  EXPECT_FALSE(DataFileLoader::IsDataFileName("tmd"));

  EXPECT_EQ(loader.DataFileOpen("archive.tmd.bak"), DataFileLoader::Outcome::Refused);
  EXPECT_THAT(prompt.texts(), ElementsAre(QStringLiteral("Файл archive.tmd.bak не поддерживается!")));
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Error);
  EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(DataFileLoaderTest, MissingFileIsRefusedWithTheTime) {
  const QString name = dir.filePath("none.tmd");
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::NotOpened);
  ASSERT_EQ(prompt.boxes().size(), 1u);
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Error);
  EXPECT_TRUE(prompt.texts()[0].startsWith(QStringLiteral("09:05:03")));
  EXPECT_TRUE(prompt.texts()[0].endsWith(QStringLiteral(" > Отказано в доступе к ") + name + "!"));
  EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(DataFileLoaderTest, CleanRadioFileLoadsSilently) {
  host.radioIdle = true;
  host.loggers.resize(3);
  const QString name = write("archive.TMD", example());
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Kept);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_THAT(host.calls, ElementsAre("busy", "disconnectComPort", "radioState8", "showLoggerList(0,0)", "idle",
                                      "showRadioData", "radioPage", "updateControls"));
  ASSERT_EQ(host.loggers.size(), 1u);
  EXPECT_EQ(host.loggers[0].LoggerId, QStringLiteral("D122SN00017"));
  EXPECT_EQ(host.radio.measurementCount(0, 0), 2);
  EXPECT_EQ(host.radio.Temp[0][0][0][0], 2150);
}

TEST_F(DataFileLoaderTest, DamagedLinesQuestionDecides) {
  QByteArray bytes = example();
  bytes.replace("05.03.24 20:00:00", "05.13.24 20:00:00");
  const QString name = write("d.tmd", bytes);
  const QString question = QStringLiteral("Файл ") + name + "\r\n" +
                           QStringLiteral("содержит поврежденные записи (1).") + "\r\n" +
                           QStringLiteral("Игнорировать и продолжить?");

  prompt.answerNext(true);
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Kept);
  EXPECT_THAT(prompt.texts(), ElementsAre(question));
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Question);
  EXPECT_EQ(host.radio.measurementCount(0, 0), 1);

  prompt.clear();
  host.calls.clear();
  prompt.answerNext(false);
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Discarded);
  EXPECT_THAT(prompt.texts(), ElementsAre(question));
  EXPECT_EQ(host.radio.loggerCount(), 0);
  EXPECT_EQ(host.loggers.size(), 1u);  // the loggers read stay in the list
  EXPECT_EQ(host.calls.last(), "updateControls");
  EXPECT_FALSE(host.calls.contains("showRadioData"));
}

TEST_F(DataFileLoaderTest, BrokenSignatureWarnsAndKeeps) {
  QByteArray bytes = example();
  bytes.replace("2125 (056)", "2126 (056)");
  const QString name = write("s.tmd", bytes);
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Kept);
  ASSERT_EQ(prompt.boxes().size(), 1u);
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Warning);
  EXPECT_EQ(prompt.texts()[0], QStringLiteral("Файл ") + name + "\r\n" +
                                   QStringLiteral("не имеет электронной подписи!") + "\r\n" +
                                   QStringLiteral("Данные не имеют юридической силы."));
  EXPECT_EQ(host.radio.Temp[0][0][1][0], 2126);
}

TEST_F(DataFileLoaderTest, CriticalErrorQuestionAndNoSignatureWarning) {
  QByteArray bytes = example();
  bytes.replace("2125 (056)", "2126 (056)");
  bytes.replace(" 358V", " 3x8V");
  const QString name = write("c.tmd", bytes);
  const QString question = QStringLiteral("Критическая ошибка при загрузке файла ") + name + "\r\n" +
                           QStringLiteral("Игнорировать и продолжить?");
  prompt.answerNext(true);
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Kept);
  EXPECT_THAT(prompt.texts(), ElementsAre(question));
  EXPECT_EQ(host.radio.measurementCount(0, 0), 1);

  prompt.clear();
  prompt.answerNext(false);
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Discarded);
  EXPECT_THAT(prompt.texts(), ElementsAre(question));
  EXPECT_EQ(host.radio.loggerCount(), 0);
}

TEST_F(DataFileLoaderTest, CommentsOnlyChangeNothing) {
  host.loggers.resize(2);
  host.radio.reset(2);
  const QString name = write("c.tmd", "//[tmd] Created by Tundrabase 05.03.24 21:30:15\r\n//\r\n");
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Kept);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_TRUE(host.calls.isEmpty());
  EXPECT_EQ(host.loggers.size(), 2u);
  EXPECT_EQ(host.radio.loggerCount(), 2);
}

TEST_F(DataFileLoaderTest, UsbFileGoesToTheUsbPageOnly) {
  host.usbIsReady = true;
  host.loggers.resize(2);
  host.radio.reset(2);
  const QString name = write("u.tmd", usbFile());
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Kept);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_THAT(host.calls, ElementsAre("busy", "disconnectUsb", "usbFileData", "clearUsbData", "usbImage", "idle",
                                      "usbPage", "updateControls"));
  EXPECT_EQ(host.usb.measurementCount(0, 0), 6);
  EXPECT_EQ(host.image.loggerId, QStringLiteral("D121SN00033"));
  EXPECT_EQ(host.image.sensorCount, 4);
  EXPECT_EQ(host.image.measurementCount, 6);
  EXPECT_EQ(host.image.measurementPeriod, 1);
  EXPECT_EQ(host.loggers.size(), 2u);
  EXPECT_EQ(host.radio.loggerCount(), 2);
}

TEST_F(DataFileLoaderTest, UsbDiscardDropsTheImage) {
  QByteArray bytes = usbFile();
  bytes.insert(bytes.indexOf("\r\nT") + 2, "Tx   SN 00001          0\r\n");
  const QString name = write("u.tmd", bytes);
  prompt.answerNext(false);
  EXPECT_EQ(loader.DataFileOpen(name), DataFileLoader::Outcome::Discarded);
  EXPECT_EQ(prompt.boxes().size(), 1u);
  EXPECT_FALSE(host.hasImage);
  EXPECT_EQ(host.usb.loggerCount(), 0);
  EXPECT_FALSE(host.calls.contains("disconnectUsb"));
  EXPECT_THAT(host.calls.mid(host.calls.size() - 3), ElementsAre("clearUsbData", "dropUsbImage", "updateControls"));
}

TEST_F(DataFileLoaderTest, OpenCommandUsesTheDataFolder) {
  ScriptedFileChooser chooser;
  chooser.answer(write("a.tmd", example()));
  loader.ActionDataFileOpen(chooser, "/data/folder");
  EXPECT_EQ(chooser.lastRequest().folder, "/data/folder");
  EXPECT_EQ(chooser.lastRequest().defaultSuffix, "tmd");
  EXPECT_EQ(host.loggers.size(), 1u);
  host.calls.clear();
  loader.ActionDataFileOpen(chooser, "/data/folder");  // cancelled
  EXPECT_TRUE(host.calls.isEmpty());
}

}  // namespace
