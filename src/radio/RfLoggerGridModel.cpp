#include "radio/RfLoggerGridModel.h"

#include <QFont>

#include "radio/RfLoggerIndicators.h"
#include "radio/RfLoggerRows.h"

RfLoggerGridModel::RfLoggerGridModel(RfLoggerRows& rows, QObject* parent) : QAbstractTableModel(parent), rows_(rows) {
  connect(&rows_, &RfLoggerRows::rowsReset, this, [this] {
    beginResetModel();
    endResetModel();
  });
  connect(&rows_, &RfLoggerRows::rowChanged, this, [this](int row) {
    if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, RfLoggerRows::ColumnCount - 1));
  });
}

int RfLoggerGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(1, rows_.rowCount());
}

int RfLoggerGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RfLoggerRows::ColumnCount;
}

QVariant RfLoggerGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole: return rows_.cell(index.row(), index.column());
    case Qt::CheckStateRole:
      if (index.column() == 0 && rows_.hasIndicators(index.row()))
        return rows_.selected(index.row()) ? Qt::Checked : Qt::Unchecked;
      return {};
    default: return {};
  }
}

bool RfLoggerGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != 0 || !rows_.hasIndicators(index.row())) return false;
  rows_.setSelected(index.row(), value.toInt() == Qt::Checked);
  return true;
}

QVariant RfLoggerGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= RfLoggerRows::ColumnCount) return {};
  if (role == Qt::DisplayRole) {
    QString text = LoggerGridHeadings()[static_cast<size_t>(section)];
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  }
  if (role == Qt::FontRole) {
    QFont font;
    font.setBold(true);
    return font;
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

Qt::ItemFlags RfLoggerGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.column() == 0 && rows_.hasIndicators(index.row())) f |= Qt::ItemIsUserCheckable;
  return f;
}
