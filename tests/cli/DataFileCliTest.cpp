#include <gmock/gmock.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "../data/DataFileSamples.h"
#include "../graph/XlsRecords.h"
#include "TestSupport.h"
#include "data/DataFileWriter.h"
#include "graph/ExcelExport.h"
#include "graph/XlsWriter.h"

namespace {

struct CliRun {
  int exitCode = -1;
  QByteArray out, err;
};

CliRun cli(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(TUNDRA_CLI_PATH), args);
  CliRun r;
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

class DataFileCliTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(dir.filePath(name), bytes); }
  QTemporaryDir dir;
};

TEST_F(DataFileCliTest, WriteThenInfoJsonKeepsEveryValue) {
  TMeasurementSet set;
  samples::addLogger(set, {3, 2}, 4, 1);
  samples::addLogger(set, {2}, 2, 2);
  TRfLoggerArray loggers(2);
  loggers[0].LoggerId = QStringLiteral("D122SN00017");
  loggers[0].Comment = QStringLiteral("Скважина 3");
  loggers[1].LoggerId = QStringLiteral("D123SN00018");
  const QString name = write("two.tmd", DataFileWriter::radioBytes(set, loggers, samples::exampleWritten()));

  const CliRun r = cli({"info", name, "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  const QJsonObject o = QJsonDocument::fromJson(r.out).object();
  EXPECT_EQ(o["variant"].toString(), "radio");
  EXPECT_TRUE(o["end_reached"].toBool());
  EXPECT_TRUE(o["signature_ok"].toBool());
  EXPECT_EQ(o["damaged_lines"].toInt(), 0);
  const QJsonArray jl = o["loggers"].toArray();
  ASSERT_EQ(jl.size(), 2);
  EXPECT_EQ(jl[0]["id"].toString(), "D122SN00017");
  EXPECT_EQ(jl[0]["comment"].toString(), QStringLiteral("Скважина 3"));
  EXPECT_EQ(jl[0]["firmware"].toString(), "n/a");
  for (int i = 0; i < 2; ++i) {
    const QJsonArray strings = jl[i]["strings"].toArray();
    ASSERT_EQ(strings.size(), set.tkCount(i));
    for (int k = 0; k < set.tkCount(i); ++k) {
      const QJsonObject s = strings[k].toObject();
      EXPECT_EQ(s["type"].toInt(), set.TkType[i][k]);
      EXPECT_EQ(s["serial"].toInt(), set.TkSn[i][k]);
      const QJsonArray positions = s["positions"].toArray();
      ASSERT_EQ(positions.size(), set.sensorCount(i, k));
      for (int j = 0; j < positions.size(); ++j) EXPECT_EQ(positions[j].toInt(), set.Distance[i][k][j]);
      const QJsonArray ms = s["measurements"].toArray();
      ASSERT_EQ(ms.size(), set.measurementCount(i, k));
      for (int m = 0; m < ms.size(); ++m) {
        EXPECT_EQ(ms[m]["battery"].toInt(), set.BatteryVoltage[i][k][m]);
        const QJsonArray values = ms[m]["values"].toArray();
        ASSERT_EQ(values.size(), set.sensorCount(i, k));
        for (int j = 0; j < values.size(); ++j) EXPECT_EQ(values[j].toInt(), set.Temp[i][k][j][m]);
      }
    }
  }
  const QJsonArray first = jl[0]["strings"][0]["measurements"].toArray();
  EXPECT_EQ(first[0]["time"].toString(), "2025-02-01T00:00:00");
  EXPECT_EQ(first[1]["time"].toString(), "2025-02-01T01:00:00");

  EXPECT_EQ(cli({"verify", name}).exitCode, 0);
  const CliRun text = cli({"info", name});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.contains("logger D122SN00017")) << text.out.constData();
}

TEST_F(DataFileCliTest, DamagedAndUnsignedFilesAreReportedNotFatal) {
  QFile f(fixturePath("datafile/example.tmd"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QByteArray bytes = f.readAll();
  bytes.replace("2125 (056)", "2126 (056)");
  bytes.replace("05.03.24 20:00:00", "05.03.24 25:00:00");
  const QString name = write("damaged.tmd", bytes);
  const CliRun r = cli({"info", name, "--json"});
  EXPECT_EQ(r.exitCode, 0);
  const QJsonObject o = QJsonDocument::fromJson(r.out).object();
  EXPECT_EQ(o["damaged_lines"].toInt(), 1);
  EXPECT_FALSE(o["signature_ok"].toBool());
  EXPECT_EQ(o["loggers"][0]["strings"][0]["measurements"].toArray().size(), 1);

  const CliRun v = cli({"verify", name});
  EXPECT_EQ(v.exitCode, 1);
  EXPECT_EQ(v.out, "failed: 1 damaged lines, signature broken\n");

  // Unreadable to its end: reported and exit 1.
  bytes.replace(" 360V", " 3?0V");
  const CliRun cut = cli({"info", write("cut.tmd", bytes), "--json"});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_FALSE(QJsonDocument::fromJson(cut.out).object()["end_reached"].toBool());
  EXPECT_TRUE(cut.err.contains(QStringLiteral("Критическая ошибка при загрузке файла").toUtf8()));
}

TEST_F(DataFileCliTest, FailuresAndUsage) {
  const CliRun missing = cli({"info", dir.filePath("none.tmd")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.err.contains(QStringLiteral("Отказано в доступе к").toUtf8())) << missing.err.constData();
  const CliRun refused = cli({"info", dir.filePath("data.txt")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.err.contains(QStringLiteral("не поддерживается!").toUtf8()));
  for (const QStringList& args : {QStringList{"info"}, QStringList{"info", "a.tmd", "--yaml"},
                                  QStringList{"info", "a.tmd", "b.tmd"}, QStringList{"export-xls", "a.tmd"},
                                  QStringList{"export-xls", "a.tmd", "b.xls", "--logger", "x"}, QStringList{"verify"}})
    EXPECT_EQ(cli(args).exitCode, 2) << args.join(' ').toStdString();
}

TEST_F(DataFileCliTest, ExportXlsWritesTheSameWorkbookAsTheProgram) {
  TMeasurementSet set;
  samples::addLogger(set, {2}, 3, 1);
  samples::addLogger(set, {4}, 5, 2);
  TRfLoggerArray loggers(2);
  loggers[0].LoggerId = QStringLiteral("D122SN00017");
  loggers[1].LoggerId = QStringLiteral("D124SN00018");
  const QString name = write("two.tmd", DataFileWriter::radioBytes(set, loggers, samples::exampleWritten()));
  const QString out = dir.filePath("out.xls");
  const CliRun r = cli({"export-xls", name, out, "--logger", "1"});
  ASSERT_EQ(r.exitCode, 0) << r.err.constData();

  XlsWriter expected;
  ExcelExport::WriteSheet(expected, DataPage::Radio, set, 1, loggers[1].LoggerId);
  expected.end();
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  // Row 5 holds dates in the regional short form, which is the tool's locale, not this
  // test's; every other record must agree exactly.
  const auto withoutDates = [](const QByteArray& book) {
    QStringList records = describeAll(book);
    const qsizetype all = records.size();
    records.removeIf([](const QString& r) { return r.startsWith("LABEL 5,") && r != "LABEL 5,1 Data, vremya:"; });
    EXPECT_EQ(all - records.size(), 5);
    return records;
  };
  const QByteArray got = f.readAll();
  EXPECT_EQ(withoutDates(got), withoutDates(expected.buffer()));
  EXPECT_TRUE(got.contains("Logger TKL-2-GSM \"D124SN00018\""));

  EXPECT_EQ(cli({"export-xls", name, out, "--logger", "2"}).exitCode, 1);
}

}  // namespace
