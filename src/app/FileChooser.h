#pragma once

#include <QString>
#include <QStringList>

/// The open and save file dialogs as logic sees them. The GUI shows the platform dialogs;
/// tests answer from a script. An empty result means the user cancelled.
class FileChooser {
 public:
  struct Request {
    QString title;
    QString folder;         ///< folder the dialog starts in
    QString fileName;       ///< proposed name (save dialogs)
    QString filter;         ///< e.g. "Файлы данных (*.tmd)"
    QString defaultSuffix;  ///< without the dot, added when the user typed none
  };

  virtual ~FileChooser() = default;
  virtual QString openFileName(const Request& request) = 0;
  virtual QString saveFileName(const Request& request) = 0;
};

/// FileChooser for tests and scripted runs: returns queued answers in order, then empty.
class ScriptedFileChooser : public FileChooser {
 public:
  void answer(const QString& path) { answers_.append(path); }
  QString openFileName(const Request& request) override { return take(request); }
  QString saveFileName(const Request& request) override { return take(request); }
  const Request& lastRequest() const { return last_; }

 private:
  QString take(const Request& request) {
    last_ = request;
    return answers_.isEmpty() ? QString() : answers_.takeFirst();
  }
  QStringList answers_;
  Request last_;
};
