#include "radio/AddRfLoggerDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "radio/RfLoggerListEditor.h"

TFormAddRfLogger::TFormAddRfLogger(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormAddRfLogger"));
  setWindowTitle(QStringLiteral("Добавление радиологгера"));
  setModal(true);

  // Only the two radio models can be added; the choice takes no typed text, so an
  // identifier without a model can never be built.
  ComboBoxRfLoggerType = new QComboBox(this);
  ComboBoxRfLoggerType->setObjectName(QStringLiteral("ComboBoxRfLoggerType"));
  ComboBoxRfLoggerType->addItems(RfLoggerListEditor::ModelChoices());
  ComboBoxRfLoggerType->setCurrentIndex(0);

  JvSpinEditRfLoggerSN = new QSpinBox(this);
  JvSpinEditRfLoggerSN->setObjectName(QStringLiteral("JvSpinEditRfLoggerSN"));
  JvSpinEditRfLoggerSN->setRange(1, 99999);
  JvSpinEditRfLoggerSN->setValue(1);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Исполнение логгера:"), ComboBoxRfLoggerType);
  form->addRow(QStringLiteral("Серийный №:"), JvSpinEditRfLoggerSN);

  auto* ok = new QPushButton(QStringLiteral("ОК"), this);
  ok->setObjectName(QStringLiteral("ButtonOk"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

int TFormAddRfLogger::modelChoice() const { return ComboBoxRfLoggerType->currentIndex(); }
int TFormAddRfLogger::serial() const { return JvSpinEditRfLoggerSN->value(); }
void TFormAddRfLogger::setModelChoice(int index) { ComboBoxRfLoggerType->setCurrentIndex(index); }
void TFormAddRfLogger::setSerial(int serial) { JvSpinEditRfLoggerSN->setValue(serial); }
