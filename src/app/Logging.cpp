#include "app/Logging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>

#include "app/DateTimeValue.h"
#include "app/UserPrompt.h"

namespace {
std::atomic<bool> g_loggingOn{false};
}

bool LoggingOn() { return g_loggingOn.load(std::memory_order_relaxed); }
void SetLoggingOn(bool on) { g_loggingOn.store(on, std::memory_order_relaxed); }

bool LoggingMarkerPresent(const QString& programDir) {
  return QFileInfo::exists(QDir(programDir).filePath(QStringLiteral("logging.on")));
}

QString DefaultLogFileName() {
  const QFileInfo exe(QCoreApplication::applicationFilePath());
  return exe.dir().filePath(exe.completeBaseName() + QStringLiteral(".log"));
}

bool WriteLogLine(const QString& message, const QString& fileName) {
  QFile file(fileName.isEmpty() ? DefaultLogFileName() : fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  const QByteArray line =
      (DateTimeValue::traceStamp(QDateTime::currentDateTime()) + QStringLiteral(": ") + message + QStringLiteral("\r\n"))
          .toLocal8Bit();
  const bool ok = file.write(line) == line.size() && file.flush();
  file.close();
  return ok;
}

char bin2char(uint8_t value, UserPrompt* prompt) {
  if (value <= 9) return static_cast<char>('0' + value);
  if (value <= 15) return static_cast<char>('A' + value - 10);
  if (prompt) prompt->plain(QStringLiteral("В данных (bin2char) обнаружены недопустимые значения!"));
  return '0';
}

bool WriteHexDump(const uint8_t* data, size_t count, const QString& fileName) {
  QString line;
  line.reserve(static_cast<qsizetype>(count * 3));
  for (size_t i = 0; i < count; ++i) {
    line += QLatin1Char(bin2char(data[i] >> 4));
    line += QLatin1Char(bin2char(data[i] & 0x0F));
    line += QLatin1Char(' ');
  }
  return WriteLogLine(line, fileName);
}
