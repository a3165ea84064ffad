#pragma once

#include <QDialog>

class QLineEdit;

/// The program settings dialog: the two working folders. Nothing is validated; a folder
/// that does not exist simply makes the next file dialog start elsewhere.
class PrgSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PrgSettingsDialog(QWidget* parent = nullptr);

  /// Shows the folders, runs the dialog modally, and on "Применить" stores the typed texts
  /// back into the two arguments. Returns whether it was confirmed.
  bool edit(QString& dataFilesDir, QString& deviceListDir);

  QLineEdit* dataDirEdit() const { return dataDir_; }
  QLineEdit* devListDirEdit() const { return devListDir_; }

 private:
  QWidget* folderField(QLineEdit*& edit, const QString& name);

  QLineEdit* dataDir_ = nullptr;
  QLineEdit* devListDir_ = nullptr;
};
