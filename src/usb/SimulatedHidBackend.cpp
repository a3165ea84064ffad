#include "usb/SimulatedHidBackend.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>

/// An open simulated device. It refers to its entry by path, so a device whose peer was
/// unplugged simply fails its writes.
class SimulatedHidDevice : public HidDevice {
 public:
  SimulatedHidDevice(SimulatedHidBackend* backend, HidDeviceInfo info, int outputLength)
      : backend_(backend), info_(std::move(info)), outputLength_(outputLength) {}
  ~SimulatedHidDevice() override {
    if (backend_)
      if (auto* entry = backend_->findByPath(info_.path)) --entry->openCount;
  }
  const HidDeviceInfo& info() const override { return info_; }
  int outputReportLength() const override { return outputLength_; }
  int write(const uint8_t* data, int size) override {
    if (!backend_) return -1;
    auto* entry = backend_->findByPath(info_.path);
    if (!entry) return -1;
    entry->peer->outputReport(QByteArray(reinterpret_cast<const char*>(data), size));
    return size;
  }

 private:
  QPointer<SimulatedHidBackend> backend_;
  const HidDeviceInfo info_;
  const int outputLength_;
};

SimulatedHidBackend::SimulatedHidBackend(QObject* parent) : HidBackend(parent) {}
SimulatedHidBackend::~SimulatedHidBackend() {
  // Simulators parented here unplug themselves when they go; let them while the entries
  // still exist.
  const QObjectList kids = children();
  for (QObject* child : kids) delete child;
  entries_.clear();
}

bool SimulatedHidBackend::matches(const HidDeviceInfo& info) const {
  return (watchVendor_ == 0 || info.vendorId == watchVendor_) && (watchProduct_ == 0 || info.productId == watchProduct_);
}

std::vector<HidDeviceInfo> SimulatedHidBackend::enumerate(uint16_t vendorId, uint16_t productId) {
  std::vector<HidDeviceInfo> result;
  for (const auto& e : entries_)
    if ((vendorId == 0 || e.info.vendorId == vendorId) && (productId == 0 || e.info.productId == productId))
      result.push_back(e.info);
  return result;
}

std::unique_ptr<HidDevice> SimulatedHidBackend::open(const HidDeviceInfo& info) {
  Entry* entry = findByPath(info.path);
  if (!entry) return nullptr;
  ++entry->openCount;
  return std::make_unique<SimulatedHidDevice>(this, entry->info, entry->peer->outputReportLength());
}

void SimulatedHidBackend::watch(uint16_t vendorId, uint16_t productId) {
  watching_ = true;
  watchVendor_ = vendorId;
  watchProduct_ = productId;
}

void SimulatedHidBackend::plug(SimulatedHidPeer* peer) {
  if (findByPeer(peer)) return;
  Entry entry{peer, peer->hidInfo()};
  entry.info.path = QStringLiteral("sim:hidraw%1").arg(nextPath_++);
  entries_.push_back(entry);
  if (watching_ && matches(entry.info)) {
    const HidDeviceInfo info = entry.info;
    QMetaObject::invokeMethod(
        this,
        [this, info] {
          emit deviceArrived(info);
          emit deviceSetChanged();
        },
        Qt::QueuedConnection);
  }
}

void SimulatedHidBackend::unplug(SimulatedHidPeer* peer) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [peer](const Entry& e) { return e.peer == peer; });
  if (it == entries_.end()) return;
  const HidDeviceInfo info = it->info;
  entries_.erase(it);
  if (watching_ && matches(info)) {
    QMetaObject::invokeMethod(
        this,
        [this, info] {
          emit deviceUnplugged(info);
          emit deviceSetChanged();
        },
        Qt::QueuedConnection);
  }
}

bool SimulatedHidBackend::isPlugged(const SimulatedHidPeer* peer) const { return findByPeer(peer) != nullptr; }

void SimulatedHidBackend::sendInputReport(const SimulatedHidPeer* peer, const QByteArray& report) {
  const Entry* entry = findByPeer(peer);
  if (!entry || entry->openCount == 0) return;
  const HidDeviceInfo info = entry->info;
  QMetaObject::invokeMethod(
      this,
      [this, info, report] {
        // Reports still in the queue when the device is pulled out are lost, as on the bus.
        const Entry* e = findByPath(info.path);
        if (e && e->openCount > 0) emit inputReport(info, report);
      },
      Qt::QueuedConnection);
}

int SimulatedHidBackend::openCount(const SimulatedHidPeer* peer) const {
  const Entry* e = findByPeer(peer);
  return e ? e->openCount : 0;
}

SimulatedHidBackend::Entry* SimulatedHidBackend::findByPath(const QString& path) {
  for (auto& e : entries_)
    if (e.info.path == path) return &e;
  return nullptr;
}

const SimulatedHidBackend::Entry* SimulatedHidBackend::findByPeer(const SimulatedHidPeer* peer) const {
  for (const auto& e : entries_)
    if (e.peer == peer) return &e;
  return nullptr;
}
