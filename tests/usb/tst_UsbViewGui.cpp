#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QtTest>

#include "usb/UsbViewGui.h"

class TestUsbViewGui : public QObject {
  Q_OBJECT
 private slots:
  void drivesNamedWidgets() {
    QMainWindow window;
    auto* pages = new QTabWidget(&window);
    pages->setObjectName("PageControl1");
    for (const char* name : {"TabSheetRadio", "TabSheetUsb", "TabSheetConfig"}) {
      auto* page = new QWidget;
      page->setObjectName(name);
      pages->addTab(page, name);
    }
    auto* memo2 = new QPlainTextEdit(&window);
    memo2->setObjectName("Memo2");
    auto* bar = new QProgressBar(&window);
    bar->setObjectName("ProgressBarUsbExec");
    auto* title = new QLabel(&window);
    title->setObjectName("LabelUsbExecution");
    auto* action = new QAction(&window);
    action->setObjectName("ActionUsbStartMeas");
    window.setCentralWidget(pages);

    UsbViewGui view(&window);
    QString panel;
    view.setStatusPanel2Handler([&panel](const QString& t) { panel = t; });
    QCOMPARE(view.activePage(), UsbViewInterface::Page::Radio);
    view.showPage(UsbViewInterface::Page::Settings);
    QCOMPARE(pages->currentIndex(), 2);
    view.addMemo2Line("RunCommand(CMD_GET_HEADER)");
    QCOMPARE(memo2->toPlainText(), QString("RunCommand(CMD_GET_HEADER)"));
    view.setProgressRange(UsbViewInterface::Bar::Usb, 0, 2);
    view.setProgressPosition(UsbViewInterface::Bar::Usb, 2);
    view.stepProgress(UsbViewInterface::Bar::Usb);
    QCOMPARE(bar->value(), 0);
    view.setExecutionTitle(UsbViewInterface::Bar::Usb, "Выполнение замера");
    QCOMPARE(title->text(), QString("Выполнение замера"));
    view.setActionEnabled(UsbAction::StartMeas, false);
    QVERIFY(!action->isEnabled());
    view.setStatusPanel2("USB-логгер был отключен");
    QCOMPARE(panel, QString("USB-логгер был отключен"));
    view.setProgressStatus(UsbViewInterface::Bar::Settings, "x");  // missing widgets are skipped
  }
};

QTEST_MAIN(TestUsbViewGui)
#include "tst_UsbViewGui.moc"
