#pragma once

#include <QWidget>

#include "data/DataTableGrid.h"
#include "data/DataTableModel.h"
#include "data/DataTableLayout.h"

class QAction;
class QButtonGroup;
class QDoubleSpinBox;
class QGroupBox;
class QToolButton;

/// One data page's table with its side panel: the layout choice " Представление ", the
/// range group "Диапазон t,°C" with its limits, and the graph and export buttons. Controls
/// carry the page's names (StringGridRfData, RadioGroupRfDataSort,
/// JvGroupBoxRfHighlightOutOfRangeData, JvSpinEditRfMaxLimit, JvSpinEditRfMinLimit,
/// ButtonShowRfGraph, ButtonExportToExcelRf, and the Usb forms on the USB page).
class DataTableWidget : public QWidget {
  Q_OBJECT

 public:
  using Page = DataTableGrid::Page;

  explicit DataTableWidget(Page page, QWidget* parent = nullptr);

  DataTableGrid* grid() const { return grid_; }
  void setMeasurementSet(const TMeasurementSet* set) { grid_->setMeasurementSet(set); }

  /// FillRfDataGrid(loggerIndex) on the radio page, FillUsbDataGrid() (logger 0) on the USB
  /// page: rebuilds the table in the layout chosen now.
  void FillDataGrid(int loggerIndex);
  /// Logger shown by the last FillDataGrid (-1 for none).
  int loggerIndex() const { return grid_->tableModel()->layout().loggerIndex(); }

  DataTableView view() const;
  /// Sets the layout choice without refilling (start-up).
  void setView(DataTableView view);

  /// Range switch and limits, stored in the settings file.
  bool highlightOutOfRange() const;
  void setHighlightOutOfRange(bool on);
  double maxLimit() const;
  void setMaxLimit(double value);
  double minLimit() const;
  void setMinLimit(double value);

  /// The actions run by the graph and export buttons (ActionShowGraphic,
  /// ActionExportToExcel).
  void setActions(QAction* showGraphic, QAction* exportToExcel);

  /// FormResize's part for this table.
  void ApplySizingRule() { grid_->ApplySizingRule(); }
  void CopySelectionToClipboard() { grid_->CopySelectionToClipboard(); }

 signals:
  /// The user chose a layout; the table has been refilled for its logger. The main window
  /// refills the graph lines and runs FormResize.
  void viewChosen(DataTableView view);

 private:
  void applyHighlight();

  DataTableGrid* grid_;
  QGroupBox* sortGroup_;
  QButtonGroup* sortButtons_;
  QGroupBox* rangeGroup_;
  QDoubleSpinBox* maxLimit_;
  QDoubleSpinBox* minLimit_;
  QToolButton* graphButton_;
  QToolButton* exportButton_;
};
