#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

/// One HID device as enumeration sees it. path identifies the device while it is plugged in.
struct HidDeviceInfo {
  QString path;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  QString vendorName;
  QString productName;
  QString serialNumber;
};

/// An opened HID device, reserved for the program until the object is destroyed.
/// Its input reports arrive through HidBackend::inputReport. Main thread only.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  virtual const HidDeviceInfo& info() const = 0;
  /// Bytes of an output report including the report ID byte (65 for the loggers).
  virtual int outputReportLength() const = 0;
  /// Writes one output report (byte 0 = report ID); returns the bytes written, -1 on error.
  virtual int write(const uint8_t* data, int size) = 0;
};

/// The HID platform layer: enumeration, opening, reports and device notices.
/// Every signal is emitted on the main thread, one report at a time, in arrival order.
class HidBackend : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~HidBackend() override = default;

  /// Present devices with these identifiers (0 matches any).
  virtual std::vector<HidDeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) = 0;
  /// Opens and reserves the device; nullptr when it cannot be opened.
  virtual std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) = 0;
  /// Starts the arrival and unplug notices for devices with these identifiers.
  virtual void watch(uint16_t vendorId, uint16_t productId) = 0;

 signals:
  /// report[0] is the report ID, the data bytes follow. Only for devices that are open.
  void inputReport(const HidDeviceInfo& from, const QByteArray& report);
  void deviceArrived(const HidDeviceInfo& info);
  void deviceUnplugged(const HidDeviceInfo& info);
  void deviceSetChanged();
};
