#pragma once

#include <QTimer>

#include <map>

#include "usb/HidBackend.h"

/// HidBackend over hidapi (hidraw). Each open device has a reader thread that hands every
/// input report to the main thread as a queued call; arrival and unplug are found by
/// enumerating the watched identifiers once a second. Create and use on the main thread.
class HidapiBackend : public HidBackend {
  Q_OBJECT
 public:
  explicit HidapiBackend(QObject* parent = nullptr);
  ~HidapiBackend() override;

  std::vector<HidDeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) override;
  std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;
  void watch(uint16_t vendorId, uint16_t productId) override;

  /// Called by the reader threads; queues the report for the main thread.
  void postReport(const HidDeviceInfo& from, QByteArray report);

 private:
  void poll();

  bool initialised_ = false;
  QTimer pollTimer_;
  uint16_t watchVendor_ = 0;
  uint16_t watchProduct_ = 0;
  std::map<QString, HidDeviceInfo> present_;  ///< by path, as of the last poll
};
