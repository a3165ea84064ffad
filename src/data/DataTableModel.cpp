#include "data/DataTableModel.h"

namespace {
QString screenText(QString text) {
  if (text.contains(QLatin1Char('\r'))) text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}
}  // namespace

DataTableModel::DataTableModel(bool dateLineBreak, QObject* parent)
    : QAbstractTableModel(parent), dateLineBreak_(dateLineBreak) {}

void DataTableModel::Fill(int loggerIndex, DataTableView view) {
  beginResetModel();
  layout_.Build(set_, loggerIndex, view, dateLineBreak_);
  endResetModel();
}

void DataTableModel::setHighlight(bool on, double minLimit, double maxLimit) {
  highlight_ = on;
  min_ = minLimit;
  max_ = maxLimit;
  if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {OutOfRangeRole});
}

int DataTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : layout_.rowCount(); }

int DataTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : layout_.columnCount();
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole: return screenText(layout_.CellText(index.row(), index.column()));
    case OutOfRangeRole: return highlight_ && layout_.OutOfRange(index.row(), index.column(), min_, max_);
    default: return {};
  }
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  const bool headingsHere = (orientation == Qt::Horizontal) == (layout_.view() == DataTableView::ByTime);
  if (!headingsHere) return {};
  return screenText(layout_.Heading(section));
}
