#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/MainWindowRules.h"

using namespace MainWindowRules;

TEST(MainWindowRules, DataCommandsFollowStateAndData) {
  const struct {
    int loggers, state;
    bool data, open;
  } radio[] = {{1, 0, true, true}, {1, 1, true, true}, {1, 8, true, true}, {0, 1, false, true},
               {1, 2, false, false}, {3, 7, false, false}, {1, 9, false, false}};
  for (const auto& c : radio) {
    const DataCommands d = radioDataCommands(c.loggers, c.state);
    EXPECT_EQ(d.showGraphic, c.data) << c.state;
    EXPECT_EQ(d.saveData, c.data) << c.state;
    EXPECT_EQ(d.dataFileOpen, c.open) << c.state;
  }
  EXPECT_TRUE(usbDataCommands(true, UsbFileData).exportToExcel);
  EXPECT_FALSE(usbDataCommands(true, 5).exportToExcel);
  EXPECT_FALSE(usbDataCommands(true, 5).dataFileOpen);
  EXPECT_FALSE(usbDataCommands(false, UsbReady).saveData);
  EXPECT_TRUE(usbDataCommands(false, UsbReady).dataFileOpen);
}

TEST(MainWindowRules, StartupArgumentRule) {
  QTemporaryDir dir;
  const QString upper = dir.filePath("DATA.TMD");
  const QString other = dir.filePath("data.txt");
  for (const QString& p : {upper, other}) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(startupDataFile({upper, "x"}), upper);
  EXPECT_TRUE(startupDataFile({other}).isEmpty());
  EXPECT_TRUE(startupDataFile({dir.filePath("missing.tmd")}).isEmpty());
  EXPECT_TRUE(startupDataFile({}).isEmpty());
  // Exactly five characters is too short, even when such a file exists.
  QTemporaryDir cwd;
  QDir::setCurrent(cwd.path());
  { QFile f("a.tmd"); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
  EXPECT_TRUE(startupDataFile({"a.tmd"}).isEmpty());
  { QFile f("ab.tmd"); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
  EXPECT_EQ(startupDataFile({"ab.tmd"}), "ab.tmd");
}
