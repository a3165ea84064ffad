#include "app/MainWindow.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/AboutDialog.h"
#include "app/FileChooserDialog.h"
#include "app/Logging.h"
#include "app/MainWindowRules.h"
#include "app/PrgSettingsDialog.h"
#include "app/Clock.h"
#include "data/DataFileLoader.h"
#include "data/DataTableWidget.h"
#include "graph/GraphLines.h"
#include "graph/GraphWindow.h"
#include "radio/ComPortList.h"
#include "sim/RadioSimulator.h"
#include "sim/UsbLoggerSimulator.h"
#include "usb/HidDataModule.h"
#include "usb/HidapiBackend.h"
#include "usb/SimulatedHidBackend.h"
#include "usb/UsbActionTable.h"
#include "usb/UsbConnectionController.h"
#include "usb/UsbState.h"
#include "usb/UsbViewGui.h"
#include "radio/AddRfLoggerDialog.h"
#include "radio/ChangeRfLoggerListDialog.h"
#include "radio/RfLoggerGrid.h"
#include "radio/RfLoggerIndicators.h"
#include "radio/RfLoggerListCommands.h"

namespace {

struct ActionSpec {
  const char* name;
  const char* caption;
  const char* hint;
  const char* icon;  ///< desktop icon theme name
  QStyle::StandardPixmap fallback;
};

// Captions, hints and icons of every command; menu items, tool buttons and page buttons
// share these actions, so enabling one enables all of its faces.
const ActionSpec kActions[] = {
    {"ActionDataFileOpen", "Открыть файл данных", "Открыть файл данных", "document-open", QStyle::SP_DialogOpenButton},
    {"ActionShowGraphic", "Показать график", "Показать график", "x-office-presentation", QStyle::SP_FileDialogContentsView},
    {"ActionExportToExcel", "Экспорт в Excel", "Экспорт в Excel", "x-office-spreadsheet", QStyle::SP_FileDialogDetailedView},
    {"ActionPrgSettings", "Настройки программы", "Настройки программы", "preferences-system", QStyle::SP_FileDialogInfoView},
    {"ActionFileExit", "Выход", "Выйти из программы", "application-exit", QStyle::SP_DialogCloseButton},
    {"ActionRfChangeLoggerList", "Изменить список", "Изменить список логгеров", "document-edit", QStyle::SP_FileDialogListView},
    {"ActionRfDevListFileOpen", "Открыть список...", "Открыть список логгеров", "document-open", QStyle::SP_DirOpenIcon},
    {"ActionRfDevListFileSave", "Сохранить список...", "Сохранить список логгеров", "document-save-as", QStyle::SP_DialogSaveButton},
    {"ActionRfComPortConnect", "Подключить СОМ-порт", "Подключить СОМ-порт", "network-connect", QStyle::SP_DialogYesButton},
    {"ActionRfComPortDisconnect", "Отключить СОМ-порт", "Отключить СОМ-порт", "network-disconnect", QStyle::SP_DialogNoButton},
    {"ActionRfDownloadData", "Принять данные", "Принять данные из логгера", "go-down", QStyle::SP_ArrowDown},
    {"ActionRfSaveDataToFile", "Сохранить данные", "Сохранить принятые данные в файл", "document-save", QStyle::SP_DialogSaveButton},
    {"ActionRfStartMeas", "Выполнить замер", "Запустить выполнение замера", "media-playback-start", QStyle::SP_MediaPlay},
    {"ActionRfClearLoggerData", "Стереть все данные логгера", "Стереть все замеры из памяти логгера", "edit-delete", QStyle::SP_TrashIcon},
    {"ActionRfSyncTime", "Синхронизировать время", "Синхронизировать время логгера с компьютером", "appointment-new", QStyle::SP_BrowserReload},
    {"ActionRfSetTkPollPeriod", "Задать период опроса датчиков", "Задать период опроса датчиков логгером", "chronometer", QStyle::SP_FileDialogInfoView},
    {"ActionRfSetRadiochannel", "Задать радиоканал", "Задать радиоканал", "network-wireless", QStyle::SP_DriveNetIcon},
    {"ActionRfCancelOperation", "Прервать операцию", "", "process-stop", QStyle::SP_BrowserStop},
    {"ActionUsbConnect", "Подключить", "Подключить USB-логгер", "media-eject", QStyle::SP_DriveHDIcon},
    {"ActionUsbDisconnect", "Отключить", "Отключить USB-логгер", "process-stop", QStyle::SP_BrowserStop},
    {"ActionUsbDownloadData", "Принять данные", "Принять данные из логгера", "go-down", QStyle::SP_ArrowDown},
    {"ActionUsbCancelDataLoading", "Прервать чтение данных", "Прервать чтение данных", "process-stop", QStyle::SP_BrowserStop},
    {"ActionUsbSaveDataToFile", "Сохранить данные", "Сохранить принятые данные в файл", "document-save", QStyle::SP_DialogSaveButton},
    {"ActionUsbStartMeas", "Выполнить замер", "Запустить выполнение замера", "media-playback-start", QStyle::SP_MediaPlay},
    {"ActionUsbClearLoggerData", "Стереть все данные логгера", "Стереть все замеры из памяти логгера", "edit-delete", QStyle::SP_TrashIcon},
    {"ActionUsbStartGsmSending", "Отправка данных по GSM", "Отправка данных по GSM", "mail-send", QStyle::SP_ArrowUp},
    {"ActionUsbReadSettings", "Считать настройки", "Считать настройки из логгера", "document-import", QStyle::SP_ArrowLeft},
    {"ActionUsbWriteSettings", "Записать настройки", "Записать настройки в логгер", "document-export", QStyle::SP_ArrowRight},
    {"ActionUsbResetToDefaults", "Сброс к настройкам по умолч.", "Сброс к настройкам по умолчанию", "edit-undo", QStyle::SP_DialogResetButton},
    {"ActionConfigFileOpen", "Открыть настройки из файла", "Открыть настройки логгера из файла", "document-open", QStyle::SP_DialogOpenButton},
    {"ActionConfigFileSaveAs", "Сохранить настройки в файл", "Сохранить настройки логгера в файл", "document-save-as", QStyle::SP_DialogSaveButton},
    {"ActionUsbPcTimeSync", "Синхр. времени с ПК", "Синхронизация времени логгера с ПК", "computer", QStyle::SP_ComputerIcon},
    {"ActionUsbGsmTimeSync", "Синхр. времени по GSM", "Синхронизация времени логгера по GSM", "network-cellular", QStyle::SP_DriveNetIcon},
    {"ActionHelpContents", "Содержание", "Справочное руководство по программе", "help-contents", QStyle::SP_DialogHelpButton},
    {"ActionAbout", "О программе", "О программе", "help-about", QStyle::SP_MessageBoxInformation},
};

constexpr int kColumnPanelWidth = 185;

template <typename W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* boldLabel(const char* name) {
  auto* l = named(new QLabel, name);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  l->setWordWrap(true);
  return l;
}

QProgressBar* hiddenBar(const char* name) {
  auto* bar = named(new QProgressBar, name);
  bar->setValue(0);
  bar->setTextVisible(false);
  bar->setVisible(false);
  return bar;
}

QGroupBox* group(const char* caption, const char* name = nullptr) {
  auto* box = new QGroupBox(QString::fromUtf8(caption));
  if (name) box->setObjectName(QString::fromLatin1(name));
  return box;
}

QTableWidget* infoGrid(const char* name, const QStringList& texts) {
  // Sized to its cells exactly: each column and row plus one grid line each, one more, and
  // two pixels of frame.
  auto* grid = named(new QTableWidget(static_cast<int>(texts.size()), 2), name);
  grid->horizontalHeader()->setVisible(false);
  grid->verticalHeader()->setVisible(false);
  grid->horizontalHeader()->setDefaultSectionSize(200);
  grid->verticalHeader()->setDefaultSectionSize(20);
  grid->verticalHeader()->setMinimumSectionSize(20);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int r = 0; r < texts.size(); ++r) {
    auto* item = new QTableWidgetItem(texts[r]);
    item->setBackground(grid->palette().button());
    grid->setItem(r, 0, item);
  }
  grid->setFixedSize(2 * 200 + 2 + 1 + 2, static_cast<int>(texts.size()) * 20 + static_cast<int>(texts.size()) + 1 + 2);
  return grid;
}

}  // namespace

MainWindow::MainWindow(StartupOptions options, UserPrompt* prompt, FileChooser* files, const SystemFolders& folders,
                       QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)), folders_(folders) {
  if (prompt) {
    prompt_ = prompt;
  } else {
    ownPrompt_ = std::make_unique<MessageBoxPrompt>(this);
    prompt_ = ownPrompt_.get();
  }
  if (files) {
    files_ = files;
  } else {
    ownFiles_ = std::make_unique<FileChooserDialog>(this);
    files_ = ownFiles_.get();
  }
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("Tundrabase"));
  setMinimumWidth(430);
  resize(1044, 874);
  listCommands_ = std::make_unique<RfLoggerListCommands>(loggerRows_, *this, *prompt_);
  loggerRows_.setTraceSink([this](const QString& line) { addMemo1Line(line); });
  createActions();
  createMenusAndToolBar();
  createPages();
  createDevices();
  FormCreate();
  // Secondary windows come after the main window's creation handler, which must not use them.
  addRfLogger_ = new TFormAddRfLogger(this);
  changeRfLoggerList_ = new TFormChangeRfLoggerList(loggers_, *prompt_, *addRfLogger_, this);
  graphic_ = new TFormGraphic(*prompt_, Clock::system(), nullptr);
  graphic_->setSettingsPath(paths_.iniFileName);
  graphLines_ = std::make_unique<GraphLines>(graphic_);
  connect(this, &MainWindow::rfGraphLinesRebuildRequested, this,
          [this] { graphLines_->BuildRfGraphLines(book_.RadioSet, loggers_, book_.SelectedRfLogger); });
  connect(this, &MainWindow::rfGraphLinesFillRequested, this,
          [this](int logger) { graphLines_->FillRfGraphLines(book_.RadioSet, logger); });
  connect(this, &MainWindow::usbGraphLinesFillRequested, this, [this] { graphLines_->FillUsbGraphLines(book_.UsbSet); });
  about_ = new AboutDialog(this);
  prgSettings_ = new PrgSettingsDialog(this);
}

MainWindow::~MainWindow() {
  // Lines leave the graph window's chart before the window goes.
  graphLines_.reset();
  delete graphic_;
  usbController_.reset();
  hidModule_.reset();
  hidBackend_.reset();
}

void MainWindow::createDevices() {
  if (options_.simulate) {
    radioSim_ = std::make_unique<RadioSimulator>();
    QString error;
    if (!radioSim_->start(&error)) {
      prompt_->warning(QStringLiteral("Имитатор радиомодема не запущен: ") + error);
      radioSim_.reset();
    }
    auto backend = std::make_unique<SimulatedHidBackend>();
    usbSim_ = UsbLoggerSimulator::attachDemo(*backend);
    hidBackend_ = std::move(backend);
  } else {
    hidBackend_ = std::make_unique<HidapiBackend>();
  }
  hidModule_ = std::make_unique<THidDataModule1>(*hidBackend_, Clock::system());
  usbView_ = std::make_unique<UsbViewGui>(this);
  usbView_->setStatusPanel2Handler([this](const QString& text) { statusPanels_[1]->setText(text); });
  hidModule_->setView(usbView_.get());
  usbController_ = std::make_unique<UsbConnectionController>(*hidModule_, *usbView_, *this, *prompt_, Clock::system());
  const struct {
    const char* action;
    void (UsbConnectionController::*execute)();
  } usbActions[] = {
      {"ActionUsbConnect", &UsbConnectionController::ActionUsbConnectExecute},
      {"ActionUsbDisconnect", &UsbConnectionController::ActionUsbDisconnectExecute},
      {"ActionUsbStartMeas", &UsbConnectionController::ActionUsbStartMeasExecute},
      {"ActionUsbClearLoggerData", &UsbConnectionController::ActionUsbClearLoggerDataExecute},
      {"ActionUsbStartGsmSending", &UsbConnectionController::ActionUsbStartGsmSendingExecute},
      {"ActionUsbPcTimeSync", &UsbConnectionController::ActionUsbPcTimeSyncExecute},
      {"ActionUsbGsmTimeSync", &UsbConnectionController::ActionUsbGsmTimeSyncExecute},
      {"ActionUsbReadSettings", &UsbConnectionController::ActionUsbReadSettingsExecute},
  };
  for (const auto& a : usbActions) connect(action(QString::fromLatin1(a.action)), &QAction::triggered, usbController_.get(), a.execute);
  connect(action(QStringLiteral("ActionShowGraphic")), &QAction::triggered, this, &MainWindow::ActionShowGraphicExecute);

  saveCommands_ = std::make_unique<DataFileSaveCommands>(*files_, *prompt_, *this, Clock::system(),
                                                         QFileInfo(folders_.programFilePath()).absolutePath());
  loader_ = std::make_unique<DataFileLoader>(*prompt_, *this, Clock::system());
  excel_ = std::make_unique<ExcelExport>(*files_, *prompt_, *this, Clock::system());
  connect(action(QStringLiteral("ActionRfSaveDataToFile")), &QAction::triggered, this, [this] {
    saveCommands_->ActionRfSaveDataToFile(book_.RadioSet, loggers_, book_.RadioReceivedCount, book_.RadioDataSaved,
                                          paths_.dataFilesDir);
  });
  connect(action(QStringLiteral("ActionUsbSaveDataToFile")), &QAction::triggered, this, [this] {
    const TLoggerHidDevice* device = hidModule_->currentDevice();
    saveCommands_->ActionUsbSaveDataToFile(book_.UsbSet, device ? device->loggerId : QString(), book_.UsbReceivedCount,
                                           book_.UsbDataSaved);
  });
  connect(action(QStringLiteral("ActionDataFileOpen")), &QAction::triggered, this,
          [this] { loader_->ActionDataFileOpen(*files_, paths_.dataFilesDir); });
  connect(this, &MainWindow::dataFileRequested, this, [this](const QString& path) { loader_->DataFileOpen(path); });
  connect(action(QStringLiteral("ActionExportToExcel")), &QAction::triggered, this, &MainWindow::ActionExportToExcelExecute);
}

void MainWindow::ActionExportToExcelExecute() {
  switch (pages_->currentIndex()) {
    case RadioPage: {
      const int logger = book_.SelectedRfLogger;
      const QString id = logger >= 0 && logger < static_cast<int>(loggers_.size()) ? loggers_[logger].LoggerId : QString();
      excel_->ExportToXls(DataPage::Radio, book_.RadioSet, logger, id);
      break;
    }
    case UsbPage: {
      const TLoggerHidDevice* device = hidModule_->currentDevice();
      excel_->ExportToXls(DataPage::Usb, book_.UsbSet, 0, device ? device->loggerId : QString());
      break;
    }
    default:
      excel_->ExportToXls(DataPage::Settings, TMeasurementSet(), 0, {});
      break;
  }
}

void MainWindow::disconnectComPort() { action(QStringLiteral("ActionRfComPortDisconnect"))->trigger(); }

void MainWindow::showLoggerList(bool warnIfEmpty) { listCommands_->ShowLoggerList(warnIfEmpty); }

bool MainWindow::usbReady() const { return usbState() == PSUsbReady; }

void MainWindow::disconnectUsb() { usbController_->ActionUsbDisconnectExecute(); }

void MainWindow::setUsbStateFileData() { usbController_->setUsbState(PSUsbFileData); }

void MainWindow::setUsbFileImage(const UsbFileHeader& header) {
  auto image = std::make_unique<TLoggerHidDevice>();
  image->loggerId = header.loggerId;
  image->firmwareVersion = header.firmware;
  image->tkType = header.tkType;
  image->tkSerial = header.tkSerial;
  image->sensorCount = header.sensorCount;
  image->distances.assign(header.distances.begin(), header.distances.end());
  image->measPeriodHours = header.measurementPeriod;
  image->measCount = header.measurementCount;
  hidModule_->adoptImage(std::move(image));
}

void MainWindow::dropUsbImage() { hidModule_->setCurrentDevice(nullptr); }

void MainWindow::showUsbPage() { pages_->setCurrentIndex(UsbPage); }

void MainWindow::setBusyCursor(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool MainWindow::radioCommandRunning() const {
  return findChild<QProgressBar*>(QStringLiteral("ProgrBarExecution"))->isVisible();
}

int MainWindow::usbState() const { return usbController_->UsbState(); }

bool MainWindow::ClearUsbData(bool askUser, bool all) { return book_.ClearUsbData(askUser, all, *prompt_, *this); }

void MainWindow::RefreshUsbPage() {
  for (int a = static_cast<int>(UsbAction::Connect); a <= static_cast<int>(UsbAction::GsmTimeSync); ++a) {
    const auto usbAction = static_cast<UsbAction>(a);
    if (QAction* act = action(UsbActionObjectName(usbAction))) act->setEnabled(usbController_->actionEnabled(usbAction));
  }
  const bool download = action(QStringLiteral("ActionUsbDownloadData"))->isEnabled();
  const bool all = findChild<QCheckBox*>(QStringLiteral("CheckBoxUsbGetAllData"))->isChecked();
  findChild<QCheckBox*>(QStringLiteral("CheckBoxUsbGetAllData"))->setEnabled(download);
  for (const char* name : {"DateTimePickerUsbFirst", "DateTimePickerUsbLast"})
    findChild<QDateTimeEdit*>(QLatin1String(name))->setEnabled(download && !all);
  // The settings page belongs to a connected logger.
  const int state = usbState();
  pages_->setTabVisible(ConfigPage, state != PSUsbNotConnected && state != PSUsbFileData);
  const TLoggerHidDevice* device = hidModule_->currentDevice();
  const bool haveLogger = state == PSUsbReady || state == PSUsbFileData;
  graphLines_->BuildUsbGraphLines(book_.UsbSet, haveLogger && device, device ? device->sensorCount : 0,
                                  [this] { usbTable_->FillDataGrid(0); });
}

void MainWindow::ActionShowGraphicExecute() {
  const int page = pages_->currentIndex();
  const GraphPage graphPage = page == RadioPage ? GraphPage::Radio : page == UsbPage ? GraphPage::Usb : GraphPage::Settings;
  const TLoggerHidDevice* device = hidModule_->currentDevice();
  graphLines_->ActionShowGraphicExecute(graphPage, book_.RadioSet, loggers_, book_.SelectedRfLogger,
                                        static_cast<GraphPresentation>(rfTable_->view()), book_.UsbSet,
                                        device ? device->loggerId : QString(),
                                        static_cast<GraphPresentation>(usbTable_->view()));
}

void MainWindow::createActions() {
  for (const ActionSpec& spec : kActions) {
    auto* a = new QAction(QString::fromUtf8(spec.caption), this);
    a->setObjectName(QString::fromLatin1(spec.name));
    const QString hint = QString::fromUtf8(spec.hint);
    a->setToolTip(hint.isEmpty() ? a->text() : hint);
    a->setStatusTip(hint);
    a->setIcon(QIcon::fromTheme(QString::fromLatin1(spec.icon), style()->standardIcon(spec.fallback)));
    actions_.insert(a->objectName(), a);
  }
  action(QStringLiteral("ActionDataFileOpen"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  action(QStringLiteral("ActionFileExit"))->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
  action(QStringLiteral("ActionHelpContents"))->setShortcut(QKeySequence(Qt::Key_F1));
  action(QStringLiteral("ActionFileExit"))->setMenuRole(QAction::QuitRole);
  connect(action(QStringLiteral("ActionFileExit")), &QAction::triggered, this, &QWidget::close);
  connect(action(QStringLiteral("ActionAbout")), &QAction::triggered, this, &MainWindow::ActionAboutExecute);
  connect(action(QStringLiteral("ActionPrgSettings")), &QAction::triggered, this, &MainWindow::ActionPrgSettingsExecute);
  connect(action(QStringLiteral("ActionHelpContents")), &QAction::triggered, this, &MainWindow::ActionHelpContentsExecute);
  connect(action(QStringLiteral("ActionRfChangeLoggerList")), &QAction::triggered, this, [this] { listCommands_->ChangeLoggerList(); });
  connect(action(QStringLiteral("ActionRfDevListFileOpen")), &QAction::triggered, this, [this] { listCommands_->OpenListFile(*files_); });
  connect(action(QStringLiteral("ActionRfDevListFileSave")), &QAction::triggered, this, [this] { listCommands_->SaveListFile(*files_); });
}

void MainWindow::createMenusAndToolBar() {
  menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));
  // A menu entry is an action name, "-" a separator, and "name|text" an action shown with
  // its own menu text (the accelerator differs from the caption).
  auto addMenu = [this](const QString& title, const QStringList& entries) {
    QMenu* menu = menuBar()->addMenu(title);
    for (const QString& entry : entries) {
      if (entry == QLatin1String("-")) {
        menu->addSeparator();
        continue;
      }
      const QString name = entry.section(QLatin1Char('|'), 0, 0);
      QAction* a = action(name);
      const QString text = entry.section(QLatin1Char('|'), 1);
      if (text.isEmpty()) {
        menu->addAction(a);
      } else {
        // The menu shows its own text but stays bound to the shared action.
        auto* proxy = menu->addAction(a->icon(), text);
        proxy->setObjectName(name + QStringLiteral("MenuItem"));
        proxy->setStatusTip(a->statusTip());
        connect(proxy, &QAction::triggered, a, &QAction::trigger);
        connect(a, &QAction::enabledChanged, proxy, &QAction::setEnabled);
        connect(a, &QAction::visibleChanged, proxy, [proxy, a] { proxy->setVisible(a->isVisible()); });
      }
    }
  };
  addMenu(QStringLiteral("Файл"), {"ActionDataFileOpen", "ActionShowGraphic", "ActionExportToExcel|Экспорт в &Excel", "-",
                                   "ActionPrgSettings", "-", "ActionFileExit"});
  addMenu(QStringLiteral("Радиоканал"),
          {"ActionRfChangeLoggerList", "ActionRfDevListFileOpen", "ActionRfDevListFileSave", "-", "ActionRfComPortConnect",
           "ActionRfComPortDisconnect", "-", "ActionRfDownloadData", "ActionRfSaveDataToFile", "-", "ActionRfStartMeas",
           "ActionRfClearLoggerData", "ActionRfSyncTime", "ActionRfSetTkPollPeriod", "ActionRfSetRadiochannel", "-",
           "ActionRfCancelOperation"});
  addMenu(QStringLiteral("&USB"), {"ActionUsbConnect", "ActionUsbDisconnect", "-", "ActionUsbDownloadData",
                                   "ActionUsbCancelDataLoading", "ActionUsbSaveDataToFile", "-", "ActionUsbStartMeas",
                                   "ActionUsbClearLoggerData", "ActionUsbStartGsmSending|Отправка данных по &GSM"});
  addMenu(QStringLiteral("Настройки логгера"),
          {"ActionUsbReadSettings", "ActionUsbWriteSettings", "ActionUsbResetToDefaults", "-", "ActionConfigFileOpen",
           "ActionConfigFileSaveAs", "-", "ActionUsbPcTimeSync", "ActionUsbGsmTimeSync|Синхр. времени по &GSM"});
  addMenu(QStringLiteral("Справка"), {"ActionHelpContents", "ActionAbout"});

  QToolBar* bar = addToolBar(QStringLiteral("Панель инструментов"));
  bar->setObjectName(QStringLiteral("ActionToolBar1"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (const char* entry :
       {"ActionDataFileOpen", "ActionShowGraphic", "-", "ActionRfDevListFileOpen", "ActionRfComPortConnect",
        "ActionRfComPortDisconnect", "ActionRfDownloadData", "ActionRfSaveDataToFile", "-", "ActionUsbConnect",
        "ActionUsbDisconnect", "ActionUsbDownloadData", "ActionUsbSaveDataToFile", "ActionUsbStartGsmSending", "-",
        "ActionUsbReadSettings", "ActionUsbWriteSettings"}) {
    if (QLatin1String(entry) == QLatin1String("-"))
      bar->addSeparator();
    else
      bar->addAction(action(QString::fromLatin1(entry)));
  }

  QStatusBar* status = statusBar();
  status->setObjectName(QStringLiteral("StatusBar"));
  statusPanels_[0] = named(new QLabel, "StatusBarPanel0");
  statusPanels_[0]->setFixedWidth(142);
  statusPanels_[1] = named(new QLabel, "StatusBarPanel1");
  status->addWidget(statusPanels_[0]);
  status->addWidget(statusPanels_[1], 1);
}

QScrollArea* MainWindow::wrapColumn(QWidget* column, const QString& panelName, const QString& scrollName) {
  auto* scroll = new QScrollArea;
  scroll->setObjectName(scrollName);
  scroll->setWidget(column);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* panel = new QWidget;
  panel->setObjectName(panelName);
  auto* l = new QVBoxLayout(panel);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(scroll);
  panel->setFixedWidth(kColumnPanelWidth);
  return scroll;
}

void MainWindow::createPages() {
  pages_ = named(new QTabWidget, "PageControl1");
  setCentralWidget(pages_);
  const struct {
    QWidget* page;
    const char* name;
    const char* caption;
  } pages[] = {{createRadioPage(), "TabSheetRadio", "Радиоканал"},
               {createUsbPage(), "TabSheetUsb", "USB-интерфейс"},
               {createConfigPage(), "TabSheetConfig", "Настройки"}};
  const int helpContexts[] = {7, 9, 8};
  for (int i = 0; i < 3; ++i) {
    pages[i].page->setObjectName(QString::fromLatin1(pages[i].name));
    pages[i].page->setProperty("helpContext", helpContexts[i]);
    pages_->addTab(pages[i].page, QString::fromUtf8(pages[i].caption));
  }
  connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::PageControl1Change);
}

QWidget* MainWindow::createRadioPage() {
  auto* page = new QWidget;
  auto* h = new QHBoxLayout(page);
  h->setContentsMargins(4, 4, 4, 4);

  auto* left = new QVBoxLayout;
  rfLoggerGrid_ = new RfLoggerGrid(loggerRows_);
  connect(rfLoggerGrid_, &RfLoggerGrid::loggerRowSelected, this, &MainWindow::selectRfLogger);
  left->addWidget(rfLoggerGrid_, 2);

  auto* listButtons = new QHBoxLayout;
  for (const char* name : {"ActionRfChangeLoggerList", "ActionRfDevListFileOpen", "ActionRfDevListFileSave"}) {
    auto* b = new QToolButton;
    b->setDefaultAction(action(QString::fromLatin1(name)));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    listButtons->addWidget(b);
  }
  listButtons->addStretch();
  left->addLayout(listButtons);

  rfTable_ = new DataTableWidget(DataTableWidget::Page::Radio);
  rfTable_->setMeasurementSet(&book_.RadioSet);
  rfTable_->setActions(action(QStringLiteral("ActionShowGraphic")), action(QStringLiteral("ActionExportToExcel")));
  connect(rfTable_, &DataTableWidget::viewChosen, this, [this] {
    emit rfGraphLinesFillRequested(book_.SelectedRfLogger);
    FormResize();
  });
  left->addWidget(rfTable_, 3);
  memo1_ = named(new QPlainTextEdit, "Memo1");
  memo1_->setReadOnly(true);
  memo1_->setVisible(false);
  left->addWidget(memo1_, 1);
  h->addLayout(left, 1);

  QScrollArea* scroll = wrapColumn(createRadioControls(), QStringLiteral("PanelRfControls"), QStringLiteral("ScrollBoxRfCtrls"));
  scrollBoxes_[0] = scroll;
  columnPanels_[0] = scroll->parentWidget();
  h->addWidget(columnPanels_[0]);
  return page;
}

QWidget* MainWindow::createRadioControls() {
  auto* column = new QWidget;
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(2, 2, 2, 2);
  auto actionButton = [this](const char* name, const QString& text = QString()) {
    auto* b = new QToolButton;
    b->setDefaultAction(action(QString::fromLatin1(name)));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (!text.isEmpty()) b->setText(text);
    return b;
  };

  auto* modem = group(" USB/PM модем ");
  auto* mv = new QVBoxLayout(modem);
  auto* port = named(new QComboBox, "ComboBoxPortNum");
  port->setEditable(true);
  mv->addWidget(port);
  mv->addWidget(actionButton("ActionRfComPortConnect"));
  mv->addWidget(actionButton("ActionRfComPortDisconnect"));
  v->addWidget(modem);

  auto* exchange = group(" Параметры радиообмена ");
  auto* ev = new QGridLayout(exchange);
  ev->addWidget(new QLabel(QStringLiteral("Радиоканал:")), 0, 0, 1, 2);
  auto* channel = named(new QSpinBox, "JvSpinEditRfChannel");
  ev->addWidget(channel, 0, 2, 1, 2);
  auto* slider = named(new QSlider(Qt::Vertical), "TrackBarDataBlockSize");
  slider->setRange(0, 3);
  slider->setValue(1);
  slider->setInvertedAppearance(true);
  slider->setTickPosition(QSlider::TicksRight);
  slider->setToolTip(QStringLiteral("Размер пакета данных:\r\n4kB = быстрая загрузка, низкая помехоустойчивость\r\n"
                                    "512 = медленная загрузка, высокая помехоустойчивость"));
  auto* sizes = new QVBoxLayout;
  for (const char* t : {"4kB", "2kB", "1kB", "512"}) sizes->addWidget(new QLabel(QString::fromLatin1(t)));
  ev->addWidget(slider, 1, 0);
  ev->addLayout(sizes, 1, 1);
  auto* arrow = named(new QLabel(QStringLiteral("▼")), "ImageArrowAttemptPtr");
  arrow->setVisible(false);
  auto* powers = new QGridLayout;
  powers->addWidget(arrow, 0, 1);
  const char* powerLabels[] = {"+10", "0", "-10"};
  for (int r = 0; r < 3; ++r) powers->addWidget(new QLabel(QString::fromLatin1(powerLabels[r])), r + 1, 0);
  for (int g = 0; g < 3; ++g) {
    auto* box = new QGroupBox(QStringLiteral(" %1 ").arg(g + 1));
    box->setObjectName(QStringLiteral("RadioGrPower%1").arg(g + 1));
    box->setToolTip(QStringLiteral("Попытка %1\r\nСтратегия поиска логгеров\r\n(мощность передатчика, дБм)").arg(g + 1));
    auto* bl = new QVBoxLayout(box);
    bl->setContentsMargins(4, 2, 2, 2);
    bl->setSpacing(1);
    auto* buttons = new QButtonGroup(box);
    buttons->setObjectName(QStringLiteral("RadioGrPower%1Items").arg(g + 1));
    for (int item = 0; item < 3; ++item) {
      auto* rb = new QRadioButton;
      buttons->addButton(rb, item);
      bl->addWidget(rb);
    }
    powers->addWidget(box, 1, g + 1, 3, 1);
    auto* attempt = new QCheckBox;
    attempt->setObjectName(QStringLiteral("CheckBoxAttempt%1").arg(g + 1));
    attempt->setToolTip(QStringLiteral("Стратегия поиска логгеров\r\n(попытки)"));
    powers->addWidget(attempt, 4, g + 1, Qt::AlignHCenter);
    // A power group takes part only when its attempt is ticked.
    connect(attempt, &QCheckBox::toggled, box, &QWidget::setEnabled);
  }
  powers->setHorizontalSpacing(2);
  ev->addLayout(powers, 2, 0, 1, 4);
  v->addWidget(exchange);

  auto* download = group(" Приём данных ");
  auto* dv = new QVBoxLayout(download);
  dv->addWidget(new QLabel(QStringLiteral("Начать с даты")));
  auto* begin = named(new QDateTimeEdit, "DateTimeBegin");
  begin->setCalendarPopup(true);
  begin->setDisplayFormat(QStringLiteral("dd.MM.yy  HH:mm"));
  dv->addWidget(begin);
  dv->addWidget(new QLabel(QStringLiteral("Завершить по дату")));
  auto* finish = named(new QDateTimeEdit, "DateTimeFinish");
  finish->setCalendarPopup(true);
  finish->setDisplayFormat(QStringLiteral("dd.MM.yy  HH:mm"));
  dv->addWidget(finish);
  dv->addWidget(named(new QCheckBox(QStringLiteral("Все данные")), "CheckBoxRfGetAllData"));
  dv->addWidget(actionButton("ActionRfDownloadData"));
  dv->addWidget(actionButton("ActionRfSaveDataToFile"));
  v->addWidget(download);

  auto* progress = group(" Ход выполнения ");
  auto* pv = new QVBoxLayout(progress);
  pv->addWidget(boldLabel("LabelExecution"));
  pv->addWidget(named(new QLabel, "JvLabelCurrDevStatus"));
  pv->addWidget(hiddenBar("ProgrBarExecution"));
  pv->addWidget(actionButton("ActionRfCancelOperation"));
  v->addWidget(progress);

  auto* commands = group(" Команды ");
  auto* cv = new QGridLayout(commands);
  cv->addWidget(actionButton("ActionRfStartMeas"), 0, 0, 1, 2);
  cv->addWidget(actionButton("ActionRfClearLoggerData"), 1, 0, 1, 2);
  cv->addWidget(actionButton("ActionRfSyncTime"), 2, 0, 1, 2);
  auto* period = named(new QSpinBox, "JvSpinEditTkPollPeriod");
  period->setRange(0, 255);
  period->setValue(8);
  period->setToolTip(QStringLiteral("Период опроса в часах"));
  cv->addWidget(period, 3, 0, 1, 2);
  cv->addWidget(actionButton("ActionRfSetTkPollPeriod"), 4, 0, 1, 2);
  auto* newChannel = named(new QSpinBox, "JvSpinEditNewRfChannel");
  newChannel->setToolTip(QStringLiteral("№ радиоканала"));
  cv->addWidget(newChannel, 5, 0, 1, 2);
  cv->addWidget(actionButton("ActionRfSetRadiochannel"), 6, 0, 1, 2);
  v->addWidget(commands);
  v->addStretch();
  return column;
}

QWidget* MainWindow::createUsbPage() {
  auto* page = new QWidget;
  auto* h = new QHBoxLayout(page);
  h->setContentsMargins(4, 4, 4, 4);
  auto* left = new QVBoxLayout;

  usbLoggerGrid_ = named(new QTableWidget(2, 10), "StringGridUsbLogger");
  usbLoggerGrid_->verticalHeader()->setVisible(false);
  usbLoggerGrid_->horizontalHeader()->setFixedHeight(44);
  usbLoggerGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  usbLoggerGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Heading and one logger row, with room for the scroll bar that narrow windows need.
  usbLoggerGrid_->setFixedHeight(44 + 2 * 20 + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
  usbLoggerGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  left->addWidget(usbLoggerGrid_);

  auto* connectButtons = new QHBoxLayout;
  for (const char* name : {"ActionUsbConnect", "ActionUsbDisconnect"}) {
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name) == QLatin1String("ActionUsbConnect") ? QStringLiteral("ButtonUsbConnect")
                                                                                    : QStringLiteral("ButtonUsbDisconnect"));
    b->setDefaultAction(action(QString::fromLatin1(name)));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connectButtons->addWidget(b);
  }
  connectButtons->addStretch();
  left->addLayout(connectButtons);

  usbTable_ = new DataTableWidget(DataTableWidget::Page::Usb);
  usbTable_->setMeasurementSet(&book_.UsbSet);
  usbTable_->setActions(action(QStringLiteral("ActionShowGraphic")), action(QStringLiteral("ActionExportToExcel")));
  connect(usbTable_, &DataTableWidget::viewChosen, this, [this] {
    emit usbGraphLinesFillRequested();
    FormResize();
  });
  left->addWidget(usbTable_, 3);
  memo2_ = named(new QPlainTextEdit, "Memo2");
  memo2_->setReadOnly(true);
  memo2_->setVisible(false);
  left->addWidget(memo2_, 1);
  h->addLayout(left, 1);

  QScrollArea* scroll = wrapColumn(createUsbControls(), QStringLiteral("PanelUsbControls"), QStringLiteral("ScrollBoxUsbCtrls"));
  scrollBoxes_[1] = scroll;
  columnPanels_[1] = scroll->parentWidget();
  h->addWidget(columnPanels_[1]);
  return page;
}

QWidget* MainWindow::createUsbControls() {
  auto* column = new QWidget;
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(2, 2, 2, 2);
  auto actionButton = [this](const char* name, const char* text = nullptr) {
    auto* b = new QToolButton;
    b->setDefaultAction(action(QString::fromLatin1(name)));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (text) b->setText(QString::fromUtf8(text));
    return b;
  };

  auto* download = group(" Приём данных ", "GroupBoxUsbDownload");
  auto* dv = new QVBoxLayout(download);
  auto* all = named(new QCheckBox(QStringLiteral("Все данные")), "CheckBoxUsbGetAllData");
  dv->addWidget(all);
  auto* firstLabel = named(new QLabel(QStringLiteral("Начать с даты")), "LabelUsbFirst");
  auto* first = named(new QDateTimeEdit, "DateTimePickerUsbFirst");
  auto* lastLabel = named(new QLabel(QStringLiteral("Завершить по дату")), "LabelUsbLast");
  auto* last = named(new QDateTimeEdit, "DateTimePickerUsbLast");
  for (QDateTimeEdit* p : {first, last}) {
    p->setCalendarPopup(true);
    p->setDisplayFormat(QStringLiteral("dd.MM.yy  HH:mm"));
    p->setMinimumDate(QDate(2013, 1, 1));
  }
  dv->addWidget(firstLabel);
  dv->addWidget(first);
  dv->addWidget(lastLabel);
  dv->addWidget(last);
  // While "Все данные" is ticked the date range means nothing.
  connect(all, &QCheckBox::toggled, this, [=](bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{firstLabel, first, lastLabel, last}) w->setEnabled(!on);
  });
  dv->addWidget(actionButton("ActionUsbDownloadData", "Принять"));
  dv->addWidget(actionButton("ActionUsbCancelDataLoading"));
  dv->addWidget(actionButton("ActionUsbSaveDataToFile", "Сохранить"));
  v->addWidget(download);

  auto* progress = group(" Ход выполнения ", "GroupBoxUsbProgress");
  auto* pv = new QVBoxLayout(progress);
  pv->addWidget(boldLabel("LabelUsbExecution"));
  pv->addWidget(hiddenBar("ProgressBarUsbExec"));
  pv->addWidget(boldLabel("JvLabelUsbProgressStatus"));
  v->addWidget(progress);

  auto* commands = group(" Команды ", "GroupBoxUsbCommands");
  auto* cv = new QVBoxLayout(commands);
  cv->addWidget(actionButton("ActionUsbStartMeas"));
  cv->addWidget(actionButton("ActionUsbClearLoggerData"));
  cv->addWidget(actionButton("ActionUsbStartGsmSending"));
  v->addWidget(commands);

  auto* info = group(" Информация ", "GroupBoxUsbLoggerInfo");
  auto* iv = new QVBoxLayout(info);
  auto* errors = named(new QLabel(QStringLiteral("Ошибки:")), "LabelUsbInfoErrorDesc");
  errors->setWordWrap(true);
  errors->setMinimumHeight(3 * errors->fontMetrics().lineSpacing());
  iv->addWidget(errors);
  auto gauge = [](const char* name, int min, int max, int pos) {
    auto* g = named(new QProgressBar, name);
    g->setRange(min, max);
    g->setValue(pos);
    g->setTextVisible(false);
    g->setFixedHeight(14);
    g->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: lime; }"));
    return g;
  };
  iv->addWidget(new QLabel(QStringLiteral("Память:")));
  auto* memory = gauge("GaugeUsedMemory", 0, 128, 0);
  memory->setToolTip(QStringLiteral("0"));
  iv->addWidget(memory);
  iv->addWidget(new QLabel(QStringLiteral("Батарея:")));
  auto* charge = gauge("GaugeCharge", 560, 720, 560);
  charge->setToolTip(QStringLiteral("Неизвестно"));
  iv->addWidget(charge);
  iv->addWidget(named(new QLabel(QStringLiteral("Уровень сигнала GSM:")), "LabelUsbInfoGsmLevel"));
  iv->addWidget(gauge("GaugeGsmLevel", -115, -66, -115));
  v->addWidget(info);
  v->addStretch();
  return column;
}

QWidget* MainWindow::createConfigPage() {
  auto* page = new QWidget;
  auto* h = new QHBoxLayout(page);
  h->setContentsMargins(4, 4, 4, 4);
  auto* left = new QVBoxLayout;
  auto* form = new QHBoxLayout;
  auto* settingsColumn = new QVBoxLayout;

  auto* main = group(" Основные настройки ", "GroupBoxMainParams");
  auto* mg = new QGridLayout(main);
  auto* time = named(new QLineEdit, "JvMaskEditUsbLoggerTime");
  time->setReadOnly(true);
  time->setInputMask(QStringLiteral("90.90.0000 00:00:00;_"));
  time->setMaxLength(19);
  time->setMinimumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000 00:00:00")) + 16);
  auto spin = [](const char* name, int min, int max, int value) {
    auto* s = named(new QSpinBox, name);
    s->setRange(min, max);
    s->setValue(value);
    return s;
  };
  const struct {
    const char* label;
    const char* labelName;
    QWidget* field;
  } rows[] = {
      {"Дата, время:", "LabelUsbLoggerTime", time},
      {"Период опроса МЦДТ, ч:", "LabelUsbLoggerTkPollPeriod", spin("JvSpinEditUsbLoggerTkPollPeriod", 0, 255, 8)},
      {"№ радиочастотного канала:", "LabelUsbLoggerRfChannel", spin("JvSpinEditUsbLoggerRfChannel", 16, 23, 20)},
      {"Период отправки по GSM, ч:", "LabelUsbLoggerGsmSendPeriod", spin("JvSpinEditUsbLoggerGsmSendPeriod", 0, 255, 24)},
      {"Коррекция хода часов, ppm:", "LabelUsbLoggerClockAdjust", spin("JvSpinEditUsbLoggerClockAdjust", -499, 500, 0)},
  };
  int r = 0;
  for (const auto& row : rows) {
    auto* label = named(new QLabel(QString::fromUtf8(row.label)), row.labelName);
    mg->addWidget(label, r, 0);
    mg->addWidget(row.field, r, 1);
    ++r;
  }
  // The clock correction is kept in the logger image but never offered to the user.
  rows[4].field->setVisible(false);
  mg->itemAtPosition(4, 0)->widget()->setVisible(false);
  settingsColumn->addWidget(main);

  auto textGroup = [](const char* caption, const char* name, std::initializer_list<std::pair<const char*, const char*>> edits) {
    auto* box = group(caption, name);
    auto* g = new QGridLayout(box);
    g->setColumnStretch(1, 1);
    int row = 0;
    for (const auto& [label, editName] : edits) {
      g->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
      auto* edit = named(new QLineEdit, editName);
      edit->setMinimumWidth(160);
      g->addWidget(edit, row, 1);
      ++row;
    }
    return box;
  };
  settingsColumn->addWidget(textGroup(" Параметры подключения GSM ", "GroupBoxGsmParams",
                                      {{"Имя точки доступа (APN):", "LabeledEditUsbLoggerGsmApnName"},
                                       {"Имя пользователя:", "LabeledEditUsbLoggerGsmApnUsername"},
                                       {"Пароль:", "LabeledEditUsbLoggerGsmApnPwd"}}));
  settingsColumn->addWidget(textGroup(" Параметры MQTT: ", "GroupBoxMqttParams",
                                      {{"Сервер:", "LabeledEditMqttServer"},
                                       {"Порт:", "LabeledEditMqttPort"},
                                       {"Идентификатор пользователя:", "LabeledEditMqttUserId"},
                                       {"Имя пользователя:", "LabeledEditMqttUserName"},
                                       {"Пароль:", "LabeledEditMqttUserPwd"},
                                       {"Топик данных:", "LabeledEditMqttDataTopic"},
                                       {"Топик конфигурации:", "LabeledEditMqttConfigTopic"}}));
  settingsColumn->addStretch();
  form->addLayout(settingsColumn, 1);

  auto* summary = group(" Информация ", "GroupBoxUsbLoggerSummary");
  auto* sv = new QVBoxLayout(summary);
  sv->addWidget(infoGrid("StringGridUsbLoggerInfo",
                         {QStringLiteral("Версия микропрограммы"), QStringLiteral("Объём внутренней памяти"),
                          QStringLiteral("Свободно внутренней памяти"), QStringLiteral("Занято внутренней памяти"),
                          QStringLiteral("Всего замеров")}));
  sv->addWidget(infoGrid("StringGridUsbLoggerStatus",
                         {QStringLiteral("Напряжение батареи"), QStringLiteral("Инициализация МЦДТ"),
                          QStringLiteral("Следующий запуск чтения МЦДТ"), QStringLiteral("Следующий запуск отправки по GSM"),
                          QStringLiteral("Уровень сигнала GSM"), QStringLiteral("Код ошибки")}));
  sv->addStretch();
  form->addWidget(summary, 0, Qt::AlignTop);
  left->addLayout(form);
  h->addLayout(left, 1);

  QScrollArea* scroll =
      wrapColumn(createConfigControls(), QStringLiteral("PanelCfgControls"), QStringLiteral("ScrollBoxCfgCtrls"));
  scrollBoxes_[2] = scroll;
  columnPanels_[2] = scroll->parentWidget();
  h->addWidget(columnPanels_[2]);
  return page;
}

QWidget* MainWindow::createConfigControls() {
  auto* column = new QWidget;
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(2, 2, 2, 2);
  auto* commands = group(" Команды ", "GroupBoxCfgCommands");
  auto* cv = new QVBoxLayout(commands);
  for (const char* name : {"ActionUsbReadSettings", "ActionUsbWriteSettings", "ActionUsbResetToDefaults",
                           "ActionConfigFileSaveAs", "ActionConfigFileOpen", "ActionUsbPcTimeSync",
                           "ActionUsbGsmTimeSync"}) {
    auto* b = new QToolButton;
    b->setDefaultAction(action(QString::fromLatin1(name)));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (QLatin1String(name) == QLatin1String("ActionUsbResetToDefaults")) b->setText(QStringLiteral("Сброс настроек по умолч."));
    cv->addWidget(b);
  }
  v->addWidget(commands);
  auto* progress = group(" Ход выполнения ", "GroupBoxCfgProgress");
  auto* pv = new QVBoxLayout(progress);
  pv->addWidget(boldLabel("LabelSettingsExecution"));
  pv->addWidget(hiddenBar("ProgressBarSettingsExec"));
  pv->addWidget(boldLabel("JvLabelSettingsProgressStatus"));
  v->addWidget(progress);
  v->addStretch();
  return column;
}

void MainWindow::createUsbRowIndicators() {
  // Placed over the logger row; hidden and disabled until a logger is shown.
  const struct {
    const char* name;
    QRect rect;
    const char* hint;
  } indicators[] = {{"ImageUsbSignal", {124, 19, 76, 12}, ""},
                    {"ShapeUsbSignalBar", {139, 21, 10, 5}, ""},
                    {"ShapeUsbErrorLamp", {236, 21, 9, 9}, "Нет ошибок"},
                    {"ImageUsbBattery", {207, 20, 24, 12}, ""}};
  for (const auto& ind : indicators) {
    auto* w = named(new QLabel(usbLoggerGrid_->viewport()), ind.name);
    w->setGeometry(ind.rect);
    w->setToolTip(QString::fromUtf8(ind.hint));
    w->setAttribute(Qt::WA_TranslucentBackground);
    w->setVisible(false);
    w->setEnabled(false);
  }
  findChild<QLabel*>(QStringLiteral("ShapeUsbSignalBar"))->setStyleSheet(QStringLiteral("background: white;"));
  findChild<QLabel*>(QStringLiteral("ShapeUsbErrorLamp"))->setStyleSheet(QStringLiteral("background: red; border-radius: 4px;"));
}

void MainWindow::FormCreate() {
  // 1. Settings file and logger-list folder; 3. data-file folder.
  paths_ = ResolveProgramPaths(folders_);
  // 2. The diagnostic switch is read once and never changes during the run.
  SetLoggingOn(LoggingMarkerPresent(QFileInfo(folders_.programFilePath()).absolutePath()));
  memo1_->setVisible(LoggingOn());
  memo2_->setVisible(LoggingOn());
  // 4. Help file beside the program.
  const QFileInfo exe(folders_.programFilePath());
  helpFile_ = exe.dir().filePath(exe.completeBaseName() + QStringLiteral(".chm"));
  // 6. The settings page's tab appears only while a USB logger is connected.
  pages_->setTabVisible(ConfigPage, false);
  // 7. The radio logger grid shows the (empty) list; 8, 9, 11. data tables by time, headings only.
  rfTable_->setView(DataTableView::ByTime);
  usbTable_->setView(DataTableView::ByTime);
  rfTable_->FillDataGrid(-1);
  usbTable_->FillDataGrid(-1);
  // 10. USB logger grid.
  // The headings keep their CR LF breaks; a header view wants plain LF.
  QStringList headings;
  for (const QString& h : LoggerGridHeadings()) headings << QString(h).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  usbLoggerGrid_->setHorizontalHeaderLabels(headings.mid(0, 10));
  const std::vector<int>& usbWidths = UsbLoggerGridBaseWidths();
  for (int c = 0; c < 10; ++c) usbLoggerGrid_->setColumnWidth(c, usbWidths[c]);
  // 14. Ports; 16. date pickers: a month back from midnight, to now.
  const QDateTime now = QDateTime::currentDateTime();
  const QDateTime monthAgo(now.date().addDays(-31), QTime(0, 0));
  for (const char* name : {"DateTimeBegin", "DateTimePickerUsbFirst"}) findChild<QDateTimeEdit*>(QLatin1String(name))->setDateTime(monthAgo);
  for (const char* name : {"DateTimeFinish", "DateTimePickerUsbLast"}) findChild<QDateTimeEdit*>(QLatin1String(name))->setDateTime(now);
  // 17. Progress bars hidden at 0, progress and status labels empty.
  for (const char* name : {"ProgrBarExecution", "ProgressBarUsbExec", "ProgressBarSettingsExec"}) {
    auto* bar = findChild<QProgressBar*>(QLatin1String(name));
    bar->setValue(0);
    bar->setVisible(false);
  }
  for (const char* name : {"LabelExecution", "JvLabelCurrDevStatus", "LabelUsbExecution", "JvLabelUsbProgressStatus",
                           "LabelSettingsExecution", "JvLabelSettingsProgressStatus"})
    findChild<QLabel*>(QLatin1String(name))->clear();
  // 19. Settings file over the computed defaults.
  ProgramSettings defaults;
  defaults.dataFilesDir = paths_.dataFilesDir;
  defaults.deviceListDir = paths_.deviceListDir;
  const ProgramSettings settings = ProgramSettings::load(paths_.iniFileName, defaults);
  fillComPortList(settings);
  applySettings(settings);
  // 20, 21.
  action(QStringLiteral("ActionUsbDisconnect"))->setEnabled(false);
  radioState_ = MainWindowRules::RadioNotConnected;
  loggerRows_.setCurrentDevRow(-1);
  findChild<QLabel*>(QStringLiteral("JvLabelCurrDevStatus"))->setToolTip(QString());
  // 22, 23. USB row indicators and gauges are created above.
  createUsbRowIndicators();
  UpdateControls();
}

void MainWindow::fillComPortList(const ProgramSettings& s) {
  auto* box = findChild<QComboBox*>(QStringLiteral("ComboBoxPortNum"));
  box->clear();
  QStringList ports = ListComPorts();
  // The simulated modem's pseudo-terminal is offered like a plugged-in adapter.
  if (radioSim_) ports.prepend(radioSim_->ptyPath());
  box->addItems(ports);
  int index = radioSim_ ? 0 : ports.indexOf(s.portName);
  if (index < 0) index = ports.indexOf(QStringLiteral("COM%1").arg(s.port));
  box->setCurrentIndex(index);
  if (index < 0) box->setEditText(s.portName);
}

void MainWindow::applySettings(const ProgramSettings& s) {
  move(s.left, s.top);
  resize(s.width, s.height);
  for (const char* name : {"JvSpinEditRfChannel", "JvSpinEditNewRfChannel"}) {
    auto* spin = findChild<QSpinBox*>(QLatin1String(name));
    spin->setRange(s.minChannel, s.maxChannel);
    spin->setValue(s.channel);
  }
  findChild<QSlider*>(QStringLiteral("TrackBarDataBlockSize"))->setValue(s.dataBlockSize);
  for (int g = 0; g < 3; ++g) {
    auto* items = findChild<QButtonGroup*>(QStringLiteral("RadioGrPower%1Items").arg(g + 1));
    if (QAbstractButton* b = items->button(s.power[g])) b->setChecked(true);
    auto* attempt = findChild<QCheckBox*>(QStringLiteral("CheckBoxAttempt%1").arg(g + 1));
    attempt->setChecked(s.attempt[g]);
    findChild<QGroupBox*>(QStringLiteral("RadioGrPower%1").arg(g + 1))->setEnabled(s.attempt[g]);
  }
  rfTable_->setMaxLimit(s.rfMaxLimit);
  rfTable_->setMinLimit(s.rfMinLimit);
  rfTable_->setHighlightOutOfRange(s.rfHighlight);
  usbTable_->setMaxLimit(s.usbMaxLimit);
  usbTable_->setMinLimit(s.usbMinLimit);
  usbTable_->setHighlightOutOfRange(s.usbHighlight);
  paths_.dataFilesDir = s.dataFilesDir;
  paths_.deviceListDir = s.deviceListDir;
  loadedSettings_ = s;
}

ProgramSettings MainWindow::collectSettings() const {
  ProgramSettings s = loadedSettings_;
  const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
  s.top = g.top();
  s.left = g.left();
  s.height = g.height();
  s.width = g.width();
  s.channel = findChild<QSpinBox*>(QStringLiteral("JvSpinEditRfChannel"))->value();
  s.dataBlockSize = findChild<QSlider*>(QStringLiteral("TrackBarDataBlockSize"))->value();
  for (int g = 0; g < 3; ++g) {
    s.power[g] = findChild<QButtonGroup*>(QStringLiteral("RadioGrPower%1Items").arg(g + 1))->checkedId();
    s.attempt[g] = findChild<QCheckBox*>(QStringLiteral("CheckBoxAttempt%1").arg(g + 1))->isChecked();
  }
  s.rfMaxLimit = rfTable_->maxLimit();
  s.rfMinLimit = rfTable_->minLimit();
  s.rfHighlight = rfTable_->highlightOutOfRange();
  s.usbMaxLimit = usbTable_->maxLimit();
  s.usbMinLimit = usbTable_->minLimit();
  s.usbHighlight = usbTable_->highlightOutOfRange();
  s.dataFilesDir = paths_.dataFilesDir;
  s.deviceListDir = paths_.deviceListDir;
  return s;
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Every showing by the program runs FormShow; a restore by the window system does not.
  if (!event->spontaneous()) FormShow();
}

void MainWindow::FormShow() {
  startupFile_ = MainWindowRules::startupDataFile(options_.arguments);
  if (!startupFile_.isEmpty()) {
    emit dataFileRequested(startupFile_);
    return;
  }
  pages_->setCurrentIndex(RadioPage);
  if (!usbAutoConnectDone_) {
    usbAutoConnectDone_ = true;
    action(QStringLiteral("ActionUsbConnect"))->trigger();
  }
}

void MainWindow::UpdateControls() {
  using namespace MainWindowRules;
  const int page = pages_->currentIndex();
  const DataCommands d = page == RadioPage ? radioDataCommands(book_.RadioSet.loggerCount(), radioState_)
                                           : usbDataCommands(book_.UsbSet.hasData(0), usbState());
  action(QStringLiteral("ActionShowGraphic"))->setEnabled(d.showGraphic);
  action(QStringLiteral("ActionExportToExcel"))->setEnabled(d.exportToExcel);
  action(page == RadioPage ? QStringLiteral("ActionRfSaveDataToFile") : QStringLiteral("ActionUsbSaveDataToFile"))
      ->setEnabled(d.saveData);
  action(QStringLiteral("ActionDataFileOpen"))->setEnabled(d.dataFileOpen);
  if (page == RadioPage)
    emit pageRefreshRequested(page);
  else
    RefreshUsbPage();
  FormResize();
}

void MainWindow::FormResize() {
  rfLoggerGrid_->FitColumns();
  const auto usb = LoggerGridColumnWidths(usbLoggerGrid_->viewport()->width(), UsbLoggerGridBaseWidths(),
                                          UsbLoggerGridWidthDivisor);
  for (int c = 0; c < static_cast<int>(usb.size()); ++c) usbLoggerGrid_->setColumnWidth(c, usb[c]);
  rfTable_->ApplySizingRule();
  usbTable_->ApplySizingRule();
  for (int i = 0; i < 3; ++i) {
    QWidget* column = scrollBoxes_[i]->widget();
    const bool scrolls = scrollBoxes_[i]->verticalScrollBar()->isVisible() ||
                         column->sizeHint().height() > scrollBoxes_[i]->viewport()->height();
    // The column is 185 pixels unless this platform's fonts need more for its captions:
    // a clipped command caption helps nobody.
    const int width = std::max(kColumnPanelWidth, column->minimumSizeHint().width());
    columnPanels_[i]->setFixedWidth(width + (scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0));
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void MainWindow::PageControl1Change() {
  FormResize();
  UpdateControls();
}

bool MainWindow::FormCloseQuery() {
  if (!book_.hasUnsavedRadioData() && !book_.hasUnsavedUsbData()) return true;
  return prompt_->question(
      QStringLiteral("Ранее принятые данные не сохранены, закрытие программы приведет к их потере.\r\nПродолжить?"));
}

void MainWindow::FormClose() {
  radioState_ = MainWindowRules::RadioClosing;
  emit closing();
  // The graph window keeps its own section of the same file: it goes first.
  if (graphic_->isShowing()) graphic_->closeWindow();
  collectSettings().save(paths_.iniFileName, findChild<QComboBox*>(QStringLiteral("ComboBoxPortNum"))->currentText(),
                         *prompt_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void MainWindow::ActionAboutExecute() { about_->exec(); }

void MainWindow::ActionPrgSettingsExecute() { prgSettings_->edit(paths_.dataFilesDir, paths_.deviceListDir); }

void MainWindow::ActionHelpContentsExecute() { QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile_)); }

void MainWindow::addMemo1Line(const QString& line) { memo1_->appendPlainText(line); }

void MainWindow::addMemo2Line(const QString& line) { memo2_->appendPlainText(line); }

void MainWindow::freeDevList() { loggerRows_.FreeDevList(); }

void MainWindow::clearRfLoggerIndicators() { loggerRows_.HideErrorsAndBatteries(); }

bool MainWindow::FreeAllDynamicVariable(bool askUser, bool destroy) {
  return book_.FreeAllDynamicVariable(askUser, destroy, *prompt_, *this);
}

void MainWindow::ActivateRadioPage() { pages_->setCurrentIndex(RadioPage); }

void MainWindow::FillRfDataGrid(int loggerIndex) { rfTable_->FillDataGrid(loggerIndex); }

void MainWindow::ShowListEditor() { changeRfLoggerList_->exec(); }

void MainWindow::ShowRadioData() {
  loggerRows_.ShowRadioData(book_.RadioSet, radioState_ == MainWindowRules::RadioFileData);
  rfTable_->FillDataGrid(book_.SelectedRfLogger);
  emit rfGraphLinesRebuildRequested();
}

void MainWindow::selectRfLogger(int logger) {
  if (logger == book_.SelectedRfLogger) return;
  book_.SelectedRfLogger = logger;
  rfTable_->FillDataGrid(logger);
  emit rfGraphLinesFillRequested(logger);
  FormResize();
}

void MainWindow::clearUsbLoggerIndicators() {
  findChild<QLabel*>(QStringLiteral("ShapeUsbErrorLamp"))->setVisible(false);
  findChild<QLabel*>(QStringLiteral("ImageUsbBattery"))->clear();
}
