#include "data/DataFileWriter.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <charconv>
#include <cmath>
#include <functional>

#include "app/Clock.h"
#include "app/Cp1251.h"
#include "app/DateTimeValue.h"
#include "app/UserPrompt.h"
#include "data/Crc8.h"
#include "data/DayCount.h"

namespace {

constexpr qsizetype kChunk = 1 << 20;

// Right-aligns value in a field of width characters; a longer number is written whole.
char* putNumber(char* p, int value, int width) {
  char digits[16];
  const auto res = std::to_chars(digits, digits + sizeof digits, value);
  const int len = static_cast<int>(res.ptr - digits);
  for (int i = len; i < width; ++i) *p++ = ' ';
  for (int i = 0; i < len; ++i) *p++ = digits[i];
  return p;
}

char* putTwo(char* p, int value) {
  *p++ = static_cast<char>('0' + value / 10 % 10);
  *p++ = static_cast<char>('0' + value % 10);
  return p;
}

// "dd.mm.yy hh:nn:ss" of a day count.
char* putStamp(char* p, double value) {
  const DayCount t = DayCount::split(value);
  p = putTwo(p, t.date.day());
  *p++ = '.';
  p = putTwo(p, t.date.month());
  *p++ = '.';
  p = putTwo(p, ((t.date.year() % 100) + 100) % 100);
  *p++ = ' ';
  p = putTwo(p, t.hour());
  *p++ = ':';
  p = putTwo(p, t.minute());
  *p++ = ':';
  return putTwo(p, t.second());
}

// A thermal-string serial is the logger's unsigned 16-bit number kept in a signed field;
// written as that number it always fits the five zero-filled digits the reader takes.
QByteArray serialField(int16_t serial) {
  QByteArray digits = QByteArray::number(static_cast<uint16_t>(serial));
  while (digits.size() < 5) digits.prepend('0');
  return digits;
}

bool writeDataFile(const QString& fileName, bool showErrors, UserPrompt& prompt, const QString& busyText,
                   const std::function<bool(DataFileWriter&)>& body) {
  const QFileInfo info(fileName);
  const QDir folder = info.absoluteDir();
  if (!folder.exists()) QDir().mkdir(folder.absolutePath());
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    if (showErrors) prompt.error(busyText);
    return false;
  }
  DataFileWriter writer(file);
  if (!body(writer) || !file.commit()) {
    file.cancelWriting();
    if (showErrors)
      prompt.error(QStringLiteral("Критическая ошибка при сохранении файла ") + fileName + QLatin1Char('!'));
    return false;
  }
  return true;
}

}  // namespace

void WriteSignedLine(QByteArray& out, QByteArrayView text, uint8_t& crcRegister, bool endsRecord) {
  crcRegister = Crc8::compute(text.data(), static_cast<size_t>(text.size()), crcRegister);
  out.append(text);
  if (endsRecord) {
    char suffix[6] = {
        ' ', '(', char('0' + crcRegister / 100), char('0' + crcRegister / 10 % 10), char('0' + crcRegister % 10), ')'};
    out.append(suffix, 6);
    crcRegister = 0;
  } else {
    static const char kCrLf[2] = {'\r', '\n'};
    crcRegister = Crc8::compute(kCrLf, 2, crcRegister);
  }
  out.append("\r\n", 2);
}

QString DataFileWriter::SpacedLoggerId(const QString& loggerId) {
  // A space before the 5th character, then one before the 8th of the result; a short
  // identity gets its spaces at the end.
  QString text = loggerId;
  text.insert(std::min<qsizetype>(4, text.size()), QLatin1Char(' '));
  text.insert(std::min<qsizetype>(7, text.size()), QLatin1Char(' '));
  return text;
}

bool DataFileWriter::flush(bool force) {
  if (buf_.isEmpty() || (!force && buf_.size() < kChunk)) return ok_;
  if (ok_ && out_.write(buf_) != buf_.size()) ok_ = false;
  buf_.clear();
  return ok_;
}

void DataFileWriter::writeHead(bool usb, const QDateTime& written) {
  buf_.reserve(kChunk + 64 * 1024);
  char stamp[17];
  putStamp(stamp, DateTimeValue::fromQDateTime(written));
  QByteArray first =
      usb ? QByteArray("//[tmd] Created by Tundrabase (USB) ") : QByteArray("//[tmd] Created by Tundrabase ");
  first.append(stamp, 17);
  for (const QByteArray& line :
       {first,
        Cp1251::encode(
            QStringLiteral("//Предупреждение: Внесение изменений в данные приведет к нарушению электронной подписи")),
        Cp1251::encode(QStringLiteral("//Комментарии:")), QByteArray("//")}) {
    buf_.append(line);
    buf_.append("\r\n", 2);
  }
}

void DataFileWriter::writeLogger(const TMeasurementSet& set, int logger, const QByteArray& loggerLine) {
  uint8_t reg = 0;
  WriteSignedLine(buf_, QByteArrayView(), reg, false);
  WriteSignedLine(buf_, loggerLine, reg, false);
  std::vector<char> line;
  for (int tk = 0; tk < set.tkCount(logger); ++tk) {
    if (tk > 0) {
      reg = 0;
      WriteSignedLine(buf_, QByteArrayView(), reg, false);
    }
    const auto& distances = set.Distance[logger][tk];
    const auto& series = set.Temp[logger][tk];
    const size_t sensors = distances.size();
    // Longest line: stamp, battery, fields of at most 7 characters each.
    line.resize(64 + 8 * sensors);

    QByteArray tkLine = "T" + QByteArray::number(set.TkType[logger][tk]) + "   SN " +
                        serialField(set.TkSn[logger][tk]) + QByteArray(9, ' ');
    {
      char* p = line.data();
      for (const int16_t d : distances) p = putNumber(p, d, ValueFieldWidth);
      tkLine.append(line.data(), p - line.data());
    }
    WriteSignedLine(buf_, tkLine, reg, false);

    const auto& times = set.MeasTime[logger][tk];
    const auto& battery = set.BatteryVoltage[logger][tk];
    for (size_t m = 0; m < times.size(); ++m) {
      char* p = putStamp(line.data(), times[m]);
      p = putNumber(p, battery[m], 5 - 1);
      *p++ = 'V';
      for (size_t s = 0; s < sensors; ++s) p = putNumber(p, series[s][m], ValueFieldWidth);
      WriteSignedLine(buf_, QByteArrayView(line.data(), p - line.data()), reg, true);
      if (!flush(false)) return;
    }
  }
}

bool DataFileWriter::writeRadio(const TMeasurementSet& set, const TRfLoggerArray& loggers, const QDateTime& written) {
  writeHead(false, written);
  for (int i = 0; i < set.loggerCount() && i < static_cast<int>(loggers.size()); ++i) {
    if (!loggers[i].Selected || !set.hasData(i)) continue;
    // A comment is one line of the file; a line break in it would split the logger line.
    QString comment = loggers[i].Comment;
    comment.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    writeLogger(set, i, Cp1251::encode(SpacedLoggerId(loggers[i].LoggerId) + QStringLiteral(" © ") + comment));
    if (!ok_) break;
  }
  return flush(true);
}

bool DataFileWriter::writeUsb(const TMeasurementSet& set, const QString& loggerId, const QDateTime& written) {
  writeHead(true, written);
  if (set.hasData(0)) writeLogger(set, 0, Cp1251::encode(SpacedLoggerId(loggerId) + QStringLiteral(" © ")));
  return flush(true);
}

QByteArray DataFileWriter::radioBytes(const TMeasurementSet& set, const TRfLoggerArray& loggers,
                                      const QDateTime& written) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  DataFileWriter(buffer).writeRadio(set, loggers, written);
  return buffer.data();
}

QByteArray DataFileWriter::usbBytes(const TMeasurementSet& set, const QString& loggerId, const QDateTime& written) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  DataFileWriter(buffer).writeUsb(set, loggerId, written);
  return buffer.data();
}

bool WriteRadioDataFile(const QString& fileName, bool showErrors, const TMeasurementSet& set,
                        const TRfLoggerArray& loggers, UserPrompt& prompt, const Clock& clock) {
  return writeDataFile(fileName, showErrors, prompt,
                       QStringLiteral("Файл ") + fileName + QStringLiteral(" занят другим приложением."),
                       [&](DataFileWriter& w) { return w.writeRadio(set, loggers, clock.now()); });
}

bool WriteUsbDataFile(const QString& fileName, bool showErrors, const TMeasurementSet& set, const QString& loggerId,
                      UserPrompt& prompt, const Clock& clock) {
  return writeDataFile(fileName, showErrors, prompt,
                       QStringLiteral("Файл ") + fileName + QStringLiteral(" занят другим приложением"),
                       [&](DataFileWriter& w) { return w.writeUsb(set, loggerId, clock.now()); });
}
