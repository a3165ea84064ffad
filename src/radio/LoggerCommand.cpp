#include "radio/LoggerCommand.h"

namespace LoggerCommand {

QByteArray idBytes(const QString& loggerId) { return loggerId.toLatin1(); }

namespace {
QByteArray withTail(const QString& loggerId, const char* tail, int tailLength) {
  QByteArray command = idBytes(loggerId);
  command.append(tail, tailLength);
  return command;
}
}  // namespace

QByteArray Header(const QString& loggerId) { return withTail(loggerId, "HEADER-", kTailLength); }

QByteArray DataBlock(const QString& loggerId, uint16_t start, uint16_t count) {
  const char tail[kTailLength] = {'D',
                                  static_cast<char>(start >> 8),
                                  static_cast<char>(start & 0xFF),
                                  static_cast<char>(count >> 8),
                                  static_cast<char>(count & 0xFF),
                                  '-',
                                  '-'};
  return withTail(loggerId, tail, kTailLength);
}

QByteArray ClockBytes(const QDateTime& time) {
  const QString text = time.toString(QStringLiteral("dd.MM.yy HH:mm:ss"));
  QByteArray bytes;
  for (int pos : {0, 3, 6, 9, 12, 15}) bytes.append(static_cast<char>(text.mid(pos, 2).toInt()));
  return bytes;
}

QByteArray SetClock(const QString& loggerId, const QDateTime& time) {
  QByteArray command = idBytes(loggerId);
  command.append('T');
  command.append(ClockBytes(time));
  return command;
}

QByteArray Erase(const QString& loggerId) { return withTail(loggerId, "ERASE--", kTailLength); }

QByteArray SetPeriod(const QString& loggerId, uint8_t hours) {
  const char tail[kTailLength] = {'P', static_cast<char>(hours), '-', '-', '-', '-', '-'};
  return withTail(loggerId, tail, kTailLength);
}

QByteArray Measure(const QString& loggerId) { return withTail(loggerId, "MEASE--", kTailLength); }

QByteArray SetChannel(const QString& loggerId, uint8_t channel) {
  const char tail[kTailLength] = {'C', static_cast<char>(channel), '-', '-', '-', '-', '-'};
  return withTail(loggerId, tail, kTailLength);
}

QString Printable(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    text += (b >= 0x20 && b <= 0x7E) ? QChar(b) : QChar(u'.');
  }
  return text;
}

}  // namespace LoggerCommand
