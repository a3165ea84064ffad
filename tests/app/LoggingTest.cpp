#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/Logging.h"
#include "app/StringFuncGui.h"

TEST(Logging, LinesAreStampedAppendedAndHexDumped) {
  QTemporaryDir dir;
  const QString log = dir.filePath("thread.log");
  ASSERT_TRUE(WriteLogLine("first", log));
  const uint8_t bytes[] = {0x0A, 0xFF, 0x00};
  ASSERT_TRUE(WriteHexDump(bytes, 3, log));
  ASSERT_TRUE(WriteHexDump(bytes, 0, log));
  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n");
  ASSERT_EQ(lines.size(), 4);  // three lines and the empty rest after the last CR LF
  const QRegularExpression stamp(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d{3}: )");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(stamp.match(lines[i]).hasMatch()) << lines[i].toStdString();
  EXPECT_TRUE(lines[0].endsWith(": first"));
  EXPECT_TRUE(lines[1].endsWith(": 0A FF 00 "));
  EXPECT_TRUE(lines[2].endsWith(": "));
  EXPECT_FALSE(WriteLogLine("x", dir.filePath("missing/folder/a.log")));
}

TEST(Logging, Bin2charRejectsValuesAboveFifteen) {
  RecordingPrompt prompt;
  EXPECT_EQ(bin2char(9, &prompt), '9');
  EXPECT_EQ(bin2char(15, &prompt), 'F');
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_EQ(bin2char(16, &prompt), '0');
  ASSERT_EQ(prompt.boxes().size(), 1u);
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Plain);
  EXPECT_EQ(prompt.boxes()[0].text, "В данных (bin2char) обнаружены недопустимые значения!");
}

TEST(EnableGroupBoxes, ReachesDirectChildrenOnly) {
  QGroupBox outer, inner(&outer);
  QCheckBox direct(&outer), nested(&inner);
  EnableGroupBoxes({&inner}, false);
  EnableGroupBoxes({&outer}, false);
  EnableGroupBoxes({&outer}, true);
  EXPECT_TRUE(outer.isEnabled());
  EXPECT_TRUE(direct.isEnabled());
  EXPECT_TRUE(inner.isEnabled());
  // The nested control keeps its own switch, off since the inner box was disabled.
  EXPECT_FALSE(nested.isEnabled());
}
