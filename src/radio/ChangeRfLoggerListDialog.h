#pragma once

#include <QDialog>

#include <functional>

#include "radio/RfLogger.h"
#include "radio/RfLoggerListEditor.h"

class QPushButton;
class QTableView;
class TFormAddRfLogger;
class UserPrompt;

/// The logger list editor (TFormChangeRfLoggerList): the grid StringGridCRLList of the
/// list and the buttons "Добавить...", "Удалить" and "Закрыть". It edits the main window's
/// list in place; the caller rebuilds the logger grid when it closes.
class TFormChangeRfLoggerList : public QDialog {
  Q_OBJECT

 public:
  TFormChangeRfLoggerList(TRfLoggerArray& list, UserPrompt& prompt, TFormAddRfLogger& addDialog,
                          QWidget* parent = nullptr);

  /// Refills the grid from the list (InitLoggersStingGrid).
  void InitLoggersStingGrid();
  /// "Добавить...": runs the add dialog; on OK adds the logger when it is not there yet.
  /// The dialog is run through runAddDialog when set (tests), else with exec().
  void ButtonAddRfLoggerClick();
  /// "Удалить": asks and removes the logger of the selected row.
  void ButtonRemoveRfLoggerClick();
  void setAddDialogRunner(std::function<bool(TFormAddRfLogger&)> runner) { runAddDialog_ = std::move(runner); }

  QTableView* grid() const { return grid_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fitColumns();

  RfLoggerListEditor editor_;
  TFormAddRfLogger& addDialog_;
  QTableView* grid_;
  std::function<bool(TFormAddRfLogger&)> runAddDialog_;
};
