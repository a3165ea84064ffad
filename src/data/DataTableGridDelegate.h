#pragma once

#include <QColor>
#include <QStyledItemDelegate>

/// Paints data table cells; a value outside the range is filled with the table's highlight
/// colour (silver while selected) and drawn in black 2 px in from the left and top.
class DataTableGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  DataTableGridDelegate(QColor highlight, QObject* parent = nullptr) : QStyledItemDelegate(parent), highlight_(highlight) {}
  QColor highlightColor() const { return highlight_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  QColor highlight_;
};
