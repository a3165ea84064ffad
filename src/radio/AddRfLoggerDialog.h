#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;

/// The add-radio-logger dialog (TFormAddRfLogger): model choice and serial number. One
/// instance lives for the whole run and keeps its values from one use to the next.
class TFormAddRfLogger : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAddRfLogger(QWidget* parent = nullptr);

  /// Index into RfLoggerListEditor::ModelChoices().
  int modelChoice() const;
  int serial() const;
  void setModelChoice(int index);
  void setSerial(int serial);

 private:
  QComboBox* ComboBoxRfLoggerType;
  QSpinBox* JvSpinEditRfLoggerSN;
};
