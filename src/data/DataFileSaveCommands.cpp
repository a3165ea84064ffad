#include "data/DataFileSaveCommands.h"

#include <QFileInfo>

#include "app/FileChooser.h"
#include "app/UserPrompt.h"
#include "data/ChangeFileExt.h"
#include "data/DataFileWriter.h"

namespace {
const QString kNothingToSave = QStringLiteral("Нет данных для сохранения ") + QLatin1Char('!');
}  // namespace

DataFileSaveCommands::DataFileSaveCommands(FileChooser& chooser, UserPrompt& prompt, DataSaveView& view,
                                           const Clock& clock, QString initialFolder)
    : chooser_(chooser), prompt_(prompt), view_(view), clock_(clock), folder_(std::move(initialFolder)) {}

QString DataFileSaveCommands::chooseFile() {
  FileChooser::Request request;
  request.folder = folder_;
  request.fileName = lastName_;
  request.filter = QStringLiteral("*.tmd (*.tmd);;Все файлы (*)");
  request.defaultSuffix = QStringLiteral("tmd");
  const QString chosen = chooser_.saveFileName(request);
  if (chosen.isEmpty()) return {};
  const QString name = ChangeFileExt(chosen, QStringLiteral(".tmd"));
  lastName_ = QFileInfo(name).fileName();
  folder_ = QFileInfo(name).absolutePath();
  if (QFileInfo::exists(name) && !prompt_.question(QStringLiteral("Файл ") + name + QStringLiteral(" уже существует.") +
                                                   QStringLiteral("\r\n") + QStringLiteral("Заменить?")))
    return {};
  return name;
}

bool DataFileSaveCommands::ActionRfSaveDataToFile(const TMeasurementSet& radioSet, const TRfLoggerArray& loggers,
                                                  int radioReceivedCount, bool& dataSaved,
                                                  const QString& dataFilesDir) {
  view_.showRadioPage();
  view_.updateControls();
  if (view_.radioCommandRunning()) {
    prompt_.error(QStringLiteral("Дождитесь завершения предыдущей команды!"));
    return false;
  }
  if (radioReceivedCount == 0) {
    prompt_.error(kNothingToSave);
    return false;
  }
  folder_ = dataFilesDir;
  const QString name = chooseFile();
  if (name.isEmpty()) return false;
  view_.setBusyCursor(true);
  const bool ok = WriteRadioDataFile(name, true, radioSet, loggers, prompt_, clock_);
  view_.setBusyCursor(false);
  if (!ok) return false;
  dataSaved = true;
  view_.showRadioPage();
  view_.updateControls();
  return true;
}

bool DataFileSaveCommands::ActionUsbSaveDataToFile(const TMeasurementSet& usbSet, const QString& loggerId,
                                                   int usbReceivedCount, bool& dataSaved) {
  if (usbReceivedCount == 0) {
    prompt_.error(kNothingToSave);
    return false;
  }
  const QString name = chooseFile();
  if (name.isEmpty()) return false;
  view_.setBusyCursor(true);
  const bool ok = WriteUsbDataFile(name, true, usbSet, loggerId, prompt_, clock_);
  view_.setBusyCursor(false);
  if (!ok) return false;
  dataSaved = true;
  view_.showUsbPage();
  view_.updateControls();
  return true;
}
