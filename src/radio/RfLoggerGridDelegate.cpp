#include "radio/RfLoggerGridDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include "radio/RfLoggerPicture.h"
#include "radio/RfLoggerRows.h"

namespace {
const QColor kAqua(0, 255, 255);

int columnOf(RfLoggerGridDelegate::Indicator indicator) {
  using I = RfLoggerGridDelegate::Indicator;
  switch (indicator) {
    case I::SelectionBox: return 0;
    case I::Battery: return 7;
    case I::ErrorDot: return 8;
    case I::Antenna:
    case I::SignalBar: return 9;
    case I::StatusDot: return 10;
    case I::None: break;
  }
  return -1;
}
}  // namespace

RfLoggerGridDelegate::RfLoggerGridDelegate(RfLoggerRows& rows, QObject* parent)
    : QStyledItemDelegate(parent), rows_(rows) {}

QRect RfLoggerGridDelegate::IndicatorRect(Indicator indicator, const QRect& cell, int barWidth) {
  const QPoint o = cell.topLeft();
  switch (indicator) {
    case Indicator::SelectionBox: return QRect(o + QPoint(5, 6), QSize(14, 14));
    case Indicator::Battery: return QRect(o + QPoint(40, 4), QSize(24, 12));
    case Indicator::ErrorDot: return QRect(o + QPoint(4, 5), QSize(9, 9));
    case Indicator::Antenna: return QRect(o + QPoint(2, 3), QSize(RfLoggerPicture::AntennaWidth, 12));
    case Indicator::SignalBar: return QRect(o + QPoint(17, 5), QSize(std::max(0, barWidth), 5));
    case Indicator::StatusDot: return QRect(o + QPoint(4, 4), QSize(11, 11));
    case Indicator::None: break;
  }
  return {};
}

RfLoggerGridDelegate::Indicator RfLoggerGridDelegate::IndicatorAt(int row, int column, const QRect& cell,
                                                                  const QPoint& pos) const {
  if (!rows_.hasIndicators(row)) return Indicator::None;
  const RfLoggerIndicators& ind = rows_.indicators(row);
  // The bar lies on the antenna picture and is checked first, as it is drawn over it.
  const Indicator order[] = {Indicator::SelectionBox, Indicator::Battery,  Indicator::ErrorDot,
                             Indicator::SignalBar,    Indicator::Antenna,  Indicator::StatusDot};
  for (Indicator candidate : order) {
    if (columnOf(candidate) != column) continue;
    if (!IndicatorRect(candidate, cell, ind.barWidth).contains(pos)) continue;
    if (!Hint(row, candidate).isNull() || candidate == Indicator::SelectionBox) return candidate;
  }
  return Indicator::None;
}

QString RfLoggerGridDelegate::Hint(int row, Indicator indicator) const {
  if (!rows_.hasIndicators(row)) return {};
  const RfLoggerIndicators& ind = rows_.indicators(row);
  switch (indicator) {
    case Indicator::Battery: return ind.batteryPicture >= 0 ? ind.batteryHint : QString();
    case Indicator::ErrorDot: return ind.errorVisible ? ind.errorHint : QString();
    case Indicator::Antenna: return ind.antennaVisible ? ind.antennaHint : QString();
    case Indicator::SignalBar: return ind.barVisible && ind.barWidth > 0 ? ind.barHint : QString();
    case Indicator::StatusDot: return ind.statusHint;
    case Indicator::SelectionBox:
    case Indicator::None: break;
  }
  return {};
}

void RfLoggerGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const int row = index.row();
  const int column = index.column();
  const QRect cell = option.rect;
  painter->save();

  QColor background = option.palette.color(QPalette::Base);
  QColor text = option.palette.color(QPalette::Text);
  if (row == rows_.currentDevRow()) {
    background = kAqua;
    text = Qt::black;
  } else if (option.state & QStyle::State_Selected) {
    background = option.palette.color(QPalette::Button);
    text = Qt::black;
  }
  painter->fillRect(cell, background);
  painter->setPen(text);
  painter->setFont(option.font);
  painter->drawText(cell.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());

  if (rows_.hasIndicators(row)) {
    const RfLoggerIndicators& ind = rows_.indicators(row);
    switch (column) {
      case 0: {
        QStyleOptionButton box;
        box.rect = IndicatorRect(Indicator::SelectionBox, cell);
        box.state = QStyle::State_Enabled | (rows_.selected(row) ? QStyle::State_On : QStyle::State_Off);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
        break;
      }
      case 7:
        if (ind.batteryPicture >= 0)
          painter->drawPixmap(IndicatorRect(Indicator::Battery, cell).topLeft(), RfLoggerPicture::Battery(ind.batteryPicture));
        break;
      case 8:
        if (ind.errorVisible) {
          painter->setRenderHint(QPainter::Antialiasing);
          painter->setPen(Qt::black);
          painter->setBrush(ind.errorGreen ? QColor(0, 128, 0) : QColor(255, 0, 0));
          painter->drawEllipse(IndicatorRect(Indicator::ErrorDot, cell));
        }
        break;
      case 9:
        if (ind.antennaVisible)
          painter->drawPixmap(IndicatorRect(Indicator::Antenna, cell).topLeft(), RfLoggerPicture::Antenna());
        // Levels at or below -112 dBm give no bar at all.
        if (ind.barVisible && ind.barWidth > 0)
          painter->fillRect(IndicatorRect(Indicator::SignalBar, cell, ind.barWidth), Qt::white);
        break;
      case 10: {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::black);
        painter->setBrush(RfLoggerPicture::DotColor(ind.statusDot));
        painter->drawRoundedRect(IndicatorRect(Indicator::StatusDot, cell).adjusted(0, 0, -1, -1), 3, 3);
        break;
      }
      default: break;
    }
  }
  painter->restore();
}

bool RfLoggerGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) {
  if (event->type() == QEvent::MouseButtonRelease && index.column() == 0) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && rows_.hasIndicators(index.row()) &&
        IndicatorRect(Indicator::SelectionBox, option.rect).contains(mouse->position().toPoint())) {
      model->setData(index, rows_.selected(index.row()) ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
      return true;
    }
  }
  return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool RfLoggerGridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip || !index.isValid()) return QStyledItemDelegate::helpEvent(event, view, option, index);
  const Indicator indicator = IndicatorAt(index.row(), index.column(), option.rect, event->pos());
  const QString hint = Hint(index.row(), indicator);
  if (hint.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  QToolTip::showText(event->globalPos(), hint, view->viewport(), IndicatorRect(indicator, option.rect));
  return true;
}
