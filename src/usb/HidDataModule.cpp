#include "usb/HidDataModule.h"

#include <QCoreApplication>

#include <algorithm>

#include "app/Clock.h"
#include "app/Cp1251.h"
#include "app/DateTimeValue.h"
#include "app/Logging.h"
#include "usb/UsbCommands.h"
#include "usb/UsbViewInterface.h"

namespace {

const QString kWriteError = QStringLiteral("Ошибка при отправке команды в устройство");
const QString kAckTimeout = QStringLiteral("Истёк таймаут ожидания подтверждения приёма команды");
const QString kAnswerTimeout = QStringLiteral("Истёк таймаут ожидания ответа");

/// Report buffer size: the loggers' 65 bytes, or the device's longer output report.
constexpr int kReportSize = 65;

void log(const QString& line) {
  if (LoggingOn()) WriteLogLine(line);
}

}  // namespace

QString UsbHexDump(const uint8_t* data, int count) {
  QString s;
  s.reserve(count * 3);
  for (int i = 0; i < count; ++i) s += Hex2(data[i]) + QLatin1Char(' ');
  return s;
}

THidDataModule1::THidDataModule1(HidBackend& backend, Clock& clock, std::unique_ptr<UsbTimer> timer, QObject* parent)
    : QObject(parent), backend_(backend), clock_(clock), timer_(std::move(timer)) {
  if (!timer_) timer_ = std::make_unique<QtUsbTimer>(true);
  timer_->onTimeout = [this] { TimerTimeoutTimer(); };
  connect(&backend_, &HidBackend::inputReport, this, &THidDataModule1::HidCtlDeviceData);
  connect(&backend_, &HidBackend::deviceArrived, this, &THidDataModule1::HidCtlArrival);
  connect(&backend_, &HidBackend::deviceUnplugged, this, &THidDataModule1::HidCtlDeviceUnplug);
  connect(&backend_, &HidBackend::deviceSetChanged, this, &THidDataModule1::HidCtlDeviceChange);
  backend_.watch(USB_LOGGER_VENDOR_ID, USB_LOGGER_PRODUCT_ID);
}

THidDataModule1::~THidDataModule1() {
  timer_->onTimeout = nullptr;
  current_ = nullptr;
  // Hands every HID device back before the backend may go.
  devices_.clear();
  retired_.clear();
}

void THidDataModule1::retire(std::unique_ptr<TLoggerHidDevice> device) {
  if (!device) return;
  retired_.push_back(std::move(device));
  if (holdDepth_ == 0) releaseRetired();
}

void THidDataModule1::releaseRetired() {
  // Swapped out first so that nothing a HID device does on closing can see a half-cleared list.
  std::vector<std::unique_ptr<TLoggerHidDevice>> gone;
  gone.swap(retired_);
}

void THidDataModule1::memo1(const QString& line) {
  if (view_) view_->addMemo1Line(line);
}

void THidDataModule1::memo2(const QString& line) {
  if (view_) view_->addMemo2Line(line);
}

QString THidDataModule1::stampNow() const { return DateTimeValue::traceStamp(clock_.now()); }

bool THidDataModule1::SearchDevices() {
  if (current_ && current_ != adopted_.get()) setCurrentDevice(nullptr);
  // Old entries go before the new ones are opened, so a logger still present is reopened
  // after its old handle was closed (unless a hold keeps the old entry for a handler).
  for (auto& old : devices_) retire(std::move(old));
  devices_.clear();
  for (const HidDeviceInfo& info : backend_.enumerate(USB_LOGGER_VENDOR_ID, USB_LOGGER_PRODUCT_ID)) {
    if (info.vendorId != USB_LOGGER_VENDOR_ID || info.productId != USB_LOGGER_PRODUCT_ID) continue;
    // A logger that cannot be opened (held by another program, no access rights) is passed
    // over like any other device; the next search tries it again.
    std::unique_ptr<HidDevice> handle = backend_.open(info);
    if (!handle) continue;
    auto device = std::make_unique<TLoggerHidDevice>();
    device->hidDevice = std::move(handle);
    devices_.push_back(std::move(device));
  }
  if (devices_.empty()) return false;
  setCurrentDevice(devices_.front().get());
  return true;
}

void THidDataModule1::setCurrentDevice(TLoggerHidDevice* device) {
  if (device != current_) timer_->stop();
  current_ = device;
}

TLoggerHidDevice* THidDataModule1::adoptImage(std::unique_ptr<TLoggerHidDevice> image) {
  setCurrentDevice(nullptr);
  retire(std::move(adopted_));
  adopted_ = std::move(image);
  setCurrentDevice(adopted_.get());
  return current_;
}

bool THidDataModule1::RunCommand(uint8_t code, const QByteArray& payload) {
  return RunCommand(code, static_cast<int>(payload.size()), reinterpret_cast<const uint8_t*>(payload.constData()));
}

bool THidDataModule1::RunCommand(uint8_t code, int n, const uint8_t* payload) {
  if (!current_ || !current_->hidDevice) return false;
  TLoggerHidDevice& dev = *current_;
  const int reportLength = dev.hidDevice->outputReportLength();
  dev.cmdPacketLen = 0;
  dev.dataLen = 0;
  dev.verdict = UsbVerdict::Failed;
  dev.errorText.clear();
  dev.pendingCode = code;
  if (!FindUsbCommand(code)) return false;
  if (reportLength < 2) {
    failWrite(dev);
    return false;
  }

  if (code == CMD_SET_GSM_CONFIG) {
    // Seven data reports of 63 payload bytes; the tail of the last one is zero.
    QByteArray texts(USB_GSM_CONFIG_SIZE + USB_DATA_REPORT_CHUNK, '\0');
    std::copy_n(payload, std::clamp(n, 0, USB_GSM_CONFIG_SIZE), texts.data());
    std::vector<uint8_t> report(static_cast<size_t>(std::max(kReportSize, reportLength)));
    for (int remaining = USB_GSM_CONFIG_SIZE; remaining > 0; remaining -= USB_DATA_REPORT_CHUNK) {
      std::fill(report.begin(), report.end(), 0);
      report[0] = USB_REPORT_DATA_OUT;
      std::copy_n(texts.constData() + (USB_GSM_CONFIG_SIZE - remaining), USB_DATA_REPORT_CHUNK, report.begin() + 1);
      const int written = dev.hidDevice->write(report.data(), reportLength);
      if (written != reportLength) {
        // The supervision starts only after a good write, so a failed one posts nothing.
        timer_->stop();
        failWrite(dev);
        return false;
      }
      dev.timeout1 = 6000;
      dev.timeout2 = 6000;
      timer_->stop();
      log(QStringLiteral("WriteCmd: CMD_SET_GSM_CONFIG - data; timeout1=6000; timeout2=6000"));
      timer_->start(6000);
      log(QStringLiteral(" :: CMD_SET_GSM_CONFIG Sending: ") + UsbHexDump(report.data(), 64));
    }
    return WriteCmd(dev, code, 0, nullptr, reportLength);
  }
  return WriteCmd(dev, code, n, payload, reportLength);
}

bool THidDataModule1::WriteCmd(TLoggerHidDevice& dev, uint8_t code, int n, const uint8_t* payload, int reportLength) {
  std::vector<uint8_t> report(static_cast<size_t>(std::max(kReportSize, reportLength)), 0);
  report[0] = USB_REPORT_CMD_OUT;
  report[1] = code;
  if (payload) std::copy_n(payload, std::clamp(n, 0, static_cast<int>(report.size()) - 2), report.begin() + 2);
  log(QStringLiteral(" :: WriteCmd ") + Hex2(code) + QStringLiteral(" Sending: ") + UsbHexDump(report.data(), 64));
  const int written = dev.hidDevice->write(report.data(), reportLength);
  if (written != reportLength) {
    failWrite(dev);
    return false;
  }
  const UsbCommandInfo* info = FindUsbCommand(code);
  dev.sendTime = clock_.now();
  dev.verdict = UsbVerdict::Sent;
  dev.timeout1 = info->timeout1Ms;
  dev.timeout2 = info->timeout2Ms;
  timer_->stop();
  log(QStringLiteral("WriteCmd: %1; timeout1=%2; timeout2=%3").arg(code).arg(dev.timeout1).arg(dev.timeout2));
  timer_->start(dev.timeout1);
  return true;
}

void THidDataModule1::failWrite(TLoggerHidDevice& dev) {
  dev.errorText = kWriteError;
  dev.verdict = UsbVerdict::Failed;
  dev.doneTime = clock_.now();
  memo1(QStringLiteral("RunCommand: ") + dev.errorText);
  log(QStringLiteral("WriteCmd: ") + dev.errorText);
}

void THidDataModule1::post(int type) { QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(type))); }

void THidDataModule1::finish() {
  timer_->stop();
  post(WM_USB_COMMAND_DONE);
}

void THidDataModule1::restartWithTimeout2(TLoggerHidDevice& dev) {
  timer_->setInterval(dev.timeout2);
  timer_->stop();
  timer_->start();
}

void THidDataModule1::HidCtlDeviceData(const HidDeviceInfo& from, const QByteArray& report) {
  if (!current_ || !current_->hidDevice) return;
  if (from.vendorId != USB_LOGGER_VENDOR_ID || from.productId != USB_LOGGER_PRODUCT_ID) return;
  if (from.serialNumber != current_->hidDevice->info().serialNumber) return;
  if (report.isEmpty()) return;
  const DeviceHold hold(*this);
  TLoggerHidDevice& dev = *current_;
  const QDateTime received = clock_.now();
  const uint8_t id = static_cast<uint8_t>(report[0]);
  const auto* bytes = reinterpret_cast<const uint8_t*>(report.constData()) + 1;
  const int count = static_cast<int>(report.size()) - 1;

  QByteArray printable;
  for (int i = 0; i < count; ++i)
    if (bytes[i] >= 0x20) printable += static_cast<char>(bytes[i]);
  if (id == USB_REPORT_CMD_IN) {
    const int n = std::min(count, TLoggerHidDevice::kCmdPacketSize);
    std::copy_n(bytes, n, dev.cmdPacket.begin());
    dev.cmdPacketLen = static_cast<uint16_t>(n);
  } else if (id == USB_REPORT_DATA_IN) {
    // An answer longer than the buffer is cut at its end: the rest is dropped, never written
    // past it.
    const int n = std::min(count, TLoggerHidDevice::kDataBufferSize - dev.dataLen);
    std::copy_n(bytes, n, dev.data.begin() + dev.dataLen);
    dev.dataLen = static_cast<uint16_t>(dev.dataLen + n);
  }
  if (LoggingOn()) {
    log(QStringLiteral(" :: R ") + Hex2(id) + QStringLiteral("  ") + UsbHexDump(bytes, count));
    if (!printable.isEmpty()) log(QStringLiteral(" :: ") + Cp1251::decode(printable));
  }

  const UsbCommandInfo* info = FindUsbCommand(dev.pendingCode);
  const UsbCompletionClass cls = info ? info->completionClass : UsbCompletionClass::B;
  const bool echo = id == USB_REPORT_CMD_IN && count >= 1 && dev.cmdPacket[0] == dev.pendingCode;
  const uint8_t status = id == USB_REPORT_CMD_IN && count >= 2 ? dev.cmdPacket[1] : 0;
  const QString stamp = DateTimeValue::traceStamp(received);
  const auto done = [&] {
    dev.verdict = UsbVerdict::Done;
    dev.doneTime = received;
    finish();
  };
  const auto acknowledged = [&] {
    dev.verdict = UsbVerdict::Acknowledged;
    dev.ackTime = received;
    restartWithTimeout2(dev);
  };
  // A report that does not fit the command fails it with an empty error text, so a
  // time-out text of an earlier expiry is not taken for a second time-out.
  const auto failed = [&] {
    dev.verdict = UsbVerdict::Failed;
    dev.errorText.clear();
  };

  switch (cls) {
    case UsbCompletionClass::A:
      if (id == USB_REPORT_DATA_IN) {
        acknowledged();
        memo1(QStringLiteral("Data packet received at ") + stamp);
      } else if (echo) {
        done();
        memo1(QStringLiteral("Cmd packet received at ") + stamp);
      } else {
        failed();
        finish();
        memo1(QStringLiteral("Error packet received at ") + stamp);
      }
      break;
    case UsbCompletionClass::B:
      if (echo) {
        done();
      } else {
        failed();
        finish();
      }
      break;
    case UsbCompletionClass::C:
      if (echo && dev.verdict == UsbVerdict::Sent) {
        acknowledged();
      } else if (echo && status == USB_STATUS_DONE && dev.verdict == UsbVerdict::Acknowledged) {
        done();
      } else {
        failed();
        finish();
      }
      break;
    case UsbCompletionClass::D:
      if (echo && status == USB_STATUS_ACCEPTED) {
        acknowledged();
      } else if (echo && status == USB_STATUS_DONE) {
        done();
      } else {
        // The timer keeps running: its expiry posts a second failure.
        failed();
        post(WM_USB_COMMAND_DONE);
      }
      break;
  }
}

void THidDataModule1::TimerTimeoutTimer() {
  timer_->stop();
  if (!current_ || !current_->hidDevice) return;
  const DeviceHold hold(*this);
  TLoggerHidDevice& dev = *current_;
  if (dev.verdict == UsbVerdict::Sent)
    dev.errorText = InAcknowledgementSet(dev.pendingCode) ? kAckTimeout : kAnswerTimeout;
  else if (dev.verdict == UsbVerdict::Acknowledged)
    dev.errorText = kAnswerTimeout;
  const QDateTime now = clock_.now();
  dev.verdict = UsbVerdict::Failed;
  dev.doneTime = now;
  log(QStringLiteral(" :: TimerTimeoutTimer: ") + dev.errorText);
  memo1(QStringLiteral("TimerTimeout: ") + DateTimeValue::traceStamp(now));
  memo1(QStringLiteral("Интервал после отправки: ") + QString::number(dev.sendTime.msecsTo(now)));
  memo1(QStringLiteral("Интервал после подтверждения: ") + QString::number(dev.ackTime.msecsTo(now)));
  post(WM_USB_COMMAND_DONE);
}

void THidDataModule1::HidCtlArrival(const HidDeviceInfo&) {
  if (!current_) post(WM_USB_DEVICE_ARRIVED);
}

void THidDataModule1::HidCtlDeviceUnplug(const HidDeviceInfo& info) {
  memo2(QStringLiteral("In function \"HidCtlDeviceUnplug\""));
  memo2(QStringLiteral("--> VendorName = ") + info.vendorName + QStringLiteral("; ProductName = ") + info.productName +
        QStringLiteral("; SerialNumber = ") + info.serialNumber);
  if (current_ && current_->hidDevice && current_->hidDevice->info().path == info.path) {
    emit currentDeviceUnplugged();
    if (view_) view_->setStatusPanel2(QStringLiteral("USB-логгер был отключен"));
  }
}

void THidDataModule1::HidCtlDeviceChange() { memo2(QStringLiteral("In function \"HidCtlDeviceChange\"")); }

bool THidDataModule1::event(QEvent* e) {
  // Receivers keep device references across message boxes (nested event loops).
  if (e->type() == static_cast<QEvent::Type>(WM_USB_COMMAND_DONE)) {
    const DeviceHold hold(*this);
    emit usbCommandDone();
    return true;
  }
  if (e->type() == static_cast<QEvent::Type>(WM_USB_DEVICE_ARRIVED)) {
    const DeviceHold hold(*this);
    emit usbDeviceArrived();
    return true;
  }
  return QObject::event(e);
}
