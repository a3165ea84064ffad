#include "app/FileChooserDialog.h"

#include <QDir>
#include <QFileDialog>

namespace {
QString run(QWidget* parent, const FileChooser::Request& r, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, r.title, r.folder, r.filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The program asks its own replace question where it has one.
  if (mode == QFileDialog::AcceptSave) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!r.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(r.defaultSuffix);
  if (!r.fileName.isEmpty()) dialog.selectFile(QDir(r.folder).filePath(r.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}
}  // namespace

QString FileChooserDialog::openFileName(const Request& request) { return run(parent_, request, QFileDialog::AcceptOpen); }

QString FileChooserDialog::saveFileName(const Request& request) { return run(parent_, request, QFileDialog::AcceptSave); }
