#include "usb/UsbConnectionController.h"

#include "app/Clock.h"
#include "app/DateTimeValue.h"
#include "app/Logging.h"
#include "app/UserPrompt.h"
#include "usb/HidDataModule.h"
#include "usb/LoggerHidDevice.h"
#include "usb/UsbAnswerDecoder.h"
#include "usb/UsbCommands.h"
#include "usb/UsbHost.h"
#include "usb/UsbPayloads.h"

namespace {

using Bar = UsbViewInterface::Bar;
using Page = UsbViewInterface::Page;

void log(const QString& line) {
  if (LoggingOn()) WriteLogLine(line);
}

bool isReadCommand(uint8_t code) {
  return code == CMD_GET_SW_VERSION || code == CMD_GET_TIME_ADJUSTMENT || code == CMD_GET_DATA_STRUCT ||
         code == CMD_GET_HEADER || code == CMD_GET_CONFIG;
}

QString verdictLine(UsbVerdict v) {
  switch (v) {
    case UsbVerdict::Sent: return QStringLiteral("Статус: отправлена");
    case UsbVerdict::Acknowledged: return QStringLiteral("Статус: получено подтверждение приёма");
    case UsbVerdict::Done: return QStringLiteral("Статус: выполнена");
    case UsbVerdict::Failed: return QStringLiteral("Статус: ошибка");
  }
  return QString();
}

}  // namespace

/// One logger task: what starts it and what its progress display shows.
struct UsbConnectionController::Task {
  uint8_t code;
  QByteArray payload;
  uint8_t state;
  UsbAction action;
  bool usbBar;
  bool settingsBar;
  int maximum;
  QString title;
  QString startName;  ///< empty: no start line
  QString errorBox;
  bool alwaysUsbPage;  ///< false: switch to the USB page only away from the radio page
};

UsbConnectionController::UsbConnectionController(THidDataModule1& module, UsbViewInterface& view, UsbHost& host,
                                                 UserPrompt& prompt, Clock& clock,
                                                 std::unique_ptr<UsbTimer> progressTimer, QObject* parent)
    : QObject(parent),
      module_(module),
      view_(view),
      host_(host),
      prompt_(prompt),
      clock_(clock),
      progress_(std::move(progressTimer)) {
  if (!progress_) progress_ = std::make_unique<QtUsbTimer>(false);
  progress_->setInterval(1000);
  progress_->onTimeout = [this] { TimerProgressTimer(); };
  connect(&module_, &THidDataModule1::usbCommandDone, this, &UsbConnectionController::UsbCommandDone);
  connect(&module_, &THidDataModule1::usbDeviceArrived, this, &UsbConnectionController::UsbDeviceArrived);
  connect(&module_, &THidDataModule1::currentDeviceUnplugged, this,
          &UsbConnectionController::ActionUsbDisconnectExecute);

  const auto trace = [this](const QString& line) { memo2(line); };
  handlers_[CMD_GET_HEADER] = [this, trace](TLoggerHidDevice& dev) {
    if (!UsbAnswerDecoder::headerSizeAccepted(dev)) return wrongSize(CMD_GET_HEADER);
    UsbAnswerDecoder::decodeHeader(dev, trace, prompt_);
    return afterHeader();
  };
  handlers_[CMD_GET_CONFIG] = [this, trace](TLoggerHidDevice& dev) {
    if (!UsbAnswerDecoder::configSizeAccepted(dev)) return wrongSize(CMD_GET_CONFIG);
    UsbAnswerDecoder::decodeConfig(dev, trace, prompt_);
    chainStep(CMD_GET_TIME_ADJUSTMENT, QStringLiteral("Ошибка чтения коррекции времени!"));
    return true;
  };
  handlers_[CMD_GET_TIME_ADJUSTMENT] = [this, trace](TLoggerHidDevice& dev) {
    UsbAnswerDecoder::decodeTimeAdjustment(dev, trace);
    chainStep(CMD_GET_SW_VERSION, QStringLiteral("Ошибка чтения версии микропрограммы!"));
    return true;
  };
  handlers_[CMD_GET_SW_VERSION] = [this, trace](TLoggerHidDevice& dev) {
    UsbAnswerDecoder::decodeSwVersion(dev, trace);
    chainStep(CMD_GET_DATA_STRUCT, QStringLiteral("Ошибка чтения информации о структуре данных!"));
    return true;
  };
  handlers_[CMD_GET_DATA_STRUCT] = [this, trace](TLoggerHidDevice& dev) {
    UsbAnswerDecoder::decodeDataStruct(dev, trace);
    chainDone();
    return true;
  };
  for (uint8_t code : {CMD_START_TK_POLL, CMD_CLEAR_MEM, CMD_START_GSM_SEND, CMD_SYNC_TIME}) {
    handlers_[code] = [this, code](TLoggerHidDevice& dev) {
      if (dev.statusByte() == USB_STATUS_DONE) completeTask(code);
      return true;
    };
  }
  handlers_[CMD_SET_TIME] = [this](TLoggerHidDevice&) {
    completeTask(CMD_SET_TIME);
    return true;
  };
  handlers_[CMD_REBOOT_NOTICE] = [this](TLoggerHidDevice& dev) {
    if (dev.statusByte() == USB_STATUS_DONE && state_ < PSUsbReady) {
      memo2(QStringLiteral("Logger just rebooted and sent \"EE 55\". Resending CMD_GET_CONFIG"));
      if (!send(CMD_GET_CONFIG)) prompt_.error(QStringLiteral("Ошибка чтения конфигурации!"));
    }
    return true;
  };
}

UsbConnectionController::~UsbConnectionController() { progress_->onTimeout = nullptr; }

void UsbConnectionController::setCompletionHandler(uint8_t code, CompletionHandler handler) {
  handlers_[code] = std::move(handler);
}

QString UsbConnectionController::stampedNow(const QString& text) const {
  return DateTimeValue::traceStamp(clock_.now()) + QStringLiteral(": ") + text;
}

TLoggerHidDevice* UsbConnectionController::connectedDevice() const {
  TLoggerHidDevice* dev = module_.currentDevice();
  return dev && dev->hidDevice ? dev : nullptr;
}

bool UsbConnectionController::send(uint8_t code, const QByteArray& payload) { return module_.RunCommand(code, payload); }

bool UsbConnectionController::actionEnabled(UsbAction action) const {
  const TLoggerHidDevice* dev = module_.currentDevice();
  return UsbActionEnabled(state_, action, !dev || dev->gsmModule != 0);
}

void UsbConnectionController::stopProgress() { progress_->stop(); }

void UsbConnectionController::hideBar(Bar bar) {
  view_.setProgressPosition(bar, 0);
  view_.setProgressVisible(bar, false);
}

void UsbConnectionController::toUsbPageFromRadio() {
  if (view_.activePage() == Page::Radio) view_.showPage(Page::Usb);
}

// ---- connect and disconnect ----

void UsbConnectionController::ActionUsbConnectExecute() {
  if (state_ != PSUsbNotConnected && state_ != PSUsbFileData) {
    prompt_.warning(QStringLiteral("Подключение к логгеру по USB уже установлено!"));
    return;
  }
  if (!host_.ClearUsbData(true, true)) return;
  if (!module_.SearchDevices()) return;
  if (const TLoggerHidDevice* dev = connectedDevice()) {
    const HidDeviceInfo& info = dev->hidDevice->info();
    memo2(QStringLiteral("Connected to %1:%2 SN: %3").arg(info.vendorId).arg(info.productId).arg(info.serialNumber));
  }
  view_.setStatusPanel2(QString());
  if (!connectedDevice()) {
    prompt_.plain(QStringLiteral("Соединение с прибором не установлено!"));
    return;
  }
  memo2(QStringLiteral("RunCommand(CMD_GET_HEADER)"));
  if (send(CMD_GET_HEADER)) {
    state_ = PSUsbInit;
    toUsbPageFromRadio();
    host_.UpdateControls();
  } else {
    prompt_.plain(QStringLiteral("Ошибка при чтении описания логгера!"));
  }
}

void UsbConnectionController::ActionUsbDisconnectExecute() {
  if (!UsbActionEnabled(state_, UsbAction::Disconnect)) return;
  module_.setCurrentDevice(nullptr);  // a command still pending is abandoned
  state_ = PSUsbNotConnected;
  // A task cut off by Disconnect never completes: its progress display goes with it.
  stopProgress();
  hideBar(Bar::Usb);
  hideBar(Bar::Settings);
  view_.showPage(Page::Usb);
  host_.UpdateControls();
}

void UsbConnectionController::UsbDeviceArrived() {
  if (state_ == PSUsbNotConnected || state_ == PSUsbFileData) ActionUsbConnectExecute();
}

// ---- the read chain ----

bool UsbConnectionController::afterHeader() {
  if (state_ < PSUsbReady) {
    memo2(QStringLiteral("UsbState: PSUsbNotConnected -> PSUsbInit"));
    if (state_ == PSUsbNotConnected) state_ = PSUsbInit;
    memo2(QStringLiteral("RunCommand(CMD_GET_CONFIG)"));
    if (!send(CMD_GET_CONFIG)) prompt_.error(QStringLiteral("Ошибка чтения конфигурации!"));
  } else if (state_ == PSUsbReadSettings) {
    memo2(QStringLiteral("UsbState = PSUsbReadSettings"));
    memo2(QStringLiteral("RunCommand(CMD_GET_CONFIG)"));
    if (!send(CMD_GET_CONFIG)) prompt_.error(QStringLiteral("Ошибка чтения конфигурации!"));
  }
  host_.UpdateControls();
  return true;
}

void UsbConnectionController::chainStep(uint8_t next, const QString& errorBox) {
  if (state_ == PSUsbInit || state_ == PSUsbReadSettings) {
    memo2(QStringLiteral("RunCommand(") + UsbCommandName(next) + QLatin1Char(')'));
    if (!send(next)) prompt_.error(errorBox);
  } else {
    host_.UpdateControls();
  }
}

void UsbConnectionController::chainDone() {
  if (state_ == PSUsbInit || state_ == PSUsbReadSettings) {
    state_ = PSUsbReady;
    stopProgress();
    hideBar(Bar::Usb);
    hideBar(Bar::Settings);
    view_.setExecutionTitle(Bar::Usb, QString());
    view_.setExecutionTitle(Bar::Settings, QString());
    toUsbPageFromRadio();
  }
  host_.UpdateControls();
}

bool UsbConnectionController::wrongSize(uint8_t code) {
  if (state_ != PSUsbInit && state_ != PSUsbReadSettings) {
    host_.UpdateControls();
    return false;
  }
  const TLoggerHidDevice& dev = *module_.currentDevice();
  const QString got = QString::number(dev.dataLen);
  const QString want = QString::number(dev.answerLength());
  const bool header = code == CMD_GET_HEADER;
  const QString name = header ? QStringLiteral("CMD_GET_HEADER") : QStringLiteral("CMD_GET_CONFIG");
  const QString resend = (header ? QStringLiteral("Resending last command CMD_GET_HEADER (wrong data size) ")
                                 : QStringLiteral("Resending last command (wrong data size) ")) +
                         Hex2(code);
  if (LoggingOn()) {
    view_.setWindowCaption(name + QStringLiteral(" WRONG SIZE: ") + got + QStringLiteral(" Must be ") + want);
    WriteLogLine(QStringLiteral("!!!") + name + QStringLiteral(" WRONG SIZE!!! ") + got + QStringLiteral(" Must be ") +
                 want + QStringLiteral("\r\n") + resend);
  }
  memo2(resend);
  if (!send(code)) prompt_.error(QStringLiteral("Ошибка чтения конфигурации!"));
  return false;
}

void UsbConnectionController::UsbReadSettings() {
  if (state_ != PSUsbReady) return;
  state_ = PSUsbReadSettings;
  memo2(QStringLiteral("RunCommand(CMD_GET_HEADER)"));
  if (send(CMD_GET_HEADER))
    view_.setActionEnabled(UsbAction::ReadSettings, false);
  else
    prompt_.error(QStringLiteral("Ошибка чтения метаданных!"));
}

void UsbConnectionController::ActionUsbReadSettingsExecute() {
  if (state_ != PSUsbReady) {
    prompt_.warning(kNotReady);
    return;
  }
  view_.showPage(Page::Settings);
  UsbReadSettings();
}

// ---- completion ----

void UsbConnectionController::UsbCommandDone() {
  // dev stays in use across the handler's message boxes, whose nested event loop may
  // disconnect and reconnect the logger and so rebuild the device list.
  const THidDataModule1::DeviceHold hold(module_);
  TLoggerHidDevice* dev = connectedDevice();
  if (!dev) return;
  memo1(verdictLine(dev->verdict));
  if (dev->verdict == UsbVerdict::Failed) {
    memo1(dev->errorText);
    if (dev->errorText.contains(QStringLiteral("Истёк таймаут ожидания"))) handleTimeout(*dev);
    return;
  }
  memo1(QStringLiteral("Время посылки команды: ") + DateTimeValue::traceStamp(dev->sendTime));
  if (InAcknowledgementSet(dev->pendingCode))
    memo1(QStringLiteral("Время получения подтверждения команды: ") + DateTimeValue::traceStamp(dev->ackTime));
  memo1(QStringLiteral("Время завершения выполнения команды: ") + DateTimeValue::traceStamp(dev->doneTime));
  bool goOn = true;
  if (dev->cmdPacketLen > 0) {
    memo1(stampedNow(QStringLiteral("Incoming cmd:")));
    memo1(UsbHexDump(dev->cmdPacket.data(), dev->cmdPacketLen));
    const auto it = handlers_.find(dev->cmdPacket[0]);
    if (it != handlers_.end()) goOn = it->second(*dev);
  }
  // The handler may have sent the next command, which empties the buffers.
  if (goOn && dev->dataLen > 0) {
    memo1(stampedNow(QStringLiteral("Incoming data:")));
    memo1(UsbHexDump(dev->data.data(), dev->dataLen));
  }
}

void UsbConnectionController::handleTimeout(TLoggerHidDevice& dev) {
  const uint8_t code = dev.pendingCode;
  if (isReadCommand(code)) {
    // Connecting or re-reading: the read commands are resent until the logger answers.
    if (state_ == PSUsbInit || state_ == PSUsbReadSettings) {
      log(QStringLiteral("Resending last command (timeout) CmdCode=0x") + Hex2(code));
      memo2(QStringLiteral("Resending last command CmdCode=0x") + Hex2(code));
      if (!send(code)) prompt_.error(QStringLiteral("Ошибка повторной отправки команды!"));
    }
    return;
  }
  prompt_.error(kTimeoutBox);
  log(QStringLiteral("Timeout! CmdCode=0x") + Hex2(code));
  stopProgress();
  view_.setProgressStatus(Bar::Usb, QString());
  view_.setExecutionTitle(Bar::Usb, QString());
  hideBar(Bar::Usb);
  hideBar(Bar::Settings);
  state_ = PSUsbReady;
  host_.UpdateControls();
}

// ---- logger tasks ----

void UsbConnectionController::startTask(const Task& t) {
  memo2(QStringLiteral("RunCommand(") + UsbCommandName(t.code) + QLatin1Char(')'));
  if (!send(t.code, t.payload)) {
    prompt_.error(t.errorBox);
    return;
  }
  state_ = t.state;
  view_.setActionEnabled(t.action, false);
  for (const auto& [bar, used] : {std::pair{Bar::Usb, t.usbBar}, std::pair{Bar::Settings, t.settingsBar}}) {
    if (!used) continue;
    view_.setProgressRange(bar, 0, t.maximum);
    view_.setProgressPosition(bar, 0);
    view_.setProgressVisible(bar, true);
    view_.setExecutionTitle(bar, t.title);
    view_.setProgressStatus(bar, QString());
  }
  progress_->start();
  if (!t.startName.isEmpty()) memo2(stampedNow(t.startName + QStringLiteral(" started ...")));
  if (t.alwaysUsbPage)
    view_.showPage(Page::Usb);
  else
    toUsbPageFromRadio();
  host_.UpdateControls();
}

void UsbConnectionController::ActionUsbStartMeasExecute() {
  if (state_ != PSUsbReady) {
    prompt_.warning(kNotReady);
    return;
  }
  startTask({CMD_START_TK_POLL, {}, PSUsbStartMeas, UsbAction::StartMeas, true, false, 20,
             QStringLiteral("Выполнение замера"), QString(), QStringLiteral("Ошибка запуска измерения!"), true});
}

void UsbConnectionController::ActionUsbClearLoggerDataExecute() {
  if (state_ == PSUsbNotConnected) {
    prompt_.error(QStringLiteral("Подключение к USB-логгеру не установлено!"));
    return;
  }
  if (state_ != PSUsbReady) return;
  if (!prompt_.question(QStringLiteral("Стереть все данные из памяти приборов? Это может занять несколько минут.")))
    return;
  startTask({CMD_CLEAR_MEM, {}, PSUsbClearMem, UsbAction::ClearLoggerData, true, false, 60,
             QStringLiteral("Удаление данных"), QStringLiteral("CMD_CLEAR_MEM"),
             QStringLiteral("Ошибка удаления данных!"), true});
}

void UsbConnectionController::ActionUsbStartGsmSendingExecute() {
  if (state_ == PSUsbNotConnected) {
    prompt_.error(QStringLiteral("Подключение к USB-логгеру не установлено!"));
    return;
  }
  if (state_ != PSUsbReady) return;
  startTask({CMD_START_GSM_SEND, {}, PSUsbGsmSend, UsbAction::StartGsmSending, true, false, 120,
             QStringLiteral("Отправка по GSM"), QStringLiteral("CMD_START_GSM_SEND"),
             QStringLiteral("Ошибка запуска отправки по GSM!"), true});
}

void UsbConnectionController::ActionUsbPcTimeSyncExecute() {
  if (state_ != PSUsbReady) {
    prompt_.warning(kNotReady);
    return;
  }
  startTask({CMD_SET_TIME, UsbPayloads::setTime(clock_.now()), PSUsbPcTimeSync, UsbAction::PcTimeSync, true, true, 2,
             QStringLiteral("Синхр. времени с ПК"), QStringLiteral("CMD_SET_TIME"),
             QStringLiteral("Ошибка установки времени!"), false});
}

void UsbConnectionController::ActionUsbGsmTimeSyncExecute() {
  if (state_ != PSUsbReady) {
    prompt_.warning(kNotReady);
    return;
  }
  startTask({CMD_SYNC_TIME, {}, PSUsbGsmTimeSync, UsbAction::GsmTimeSync, true, true, 260,
             QStringLiteral("Синхр. времени по GSM"), QStringLiteral("CMD_SYNC_TIME by GSM"),
             QStringLiteral("Ошибка установки времени по GSM!"), false});
}

void UsbConnectionController::completeTask(uint8_t code) {
  struct Completion {
    QString line;  ///< after the stamp; empty: none
    UsbAction action;
    QString result;
    bool both;
  };
  Completion c;
  switch (code) {
    case CMD_START_TK_POLL: c = {QString(), UsbAction::StartMeas, QStringLiteral("Замер выполнен"), false}; break;
    case CMD_CLEAR_MEM:
      c = {QStringLiteral("CMD_CLEAR_MEM ended"), UsbAction::ClearLoggerData, QStringLiteral("Данные удалены"), false};
      break;
    case CMD_START_GSM_SEND:
      c = {QStringLiteral("CMD_START_GSM_SEND ended"), UsbAction::StartGsmSending, QStringLiteral("Задача выполнена"),
           false};
      break;
    case CMD_SET_TIME:
      c = {QStringLiteral("CMD_SET_TIME ended"), UsbAction::PcTimeSync, QStringLiteral("Время установлено"), true};
      break;
    default:  // CMD_SYNC_TIME
      c = {QStringLiteral("CMD_SYNC_TIME by GSM ended ..."), UsbAction::GsmTimeSync, QStringLiteral("Задача выполнена"),
           true};
      break;
  }
  if (!c.line.isEmpty()) memo2(stampedNow(c.line));
  view_.setActionEnabled(c.action, true);
  view_.setProgressStatus(Bar::Usb, c.result);
  hideBar(Bar::Usb);
  view_.setExecutionTitle(Bar::Usb, QString());
  if (c.both) {
    view_.setProgressStatus(Bar::Settings, c.result);
    hideBar(Bar::Settings);
    view_.setExecutionTitle(Bar::Settings, QString());
  }
  state_ = PSUsbReady;
  stopProgress();
  if (code == CMD_CLEAR_MEM) host_.ClearUsbData(false, false);
  if (c.both)
    toUsbPageFromRadio();
  else
    view_.showPage(Page::Usb);
  host_.UpdateControls();
  UsbReadSettings();
}

void UsbConnectionController::TimerProgressTimer() {
  view_.stepProgress(Bar::Usb);
  view_.stepProgress(Bar::Settings);
}
