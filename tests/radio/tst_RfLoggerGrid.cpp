#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "app/UserPrompt.h"
#include "data/MeasurementSet.h"
#include "radio/AddRfLoggerDialog.h"
#include "radio/ChangeRfLoggerListDialog.h"
#include "radio/RfLoggerGrid.h"
#include "radio/RfLoggerGridDelegate.h"
#include "radio/RfLoggerGridModel.h"
#include "radio/RfLoggerRows.h"

namespace {
class Prompt : public UserPrompt {
 public:
  bool show(Kind kind, const QString&, const QString& text) override {
    kinds << kind;
    texts << text;
    return answer;
  }
  QList<Kind> kinds;
  QStringList texts;
  bool answer = true;
};

QColor pixelIn(RfLoggerGrid& grid, int row, int column, QPoint offset) {
  const QRect cell = grid.visualRect(grid.model()->index(row, column));
  return grid.viewport()->grab().toImage().pixelColor(cell.topLeft() + offset);
}
}  // namespace

class TestRfLoggerGrid : public QObject {
  Q_OBJECT

 private:
  TRfLoggerArray list;
  TMeasurementSet set;

  void makeList() {
    list.assign(2, TRfLogger{});
    list[0].LoggerId = "D122SN00017";
    list[1].LoggerId = "D123SN00002";
  }

 private slots:
  void cellTextsAndHeadings() {
    makeList();
    RfLoggerRows rows(list);
    RfLoggerGrid grid(rows);
    rows.FillDevList(set);
    rows.ShowListRows();
    QAbstractItemModel* model = grid.model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 11);
    QCOMPARE(model->data(model->index(1, 0)).toString(), QStringLiteral("     D123SN00002"));
    QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("ТКЛ-1/100 РМ"));
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Серийный\nномер\nлоггера"));
    QCOMPARE(model->headerData(10, Qt::Horizontal).toString(), QStringLiteral("Статус"));
    QCOMPARE(grid.objectName(), QStringLiteral("StringGridRfLoggers"));
    QCOMPARE(grid.horizontalHeader()->height(), 44);

    list.clear();
    rows.FillDevList(set);
    rows.ShowListRows();
    QCOMPARE(model->rowCount(), 1);  // one blank row under the headings
    QCOMPARE(model->data(model->index(0, 0)).toString(), QString());
    QVERIFY(!model->data(model->index(0, 0), Qt::CheckStateRole).isValid());
  }

  void selectionBoxTogglesSelected() {
    makeList();
    RfLoggerRows rows(list);
    RfLoggerGrid grid(rows);
    rows.FillDevList(set);
    rows.ShowListRows();
    grid.resize(900, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy selected(&grid, &RfLoggerGrid::loggerRowSelected);

    const QRect cell = grid.visualRect(grid.model()->index(1, 0));
    const QPoint box = cell.topLeft() + QPoint(12, 13);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(list[1].Selected, false);
    QCOMPARE(grid.model()->data(grid.model()->index(1, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(list[1].Selected, true);

    // A click beside the box selects the row and leaves the flag alone.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(60, 10));
    QCOMPARE(list[1].Selected, true);
    QVERIFY(!selected.isEmpty());
    QCOMPARE(selected.last().at(0).toInt(), 1);

    // The flag set elsewhere shows in the box: the two never disagree.
    rows.setSelected(0, false);
    QCOMPARE(grid.model()->data(grid.model()->index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    // A rebuild keeps the selected row without reporting a new choice.
    const int reported = selected.count();
    rows.ShowListRows();
    QCOMPARE(grid.selectedRow(), 1);
    QCOMPARE(selected.count(), reported);
  }

  void indicatorsAreDrawnWithHints() {
    makeList();
    RfLoggerRows rows(list);
    rows.setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    RfLoggerGrid grid(rows);
    rows.FillDevList(set);
    rows.ShowListRows();
    grid.resize(900, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QCOMPARE(pixelIn(grid, 0, 10, QPoint(9, 9)), QColor(0, 0, 0));
    rows.OnDevStatus(0, 4);
    QCOMPARE(pixelIn(grid, 0, 10, QPoint(9, 9)), QColor(0, 255, 0));
    rows.OnErrorCode(0, 5);
    QCOMPARE(pixelIn(grid, 0, 8, QPoint(8, 9)), QColor(255, 0, 0));
    rows.OnSignal(0, 0x00);  // 23 px bar from x 17
    QCOMPARE(pixelIn(grid, 0, 9, QPoint(17 + 22, 7)), QColor(255, 255, 255));
    rows.setCurrentDevRow(1);
    QCOMPARE(pixelIn(grid, 1, 3, QPoint(30, 10)), QColor(0, 255, 255));

    RfLoggerGridDelegate* delegate = grid.gridDelegate();
    const QRect status = grid.visualRect(grid.model()->index(0, 10));
    QCOMPARE(delegate->IndicatorAt(0, 10, status, status.topLeft() + QPoint(6, 6)), RfLoggerGridDelegate::Indicator::StatusDot);
    QCOMPARE(delegate->Hint(0, RfLoggerGridDelegate::Indicator::StatusDot), QStringLiteral("Задача выполнена"));
    QCOMPARE(delegate->Hint(0, RfLoggerGridDelegate::Indicator::ErrorDot),
             QStringLiteral("Ошибка контрольной суммы при поиске датчиков"));
    QCOMPARE(delegate->Hint(0, RfLoggerGridDelegate::Indicator::SignalBar), QStringLiteral("-74dBm"));
    QVERIFY(delegate->Hint(1, RfLoggerGridDelegate::Indicator::ErrorDot).isEmpty());  // hidden dot, no hint
    rows.OnVoltage(0, 360);
    QCOMPARE(delegate->Hint(0, RfLoggerGridDelegate::Indicator::Battery), QStringLiteral("3,6 В"));
    QVERIFY(!grid.viewport()->grab().isNull());
  }

  void columnWidthsFollowTheGridWidth() {
    makeList();
    RfLoggerRows rows(list);
    RfLoggerGrid grid(rows);
    grid.resize(787, 200);
    grid.FitColumns();
    QCOMPARE(grid.columnWidth(0), 92);
    QCOMPARE(grid.columnWidth(6), 110);
    grid.resize(1572, 200);
    grid.FitColumns();
    QCOMPARE(grid.columnWidth(0), 184);
    QCOMPARE(grid.columnWidth(6), 220);
    grid.resize(600, 200);
    grid.FitColumns();
    QCOMPARE(grid.columnWidth(10), 50);
  }

  void listEditorAddsAndRemoves() {
    list.clear();
    Prompt prompt;
    TFormAddRfLogger add;
    QCOMPARE(add.windowTitle(), QStringLiteral("Добавление радиологгера"));
    QCOMPARE(add.modelChoice(), 0);
    QCOMPARE(add.serial(), 1);
    TFormChangeRfLoggerList editor(list, prompt, add);
    QCOMPARE(editor.windowTitle(), QStringLiteral("Изменение списка логгеров"));
    QCOMPARE(editor.grid()->model()->rowCount(), 1);

    editor.setAddDialogRunner([](TFormAddRfLogger& dialog) {
      dialog.setModelChoice(1);
      dialog.setSerial(7);
      return true;
    });
    editor.ButtonAddRfLoggerClick();
    QCOMPARE(int(list.size()), 1);
    QCOMPARE(list[0].LoggerId, QStringLiteral("D122SN00007"));
    QCOMPARE(editor.grid()->model()->data(editor.grid()->model()->index(0, 2)).toString(), QStringLiteral("ТКЛ-1/100 РМ"));
    editor.ButtonAddRfLoggerClick();
    QCOMPARE(int(list.size()), 1);
    QCOMPARE(prompt.texts.last(), QStringLiteral("Логгер D122SN00007 уже присутствует в списке!"));
    QCOMPARE(add.serial(), 7);  // the dialog keeps its values

    editor.setAddDialogRunner([](TFormAddRfLogger&) { return false; });  // Отмена
    editor.ButtonAddRfLoggerClick();
    QCOMPARE(int(list.size()), 1);

    editor.grid()->selectRow(0);
    prompt.answer = false;
    editor.ButtonRemoveRfLoggerClick();
    QCOMPARE(int(list.size()), 1);
    prompt.answer = true;
    editor.ButtonRemoveRfLoggerClick();
    QCOMPARE(int(list.size()), 0);
    QCOMPARE(prompt.texts.last(), QStringLiteral("Удалить логгер D122SN00007 из списка?"));
    QCOMPARE(prompt.kinds.last(), UserPrompt::Kind::Question);
    QCOMPARE(editor.grid()->model()->rowCount(), 1);
  }
};

QTEST_MAIN(TestRfLoggerGrid)
#include "tst_RfLoggerGrid.moc"
