#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliDataFile.h"
#include "data/DataFileLoader.h"

namespace {

struct LoggerView {
  QString id, firmware, comment;
  int index;  // in the set
};

std::vector<LoggerView> loggersOf(const DataFileContent& c) {
  std::vector<LoggerView> out;
  if (c.usbFile) {
    if (c.usbSet.loggerCount() > 0) out.push_back({c.usbHeader.loggerId, c.usbHeader.firmware, QString(), 0});
  } else {
    for (size_t i = 0; i < c.radioLoggers.size(); ++i)
      out.push_back({c.radioLoggers[i].LoggerId, c.radioLoggers[i].Firmware, c.radioLoggers[i].Comment, int(i)});
  }
  return out;
}

QJsonObject toJson(const DataFileContent& c) {
  const TMeasurementSet& set = c.set();
  QJsonArray loggers;
  for (const LoggerView& l : loggersOf(c)) {
    QJsonArray strings;
    for (int k = 0; k < set.tkCount(l.index); ++k) {
      QJsonArray positions;
      for (const int16_t d : set.Distance[l.index][k]) positions.append(d);
      QJsonArray measurements;
      const auto& series = set.Temp[l.index][k];
      for (int m = 0; m < set.measurementCount(l.index, k); ++m) {
        QJsonArray values;
        for (const auto& s : series) values.append(s[m]);
        measurements.append(QJsonObject{{"time", CliIsoTime(set.MeasTime[l.index][k][m])},
                                        {"battery", set.BatteryVoltage[l.index][k][m]},
                                        {"values", values}});
      }
      strings.append(QJsonObject{{"type", set.TkType[l.index][k]},
                                 {"serial", set.TkSn[l.index][k]},
                                 {"positions", positions},
                                 {"measurements", measurements}});
    }
    loggers.append(QJsonObject{{"id", l.id}, {"firmware", l.firmware}, {"comment", l.comment}, {"strings", strings}});
  }
  return QJsonObject{{"variant", c.usbFile ? "usb" : "radio"},
                     {"end_reached", c.endReached},
                     {"damaged_lines", c.damagedCount},
                     {"signature_ok", c.signatureOk},
                     {"loggers", loggers}};
}

void printText(const QString& fileName, const DataFileContent& c) {
  const TMeasurementSet& set = c.set();
  QString out;
  out += QStringLiteral("file: %1\n").arg(fileName);
  out += QStringLiteral("variant: %1\n").arg(c.usbFile ? "usb" : "radio");
  out += QStringLiteral("read to the end: %1\n").arg(c.endReached ? "yes" : "no");
  out += QStringLiteral("damaged lines: %1\n").arg(c.damagedCount);
  out += QStringLiteral("signature: %1\n").arg(c.signatureOk ? "good" : "broken");
  const auto loggers = loggersOf(c);
  out += QStringLiteral("loggers: %1\n").arg(loggers.size());
  for (const LoggerView& l : loggers) {
    out += QStringLiteral("logger %1, firmware %2, comment \"%3\"\n").arg(l.id, l.firmware, l.comment);
    for (int k = 0; k < set.tkCount(l.index); ++k) {
      const int m = set.measurementCount(l.index, k);
      out += QStringLiteral("  string %1: type %2, serial %3, %4 sensors, %5 measurements")
                 .arg(k)
                 .arg(set.TkType[l.index][k])
                 .arg(set.TkSn[l.index][k])
                 .arg(set.sensorCount(l.index, k))
                 .arg(m);
      if (m > 0)
        out += QStringLiteral(", %1 .. %2")
                   .arg(CliIsoTime(set.MeasTime[l.index][k].front()), CliIsoTime(set.MeasTime[l.index][k].back()));
      out += QLatin1Char('\n');
    }
  }
  std::fputs(out.toUtf8().constData(), stdout);
}

int usage() {
  std::fprintf(stderr, "usage: tundrabase-cli info FILE.tmd [--json]\n");
  return 2;
}

int runInfo(const QStringList& args) {
  QString fileName;
  bool json = false;
  for (const QString& a : args) {
    if (a == QStringLiteral("--json"))
      json = true;
    else if (a.startsWith(QStringLiteral("--")) || !fileName.isEmpty())
      return usage();
    else
      fileName = a;
  }
  if (fileName.isEmpty()) return usage();
  DataFileContent content;
  if (!CliReadDataFile(fileName, content)) return 1;
  if (json)
    std::fputs(QJsonDocument(toJson(content)).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
  else
    printText(fileName, content);
  if (!content.endReached) {
    CliError(DataFileLoader::CriticalErrorText(fileName).section(QStringLiteral("\r\n"), 0, 0) +
             (content.errorText.isEmpty() ? QString() : QStringLiteral(" (") + content.errorText + QLatin1Char(')')));
    return 1;
  }
  return 0;
}

const CliCommand kInfo("info", "info FILE.tmd [--json]", runInfo);

}  // namespace
