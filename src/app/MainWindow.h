#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <memory>

#include "app/MessageBoxPrompt.h"
#include "app/ProgramPaths.h"
#include "app/ProgramSettings.h"
#include "data/DataFileHost.h"
#include "data/DataFileSaveCommands.h"
#include "data/MeasurementBook.h"
#include "graph/ExcelExport.h"
#include "radio/RfLogger.h"
#include "radio/RfLoggerListHost.h"
#include "radio/RfLoggerRows.h"
#include "usb/UsbHost.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTableView;
class QVBoxLayout;
class QWidget;
class FileChooser;
class AboutDialog;
class PrgSettingsDialog;
class DataTableWidget;
class DataFileLoader;
class RfLoggerGrid;
class RfLoggerListCommands;
class TFormAddRfLogger;
class TFormChangeRfLoggerList;
class GraphLines;
class HidBackend;
class RadioSimulator;
class TFormGraphic;
class THidDataModule1;
class UsbConnectionController;
class UsbLoggerSimulator;
class UsbViewGui;

/// How the program was started.
struct StartupOptions {
  QStringList arguments;  ///< command-line arguments after the program name, options removed
  bool simulate = false;
};

/// The main window: three pages (radio, USB, logger settings), menus, tool bar and status
/// bar. It owns the measurement sets, the radio logger list and the two states that decide
/// which commands are enabled. Every control and action carries its system name as its
/// objectName, so other parts and tests find them with findChild.
class MainWindow : public QMainWindow,
                   public MeasurementBookView,
                   public RfLoggerListHost,
                   public UsbHost,
                   public DataFileHost,
                   public DataSaveView,
                   public XlsExportView {
  Q_OBJECT

 public:
  enum Page { RadioPage = 0, UsbPage = 1, ConfigPage = 2 };

  explicit MainWindow(StartupOptions options, UserPrompt* prompt = nullptr, FileChooser* files = nullptr,
                      const SystemFolders& folders = SystemFolders::standard(), QWidget* parent = nullptr);
  ~MainWindow() override;

  QAction* action(const QString& name) const { return actions_.value(name); }
  UserPrompt& prompt() { return *prompt_; }
  MeasurementBook& book() { return book_; }
  TRfLoggerArray& loggers() { return loggers_; }
  const ProgramPaths& paths() const { return paths_; }
  int radioState() const { return radioState_; }
  void setRadioState(int state) { radioState_ = state; }
  int usbState() const;
  UsbConnectionController& usbController() { return *usbController_; }
  THidDataModule1& hidModule() { return *hidModule_; }
  TFormGraphic& graphic() { return *graphic_; }
  GraphLines& graphLines() { return *graphLines_; }
  /// The simulated devices attached with --simulate (null otherwise).
  RadioSimulator* radioSimulator() const { return radioSim_.get(); }
  UsbLoggerSimulator* usbSimulator() const { return usbSim_; }
  /// The data file chosen at the first showing, if the argument rule took one.
  const QString& startupFile() const { return startupFile_; }
  bool usbAutoConnectDone() const { return usbAutoConnectDone_; }
  RfLoggerGrid* rfLoggerGrid() const { return rfLoggerGrid_; }
  QTableWidget* usbLoggerGrid() const { return usbLoggerGrid_; }
  DataTableWidget* rfTable() const { return rfTable_; }
  DataTableWidget* usbTable() const { return usbTable_; }
  RfLoggerRows& loggerRows() { return loggerRows_; }
  RfLoggerListCommands& listCommands() { return *listCommands_; }

  /// Refreshes the radio page after the radio set changed: grid cells, table, graph lines.
  void ShowRadioData();
  /// A radio logger row was selected: its data go to the table and the graph lines.
  void selectRfLogger(int logger);

  // RfLoggerListHost
  bool FreeAllDynamicVariable(bool askUser, bool destroy) override;
  int RadioState() const override { return radioState_; }
  TMeasurementSet& RadioSet() override { return book_.RadioSet; }
  void ActivateRadioPage() override;
  void UpdateControls() override;
  void FillRfDataGrid(int loggerIndex) override;
  QString DeviceListDir() const override { return paths_.deviceListDir; }
  void ShowListEditor() override;

  // UsbHost
  bool ClearUsbData(bool askUser, bool all) override;

  /// The USB and settings pages' refresh: commands by the USB state, the USB graph lines.
  void RefreshUsbPage();
  /// "Показать график" for the active page.
  void ActionShowGraphicExecute();
  /// "Экспорт в Excel" for the active page.
  void ActionExportToExcelExecute();
  DataFileLoader& dataFileLoader() { return *loader_; }

  // DataFileHost, DataSaveView, XlsExportView
  bool radioConnectedIdle() const override { return radioState_ == 1; }
  void disconnectComPort() override;
  void setRadioStateFileData() override { radioState_ = 8; }
  TRfLoggerArray& rfLoggers() override { return loggers_; }
  TMeasurementSet& radioSet() override { return book_.RadioSet; }
  void showLoggerList(bool warnIfEmpty) override;
  void showRadioData() override { ShowRadioData(); }
  void showRadioPage() override { ActivateRadioPage(); }
  bool usbReady() const override;
  void disconnectUsb() override;
  void setUsbStateFileData() override;
  void clearUsbDataAll() override { ClearUsbData(false, true); }
  TMeasurementSet& usbSet() override { return book_.UsbSet; }
  void setUsbFileImage(const UsbFileHeader& header) override;
  void dropUsbImage() override;
  void showUsbPage() override;
  void updateControls() override { UpdateControls(); }
  void setBusyCursor(bool busy) override;
  bool radioCommandRunning() const override;
  void FormResize();
  /// Collects the window's preferences from its controls, as the close writes them.
  ProgramSettings collectSettings() const;

  // MeasurementBookView
  void addMemo1Line(const QString& line) override;
  void freeDevList() override;
  void clearRfLoggerIndicators() override;
  void clearUsbLoggerIndicators() override;
  void addMemo2Line(const QString& line);

 signals:
  /// The first showing decided to open a data file (the opening itself is the reader's).
  void dataFileRequested(const QString& path);
  /// UpdateControls ran on this page: the page's own refresh follows.
  void pageRefreshRequested(int page);
  /// The window is closing: late radio messages are ignored from now on, links stop.
  void closing();
  /// The radio graph lines are to be rebuilt for the whole set, or refilled for one logger.
  void rfGraphLinesRebuildRequested();
  void rfGraphLinesFillRequested(int logger);
  /// The USB graph lines are to be refilled after the USB table changed its layout.
  void usbGraphLinesFillRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void PageControl1Change();
  void ActionAboutExecute();
  void ActionPrgSettingsExecute();
  void ActionHelpContentsExecute();

  void createActions();
  void createMenusAndToolBar();
  void createPages();
  QWidget* createRadioPage();
  QWidget* createUsbPage();
  QWidget* createConfigPage();
  QWidget* createRadioControls();
  QWidget* createUsbControls();
  QWidget* createConfigControls();
  QScrollArea* wrapColumn(QWidget* column, const QString& panelName, const QString& scrollName);
  void createUsbRowIndicators();
  void createDevices();
  void applySettings(const ProgramSettings& s);
  void fillComPortList(const ProgramSettings& s);

  StartupOptions options_;
  std::unique_ptr<MessageBoxPrompt> ownPrompt_;
  UserPrompt* prompt_;
  std::unique_ptr<FileChooser> ownFiles_;
  FileChooser* files_;
  const SystemFolders& folders_;
  ProgramPaths paths_;
  /// The preferences as read at start; the close writes them back with the controls' values
  /// (MinChannel, MaxChannel and Port keep what was read).
  ProgramSettings loadedSettings_;
  QString helpFile_;
  QString startupFile_;
  bool usbAutoConnectDone_ = false;

  MeasurementBook book_;
  TRfLoggerArray loggers_;
  RfLoggerRows loggerRows_{loggers_};
  std::unique_ptr<RfLoggerListCommands> listCommands_;
  int radioState_ = 0;

  QHash<QString, QAction*> actions_;
  QTabWidget* pages_ = nullptr;
  RfLoggerGrid* rfLoggerGrid_ = nullptr;
  DataTableWidget* rfTable_ = nullptr;
  QTableWidget* usbLoggerGrid_ = nullptr;
  DataTableWidget* usbTable_ = nullptr;
  QScrollArea* scrollBoxes_[3] = {};
  QWidget* columnPanels_[3] = {};
  QPlainTextEdit* memo1_ = nullptr;
  QPlainTextEdit* memo2_ = nullptr;
  QLabel* statusPanels_[2] = {};
  AboutDialog* about_ = nullptr;
  PrgSettingsDialog* prgSettings_ = nullptr;
  TFormAddRfLogger* addRfLogger_ = nullptr;
  TFormChangeRfLoggerList* changeRfLoggerList_ = nullptr;
  TFormGraphic* graphic_ = nullptr;
  std::unique_ptr<GraphLines> graphLines_;

  // USB link: backend (hidraw, or simulated with --simulate), transport, page view, controller.
  std::unique_ptr<RadioSimulator> radioSim_;
  std::unique_ptr<HidBackend> hidBackend_;
  UsbLoggerSimulator* usbSim_ = nullptr;
  std::unique_ptr<THidDataModule1> hidModule_;
  std::unique_ptr<UsbViewGui> usbView_;
  std::unique_ptr<UsbConnectionController> usbController_;

  // Data files and workbooks.
  std::unique_ptr<DataFileSaveCommands> saveCommands_;
  std::unique_ptr<DataFileLoader> loader_;
  std::unique_ptr<ExcelExport> excel_;
};
