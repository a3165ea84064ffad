#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "usb/UsbState.h"
#include "usb/UsbTimer.h"
#include "usb/UsbViewInterface.h"

class Clock;
class THidDataModule1;
class UserPrompt;
class UsbHost;
struct TLoggerHidDevice;

/// Drives the USB logger: the connection state UsbState, connect and disconnect, the read
/// chain (header, configuration, clock correction, firmware version, memory structure), the
/// logger tasks with their progress display, and the reaction to every finished command.
/// It reaches the window only through UsbViewInterface, UsbHost and UserPrompt.
///
/// Main thread only; one command at a time. Each Action…Execute is what the main window's
/// QAction of that name triggers.
class UsbConnectionController : public QObject {
  Q_OBJECT
 public:
  /// progressTimer: TimerProgress (a repeating 1000 ms QTimer when none is given).
  UsbConnectionController(THidDataModule1& module, UsbViewInterface& view, UsbHost& host, UserPrompt& prompt,
                          Clock& clock, std::unique_ptr<UsbTimer> progressTimer = nullptr, QObject* parent = nullptr);
  ~UsbConnectionController() override;

  uint8_t UsbState() const { return state_; }
  /// For the data-file reader (PSUsbFileData) and the later chains; traces nothing.
  void setUsbState(uint8_t state) { state_ = state; }

  /// The enabled state of an action now (the action table, with the current logger's GSM
  /// module). The page refresh applies it to every USB action.
  bool actionEnabled(UsbAction action) const;

  void ActionUsbConnectExecute();
  void ActionUsbDisconnectExecute();
  void ActionUsbStartMeasExecute();
  void ActionUsbClearLoggerDataExecute();
  void ActionUsbStartGsmSendingExecute();
  void ActionUsbPcTimeSyncExecute();
  void ActionUsbGsmTimeSyncExecute();
  void ActionUsbReadSettingsExecute();
  /// Re-reads the logger (header to memory structure) when it is idle in PSUsbReady.
  void UsbReadSettings();

  /// WM_USB_COMMAND_DONE.
  void UsbCommandDone();
  /// WM_USB_DEVICE_ARRIVED.
  void UsbDeviceArrived();
  /// TimerProgress expiry: steps both bars.
  void TimerProgressTimer();
  UsbTimer& timerProgress() { return *progress_; }

  /// Completion reaction for one echoed code, run by UsbCommandDone for a Done command.
  /// Returns false when it ended the handling (the data dump is then skipped). The data
  /// download and the settings write chain register their codes here.
  using CompletionHandler = std::function<bool(TLoggerHidDevice& device)>;
  void setCompletionHandler(uint8_t code, CompletionHandler handler);

  /// Trace helpers for the chains that plug in here.
  void memo1(const QString& line) { view_.addMemo1Line(line); }
  void memo2(const QString& line) { view_.addMemo2Line(line); }
  /// The stamp of now followed by ": " and the text.
  QString stampedNow(const QString& text) const;

  static inline const QString kNotReady = QStringLiteral("Предыдущая команда не завершена или логгер не подключен!");
  static inline const QString kTimeoutBox = QStringLiteral("Истёк таймаут ожидания!");

 private:
  struct Task;
  void startTask(const Task& task);
  void completeTask(uint8_t code);
  bool afterHeader();
  void chainStep(uint8_t next, const QString& errorBox);
  void chainDone();
  bool wrongSize(uint8_t code);
  void handleTimeout(TLoggerHidDevice& dev);
  void stopProgress();
  void hideBar(UsbViewInterface::Bar bar);
  void toUsbPageFromRadio();
  bool send(uint8_t code, const QByteArray& payload = QByteArray());
  TLoggerHidDevice* connectedDevice() const;

  THidDataModule1& module_;
  UsbViewInterface& view_;
  UsbHost& host_;
  UserPrompt& prompt_;
  Clock& clock_;
  std::unique_ptr<UsbTimer> progress_;
  uint8_t state_ = PSUsbNotConnected;
  std::map<uint8_t, CompletionHandler> handlers_;
};
