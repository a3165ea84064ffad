#include "radio/ChangeRfLoggerListDialog.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "radio/AddRfLoggerDialog.h"

namespace {
// The editor's rows, taken from the list whenever the grid is refilled. An empty list
// shows one blank row.
class LoggerListTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void setRows(std::vector<std::array<QString, 3>> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(rows_.size()));
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : 3; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    return rows_[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())];
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return RfLoggerListEditor::Headings().value(section);
  }

 private:
  std::vector<std::array<QString, 3>> rows_;
};
}  // namespace

TFormChangeRfLoggerList::TFormChangeRfLoggerList(TRfLoggerArray& list, UserPrompt& prompt, TFormAddRfLogger& addDialog,
                                                 QWidget* parent)
    : QDialog(parent), editor_(list, prompt), addDialog_(addDialog), grid_(new QTableView(this)) {
  setObjectName(QStringLiteral("FormChangeRfLoggerList"));
  setWindowTitle(QStringLiteral("Изменение списка логгеров"));
  setModal(true);
  resize(440, 320);

  grid_->setObjectName(QStringLiteral("StringGridCRLList"));
  grid_->setModel(new LoggerListTableModel(grid_));
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(20);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setMinimumSectionSize(1);

  auto* add = new QPushButton(QStringLiteral("Добавить..."), this);
  add->setObjectName(QStringLiteral("ButtonAddRfLogger"));
  auto* remove = new QPushButton(QStringLiteral("Удалить"), this);
  remove->setObjectName(QStringLiteral("ButtonRemoveRfLogger"));
  auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
  close->setObjectName(QStringLiteral("ButtonClose"));
  connect(add, &QPushButton::clicked, this, &TFormChangeRfLoggerList::ButtonAddRfLoggerClick);
  connect(remove, &QPushButton::clicked, this, &TFormChangeRfLoggerList::ButtonRemoveRfLoggerClick);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  InitLoggersStingGrid();
}

void TFormChangeRfLoggerList::InitLoggersStingGrid() {
  static_cast<LoggerListTableModel*>(grid_->model())->setRows(editor_.Rows());
  fitColumns();
}

void TFormChangeRfLoggerList::ButtonAddRfLoggerClick() {
  const bool ok = runAddDialog_ ? runAddDialog_(addDialog_) : addDialog_.exec() == QDialog::Accepted;
  if (!ok) return;
  if (editor_.Add(addDialog_.modelChoice(), addDialog_.serial())) InitLoggersStingGrid();
}

void TFormChangeRfLoggerList::ButtonRemoveRfLoggerClick() {
  const QModelIndex current = grid_->selectionModel()->currentIndex();
  if (!current.isValid()) return;
  if (editor_.Remove(current.row())) InitLoggersStingGrid();
}

void TFormChangeRfLoggerList::fitColumns() {
  const std::array<int, 3> widths = RfLoggerListEditor::ColumnWidths(grid_->width(), 1);
  for (int c = 0; c < 3; ++c) grid_->horizontalHeader()->resizeSection(c, std::max(1, widths[static_cast<size_t>(c)]));
}

void TFormChangeRfLoggerList::showEvent(QShowEvent* event) {
  InitLoggersStingGrid();
  QDialog::showEvent(event);
}

void TFormChangeRfLoggerList::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  fitColumns();
}
