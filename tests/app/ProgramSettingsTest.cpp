#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/IniFile.h"
#include "app/ProgramPaths.h"
#include "app/ProgramSettings.h"

TEST(ProgramSettings, MissingFileGivesTheDefaults) {
  ProgramSettings defaults;
  defaults.dataFilesDir = "/data";
  const ProgramSettings s = ProgramSettings::load("/no/such/file.ini", defaults);
  EXPECT_EQ(std::make_tuple(s.top, s.left, s.width, s.height), std::make_tuple(0, 0, 1000, 640));
  EXPECT_EQ(std::make_tuple(s.channel, s.minChannel, s.maxChannel, s.dataBlockSize), std::make_tuple(20, 16, 23, 1));
  EXPECT_EQ(std::make_tuple(s.power[0], s.power[1], s.power[2]), std::make_tuple(0, 1, 2));
  EXPECT_EQ(std::make_tuple(s.attempt[0], s.attempt[1], s.attempt[2]), std::make_tuple(true, true, false));
  EXPECT_EQ(std::make_tuple(s.rfMaxLimit, s.rfMinLimit, s.rfHighlight, s.usbHighlight), std::make_tuple(0.0, 0.0, false, false));
  EXPECT_EQ(s.dataFilesDir, "/data");
}

TEST(ProgramSettings, ChannelIsClippedAndCloseKeepsWhatItDoesNotWrite) {
  QTemporaryDir dir;
  const QString path = dir.filePath("tundrabase.ini");
  writeTestFile(path,
            "[Settings]\r\nPort=7\r\nMinChannel=18\r\nMaxChannel=21\r\nChannel=23\r\n[Graphic ]\r\nColor=0x00FF00\r\n"
            "[RF]\r\nDataMaxLimit=2,5\r\nHighlightOutOfRangeData=5\r\n");
  ProgramSettings s = ProgramSettings::load(path, {});
  EXPECT_EQ(s.channel, 21);
  EXPECT_EQ(s.port, 7);
  EXPECT_DOUBLE_EQ(s.rfMaxLimit, 2.5);
  EXPECT_TRUE(s.rfHighlight);

  RecordingPrompt prompt;
  // An empty port box and a device path both leave Port as it was.
  ASSERT_TRUE(s.save(path, "", prompt));
  ASSERT_TRUE(s.save(path, "/dev/ttyUSB0", prompt));
  IniFile ini;
  ASSERT_TRUE(ini.load(path));
  EXPECT_EQ(ini.value("Settings", "Channel"), "21");
  EXPECT_EQ(ini.value("Settings", "MinChannel"), "18");
  EXPECT_EQ(ini.value("Settings", "MaxChannel"), "21");
  EXPECT_EQ(ini.value("Settings", "Port"), "7");
  EXPECT_EQ(ini.value("Settings", "PortName"), "/dev/ttyUSB0");
  EXPECT_EQ(ini.value("Graphic ", "Color"), "0x00FF00");
  EXPECT_EQ(ini.value("Strategy", "Attempt3"), "0");
  EXPECT_EQ(ini.value("RF", "DataMaxLimit"), "2,5");

  ASSERT_TRUE(s.save(path, "COM12", prompt));
  ini.load(path);
  EXPECT_EQ(ini.value("Settings", "Port"), "12");
  EXPECT_TRUE(prompt.boxes().empty());
}

TEST(ProgramSettings, FailedWriteNamesTheFile) {
  RecordingPrompt prompt;
  const QString path = "/no/such/folder/tundrabase.ini";
  EXPECT_FALSE(ProgramSettings{}.save(path, "COM1", prompt));
  ASSERT_EQ(prompt.boxes().size(), 1u);
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Error);
  EXPECT_EQ(prompt.boxes()[0].text, "Unable to write to " + path + ".");
}

namespace {
class FakeFolders : public SystemFolders {
 public:
  QString root;
  QString commonAppData() const override { return root + "/common"; }
  QString userAppData() const override { return root + "/user"; }
  QString commonDocuments() const override { return {}; }
  QString userDocuments() const override { return root + "/docs"; }
  QString userConfig() const override { return root + "/config"; }
  QString programFilePath() const override { return root + "/bin/tundrabase"; }
};
}  // namespace

TEST(ProgramPaths, CommonFolderWinsThenUserThenOwnConfigFolder) {
  QTemporaryDir dir;
  FakeFolders folders;
  folders.root = dir.path();
  QDir(dir.path()).mkpath("user/Gradus/tundrabase");

  ProgramPaths p = ResolveProgramPaths(folders);
  EXPECT_EQ(p.iniFileName, dir.path() + "/user/Gradus/tundrabase/tundrabase.ini");
  EXPECT_EQ(p.deviceListDir, dir.path() + "/user/Gradus/tundrabase/");
  EXPECT_EQ(p.dataFilesDir, dir.path() + "/bin");

  QDir(dir.path()).mkpath("common/Gradus/tundrabase");
  QDir(dir.path()).mkpath("docs/Gradus/tundrabase");
  p = ResolveProgramPaths(folders);
  EXPECT_EQ(p.iniFileName, dir.path() + "/common/Gradus/tundrabase/tundrabase.ini");
  EXPECT_EQ(p.dataFilesDir, dir.path() + "/docs/Gradus/tundrabase");

  QTemporaryDir empty;
  folders.root = empty.path();
  p = ResolveProgramPaths(folders);
  EXPECT_EQ(p.iniFileName, empty.path() + "/config/Gradus/tundrabase/tundrabase.ini");
  EXPECT_TRUE(QDir(empty.path() + "/config/Gradus/tundrabase").exists());
  EXPECT_FALSE(QDir(empty.path() + "/user/Gradus").exists());
}
