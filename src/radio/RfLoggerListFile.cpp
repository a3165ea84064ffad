#include "radio/RfLoggerListFile.h"

#include <QFile>
#include <QSaveFile>

#include "app/Cp1251.h"

namespace {
bool isBlankOrControl(QChar c) { return c.unicode() <= 0x20; }

bool allDigits(const QString& s, int from, int count) {
  for (int i = from; i < from + count; ++i)
    if (s.at(i) < QLatin1Char('0') || s.at(i) > QLatin1Char('9')) return false;
  return true;
}
}  // namespace

QString RfLoggerListFile::AcceptedLine(const QString& line) {
  qsizetype begin = 0;
  qsizetype end = line.size();
  while (begin < end && isBlankOrControl(line.at(begin))) ++begin;
  while (end > begin && isBlankOrControl(line.at(end - 1))) --end;
  const QString id = line.mid(begin, end - begin);
  // An identifier is also the logger's radio address, so only the full 11-character form
  // with plain digits enters the list; anything longer or signed would address no logger.
  if (id.size() != 11) return {};
  if (id.at(0) != QLatin1Char('D') && id.at(0) != QLatin1Char('d')) return {};
  if (id.mid(4, 2).toUpper() != QLatin1String("SN")) return {};
  if (!allDigits(id, 1, 3) || !allDigits(id, 6, 5)) return {};
  const int model = id.mid(1, 3).toInt();
  if (model < 121 || model > 124) return {};
  return id;
}

TRfLoggerArray RfLoggerListFile::Parse(std::string_view bytes) {
  TRfLoggerArray list;
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t end = start;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    // Lines end at CR, LF or CR LF. Blanks and control characters are the bytes up to 0x20
    // in Windows-1251 as in Unicode, so the line is trimmed before it is decoded and a huge
    // junk line costs one scan.
    std::string_view raw = bytes.substr(start, end - start);
    while (!raw.empty() && static_cast<unsigned char>(raw.front()) <= 0x20) raw.remove_prefix(1);
    while (!raw.empty() && static_cast<unsigned char>(raw.back()) <= 0x20) raw.remove_suffix(1);
    if (raw.size() == 11) {
      const QString id = AcceptedLine(Cp1251::decode(raw));
      if (!id.isEmpty()) {
        TRfLogger logger;
        logger.LoggerId = id;
        logger.Status = 0;
        logger.Selected = true;
        list.push_back(std::move(logger));
      }
    }
    if (end >= bytes.size()) break;
    start = end + 1;
  }
  return list;
}

QByteArray RfLoggerListFile::Serialize(const TRfLoggerArray& list) {
  QByteArray out;
  for (const TRfLogger& logger : list) {
    out += Cp1251::encode(logger.LoggerId);
    out += "\r\n";
  }
  return out;
}

bool RfLoggerListFile::Load(const QString& fileName, TRfLoggerArray& list) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  list = Parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  return true;
}

bool RfLoggerListFile::Save(const QString& fileName, const TRfLoggerArray& list) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = Serialize(list);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString RfLoggerListFile::OpenFailedText(const QString& fileName) {
  return QStringLiteral("\r\nНе удается открыть файл \"") + fileName +
         QStringLiteral("\",      \r\nпоскольку он используется другим приложением.");
}

QString RfLoggerListFile::SaveFailedText(const QString& fileName) {
  return QStringLiteral("\r\nНе удается сохранить файл \"") + fileName +
         QStringLiteral("\",      \r\nпоскольку он используется другим приложением.");
}
