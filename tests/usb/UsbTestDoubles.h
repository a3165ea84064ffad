#pragma once

#include <QStringList>

#include <map>
#include <ostream>

#include "usb/SimulatedHidBackend.h"
#include "usb/UsbHost.h"
#include "usb/UsbViewInterface.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (const QString& s : l) *os << "\n  \"" << s.toStdString() << '"';
  *os << '}';
}

/// Records what the USB link shows.
class RecordingUsbView : public UsbViewInterface {
 public:
  struct BarState {
    int minimum = 0, maximum = 100, position = 0;
    bool visible = false;
    QString title, status;
  };
  void addMemo1Line(const QString& line) override { memo1 << line; }
  void addMemo2Line(const QString& line) override { memo2 << line; }
  void setStatusPanel2(const QString& text) override { statusPanel2 = text; }
  void setWindowCaption(const QString& text) override { caption = text; }
  void setProgressRange(Bar bar, int minimum, int maximum) override {
    bars[bar].minimum = minimum;
    bars[bar].maximum = maximum;
  }
  void setProgressPosition(Bar bar, int position) override { bars[bar].position = position; }
  void stepProgress(Bar bar) override {
    auto& b = bars[bar];
    b.position = b.position + 1 > b.maximum ? b.minimum : b.position + 1;
  }
  int progressPosition(Bar bar) const override { return bars.count(bar) ? bars.at(bar).position : 0; }
  void setProgressVisible(Bar bar, bool visible) override { bars[bar].visible = visible; }
  void setExecutionTitle(Bar bar, const QString& text) override { bars[bar].title = text; }
  void setProgressStatus(Bar bar, const QString& text) override { bars[bar].status = text; }
  void setActionEnabled(UsbAction action, bool enabled) override { actions[action] = enabled; }
  Page activePage() const override { return page; }
  void showPage(Page p) override { page = p; }

  QStringList memo1, memo2;
  QString statusPanel2, caption;
  std::map<Bar, BarState> bars;
  std::map<UsbAction, bool> actions;
  Page page = Page::Radio;
};

class RecordingUsbHost : public UsbHost {
 public:
  bool ClearUsbData(bool askUser, bool all) override {
    clears.push_back({askUser, all});
    return clearAnswer;
  }
  void UpdateControls() override { ++updates; }
  std::vector<std::pair<bool, bool>> clears;
  bool clearAnswer = true;
  int updates = 0;
};

/// A HID peer whose answers the test writes report by report.
class ScriptedHidPeer : public SimulatedHidPeer {
 public:
  ScriptedHidPeer(SimulatedHidBackend& backend, QString serial = QStringLiteral("SN1"))
      : backend_(backend), serial_(std::move(serial)) {}
  HidDeviceInfo hidInfo() const override {
    HidDeviceInfo i;
    i.vendorId = 0x0483;
    i.productId = 0x5750;
    i.vendorName = QStringLiteral("Vendor");
    i.productName = QStringLiteral("Logger");
    i.serialNumber = serial_;
    return i;
  }
  int outputReportLength() const override { return reportLength; }
  void outputReport(const QByteArray& report) override { written.push_back(report); }
  void send(uint8_t id, const QByteArray& data) {
    QByteArray r(1, static_cast<char>(id));
    r += data;
    backend_.sendInputReport(this, r);
  }
  /// Cmd packet: echo + one status byte.
  void cmd(uint8_t code, uint8_t status = 0) { send(6, raw({code, status})); }
  /// Data packets of 64 bytes, then the Cmd packet announcing the length.
  void answer(uint8_t code, const QByteArray& data) {
    for (int at = 0; at < data.size(); at += 64) {
      QByteArray chunk = data.mid(at, 64);
      chunk.resize(64, '\0');
      send(4, chunk);
    }
    const int n = static_cast<int>(data.size());
    send(6, raw({code, n & 0xFF, (n >> 8) & 0xFF, 0, 0}));
  }
  static QByteArray raw(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b += static_cast<char>(v);
    return b;
  }
  std::vector<QByteArray> written;
  int reportLength = 65;

 private:
  SimulatedHidBackend& backend_;
  QString serial_;
};
