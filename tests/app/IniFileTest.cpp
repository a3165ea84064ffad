#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/Cp1251.h"
#include "app/IniFile.h"

TEST(IniFile, KeepsNamesOrderAndRawValuesThroughARoundTrip) {
  const QByteArray original =
      "[Main]\r\nTop=10\r\nLeft=0x1F\r\n[Graphic ]\r\nTitle=a, \"b\", c\r\nColor=-16777201\r\n[Settings]\r\nPort=3\r\n";
  IniFile ini;
  ini.loadFromBytes(original);
  EXPECT_EQ(ini.sections(), QStringList({"Main", "Graphic ", "Settings"}));
  EXPECT_EQ(ini.value("graphic ", "title"), "a, \"b\", c");
  EXPECT_FALSE(ini.hasSection("Graphic"));
  EXPECT_EQ(ini.toBytes(), original);
}

TEST(IniFile, TypedReadsFallBackToTheDefault) {
  IniFile ini;
  ini.loadFromBytes("[S]\nhex=0x10\nHEX2=0XfF\nbad=12a\nbool=-5\nzero=0\nreal=2,5\nrealdot=2.5\nempty=\n");
  const struct {
    const char* key;
    int expected;
  } ints[] = {{"hex", 16}, {"HEX2", 255}, {"bad", 7}, {"missing", 7}, {"empty", 7}, {"bool", -5}};
  for (const auto& c : ints) EXPECT_EQ(ini.readInteger("S", c.key, 7), c.expected) << c.key;
  EXPECT_TRUE(ini.readBool("S", "bool", false));
  EXPECT_FALSE(ini.readBool("S", "zero", true));
  EXPECT_TRUE(ini.readBool("S", "missing", true));
  // The tests run in a Russian locale: the decimal separator is a comma.
  EXPECT_DOUBLE_EQ(ini.readReal("S", "real", 0), 2.5);
  EXPECT_DOUBLE_EQ(ini.readReal("S", "realdot", 9), 9);
  ini.writeReal("S", "out", -0.25);
  EXPECT_EQ(ini.value("S", "out"), "-0,25");
}

TEST(IniFile, WindowsFilesReadInTheirCodePageAndNewKeysAppend) {
  IniFile ini(IniFile::Encoding::Cp1251);
  ini.loadFromBytes(Cp1251::encode("[GSM]\r\nAPN=интернет\r\n"));
  EXPECT_EQ(ini.value("GSM", "APN"), "интернет");
  ini.setValue("GSM", "User", "пользователь");
  ini.setValue("MQTT", "Port", "1883");
  EXPECT_EQ(Cp1251::decode(ini.toBytes()),
            QString("[GSM]\r\nAPN=интернет\r\nUser=пользователь\r\n[MQTT]\r\nPort=1883\r\n"));
}

TEST(IniFile, FailedSaveLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.ini");
  IniFile ini;
  ini.setValue("Main", "Top", "1");
  ASSERT_TRUE(ini.save(path));
  IniFile back;
  ASSERT_TRUE(back.load(path));
  EXPECT_EQ(back.value("Main", "Top"), "1");
  EXPECT_FALSE(ini.save(dir.filePath("no/such/folder/a.ini")));
  EXPECT_FALSE(back.load(dir.filePath("missing.ini")));
  EXPECT_TRUE(back.sections().isEmpty());
}
