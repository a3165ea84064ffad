#include "data/DataTableWidget.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/DataTableModel.h"

DataTableWidget::DataTableWidget(Page page, QWidget* parent) : QWidget(parent), grid_(new DataTableGrid(page, this)) {
  const bool radio = page == Page::Radio;
  const QString p = radio ? QStringLiteral("Rf") : QStringLiteral("Usb");
  setObjectName(radio ? QStringLiteral("DataTableRf") : QStringLiteral("DataTableUsb"));

  sortGroup_ = new QGroupBox(QStringLiteral(" Представление "), this);
  sortGroup_->setObjectName(QStringLiteral("RadioGroup%1DataSort").arg(p));
  sortButtons_ = new QButtonGroup(sortGroup_);
  auto* byTime = new QRadioButton(QStringLiteral("По времени"), sortGroup_);
  auto* bySensor = new QRadioButton(QStringLiteral("По № датчика"), sortGroup_);
  byTime->setObjectName(QStringLiteral("RadioGroup%1DataSortByTime").arg(p));
  bySensor->setObjectName(QStringLiteral("RadioGroup%1DataSortBySensor").arg(p));
  sortButtons_->addButton(byTime, static_cast<int>(DataTableView::ByTime));
  sortButtons_->addButton(bySensor, static_cast<int>(DataTableView::BySensor));
  byTime->setChecked(true);
  auto* sortLayout = new QVBoxLayout(sortGroup_);
  sortLayout->addWidget(byTime);
  sortLayout->addWidget(bySensor);

  rangeGroup_ = new QGroupBox(QStringLiteral("Диапазон t,°C"), this);
  rangeGroup_->setObjectName(QStringLiteral("JvGroupBox%1HighlightOutOfRangeData").arg(p));
  rangeGroup_->setCheckable(true);
  rangeGroup_->setChecked(false);
  maxLimit_ = new QDoubleSpinBox(rangeGroup_);
  maxLimit_->setObjectName(QStringLiteral("JvSpinEdit%1MaxLimit").arg(p));
  minLimit_ = new QDoubleSpinBox(rangeGroup_);
  minLimit_->setObjectName(QStringLiteral("JvSpinEdit%1MinLimit").arg(p));
  for (QDoubleSpinBox* box : {maxLimit_, minLimit_}) {
    box->setDecimals(2);
    box->setRange(-99999.99, 99999.99);
    box->setValue(0);
    box->setKeyboardTracking(true);
  }
  auto* rangeLayout = new QGridLayout(rangeGroup_);
  rangeLayout->addWidget(new QLabel(QStringLiteral("Max"), rangeGroup_), 0, 0);
  rangeLayout->addWidget(maxLimit_, 0, 1);
  rangeLayout->addWidget(new QLabel(QStringLiteral("Min"), rangeGroup_), 1, 0);
  rangeLayout->addWidget(minLimit_, 1, 1);

  graphButton_ = new QToolButton(this);
  graphButton_->setObjectName(radio ? QStringLiteral("ButtonShowRfGraph") : QStringLiteral("ButtonShowUsbGraph"));
  exportButton_ = new QToolButton(this);
  exportButton_->setObjectName(radio ? QStringLiteral("ButtonExportToExcelRf") : QStringLiteral("ButtonExportToExcelUsb"));
  for (QToolButton* button : {graphButton_, exportButton_}) {
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
  graphButton_->setText(QStringLiteral("Показать график"));
  exportButton_->setText(QStringLiteral("Экспорт в Excel"));

  auto* side = new QVBoxLayout;
  side->addWidget(sortGroup_);
  side->addWidget(rangeGroup_);
  side->addWidget(graphButton_);
  side->addWidget(exportButton_);
  side->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_, 1);
  layout->addLayout(side);

  connect(sortButtons_, &QButtonGroup::idClicked, this, [this](int id) {
    const auto chosen = static_cast<DataTableView>(id);
    grid_->Fill(loggerIndex(), chosen);
    applyHighlight();
    emit viewChosen(chosen);
  });
  // Every change repaints at once; the limit field keeps the input focus meanwhile.
  connect(rangeGroup_, &QGroupBox::toggled, this, &DataTableWidget::applyHighlight);
  connect(maxLimit_, &QDoubleSpinBox::valueChanged, this, &DataTableWidget::applyHighlight);
  connect(minLimit_, &QDoubleSpinBox::valueChanged, this, &DataTableWidget::applyHighlight);
  connect(maxLimit_, &QDoubleSpinBox::editingFinished, this, &DataTableWidget::applyHighlight);
  connect(minLimit_, &QDoubleSpinBox::editingFinished, this, &DataTableWidget::applyHighlight);
}

void DataTableWidget::applyHighlight() {
  grid_->tableModel()->setHighlight(rangeGroup_->isChecked(), minLimit_->value(), maxLimit_->value());
}

void DataTableWidget::FillDataGrid(int loggerIndex) {
  grid_->Fill(loggerIndex, view());
  applyHighlight();
}

DataTableView DataTableWidget::view() const { return static_cast<DataTableView>(std::max(0, sortButtons_->checkedId())); }

void DataTableWidget::setView(DataTableView view) { sortButtons_->button(static_cast<int>(view))->setChecked(true); }

bool DataTableWidget::highlightOutOfRange() const { return rangeGroup_->isChecked(); }
void DataTableWidget::setHighlightOutOfRange(bool on) { rangeGroup_->setChecked(on); }
double DataTableWidget::maxLimit() const { return maxLimit_->value(); }
void DataTableWidget::setMaxLimit(double value) { maxLimit_->setValue(value); }
double DataTableWidget::minLimit() const { return minLimit_->value(); }
void DataTableWidget::setMinLimit(double value) { minLimit_->setValue(value); }

void DataTableWidget::setActions(QAction* showGraphic, QAction* exportToExcel) {
  if (showGraphic) graphButton_->setDefaultAction(showGraphic);
  if (exportToExcel) exportButton_->setDefaultAction(exportToExcel);
}
