#pragma once

#include <QAbstractTableModel>

class RfLoggerRows;

/// Table model of the radio logger grid over RfLoggerRows: texts from the rows, the
/// selection box of column 0 from the entry's Selected flag. An empty list shows one blank
/// row under the headings. Headings use "\n" line breaks.
class RfLoggerGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RfLoggerGridModel(RfLoggerRows& rows, QObject* parent = nullptr);

  RfLoggerRows& rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  RfLoggerRows& rows_;
};
