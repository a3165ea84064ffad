#pragma once

#include <QStyledItemDelegate>

class RfLoggerRows;

/// Paints the cells of the radio logger grid with their indicators and shows the
/// indicators' hints; a click on a selection box sets the entry's Selected flag.
class RfLoggerGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  enum class Indicator { None, SelectionBox, Battery, ErrorDot, Antenna, SignalBar, StatusDot };

  explicit RfLoggerGridDelegate(RfLoggerRows& rows, QObject* parent = nullptr);

  /// Rectangle of an indicator inside a cell rectangle (its place in its own column).
  static QRect IndicatorRect(Indicator indicator, const QRect& cell, int barWidth = 0);
  /// The indicator of a row shown under a point of a cell of the given column.
  Indicator IndicatorAt(int row, int column, const QRect& cell, const QPoint& pos) const;
  /// Hint of an indicator of a row; empty when it is not shown.
  QString Hint(int row, Indicator indicator) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 private:
  RfLoggerRows& rows_;
};
