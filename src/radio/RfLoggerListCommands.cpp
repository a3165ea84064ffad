#include "radio/RfLoggerListCommands.h"

#include "app/UserPrompt.h"
#include "radio/RfLoggerListFile.h"
#include "radio/RfLoggerListHost.h"
#include "radio/RfLoggerRows.h"

void RfLoggerListCommands::ShowLoggerList(bool warnIfEmpty) {
  host_.FreeAllDynamicVariable(false, true);
  rows_.FillDevList(host_.RadioSet());
  const bool empty = rows_.list().empty();
  if (empty && warnIfEmpty) prompt_.warning(QStringLiteral("Список логгеров пуст!"));
  rows_.ShowListRows();
  if (empty) host_.FillRfDataGrid(-1);
}

bool RfLoggerListCommands::releaseRadioData() {
  if (host_.RadioState() == RadioStateFileData) {
    // Data from a file belongs to that file's loggers: they go with it.
    if (!host_.FreeAllDynamicVariable(true, true)) return false;
    rows_.list().clear();
    ShowLoggerList(false);
    return true;
  }
  return host_.FreeAllDynamicVariable(true, false);
}

void RfLoggerListCommands::ChangeLoggerList() {
  if (!releaseRadioData()) return;
  host_.ActivateRadioPage();
  host_.UpdateControls();
  host_.ShowListEditor();
  ShowLoggerList(true);
  host_.ActivateRadioPage();
  host_.UpdateControls();
}

FileChooser::Request RfLoggerListCommands::DialogRequest() const {
  FileChooser::Request request;
  request.folder = host_.DeviceListDir();
  request.filter = QStringLiteral("Файл списка логгеров (*.lst)");
  request.defaultSuffix = QStringLiteral("lst");
  return request;
}

void RfLoggerListCommands::OpenListFile(FileChooser& chooser) {
  const FileChooser::Request request = DialogRequest();
  host_.ActivateRadioPage();
  host_.UpdateControls();
  const QString fileName = chooser.openFileName(request);
  if (fileName.isEmpty()) return;
  if (!releaseRadioData()) return;
  host_.ActivateRadioPage();
  host_.UpdateControls();
  TRfLoggerArray loaded;
  if (!RfLoggerListFile::Load(fileName, loaded)) {
    prompt_.warning(RfLoggerListFile::OpenFailedText(fileName));
    return;
  }
  rows_.list() = std::move(loaded);
  ShowLoggerList(false);
  host_.ActivateRadioPage();
  host_.UpdateControls();
}

void RfLoggerListCommands::SaveListFile(FileChooser& chooser) {
  const FileChooser::Request request = DialogRequest();
  host_.ActivateRadioPage();
  host_.UpdateControls();
  const QString fileName = chooser.saveFileName(request);
  if (fileName.isEmpty()) return;
  if (!RfLoggerListFile::Save(fileName, rows_.list())) {
    prompt_.warning(RfLoggerListFile::SaveFailedText(fileName));
    return;
  }
  host_.ActivateRadioPage();
  host_.UpdateControls();
}
