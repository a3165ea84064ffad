#include "app/PrgSettingsDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

PrgSettingsDialog::PrgSettingsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormPrgSettings"));
  setWindowTitle(QStringLiteral("Настройки программы"));
  setMinimumSize(369, 152);
  resize(369, 152);

  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral(" Расположение файлов "));
  auto* g = new QVBoxLayout(group);
  g->addWidget(new QLabel(QStringLiteral("Файлы данных:")));
  g->addWidget(folderField(dataDir_, QStringLiteral("JvDirectoryEditDataDir")));
  g->addWidget(new QLabel(QStringLiteral("Список логгеров для радиоканала:")));
  g->addWidget(folderField(devListDir_, QStringLiteral("JvDirectoryEditDevListDir")));
  layout->addWidget(group);

  // Kept for compatibility with stored forms; it has no effect and is never shown.
  auto* excel = new QCheckBox(QStringLiteral("На компьютере установлен Microsoft Excel"), this);
  excel->setVisible(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* cancel = new QPushButton(QStringLiteral("Отмена"));
  auto* apply = new QPushButton(QStringLiteral("Применить"));
  apply->setDefault(true);
  buttons->addWidget(cancel);
  buttons->addWidget(apply);
  layout->addLayout(buttons);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply, &QPushButton::clicked, this, &QDialog::accept);
}

QWidget* PrgSettingsDialog::folderField(QLineEdit*& edit, const QString& name) {
  auto* box = new QWidget;
  auto* h = new QHBoxLayout(box);
  h->setContentsMargins(0, 0, 0, 0);
  edit = new QLineEdit;
  edit->setObjectName(name);
  auto* browse = new QToolButton;
  browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  browse->setToolTip(QStringLiteral("Выбрать папку"));
  h->addWidget(edit, 1);
  h->addWidget(browse);
  QLineEdit* target = edit;
  connect(browse, &QToolButton::clicked, this, [this, target] {
    const QString dir = QFileDialog::getExistingDirectory(this, QString(), target->text());
    if (!dir.isEmpty()) target->setText(dir);
  });
  return box;
}

bool PrgSettingsDialog::edit(QString& dataFilesDir, QString& deviceListDir) {
  dataDir_->setText(dataFilesDir);
  devListDir_->setText(deviceListDir);
  if (exec() != QDialog::Accepted) return false;
  deviceListDir = devListDir_->text();
  dataFilesDir = dataDir_->text();
  return true;
}
