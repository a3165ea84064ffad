#include "data/DataTableGrid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QResizeEvent>
#include <QSignalBlocker>

#include "data/DataTableGridDelegate.h"
#include "data/DataTableModel.h"

namespace {
constexpr int kDefaultRowHeight = 20;

void setSectionSizeQuietly(QHeaderView* header, int size) {
  // Resizing every section one by one would notify the view once per section (100 000
  // notices for a long table); the view's geometry is refreshed once afterwards instead.
  const QSignalBlocker blocker(header);
  header->setDefaultSectionSize(size);
}
}  // namespace

DataTableGrid::DataTableGrid(Page page, QWidget* parent)
    : QTableView(parent),
      page_(page),
      model_(new DataTableModel(page == Page::Radio, this)),
      delegate_(new DataTableGridDelegate(page == Page::Radio ? QColor(255, 0, 0) : QColor(255, 140, 0), this)) {
  setObjectName(page == Page::Radio ? QStringLiteral("StringGridRfData") : QStringLiteral("StringGridUsbData"));
  setModel(model_);
  setItemDelegate(delegate_);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(true);
  // Texts wider than their column are cut at the cell edge, never shortened with an ellipsis
  // that would hide digits of a value.
  setTextElideMode(Qt::ElideNone);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(1);
    header->setHighlightSections(false);
    header->setResizeContentsPrecision(0);
  }
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);

  auto* copy = new QAction(QStringLiteral("Копировать"), this);
  copy->setObjectName(QStringLiteral("MenuItemCopy"));
  connect(copy, &QAction::triggered, this, &DataTableGrid::CopySelectionToClipboard);
  addAction(copy);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  Fill(-1, DataTableView::ByTime);
}

void DataTableGrid::setMeasurementSet(const TMeasurementSet* set) { model_->setMeasurementSet(set); }

void DataTableGrid::Fill(int loggerIndex, DataTableView view) {
  model_->Fill(loggerIndex, view);
  const bool byTime = view == DataTableView::ByTime;
  horizontalHeader()->setVisible(byTime);
  verticalHeader()->setVisible(!byTime);
  if (byTime) setSectionSizeQuietly(verticalHeader(), kDefaultRowHeight);
  ApplySizingRule();
}

void DataTableGrid::ApplySizingRule() {
  const DataTableLayout& layout = model_->layout();
  const DataTableWidths widths = DataTableLayout::SizingRule(layout.view(), width(), layout.gridColumnCount());
  setSectionSizeQuietly(horizontalHeader(), widths.defaultWidth);
  if (layout.view() == DataTableView::ByTime) {
    if (model_->columnCount() > 1) {
      const QSignalBlocker blocker(horizontalHeader());
      horizontalHeader()->resizeSection(1, widths.column1Width);
    }
  } else {
    // The heading column is the grid's column 0 and takes the default width like the rest.
    verticalHeader()->setFixedWidth(widths.defaultWidth);
    fitDateRow();
  }
  updateGeometries();
  viewport()->update();
}

void DataTableGrid::fitDateRow() {
  // By sensor, row 1 (date and time) wraps; it grows when its text needs more room.
  if (model_->layout().view() != DataTableView::BySensor || model_->columnCount() == 0 || model_->rowCount() < 2) return;
  const QString text = model_->data(model_->index(1, 0)).toString();
  const int columnWidth = horizontalHeader()->defaultSectionSize();
  const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, std::max(1, columnWidth - 4), 10000),
                                                   Qt::TextWordWrap | Qt::AlignLeft, text);
  const int needed = bounds.height() + 2;
  const QSignalBlocker blocker(verticalHeader());
  verticalHeader()->resizeSection(1, std::max(verticalHeader()->defaultSectionSize(), needed));
}

QString DataTableGrid::SelectionText() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) return {};
  int top = selection.first().top(), bottom = selection.first().bottom();
  int left = selection.first().left(), right = selection.first().right();
  for (const QItemSelectionRange& range : selection) {
    top = std::min(top, range.top());
    bottom = std::max(bottom, range.bottom());
    left = std::min(left, range.left());
    right = std::max(right, range.right());
  }
  return DataTableLayout::SelectionText(top, bottom, left, right,
                                        [this](int row, int column) { return model_->cellText(row, column); });
}

void DataTableGrid::CopySelectionToClipboard() {
  const QString text = SelectionText();
  if (text.isEmpty()) return;
  QGuiApplication::clipboard()->setText(text);
}

void DataTableGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  ApplySizingRule();
}
