#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

#include "radio/RfLogger.h"

/// Logger list files (*.lst): one LoggerId per line in list order, CR LF line ends,
/// Windows-1251, nothing else. Reading accepts only well-formed identifiers of models 121 to
/// 124 and skips every other line without a word; duplicates are kept.
class RfLoggerListFile {
 public:
  /// The line as it would enter the list (trimmed of blanks and control characters, case
  /// kept), or empty when the line is not a logger identifier.
  static QString AcceptedLine(const QString& line);

  /// Entries of a file's bytes, each with Status 0 and Selected true.
  static TRfLoggerArray Parse(std::string_view bytes);
  /// Bytes of a list file holding every entry, selected or not.
  static QByteArray Serialize(const TRfLoggerArray& list);

  /// Reads fileName into list. False when the file cannot be opened; list is then unchanged.
  static bool Load(const QString& fileName, TRfLoggerArray& list);
  /// Writes list to fileName, replacing an existing file only once the new one is complete.
  static bool Save(const QString& fileName, const TRfLoggerArray& list);

  /// Warnings shown when a list file cannot be opened or written.
  static QString OpenFailedText(const QString& fileName);
  static QString SaveFailedText(const QString& fileName);
};
