#include <gmock/gmock.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "../data/DataFileSamples.h"
#include "TestSupport.h"
#include "XlsRecords.h"
#include "app/Clock.h"
#include "app/FileChooser.h"
#include "graph/ExcelExport.h"
#include "graph/XlsWriter.h"

using ::testing::ElementsAre;

namespace {

class FakeExportView : public XlsExportView {
 public:
  QStringList memo;
  int busy = 0;
  void addMemo1Line(const QString& line) override { memo << line; }
  void setBusyCursor(bool on) override { busy += on ? 1 : -1; }
};

TMeasurementSet twoSensorsThreeMeasurements() {
  TMeasurementSet set;
  samples::addLogger(set, {2}, 0, 0);
  set.Distance[0][0] = {100, 200};
  set.TkSn[0][0] = -5;
  const int16_t a[] = {2150, -1};
  const int16_t b[] = {NoTempValue, 0};
  const int16_t c[] = {-3000, 12345};
  set.appendMeasurement(0, 0, samples::at(2024, 3, 5, 12, 0, 0), 360, a);
  set.appendMeasurement(0, 0, samples::at(2024, 3, 5, 20, 0, 0), 360, b);
  set.appendMeasurement(0, 0, samples::at(2024, 3, 6, 4, 0, 7), 360, c);
  return set;
}

QByteArray sheetOf(DataPage page, const TMeasurementSet& set, int logger, const QString& id) {
  XlsWriter w;
  ExcelExport::WriteSheet(w, page, set, logger, id);
  w.end();
  return w.buffer();
}

TEST(XlsExport, RecordSequenceForTwoSensorsAndThreeMeasurements) {
  const QByteArray book = sheetOf(DataPage::Radio, twoSensorsThreeMeasurements(), 0, "D122SN00017");
  EXPECT_THAT(
      describeAll(book),
      ElementsAre("BOF", "DIMENSIONS", "LABEL 4,1 Nomer zamera:", "LABEL 5,1 Data, vremya:", "LABEL 6,1 Datchik:",
                  "LABEL 1,1 Logger TKL-1/100 RM \"D122SN00017\"", "LABEL 2,1 Termokosa # -5", "COLWIDTH 0..0 3328",
                  "COLWIDTH 1..4 4352", "LABEL 7,1 1",
                  "LABEL 8,1 2",  //
                  "INTEGER 4,2 1", "LABEL 5,2 05.03.2024 12:00:00", "NUMBER 7,2 21.5", "NUMBER 8,2 -0.01",
                  "INTEGER 4,3 2", "LABEL 5,3 05.03.2024 20:00:00", "LABEL 7,3 ", "NUMBER 8,3 0", "INTEGER 4,4 3",
                  "LABEL 5,4 06.03.2024 04:00:07", "NUMBER 7,4 -30", "NUMBER 8,4 123.45", "EOF"));
}

TEST(XlsExport, HeadingsLimitsAndPages) {
  TMeasurementSet set;
  samples::addLogger(set, {6}, 300, 1);
  set.TkType[0][0] = 4;
  set.Distance[0][0] = {0, 100, 200, 300, 400, 500};
  const auto records = xlsRecords(sheetOf(DataPage::Usb, set, 0, "D999SN00001"));
  QStringList labels;
  int lastColumn = 0, integers = 0;
  for (const auto& r : records) {
    if (r.number == 0x0004 && r.column() == 1) labels << r.text();
    if (r.number == 0x0002) ++integers;
    if (r.number == 0x0003 || r.number == 0x0002) lastColumn = std::max(lastColumn, r.column());
  }
  EXPECT_THAT(labels, ElementsAre("Nomer zamera:", "Data, vremya:", "Datchik:", "Logger  \"D999SN00001\"",
                                  "Termokosa # 10", "To, °C", "RH, %", "AH, g/m", "DP, °C", "Pa, mm", ""));
  EXPECT_EQ(integers, 255);
  EXPECT_EQ(lastColumn, 256);  // column IV

  EXPECT_EQ(describeAll(sheetOf(DataPage::Settings, set, 0, "")),
            (QStringList{"BOF", "DIMENSIONS",
                         "LABEL 4,1 Nomer zamera:", "LABEL 5,1 Data, vremya:", "LABEL 6,1 Datchik:", "EOF"}));

  // Later strings write into the same cells.
  TMeasurementSet two;
  samples::addLogger(two, {1, 1}, 1, 2);
  two.Distance[0][1] = {700};
  const QStringList d = describeAll(sheetOf(DataPage::Radio, two, 0, "D121SN00001"));
  EXPECT_EQ(d.filter(QRegularExpression("^LABEL 7,1 ")), (QStringList{"LABEL 7,1 -1", "LABEL 7,1 7"}));
}

TEST(XlsExport, DataChecks) {
  TMeasurementSet set;
  samples::addLogger(set, {2}, 0, 1);
  EXPECT_TRUE(ExcelExport::HasExportData(DataPage::Radio, set, 0));
  EXPECT_FALSE(ExcelExport::HasExportData(DataPage::Usb, set, 0));  // no measurement
  EXPECT_FALSE(ExcelExport::HasExportData(DataPage::Radio, set, 1));
  EXPECT_TRUE(ExcelExport::HasExportData(DataPage::Settings, TMeasurementSet(), 0));
}

class ExportCommandTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedFileChooser chooser;
  RecordingPrompt prompt;
  FakeExportView view;
  ManualClock clock{QDateTime(QDate(2024, 6, 1), QTime(9, 5, 3))};
  ExcelExport exporter{chooser, prompt, view, clock};
  TMeasurementSet set = twoSensorsThreeMeasurements();
};

TEST_F(ExportCommandTest, WritesWithXlsExtensionAndLogs) {
  chooser.answer(dir.filePath("book.txt"));
  EXPECT_TRUE(exporter.ExportToXls(DataPage::Radio, set, 0, "D122SN00017"));
  const QString name = dir.filePath("book.xls");
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), sheetOf(DataPage::Radio, set, 0, "D122SN00017"));
  ASSERT_EQ(view.memo.size(), 1);
  EXPECT_TRUE(view.memo[0].startsWith("09:05:03"));
  EXPECT_TRUE(view.memo[0].endsWith(QStringLiteral(" > Файл ") + name + QStringLiteral(" сохранен")));
  EXPECT_EQ(view.busy, 0);
  EXPECT_TRUE(prompt.boxes().empty());

  // The file now exists: the question decides, and the dialog offers the last name.
  chooser.answer(dir.filePath("book"));
  prompt.answerNext(false);
  EXPECT_FALSE(exporter.ExportToXls(DataPage::Radio, set, 0, "D122SN00017"));
  EXPECT_EQ(chooser.lastRequest().fileName, "book.xls");
  EXPECT_THAT(prompt.texts(),
              ElementsAre(QStringLiteral("Файл ") + name + QStringLiteral(" уже существует.\r\nЗаменить?")));
  EXPECT_EQ(view.memo.size(), 1);
}

TEST_F(ExportCommandTest, RefusalsAndFailures) {
  EXPECT_FALSE(exporter.ExportToXls(DataPage::Usb, TMeasurementSet(), 0, ""));
  EXPECT_THAT(prompt.texts(), ElementsAre(QStringLiteral("Нет данных для сохранения!")));
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Warning);
  prompt.clear();
  EXPECT_FALSE(exporter.ExportToXls(DataPage::Radio, set, 0, ""));  // dialog cancelled
  EXPECT_TRUE(prompt.boxes().empty());

  const QString name = dir.filePath("missing/book.xls");
  chooser.answer(name);
  EXPECT_FALSE(exporter.ExportToXls(DataPage::Radio, set, 0, "D122SN00017"));
  EXPECT_THAT(prompt.texts(),
              ElementsAre(QStringLiteral("Файл ") + name + QStringLiteral(" занят другим приложением!")));
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Error);
  ASSERT_EQ(view.memo.size(), 1);
  EXPECT_TRUE(view.memo[0].endsWith(QStringLiteral(" > Файл ") + name + QStringLiteral(" занят другим приложением")));
  EXPECT_EQ(view.busy, 0);
}

// The workbook must open in a spreadsheet reader other than ours.
TEST(XlsExport, OpensInXlrd) {
  QString python;
  for (const QString& candidate : {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
    if (candidate.isEmpty() || !QFile::exists(candidate)) continue;
    QProcess probe;
    probe.start(candidate, {"-c", "import xlrd"});
    if (probe.waitForFinished(30000) && probe.exitCode() == 0) {
      python = candidate;
      break;
    }
  }
  if (python.isEmpty()) GTEST_SKIP() << "python3 with xlrd not installed";

  QTemporaryDir dir;
  XlsWriter w;
  w.setFileName(dir.filePath("book.xls"));
  ExcelExport::WriteSheet(w, DataPage::Radio, twoSensorsThreeMeasurements(), 0, "D122SN00017");
  w.end();
  ASSERT_TRUE(w.save());
  QProcess p;
  p.start(python, {"-c",
                   "import sys, xlrd\n"
                   "s = xlrd.open_workbook(sys.argv[1], encoding_override='cp1251').sheet_by_index(0)\n"
                   "for r in range(s.nrows):\n"
                   "  print('|'.join(str(c.value) for c in s.row(r)))\n",
                   w.fileName()});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  const QStringList rows = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  EXPECT_THAT(rows, ElementsAre("Logger TKL-1/100 RM \"D122SN00017\"|||", "Termokosa # -5|||", "|||",
                                "Nomer zamera:|1.0|2.0|3.0",
                                "Data, vremya:|05.03.2024 12:00:00|05.03.2024 20:00:00|06.03.2024 04:00:07",
                                "Datchik:|||", "1|21.5||-30.0", "2|-0.01|0.0|123.45"));
}

}  // namespace
