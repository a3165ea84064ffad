#include "cli/CliDataFile.h"

#include <QDate>

#include <cmath>
#include <cstdio>

#include "app/Clock.h"
#include "data/DataFileLoader.h"

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
  // Plain calendar arithmetic: no time zone may move a stored time.
  const qint64 totalMs = static_cast<qint64>(std::llround(value * 86400000.0));
  qint64 days = totalMs / 86400000;
  qint64 ms = totalMs % 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  const QDate date = QDate(1899, 12, 30).addDays(days);
  const int secs = static_cast<int>(ms / 1000);
  return QStringLiteral("%1-%2-%3T%4:%5:%6")
      .arg(date.year(), 4, 10, QLatin1Char('0'))
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.day(), 2, 10, QLatin1Char('0'))
      .arg(secs / 3600, 2, 10, QLatin1Char('0'))
      .arg(secs / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(secs % 60, 2, 10, QLatin1Char('0'));
}
