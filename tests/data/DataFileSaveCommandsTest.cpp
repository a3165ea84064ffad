#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DataFileSamples.h"
#include "TestSupport.h"
#include "app/Clock.h"
#include "app/FileChooser.h"
#include "data/DataFileSaveCommands.h"

using ::testing::ElementsAre;

namespace {

class FakeSaveView : public DataSaveView {
 public:
  bool running = false;
  QStringList calls;
  bool radioCommandRunning() const override { return running; }
  void showRadioPage() override { calls << "radioPage"; }
  void showUsbPage() override { calls << "usbPage"; }
  void updateControls() override { calls << "updateControls"; }
  void setBusyCursor(bool busy) override { calls << (busy ? "busy" : "idle"); }
};

class DataFileSaveCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { samples::example(set, loggers); }
  QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir;
  TMeasurementSet set;
  TRfLoggerArray loggers;
  ScriptedFileChooser chooser;
  RecordingPrompt prompt;
  FakeSaveView view;
  ManualClock clock{samples::exampleWritten()};
  DataFileSaveCommands commands{chooser, prompt, view, clock, "/program/folder"};
};

TEST_F(DataFileSaveCommandsTest, RadioSaveWritesWithTheExtensionRule) {
  bool saved = false;
  chooser.answer(dir.filePath("data.txt"));
  EXPECT_TRUE(commands.ActionRfSaveDataToFile(set, loggers, 2, saved, dir.path()));
  EXPECT_TRUE(saved);
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_EQ(chooser.lastRequest().folder, dir.path());
  EXPECT_EQ(chooser.lastRequest().defaultSuffix, "tmd");
  EXPECT_EQ(read(fixturePath("datafile/example.tmd")), read(dir.filePath("data.tmd")));
  EXPECT_THAT(view.calls, ElementsAre("radioPage", "updateControls", "busy", "idle", "radioPage", "updateControls"));

  chooser.answer(dir.filePath("noext"));
  EXPECT_TRUE(commands.ActionRfSaveDataToFile(set, loggers, 2, saved, dir.path()));
  EXPECT_TRUE(QFile::exists(dir.filePath("noext.tmd")));
  EXPECT_EQ(chooser.lastRequest().fileName, "data.tmd");  // the dialog keeps the last name
}

TEST_F(DataFileSaveCommandsTest, ReplaceQuestion) {
  const QString name = dir.filePath("data.tmd");
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  bool saved = false;
  chooser.answer(name);
  prompt.answerNext(false);
  EXPECT_FALSE(commands.ActionRfSaveDataToFile(set, loggers, 2, saved, dir.path()));
  EXPECT_THAT(prompt.texts(),
              ElementsAre(QStringLiteral("Файл ") + name + QStringLiteral(" уже существует.\r\nЗаменить?")));
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Question);
  EXPECT_EQ(read(name), QByteArray("old"));
  EXPECT_FALSE(saved);

  chooser.answer(name);
  prompt.answerNext(true);
  EXPECT_TRUE(commands.ActionRfSaveDataToFile(set, loggers, 2, saved, dir.path()));
  EXPECT_TRUE(saved);
  EXPECT_TRUE(read(name).startsWith("//[tmd]"));
}

TEST_F(DataFileSaveCommandsTest, RefusalsAndCancel) {
  bool saved = false;
  view.running = true;
  EXPECT_FALSE(commands.ActionRfSaveDataToFile(set, loggers, 2, saved, dir.path()));
  view.running = false;
  EXPECT_FALSE(commands.ActionRfSaveDataToFile(set, loggers, 0, saved, dir.path()));
  EXPECT_FALSE(commands.ActionUsbSaveDataToFile(set, "D121SN00001", 0, saved));
  EXPECT_THAT(prompt.texts(), ElementsAre(QStringLiteral("Дождитесь завершения предыдущей команды!"),
                                          QStringLiteral("Нет данных для сохранения !"),
                                          QStringLiteral("Нет данных для сохранения !")));
  for (const auto& box : prompt.boxes()) EXPECT_EQ(box.kind, UserPrompt::Kind::Error);
  prompt.clear();
  EXPECT_FALSE(commands.ActionRfSaveDataToFile(set, loggers, 2, saved, dir.path()));  // dialog cancelled
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_FALSE(saved);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(DataFileSaveCommandsTest, UsbSaveKeepsTheDialogFolder) {
  bool saved = false;
  chooser.answer(dir.filePath("usb"));
  EXPECT_TRUE(commands.ActionUsbSaveDataToFile(set, "D121SN00001", 5, saved));
  EXPECT_EQ(chooser.lastRequest().folder, "/program/folder");
  EXPECT_TRUE(saved);
  EXPECT_TRUE(read(dir.filePath("usb.tmd")).startsWith("//[tmd] Created by Tundrabase (USB) 05.03.24 21:30:15\r\n"));
  EXPECT_EQ(view.calls.mid(view.calls.size() - 2), (QStringList{"usbPage", "updateControls"}));

  // A failed write keeps the data unsaved.
  saved = false;
  chooser.answer(dir.filePath("no/such/folder/usb.tmd"));
  EXPECT_FALSE(commands.ActionUsbSaveDataToFile(set, "D121SN00001", 5, saved));
  EXPECT_FALSE(saved);
  EXPECT_EQ(prompt.boxes().size(), 1u);
}

}  // namespace
