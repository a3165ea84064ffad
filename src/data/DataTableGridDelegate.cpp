#include "data/DataTableGridDelegate.h"

#include <QPainter>

#include "data/DataTableModel.h"

void DataTableGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (!index.data(DataTableModel::OutOfRangeRole).toBool()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  painter->save();
  const bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, selected ? QColor(192, 192, 192) : highlight_);
  painter->setPen(Qt::black);
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  painter->restore();
}
