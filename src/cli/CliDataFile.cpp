#include "cli/CliDataFile.h"

#include <cstdio>

#include "app/Clock.h"
#include "data/DataFileLoader.h"
#include "data/DayCount.h"

void CliError(const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

bool CliReadDataFile(const QString& fileName, DataFileContent& content) {
  if (!DataFileLoader::IsDataFileName(fileName)) {
    CliError(DataFileLoader::UnsupportedText(fileName));
    return false;
  }
  QByteArray bytes;
  bool complete = false;
  QString reason;
  if (!DataFileLoader::ReadWholeFile(fileName, bytes, complete, reason)) {
    CliError(DataFileLoader::AccessDeniedText(fileName, Clock::system()) + QStringLiteral(" (") + reason +
             QLatin1Char(')'));
    return false;
  }
  content = DataFileParser(DataFileParser::currentCenturyBase())
                .parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (!complete) {
    content.endReached = false;
    content.errorText = reason;
  }
  return true;
}

QString CliIsoTime(double value) {
  const DayCount t = DayCount::split(value);
  return QStringLiteral("%1-%2-%3T%4:%5:%6")
      .arg(t.date.year(), 4, 10, QLatin1Char('0'))
      .arg(t.date.month(), 2, 10, QLatin1Char('0'))
      .arg(t.date.day(), 2, 10, QLatin1Char('0'))
      .arg(t.hour(), 2, 10, QLatin1Char('0'))
      .arg(t.minute(), 2, 10, QLatin1Char('0'))
      .arg(t.second(), 2, 10, QLatin1Char('0'));
}
