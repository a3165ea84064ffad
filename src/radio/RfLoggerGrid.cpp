#include "radio/RfLoggerGrid.h"

#include <QHeaderView>
#include <QResizeEvent>

#include "radio/RfLoggerGridDelegate.h"
#include "radio/RfLoggerGridModel.h"
#include "radio/RfLoggerIndicators.h"
#include "radio/RfLoggerRows.h"

RfLoggerGrid::RfLoggerGrid(RfLoggerRows& rows, QWidget* parent)
    : QTableView(parent), rows_(rows), model_(new RfLoggerGridModel(rows, this)), delegate_(new RfLoggerGridDelegate(rows, this)) {
  setObjectName(QStringLiteral("StringGridRfLoggers"));
  setModel(model_);
  setItemDelegate(delegate_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setMouseTracking(true);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(20);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = horizontalHeader();
  header->setFixedHeight(44);
  header->setHighlightSections(false);
  header->setMinimumSectionSize(1);
  header->setDefaultAlignment(Qt::AlignCenter);
  QFont bold = header->font();
  bold.setBold(true);
  header->setFont(bold);
  FitColumns();

  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (!current.isValid()) return;
            keptRow_ = current.row();
            if (!quiet_) emit loggerRowSelected(current.row());
          });
  // A rebuilt list keeps the selected row where it was, as far as the list still reaches.
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    const int row = selectedRow();
    if (row >= 0) keptRow_ = row;
  });
  connect(model_, &QAbstractItemModel::modelReset, this,
          [this] { selectRow(std::min(keptRow_, model_->rowCount() - 1)); });
}

void RfLoggerGrid::FitColumns() {
  const std::vector<int> widths =
      LoggerGridColumnWidths(width(), RfLoggerGridBaseWidths(), RfLoggerGridWidthDivisor);
  for (size_t c = 0; c < widths.size(); ++c) horizontalHeader()->resizeSection(static_cast<int>(c), widths[c]);
}

int RfLoggerGrid::selectedRow() const {
  const QModelIndex current = selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void RfLoggerGrid::selectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  quiet_ = true;
  selectionModel()->setCurrentIndex(model_->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  quiet_ = false;
}

void RfLoggerGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns();
}
