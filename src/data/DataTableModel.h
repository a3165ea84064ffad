#pragma once

#include <QAbstractTableModel>

#include "data/DataTableLayout.h"

/// Table model of a data table over one logger of a measurement set. No cell is stored:
/// data() asks the layout, O(1) per cell for a single thermal string. The model must be
/// refilled (Fill) whenever the set changes.
class DataTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  /// True for a sensor value outside the highlight range while highlighting is on.
  static constexpr int OutOfRangeRole = Qt::UserRole + 1;

  explicit DataTableModel(bool dateLineBreak, QObject* parent = nullptr);

  void setMeasurementSet(const TMeasurementSet* set) { set_ = set; }
  const TMeasurementSet* measurementSet() const { return set_; }
  void setLocale(const QLocale& locale) { layout_.setLocale(locale); }

  /// Rebuilds the table for a logger in a layout (no logger when negative).
  void Fill(int loggerIndex, DataTableView view);
  const DataTableLayout& layout() const { return layout_; }

  /// Highlighting of values outside [minLimit, maxLimit]; repaints the table.
  void setHighlight(bool on, double minLimit, double maxLimit);
  bool highlight() const { return highlight_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  /// Text of a cell as the clipboard takes it (line breaks as "\r\n").
  QString cellText(int row, int column) const { return layout_.CellText(row, column); }

 private:
  const TMeasurementSet* set_ = nullptr;
  DataTableLayout layout_;
  bool dateLineBreak_;
  bool highlight_ = false;
  double min_ = 0;
  double max_ = 0;
};
