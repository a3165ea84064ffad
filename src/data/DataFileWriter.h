#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <cstdint>

#include "data/MeasurementSet.h"
#include "radio/RfLogger.h"

class Clock;
class QIODevice;
class UserPrompt;

/// Appends one data-file line (text, then CR LF) to out and runs the CRC-8 register over
/// it. endsRecord: the register's value is appended to the text as " (nnn)" and the register
/// restarts at 0; otherwise CR LF join the register after the text. So a check value covers
/// every line written since the register was last set to 0, with their line breaks.
void WriteSignedLine(QByteArray& out, QByteArrayView text, uint8_t& crcRegister, bool endsRecord);

/// Writes the signed text data files (*.tmd) in Windows-1251. The radio variant writes
/// every selected logger of the radio set whose first thermal string has a sensor; the USB
/// variant the one logger of the USB set. Output goes to the device in chunks, so a large set
/// never needs a second copy in memory.
class DataFileWriter {
 public:
  /// Width of the right-aligned number fields when writing; every 16-bit value fits with at
  /// least one leading space.
  static constexpr int ValueFieldWidth = 7;

  explicit DataFileWriter(QIODevice& out) : out_(out) {}

  /// written: date and time of line 1. false when a write to the device failed.
  bool writeRadio(const TMeasurementSet& set, const TRfLoggerArray& loggers, const QDateTime& written);
  bool writeUsb(const TMeasurementSet& set, const QString& loggerId, const QDateTime& written);

  /// The whole file in memory (tests, tools).
  static QByteArray radioBytes(const TMeasurementSet& set, const TRfLoggerArray& loggers, const QDateTime& written);
  static QByteArray usbBytes(const TMeasurementSet& set, const QString& loggerId, const QDateTime& written);

  /// "D122SN00017" -> "D122 SN 00017", the identity as the logger line shows it.
  static QString SpacedLoggerId(const QString& loggerId);

 private:
  void writeHead(bool usb, const QDateTime& written);
  void writeLogger(const TMeasurementSet& set, int logger, const QByteArray& loggerLine);
  bool flush(bool force);

  QIODevice& out_;
  QByteArray buf_;
  bool ok_ = true;
};

/// The writer as the save commands run it: makes the file's folder (one level), writes the
/// file under a temporary name and renames it over any earlier file only when every byte
/// was written, so a failed save leaves an earlier file as it was. Messages (when
/// showErrors) go to prompt. True when the file was written completely.
bool WriteRadioDataFile(const QString& fileName, bool showErrors, const TMeasurementSet& set,
                        const TRfLoggerArray& loggers, UserPrompt& prompt, const Clock& clock);
bool WriteUsbDataFile(const QString& fileName, bool showErrors, const TMeasurementSet& set, const QString& loggerId,
                      UserPrompt& prompt, const Clock& clock);
