#pragma once

#include <QObject>

#include <vector>

#include "usb/HidBackend.h"

/// The device side of a simulated HID device: what a virtual logger implements.
class SimulatedHidPeer {
 public:
  virtual ~SimulatedHidPeer() = default;
  virtual HidDeviceInfo hidInfo() const = 0;
  virtual int outputReportLength() const { return 65; }
  /// One output report as the program wrote it (byte 0 = report ID). Runs inside the
  /// program's write call; answers must go through SimulatedHidBackend::sendInputReport.
  virtual void outputReport(const QByteArray& report) = 0;
};

/// An in-process HidBackend. Peers are plugged in and pulled out by the test or demo;
/// input reports and notices are queued to the main thread like those of real hardware.
class SimulatedHidBackend : public HidBackend {
  Q_OBJECT
 public:
  explicit SimulatedHidBackend(QObject* parent = nullptr);
  ~SimulatedHidBackend() override;

  std::vector<HidDeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) override;
  std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;
  void watch(uint16_t vendorId, uint16_t productId) override;

  /// Makes the peer present (arrival notice queued when watched). The peer must outlive
  /// its presence; unplug it before destroying it.
  void plug(SimulatedHidPeer* peer);
  /// Removes the peer: writes to its open devices fail from now on, unplug notice queued.
  void unplug(SimulatedHidPeer* peer);
  bool isPlugged(const SimulatedHidPeer* peer) const;

  /// Queues one input report from the peer (byte 0 = report ID). Dropped when the peer is
  /// not plugged in or no device of it is open.
  void sendInputReport(const SimulatedHidPeer* peer, const QByteArray& report);

  /// Number of devices of the peer currently open (tests check that entries are released).
  int openCount(const SimulatedHidPeer* peer) const;

 private:
  friend class SimulatedHidDevice;
  struct Entry {
    SimulatedHidPeer* peer;
    HidDeviceInfo info;
    int openCount = 0;
  };
  Entry* findByPath(const QString& path);
  const Entry* findByPeer(const SimulatedHidPeer* peer) const;
  bool matches(const HidDeviceInfo& info) const;

  std::vector<Entry> entries_;
  bool watching_ = false;
  uint16_t watchVendor_ = 0;
  uint16_t watchProduct_ = 0;
  int nextPath_ = 0;
};
