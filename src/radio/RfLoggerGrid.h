#pragma once

#include <QTableView>

class RfLoggerGridDelegate;
class RfLoggerGridModel;
class RfLoggerRows;

/// The radio logger grid (StringGridRfLoggers): one row per logger with drawn indicators,
/// whole-row selection, bold three-line headings 44 px high, rows 20 px high. Its column
/// widths follow the grid's width (LoggerGridColumnWidths with the radio base widths).
class RfLoggerGrid : public QTableView {
  Q_OBJECT

 public:
  explicit RfLoggerGrid(RfLoggerRows& rows, QWidget* parent = nullptr);

  RfLoggerRows& rows() const { return rows_; }
  RfLoggerGridModel* gridModel() const { return model_; }
  RfLoggerGridDelegate* gridDelegate() const { return delegate_; }

  /// Sets the column widths for the current width (run by FormResize and on every resize).
  void FitColumns();
  /// Selected data row (0 = first logger), -1 for none.
  int selectedRow() const;
  /// Selects a row without reporting it as the user's choice.
  void selectRow(int row);

 signals:
  /// The user selected row (0 = first logger) of the grid.
  void loggerRowSelected(int row);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  RfLoggerRows& rows_;
  RfLoggerGridModel* model_;
  RfLoggerGridDelegate* delegate_;
  bool quiet_ = false;  ///< selection changes made by the program, not the user
  int keptRow_ = 0;
};
