#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QRadioButton>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QTest>

#include "app/DateTimeValue.h"
#include "data/DataTableModel.h"
#include "data/DataTableWidget.h"
#include "data/MeasurementSet.h"

namespace {
const QLocale kRussian(QLocale::Russian, QLocale::Russia);

// Logger 0 has no data; logger 1 has three sensors and two measurements.
TMeasurementSet twoLoggers() {
  TMeasurementSet set;
  set.reset(2);
  set.clearFirstString(1);
  set.Distance[1][0] = {100, 200, 300};
  set.Temp[1][0].resize(3);
  const int16_t first[3] = {2150, -5, NoTempValue};
  const int16_t second[3] = {2501, 0, 1000};
  set.appendMeasurement(1, 0, *DateTimeValue::encode(2026, 1, 2, 3, 4, 5), 360, first);
  set.appendMeasurement(1, 0, *DateTimeValue::encode(2026, 1, 2, 11, 4, 5), 361, second);
  return set;
}
}  // namespace

class TestDataTableWidget : public QObject {
  Q_OBJECT

 private:
  TMeasurementSet set = twoLoggers();

  DataTableWidget* make(DataTableWidget::Page page) {
    auto* w = new DataTableWidget(page);
    w->grid()->tableModel()->setLocale(kRussian);
    w->setMeasurementSet(&set);
    w->resize(900, 400);
    w->show();
    return w;
  }

 private slots:
  void controlsCarryTheirNames() {
    std::unique_ptr<DataTableWidget> w(make(DataTableWidget::Page::Usb));
    QVERIFY(w->findChild<QObject*>("StringGridUsbData"));
    QVERIFY(w->findChild<QGroupBox*>("RadioGroupUsbDataSort"));
    QCOMPARE(w->findChild<QGroupBox*>("RadioGroupUsbDataSort")->title(), QStringLiteral(" Представление "));
    auto* range = w->findChild<QGroupBox*>("JvGroupBoxUsbHighlightOutOfRangeData");
    QVERIFY(range);
    QCOMPARE(range->title(), QStringLiteral("Диапазон t,°C"));
    QVERIFY(!range->isChecked());
    QVERIFY(!w->findChild<QDoubleSpinBox*>("JvSpinEditUsbMaxLimit")->isEnabled());
    range->setChecked(true);
    QVERIFY(w->findChild<QDoubleSpinBox*>("JvSpinEditUsbMinLimit")->isEnabled());
    QVERIFY(w->findChild<QObject*>("ButtonShowUsbGraph"));
    QVERIFY(w->findChild<QObject*>("ButtonExportToExcelUsb"));
  }

  void fillByTimeShowsCellsAndHeadings() {
    std::unique_ptr<DataTableWidget> w(make(DataTableWidget::Page::Radio));
    w->FillDataGrid(1);
    QAbstractItemModel* m = w->grid()->model();
    QCOMPARE(m->rowCount(), 2);
    QCOMPARE(m->columnCount(), 6);
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Дата, время"));
    QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("1"));
    QCOMPARE(m->data(m->index(0, 1)).toString(), QStringLiteral("02.01.2026 03:04:05"));
    QCOMPARE(m->data(m->index(1, 2)).toString(), QStringLiteral("3,61"));
    QCOMPARE(m->data(m->index(0, 5)).toString(), QString());
    QVERIFY(w->grid()->horizontalHeader()->isVisible());
    QVERIFY(!w->grid()->verticalHeader()->isVisible());
    const DataTableWidths expected = DataTableLayout::SizingRule(DataTableView::ByTime, w->grid()->width(), 6);
    QCOMPARE(w->grid()->columnWidth(0), expected.defaultWidth);
    QCOMPARE(w->grid()->columnWidth(1), expected.column1Width);
    QCOMPARE(w->grid()->columnWidth(5), expected.defaultWidth);

    w->FillDataGrid(0);  // no sensors: the heading row only
    QCOMPARE(m->rowCount(), 0);
    QCOMPARE(m->columnCount(), 3);
  }

  void layoutChoiceKeepsTheLogger() {
    std::unique_ptr<DataTableWidget> w(make(DataTableWidget::Page::Radio));
    w->FillDataGrid(1);
    QSignalSpy chosen(w.get(), &DataTableWidget::viewChosen);
    w->findChild<QRadioButton*>("RadioGroupRfDataSortBySensor")->click();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(w->view(), DataTableView::BySensor);
    QCOMPARE(w->loggerIndex(), 1);
    QAbstractItemModel* m = w->grid()->model();
    QCOMPARE(m->rowCount(), 6);
    QCOMPARE(m->columnCount(), 2);
    QCOMPARE(m->headerData(1, Qt::Vertical).toString(), QStringLiteral("Дата,\nвремя"));
    QCOMPARE(m->data(m->index(1, 1)).toString(), QStringLiteral("02.01.2026\n11:04:05"));
    QVERIFY(w->grid()->verticalHeader()->isVisible());
    QVERIFY(!w->grid()->horizontalHeader()->isVisible());
    const int columnWidth = DataTableLayout::SizingRule(DataTableView::BySensor, w->grid()->width(), 3).defaultWidth;
    QCOMPARE(w->grid()->columnWidth(0), columnWidth);
    QCOMPARE(w->grid()->verticalHeader()->width(), columnWidth);
    // The radio table's date row takes two text lines.
    QVERIFY(w->grid()->rowHeight(1) >= 2 * w->grid()->fontMetrics().height());
    QCOMPARE(w->grid()->rowHeight(0), 20);
  }

  void usbDateRowStaysOneLine() {
    std::unique_ptr<DataTableWidget> w(make(DataTableWidget::Page::Usb));
    w->setView(DataTableView::BySensor);
    w->FillDataGrid(1);
    QCOMPARE(w->grid()->model()->data(w->grid()->model()->index(1, 0)).toString(), QStringLiteral("02.01.2026 03:04:05"));
    QVERIFY(w->grid()->rowHeight(1) < 2 * w->grid()->fontMetrics().height());
  }

  void copiesSelectionAsTabSeparatedText() {
    std::unique_ptr<DataTableWidget> w(make(DataTableWidget::Page::Radio));
    w->FillDataGrid(1);
    QTableView* grid = w->grid();
    grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 2), grid->model()->index(1, 4)),
                                   QItemSelectionModel::ClearAndSelect);
    QGuiApplication::clipboard()->clear();
    QAction* copy = nullptr;
    for (QAction* a : grid->actions())
      if (a->text() == QStringLiteral("Копировать")) copy = a;
    QVERIFY(copy);
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3,6\t21,5\t-0,05\t\r\n3,61\t25,01\t0\t\r\n"));
  }

  void highlightsValuesOutsideTheRange() {
    for (auto page : {DataTableWidget::Page::Radio, DataTableWidget::Page::Usb}) {
      std::unique_ptr<DataTableWidget> w(make(page));
      QVERIFY(QTest::qWaitForWindowExposed(w.get()));
      w->FillDataGrid(1);
      QAbstractItemModel* m = w->grid()->model();
      QVERIFY(!m->data(m->index(1, 3), DataTableModel::OutOfRangeRole).toBool());
      w->setMaxLimit(25);
      w->setMinLimit(0);
      w->setHighlightOutOfRange(true);
      QVERIFY(m->data(m->index(1, 3), DataTableModel::OutOfRangeRole).toBool());   // 25.01
      QVERIFY(m->data(m->index(0, 4), DataTableModel::OutOfRangeRole).toBool());   // -0.05
      QVERIFY(!m->data(m->index(0, 3), DataTableModel::OutOfRangeRole).toBool());  // 21.5
      QVERIFY(!m->data(m->index(1, 4), DataTableModel::OutOfRangeRole).toBool());  // 0
      QVERIFY(!m->data(m->index(0, 5), DataTableModel::OutOfRangeRole).toBool());  // empty

      const QRect cell = w->grid()->visualRect(m->index(1, 3));
      const QColor painted = w->grid()->viewport()->grab().toImage().pixelColor(cell.bottomRight() - QPoint(2, 2));
      QCOMPARE(painted, page == DataTableWidget::Page::Radio ? QColor(255, 0, 0) : QColor(255, 140, 0));

      w->setHighlightOutOfRange(false);
      QVERIFY(!m->data(m->index(1, 3), DataTableModel::OutOfRangeRole).toBool());
    }
  }
};

QTEST_MAIN(TestDataTableWidget)
#include "tst_DataTableWidget.moc"
