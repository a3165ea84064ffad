#pragma once

#include "app/FileChooser.h"

class QWidget;

/// FileChooser shown as the platform's file dialogs.
class FileChooserDialog : public FileChooser {
 public:
  explicit FileChooserDialog(QWidget* parent = nullptr) : parent_(parent) {}
  QString openFileName(const Request& request) override;
  QString saveFileName(const Request& request) override;

 private:
  QWidget* parent_;
};
