#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "radio/RfLoggerListFile.h"

namespace {
QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ids(const TRfLoggerArray& list) {
  QStringList out;
  for (const auto& l : list) out << l.LoggerId;
  return out;
}
}  // namespace

TEST(RfLoggerListFile, AcceptsOnlyWellFormedIdentifiers) {
  struct Case {
    const char* line;
    const char* accepted;  // empty = skipped
  };
  const Case cases[] = {
      {"D123SN00001", "D123SN00001"},
      {" d121sn00001 ", "d121sn00001"},  // trimmed, case kept
      {"\tD124sN12345\r", "D124sN12345"},
      {"D122Sn00007", "D122Sn00007"},
      {"D125SN00001", ""},  // model code out of range
      {"D120SN00001", ""},
      {"D123SX00001", ""},
      {"X123SN00001", ""},
      {"D12XSN00001", ""},
      {"D123SN0000A", ""},
      {"D123SN-0001", ""},   // a sign is no digit: no radio address
      {"D123SN0001", ""},    // too short
      {"D123SN000012", ""},  // too long
      {"D123SN00001 x", ""},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RfLoggerListFile::AcceptedLine(QString::fromUtf8(c.line)), QString::fromUtf8(c.accepted)) << c.line;
}

TEST(RfLoggerListFile, ParseSkipsBadLinesSilentlyAndKeepsDuplicates) {
  const QByteArray bytes = readAll(fixturePath("lst/mixed-lines.lst"));
  ASSERT_FALSE(bytes.isEmpty());
  const TRfLoggerArray list = RfLoggerListFile::Parse(std::string_view(bytes.constData(), bytes.size()));
  EXPECT_EQ(ids(list), (QStringList{"d121sn00001", "D123SN00001", "D123SN00001", "D122SN00002"}));
  for (const auto& l : list) {
    EXPECT_EQ(l.Status, 0);
    EXPECT_TRUE(l.Selected);
  }
}

TEST(RfLoggerListFile, RoundTripIsByteIdentical) {
  QTemporaryDir dir;
  const QString source = fixturePath("lst/four-loggers.lst");
  TRfLoggerArray list;
  ASSERT_TRUE(RfLoggerListFile::Load(source, list));
  ASSERT_EQ(list.size(), 4u);
  list[1].Selected = false;  // every entry is written, selected or not
  const QString copy = dir.filePath("copy.lst");
  ASSERT_TRUE(RfLoggerListFile::Save(copy, list));
  EXPECT_EQ(readAll(copy), readAll(source));
}

TEST(RfLoggerListFile, EmptyListWritesEmptyFileThatLoadsEmpty) {
  QTemporaryDir dir;
  const QString path = dir.filePath("empty.lst");
  ASSERT_TRUE(RfLoggerListFile::Save(path, {}));
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(QFileInfo(path).size(), 0);
  TRfLoggerArray list(2);
  ASSERT_TRUE(RfLoggerListFile::Load(path, list));
  EXPECT_TRUE(list.empty());
}

TEST(RfLoggerListFile, FailedLoadLeavesListAndFailedSaveLeavesFile) {
  QTemporaryDir dir;
  TRfLoggerArray list(1);
  list[0].LoggerId = "D123SN00005";
  EXPECT_FALSE(RfLoggerListFile::Load(dir.filePath("missing.lst"), list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].LoggerId, "D123SN00005");

  // A file whose folder does not exist cannot be written.
  EXPECT_FALSE(RfLoggerListFile::Save(dir.filePath("no/such/folder/x.lst"), list));

  // A save that cannot complete keeps the previous file as it was.
  const QString path = dir.filePath("kept.lst");
  ASSERT_TRUE(RfLoggerListFile::Save(path, list));
  const QByteArray before = readAll(path);
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  TRfLoggerArray other(2);
  other[0].LoggerId = other[1].LoggerId = "D122SN00001";
  const bool saved = RfLoggerListFile::Save(path, other);
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  // Root may write into the read-only folder; either way the file is whole, old or new.
  EXPECT_EQ(readAll(path), saved ? RfLoggerListFile::Serialize(other) : before);
}

TEST(RfLoggerListFile, MessagesQuoteTheFileName) {
  EXPECT_EQ(RfLoggerListFile::OpenFailedText("/tmp/a.lst"),
            QString::fromUtf8("\r\nНе удается открыть файл \"/tmp/a.lst\",      \r\n"
                              "поскольку он используется другим приложением."));
  EXPECT_EQ(RfLoggerListFile::SaveFailedText("b.lst"),
            QString::fromUtf8("\r\nНе удается сохранить файл \"b.lst\",      \r\n"
                              "поскольку он используется другим приложением."));
}
