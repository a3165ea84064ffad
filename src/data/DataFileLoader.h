#pragma once

#include <QString>

#include "data/DataFileParser.h"

class Clock;
class DataFileHost;
class FileChooser;
class UserPrompt;

/// Opening a data file in the main window: reads it with DataFileParser, asks about damage
/// and warns about a broken signature through the prompt, and puts the result on the radio
/// or the USB page through the host. User-interface thread only.
class DataFileLoader {
 public:
  DataFileLoader(UserPrompt& prompt, DataFileHost& host, const Clock& clock);

  /// ActionDataFileOpen: the open dialog in dataFilesDir, then DataFileOpen.
  void ActionDataFileOpen(FileChooser& chooser, const QString& dataFilesDir);

  enum class Outcome {
    Refused,    ///< name not a data file name; nothing changed
    NotOpened,  ///< file could not be opened; nothing changed
    Kept,       ///< data read and kept
    Discarded,  ///< data read and discarded after a question
  };
  /// DataFileOpen: the whole load.
  Outcome DataFileOpen(const QString& fileName);

  /// The name rule: the last three characters, in lower case, are "tmd".
  static bool IsDataFileName(const QString& fileName);

  /// The texts of the messages, shared with the command-line tool.
  static QString UnsupportedText(const QString& fileName);
  static QString AccessDeniedText(const QString& fileName, const Clock& clock);
  static QString CriticalErrorText(const QString& fileName);
  static QString DamagedText(const QString& fileName, int damagedCount);
  static QString NoSignatureText(const QString& fileName);

  /// Reads the whole file; false when it cannot be opened (error receives the reason).
  /// A read error after opening leaves readComplete false.
  static bool ReadWholeFile(const QString& fileName, QByteArray& bytes, bool& readComplete, QString& error);

 private:
  UserPrompt& prompt_;
  DataFileHost& host_;
  const Clock& clock_;
};
