#include "usb/HidapiBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <atomic>
#include <hidapi/hidapi.h>
#include <thread>

#include "usb/HidReportDescriptor.h"

namespace {

QString fromWide(const wchar_t* s) { return s ? QString::fromWCharArray(s) : QString(); }

/// Output report length from the descriptor sysfs exposes for /dev/hidrawN; 65, the
/// loggers' length, when it cannot be read.
int readOutputReportLength(const QString& path) {
  const QString node = QFileInfo(path).fileName();
  QFile file(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
  if (node.startsWith(QLatin1String("hidraw")) && file.open(QIODevice::ReadOnly)) {
    const int length = HidReportDescriptor::maxOutputReportLength(file.readAll());
    if (length > 0) return length;
  }
  return 65;
}

class HidapiDevice : public HidDevice {
 public:
  HidapiDevice(HidapiBackend* backend, hid_device* handle, HidDeviceInfo info)
      : handle_(handle), info_(std::move(info)), outputLength_(readOutputReportLength(info_.path)) {
    reader_ = std::thread([this, backend] {
      // The thread only reads the handle and queues copies; it never touches main-thread
      // state. A read error (device gone) ends the thread; unplug is found by polling.
      unsigned char buffer[1025];
      while (!stop_.load()) {
        const int got = hid_read_timeout(handle_, buffer, sizeof buffer, 100);
        if (got < 0) break;
        if (got == 0) continue;
        QByteArray report(reinterpret_cast<const char*>(buffer), got);
        backend->postReport(info_, std::move(report));
      }
    });
  }
  ~HidapiDevice() override {
    stop_.store(true);
    if (reader_.joinable()) reader_.join();  // bounded by the 100 ms read time-out
    hid_close(handle_);
  }
  const HidDeviceInfo& info() const override { return info_; }
  int outputReportLength() const override { return outputLength_; }
  int write(const uint8_t* data, int size) override { return hid_write(handle_, data, static_cast<size_t>(size)); }

 private:
  hid_device* handle_;
  const HidDeviceInfo info_;
  const int outputLength_;
  std::atomic<bool> stop_{false};
  std::thread reader_;
};

}  // namespace

HidapiBackend::HidapiBackend(QObject* parent) : HidBackend(parent) {
  initialised_ = hid_init() == 0;
  pollTimer_.setInterval(1000);
  connect(&pollTimer_, &QTimer::timeout, this, &HidapiBackend::poll);
}

HidapiBackend::~HidapiBackend() {
  pollTimer_.stop();
  // Devices must be closed by their owners before the backend goes; hid_exit only frees
  // the library's own state.
  if (initialised_) hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::enumerate(uint16_t vendorId, uint16_t productId) {
  std::vector<HidDeviceInfo> result;
  if (!initialised_) return result;
  hid_device_info* list = hid_enumerate(vendorId, productId);
  for (hid_device_info* d = list; d; d = d->next) {
    HidDeviceInfo info;
    info.path = QString::fromLocal8Bit(d->path);
    info.vendorId = d->vendor_id;
    info.productId = d->product_id;
    info.vendorName = fromWide(d->manufacturer_string);
    info.productName = fromWide(d->product_string);
    info.serialNumber = fromWide(d->serial_number);
    result.push_back(std::move(info));
  }
  hid_free_enumeration(list);
  return result;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const HidDeviceInfo& info) {
  if (!initialised_) return nullptr;
  hid_device* handle = hid_open_path(info.path.toLocal8Bit().constData());
  if (!handle) return nullptr;
  return std::make_unique<HidapiDevice>(this, handle, info);
}

void HidapiBackend::watch(uint16_t vendorId, uint16_t productId) {
  watchVendor_ = vendorId;
  watchProduct_ = productId;
  present_.clear();
  for (auto& info : enumerate(vendorId, productId)) present_.emplace(info.path, info);
  pollTimer_.start();
}

void HidapiBackend::postReport(const HidDeviceInfo& from, QByteArray report) {
  // Thread-safe: a queued call carries copies to the main thread, in order.
  QMetaObject::invokeMethod(
      this, [this, from, report = std::move(report)] { emit inputReport(from, report); }, Qt::QueuedConnection);
}

void HidapiBackend::poll() {
  std::map<QString, HidDeviceInfo> now;
  for (auto& info : enumerate(watchVendor_, watchProduct_)) now.emplace(info.path, info);
  bool changed = false;
  for (const auto& [path, info] : present_) {
    if (!now.count(path)) {
      changed = true;
      emit deviceUnplugged(info);
    }
  }
  for (const auto& [path, info] : now) {
    if (!present_.count(path)) {
      changed = true;
      emit deviceArrived(info);
    }
  }
  present_ = std::move(now);
  if (changed) emit deviceSetChanged();
}
