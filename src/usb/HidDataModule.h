#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

#include "usb/HidBackend.h"
#include "usb/LoggerHidDevice.h"
#include "usb/UsbTimer.h"

class Clock;
class UsbViewInterface;

/// Posted to the module when the pending command reached Done or Failed.
constexpr int WM_USB_COMMAND_DONE = 0x83E8;
/// Posted to the module when a logger arrived while there was no current device.
constexpr int WM_USB_DEVICE_ARRIVED = 0x83E9;

/// The HID transport of the USB loggers: the device list and the current device, one
/// command at a time written as output reports, input reports judged by the pending
/// command's completion class, and the two time-outs of the pending command.
///
/// Everything runs on the main thread. Completion and arrival are posted events (the
/// numbers above) that the module turns into the signals usbCommandDone and
/// usbDeviceArrived when the event loop delivers them, so a receiver always runs after the
/// handler that sent the command has returned, and sees the device as it is by then.
///
/// Device lifetime: a handler may keep a TLoggerHidDevice reference across a call that runs
/// a nested event loop (a message box), in which an unplug and a new arrival can rebuild the
/// device list. While any DeviceHold is alive, devices leaving the list (and replaced images)
/// are parked intact, HID device included, and destroyed only when the last hold ends.
class THidDataModule1 : public QObject {
  Q_OBJECT
 public:
  /// Keeps every device that leaves the module alive until this hold and all holds around
  /// it have ended. Taken on the stack by whatever holds a device reference across a call
  /// that may re-enter the event loop; nests freely.
  class DeviceHold {
   public:
    explicit DeviceHold(THidDataModule1& module) : module_(module) { ++module_.holdDepth_; }
    ~DeviceHold() {
      if (--module_.holdDepth_ == 0) module_.releaseRetired();
    }
    DeviceHold(const DeviceHold&) = delete;
    DeviceHold& operator=(const DeviceHold&) = delete;

   private:
    THidDataModule1& module_;
  };

  /// timer: the supervision timer TimerTimeout (a single-shot QTimer when none is given).
  THidDataModule1(HidBackend& backend, Clock& clock, std::unique_ptr<UsbTimer> timer = nullptr,
                  QObject* parent = nullptr);
  ~THidDataModule1() override;

  /// Trace lines (Memo1, Memo2) and the status bar go here; may be null.
  void setView(UsbViewInterface* view) { view_ = view; }

  /// Rebuilds the device list: releases every old entry (parks it while a DeviceHold is
  /// alive), opens every logger present, makes the first one current. False when none was
  /// found (no current device then).
  bool SearchDevices();
  const std::vector<std::unique_ptr<TLoggerHidDevice>>& devices() const { return devices_; }

  /// The current device, or null. It may be a list entry or an adopted image.
  TLoggerHidDevice* currentDevice() const { return current_; }
  /// Makes device current (null: none). Stops the supervision of a command still pending, so
  /// an abandoned command never times out on a later device.
  void setCurrentDevice(TLoggerHidDevice* device);
  /// Takes an image read back from a data file (no HID device), keeps it until the next
  /// adoption (or the end of the holds alive then) and makes it current.
  TLoggerHidDevice* adoptImage(std::unique_ptr<TLoggerHidDevice> image);

  /// Writes one command to the current device; payload holds at least n bytes (for
  /// CMD_SET_GSM_CONFIG the 428-byte texts, which go out first as seven data reports).
  /// False, with nothing posted, when there is no current HID device, the code is unknown
  /// or a write failed.
  bool RunCommand(uint8_t code, int n, const uint8_t* payload);
  bool RunCommand(uint8_t code, const QByteArray& payload = QByteArray());

  /// Expiry of TimerTimeout.
  void TimerTimeoutTimer();
  UsbTimer& timerTimeout() { return *timer_; }

 signals:
  /// WM_USB_COMMAND_DONE delivered.
  void usbCommandDone();
  /// WM_USB_DEVICE_ARRIVED delivered.
  void usbDeviceArrived();
  /// The current device's HID device was pulled out: the controller executes Disconnect.
  void currentDeviceUnplugged();

 protected:
  bool event(QEvent* e) override;

 private:
  void HidCtlDeviceData(const HidDeviceInfo& from, const QByteArray& report);
  void HidCtlArrival(const HidDeviceInfo& info);
  void HidCtlDeviceUnplug(const HidDeviceInfo& info);
  void HidCtlDeviceChange();

  bool WriteCmd(TLoggerHidDevice& dev, uint8_t code, int n, const uint8_t* payload, int reportLength);
  void failWrite(TLoggerHidDevice& dev);
  void post(int type);
  void finish();
  void restartWithTimeout2(TLoggerHidDevice& dev);
  /// Destroys the device now, or parks it until the last DeviceHold ends.
  void retire(std::unique_ptr<TLoggerHidDevice> device);
  void releaseRetired();
  void memo1(const QString& line);
  void memo2(const QString& line);
  QString stampNow() const;

  HidBackend& backend_;
  Clock& clock_;
  std::unique_ptr<UsbTimer> timer_;
  UsbViewInterface* view_ = nullptr;
  std::vector<std::unique_ptr<TLoggerHidDevice>> devices_;
  std::unique_ptr<TLoggerHidDevice> adopted_;
  TLoggerHidDevice* current_ = nullptr;
  /// Live DeviceHold objects; retired_ is empty whenever it is 0.
  int holdDepth_ = 0;
  std::vector<std::unique_ptr<TLoggerHidDevice>> retired_;
};

/// A hex dump: each byte as two upper-case hexadecimal digits and one blank.
QString UsbHexDump(const uint8_t* data, int count);
