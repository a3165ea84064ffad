#include "sim/UsbLoggerSimulator.h"

#include <QtMath>

#include <algorithm>

#include "app/Clock.h"
#include "app/Cp1251.h"
#include "data/Crc8.h"
#include "usb/UsbCommands.h"

namespace {

constexpr int kPacket = 64;  ///< data bytes of one input report

void putBe16(QByteArray& b, int at, uint16_t v) {
  b[at] = static_cast<char>(v >> 8);
  b[at + 1] = static_cast<char>(v & 0xFF);
}
void putLe16(QByteArray& b, int at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void putLe32(QByteArray& b, int at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void putBe32(QByteArray& b, int at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * (3 - i))) & 0xFF);
}
/// Answer order: day, month, year - 2000, hour, minute, second.
void putClock(QByteArray& b, int at, const QDateTime& t) {
  const QDate d = t.date();
  const QTime c = t.time();
  const int v[6] = {d.day(), d.month(), d.year() - 2000, c.hour(), c.minute(), c.second()};
  for (int i = 0; i < 6; ++i) b[at + i] = static_cast<char>(v[i] & 0xFF);
}
void putText(QByteArray& b, int at, int width, const QString& text) {
  const QByteArray bytes = Cp1251::encode(text);
  std::copy_n(bytes.constData(), std::min<int>(width, static_cast<int>(bytes.size())), b.data() + at);
}
uint8_t crcOf(const QByteArray& b, int count) { return Crc8::compute(b.constData(), static_cast<size_t>(count)); }

/// The next multiple of period seconds after the start of the day of now.
QDateTime nextWakeup(const QDateTime& now, int periodSec) {
  if (periodSec <= 0) return now;
  const QDateTime day(now.date(), QTime(0, 0));
  const qint64 since = day.secsTo(now);
  return day.addSecs((since / periodSec + 1) * periodSec);
}

}  // namespace

UsbLoggerSimulator::UsbLoggerSimulator(SimulatedHidBackend& backend, Clock& clock, QObject* parent)
    : QObject(parent), backend_(backend), clock_(clock) {
  heldTimer_.setSingleShot(true);
  connect(&heldTimer_, &QTimer::timeout, this, &UsbLoggerSimulator::releaseHeld);
}

UsbLoggerSimulator::~UsbLoggerSimulator() { backend_.unplug(this); }

HidDeviceInfo UsbLoggerSimulator::hidInfo() const {
  HidDeviceInfo info;
  info.vendorId = USB_LOGGER_VENDOR_ID;
  info.productId = USB_LOGGER_PRODUCT_ID;
  info.vendorName = QStringLiteral("Gradus");
  info.productName = QStringLiteral("Thermal string logger");
  info.serialNumber = serial_;
  return info;
}

void UsbLoggerSimulator::plug() { backend_.plug(this); }
void UsbLoggerSimulator::unplug() {
  heldTimer_.stop();
  held_.clear();
  heldAction_ = nullptr;
  backend_.unplug(this);
}
bool UsbLoggerSimulator::plugged() const { return backend_.isPlugged(this); }

void UsbLoggerSimulator::injectFault(UsbSimFault fault, int count, uint8_t onlyCode) {
  fault_ = fault;
  faultCode_ = onlyCode;
  faultCount_ = fault == UsbSimFault::None ? 0 : count;
}

bool UsbLoggerSimulator::takeFault(UsbSimFault fault) {
  if (faultCount_ <= 0 || fault_ != fault || (faultCode_ != 0 && faultCode_ != currentCode_)) return false;
  --faultCount_;
  return true;
}

namespace {
struct FaultName {
  UsbSimFault fault;
  const char* name;
};
constexpr FaultName kFaultNames[] = {
    {UsbSimFault::None, "none"},
    {UsbSimFault::NoAnswer, "no-answer"},
    {UsbSimFault::LateAcknowledgement, "late-ack"},
    {UsbSimFault::WrongEcho, "wrong-echo"},
    {UsbSimFault::WrongStatus, "wrong-status"},
    {UsbSimFault::WrongSizeHeader, "wrong-size-header"},
    {UsbSimFault::WrongSizeConfig, "wrong-size-config"},
    {UsbSimFault::WrongSizeRecord, "wrong-size-record"},
    {UsbSimFault::BadSMark, "bad-s-mark"},
    {UsbSimFault::BadCrc, "bad-crc"},
    {UsbSimFault::UnplugMidway, "unplug-midway"},
};
}  // namespace

UsbSimFault UsbLoggerSimulator::faultFromName(const QString& name) {
  for (const auto& f : kFaultNames)
    if (name == QLatin1String(f.name)) return f.fault;
  return UsbSimFault::None;
}

QString UsbLoggerSimulator::faultName(UsbSimFault fault) {
  for (const auto& f : kFaultNames)
    if (f.fault == fault) return QString::fromLatin1(f.name);
  return QString();
}

QDateTime UsbLoggerSimulator::loggerNow() const { return clock_.now().addSecs(image_.clockOffsetSec); }

void UsbLoggerSimulator::outputReport(const QByteArray& report) {
  if (report.isEmpty()) return;
  const uint8_t id = static_cast<uint8_t>(report[0]);
  if (id == USB_REPORT_DATA_OUT) {
    gsmBuffer_ += report.mid(1, USB_DATA_REPORT_CHUNK);
    ++dataReports_;
    return;
  }
  if (id != USB_REPORT_CMD_OUT || report.size() < 2) return;
  const uint8_t code = static_cast<uint8_t>(report[1]);
  commands_.push_back(code);
  currentCode_ = code;
  if (takeFault(UsbSimFault::NoAnswer)) return;
  wrongEchoNow_ = takeFault(UsbSimFault::WrongEcho);
  command(code, report.mid(2));
}

QByteArray UsbLoggerSimulator::cmdReport(uint8_t code, uint8_t second, bool lengthFollows, int32_t length) const {
  QByteArray r(1 + kPacket, '\0');
  r[0] = static_cast<char>(USB_REPORT_CMD_IN);
  r[1] = static_cast<char>(wrongEchoNow_ ? code ^ 0x01 : code);
  if (lengthFollows)
    putLe32(r, 2, static_cast<uint32_t>(length));
  else
    r[2] = static_cast<char>(second);
  return r;
}

void UsbLoggerSimulator::emitReports(std::vector<QByteArray> reports) {
  if (takeFault(UsbSimFault::UnplugMidway)) {
    if (!reports.empty()) backend_.sendInputReport(this, reports.front());
    unplug();
    return;
  }
  if (takeFault(UsbSimFault::LateAcknowledgement)) {
    held_ = std::move(reports);
    heldTimer_.start(lateDelayMs_);
    return;
  }
  for (const QByteArray& r : reports) backend_.sendInputReport(this, r);
}

void UsbLoggerSimulator::releaseHeld() {
  heldTimer_.stop();
  if (heldAction_) {
    auto action = std::move(heldAction_);
    heldAction_ = nullptr;
    action();
  }
  std::vector<QByteArray> reports = std::move(held_);
  held_.clear();
  for (const QByteArray& r : reports) backend_.sendInputReport(this, r);
}

void UsbLoggerSimulator::dataAnswer(uint8_t code, QByteArray data, UsbSimFault sizeFault) {
  const int32_t length = static_cast<int32_t>(data.size());
  int packets = (static_cast<int>(data.size()) + kPacket - 1) / kPacket;
  if (takeFault(sizeFault) && packets > 0) --packets;
  std::vector<QByteArray> reports;
  for (int p = 0; p < packets; ++p) {
    QByteArray r(1 + kPacket, '\0');
    r[0] = static_cast<char>(USB_REPORT_DATA_IN);
    const QByteArray chunk = data.mid(p * kPacket, kPacket);
    std::copy(chunk.begin(), chunk.end(), r.begin() + 1);
    reports.push_back(r);
  }
  reports.push_back(cmdReport(code, 0, true, length));
  emitReports(std::move(reports));
}

void UsbLoggerSimulator::echo(uint8_t code, uint8_t second) { emitReports({cmdReport(code, second)}); }

void UsbLoggerSimulator::task(uint8_t code, bool classD) {
  const uint8_t bad = 0x33;
  wrongStatusNow_ = takeFault(UsbSimFault::WrongStatus);
  const uint8_t accepted = wrongStatusNow_ && classD ? bad : USB_STATUS_ACCEPTED;
  const uint8_t done = wrongStatusNow_ ? bad : USB_STATUS_DONE;
  const bool lateAck = fault_ == UsbSimFault::LateAcknowledgement && faultCount_ > 0 &&
                       (faultCode_ == 0 || faultCode_ == code);
  const QByteArray completion = cmdReport(code, done);
  emitReports({cmdReport(code, accepted)});
  if (!plugged()) return;
  // The work itself happens when the task ends (or when the test releases it).
  heldAction_ = [this, code] {
    switch (code) {
      case CMD_START_TK_POLL: addMeasurement(); break;
      case CMD_CLEAR_MEM: image_.records.clear(); break;
      case CMD_SYNC_TIME: image_.clockOffsetSec = 0; break;
      case CMD_RESET_TO_DEFAULTS: resetToDefaults(); break;
      default: break;
    }
  };
  if (lateAck) {
    held_.push_back(completion);  // after the late acknowledgement, in order
    return;
  }
  held_ = {completion};
  heldTimer_.start(taskDurationMs_);
}

void UsbLoggerSimulator::command(uint8_t code, const QByteArray& payload) {
  const auto byteAt = [&payload](int i) { return i < payload.size() ? static_cast<uint8_t>(payload[i]) : uint8_t{0}; };
  const auto le32 = [&](int at) {
    return static_cast<uint32_t>(byteAt(at)) | static_cast<uint32_t>(byteAt(at + 1)) << 8 |
           static_cast<uint32_t>(byteAt(at + 2)) << 16 | static_cast<uint32_t>(byteAt(at + 3)) << 24;
  };
  switch (code) {
    case CMD_GET_SW_VERSION: {
      QByteArray v(5, '\0');
      putText(v, 0, 5, image_.firmware);
      dataAnswer(code, v, UsbSimFault::None);
      break;
    }
    case CMD_GET_TIME_ADJUSTMENT: {
      QByteArray v(4, '\0');
      putLe32(v, 0, static_cast<uint32_t>(image_.clockAdjust));
      dataAnswer(code, v, UsbSimFault::None);
      break;
    }
    case CMD_SET_TIME_ADJUSTMENT:
      image_.clockAdjust = static_cast<int32_t>(le32(0));
      echo(code);
      break;
    case CMD_GET_HEADER: {
      QByteArray h = headerAnswer(image_, loggerNow());
      const int s = 15 + 2 * static_cast<int>(image_.distances.size());
      if (takeFault(UsbSimFault::BadSMark)) {
        h[s] = 'X';
        h[s + 1] = static_cast<char>(crcOf(h, s + 1));
      } else if (takeFault(UsbSimFault::BadCrc)) {
        h[s + 1] = static_cast<char>(h[s + 1] ^ 0x5A);
      }
      dataAnswer(code, h, UsbSimFault::WrongSizeHeader);
      break;
    }
    case CMD_GET_CONFIG: dataAnswer(code, configAnswer(image_, loggerNow()), UsbSimFault::WrongSizeConfig); break;
    case CMD_GET_DATA_STRUCT: dataAnswer(code, dataStructAnswer(image_), UsbSimFault::None); break;
    case CMD_GET_DATA_RECORD: {
      const uint32_t n = le32(0);
      QByteArray r;
      if (n >= 1 && n <= image_.records.size()) {
        r = recordAnswer(image_, static_cast<int>(n - 1));
        const int s = 8 + 2 * static_cast<int>(image_.distances.size());
        if (takeFault(UsbSimFault::BadSMark)) {
          r[s] = 'X';
          r[s + 1] = static_cast<char>(crcOf(r, s + 1));
        } else if (takeFault(UsbSimFault::BadCrc)) {
          r[s + 1] = static_cast<char>(r[s + 1] ^ 0x5A);
        }
      }
      dataAnswer(code, r, UsbSimFault::WrongSizeRecord);
      break;
    }
    case CMD_SET_RF_CHANNEL:
      if (image_.rfModule) image_.rfChannel = std::clamp<uint8_t>(byteAt(0), 16, 23);
      echo(code, image_.rfChannel);
      break;
    case CMD_SET_GSM_SEND_PERIOD:
      image_.gsmSendPeriodSec = byteAt(0) * 3600;
      echo(code);
      break;
    case CMD_SET_TK_POLL_PERIOD:
      image_.tkPollPeriodSec = byteAt(0) * 3600;
      echo(code);
      break;
    case CMD_SET_TIME: {
      const QDateTime set(QDate(2000 + byteAt(5), byteAt(4), byteAt(3)), QTime(byteAt(0), byteAt(1), byteAt(2)));
      if (set.isValid()) image_.clockOffsetSec = clock_.now().secsTo(set);
      echo(code);
      break;
    }
    case CMD_SET_GSM_CONFIG: {
      QByteArray p = gsmBuffer_.left(USB_GSM_CONFIG_SIZE);
      p.resize(USB_GSM_CONFIG_SIZE, '\0');
      const auto* b = reinterpret_cast<const uint8_t*>(p.constData());
      QString* t[10] = {&image_.texts.apn,      &image_.texts.apnUser,      &image_.texts.apnPwd,
                        &image_.texts.mqttHost, &image_.texts.mqttPort,     &image_.texts.mqttClientId,
                        &image_.texts.mqttUser, &image_.texts.mqttPwd,      &image_.texts.mqttDataTopic,
                        &image_.texts.mqttConfigTopic};
      for (int i = 0; i < 10; ++i)
        *t[i] = UsbPayloads::textField(b + UsbPayloads::kGsmFields[i].offset, UsbPayloads::kGsmFields[i].width);
      gsmBuffer_.clear();
      dataReports_ = 0;
      echo(code);
      break;
    }
    case CMD_START_GSM_SEND:
    case CMD_START_TK_POLL:
    case CMD_SYNC_TIME: task(code, false); break;
    case CMD_CLEAR_MEM:
    case CMD_RESET_TO_DEFAULTS:
    case CMD_REBOOT_NOTICE: task(code, true); break;
    default: break;  // unknown commands go unanswered
  }
  wrongEchoNow_ = false;
}

void UsbLoggerSimulator::sendRebootNotice() {
  QByteArray r(1 + kPacket, '\0');
  r[0] = static_cast<char>(USB_REPORT_CMD_IN);
  r[1] = static_cast<char>(CMD_REBOOT_NOTICE);
  r[2] = static_cast<char>(USB_STATUS_DONE);
  backend_.sendInputReport(this, r);
}

void UsbLoggerSimulator::addMeasurement() {
  UsbSimRecord rec;
  rec.time = loggerNow();
  rec.time.setTime(QTime(rec.time.time().hour(), rec.time.time().minute(), rec.time.time().second()));
  rec.battery = image_.supplyVoltage;
  if (!image_.records.empty())
    rec.temps = image_.records.back().temps;
  else
    rec.temps.assign(image_.distances.size(), -50);
  for (size_t i = 0; i < rec.temps.size(); ++i) rec.temps[i] = static_cast<int16_t>(rec.temps[i] + (i % 3) - 1);
  image_.records.push_back(std::move(rec));
}

void UsbLoggerSimulator::resetToDefaults() {
  image_.tkPollPeriodSec = 8 * 3600;
  image_.gsmSendPeriodSec = 24 * 3600;
  image_.rfChannel = 20;
  image_.clockAdjust = 0;
  image_.texts = UsbGsmTexts();
}

QByteArray UsbLoggerSimulator::headerAnswer(const UsbSimImage& img, const QDateTime& now) {
  const int n = static_cast<int>(img.distances.size());
  QByteArray h(2 * n + 31, '\0');
  putText(h, 0, 11, img.loggerId);
  h[11] = static_cast<char>(img.tkType);
  putBe16(h, 12, img.tkSerial);
  h[14] = static_cast<char>(n);
  for (int i = 0; i < n; ++i) putBe16(h, 15 + 2 * i, img.distances[static_cast<size_t>(i)]);
  const int s = 15 + 2 * n;
  h[s] = 'S';
  h[s + 1] = static_cast<char>(crcOf(h, s + 1));
  h[s + 2] = static_cast<char>(img.headerErrorCode);
  putBe16(h, s + 3, img.supplyVoltage);
  putClock(h, s + 5, now);
  putLe16(h, s + 11, img.secondsCounter);
  h[s + 13] = static_cast<char>(img.tkPollPeriodSec / 3600);
  putBe16(h, s + 14, static_cast<uint16_t>(img.records.size()));
  return h;
}

QByteArray UsbLoggerSimulator::configAnswer(const UsbSimImage& img, const QDateTime& now) {
  QByteArray c(496, '\0');
  putText(c, 0, 11, img.loggerId);
  for (int i = 0; i < 8; ++i) c[11 + i] = static_cast<char>(img.memoryChipId[static_cast<size_t>(i)]);
  c[19] = img.gsmModule ? 1 : 0;
  c[20] = img.rfModule ? 1 : 0;
  c[21] = static_cast<char>(img.rfChannel);
  putLe32(c, 24, static_cast<uint32_t>(img.tkPollPeriodSec));
  putLe16(c, 28, img.rfPollPeriodSec);
  putLe32(c, 32, static_cast<uint32_t>(img.gsmSendPeriodSec));
  const QByteArray texts = UsbPayloads::gsmConfig(img.texts);
  std::copy(texts.begin(), texts.end(), c.begin() + 36);
  putClock(c, 464, now);
  putLe16(c, 470, img.supplyVoltage);
  c[472] = static_cast<char>(img.tkInitStatus);
  c[473] = img.gsmModule ? 1 : 0;
  c[474] = 0;
  putClock(c, 478, nextWakeup(now, img.tkPollPeriodSec));
  putClock(c, 484, nextWakeup(now, img.gsmSendPeriodSec));
  c[490] = static_cast<char>(img.gsmModule ? img.gsmSignalLevel : 0);
  c[491] = 1;
  c[492] = static_cast<char>(img.configErrorCode);
  return c;
}

QByteArray UsbLoggerSimulator::recordAnswer(const UsbSimImage& img, int index) {
  const UsbSimRecord& rec = img.records[static_cast<size_t>(index)];
  const int n = static_cast<int>(img.distances.size());
  QByteArray r(2 * n + 10, '\0');
  putClock(r, 0, rec.time);
  putBe16(r, 6, rec.battery);
  for (int i = 0; i < n; ++i) {
    const int16_t t = i < static_cast<int>(rec.temps.size()) ? rec.temps[static_cast<size_t>(i)] : int16_t{0};
    putBe16(r, 8 + 2 * i, static_cast<uint16_t>(t));
  }
  const int s = 8 + 2 * n;
  r[s] = 'S';
  r[s + 1] = static_cast<char>(crcOf(r, s + 1));
  return r;
}

QByteArray UsbLoggerSimulator::dataStructAnswer(const UsbSimImage& img) {
  QByteArray d(18, '\0');
  const int32_t used = static_cast<int32_t>(img.records.size()) * img.recordSize();
  putLe32(d, 0, static_cast<uint32_t>(img.memoryCapacity));
  putLe32(d, 4, static_cast<uint32_t>(img.memoryCapacity - used));
  putLe32(d, 8, static_cast<uint32_t>(img.records.size()));
  putLe16(d, 12, img.recordSize());
  putBe32(d, 14, static_cast<uint32_t>(used));
  return d;
}

UsbSimImage UsbLoggerSimulator::demoImage(const QDateTime& now) {
  UsbSimImage img;
  img.loggerId = QStringLiteral("D124SN00042");
  for (int i = 1; i <= 16; ++i) img.distances.push_back(static_cast<uint16_t>(i * 100));
  img.clockOffsetSec = -73;  // a little behind, so a clock setting shows
  img.texts = {QStringLiteral("internet.tundra"), QStringLiteral("gdata"),     QStringLiteral("gdata"),
               QStringLiteral("mqtt.tundra.local"), QStringLiteral("1883"),    QStringLiteral("D124SN00042"),
               QStringLiteral("logger"),          QStringLiteral("secret"),    QStringLiteral("tk/D124SN00042/data"),
               QStringLiteral("tk/D124SN00042/config")};
  // 300 records every 8 hours up to now: the top of the string follows the weather around
  // freezing, deeper sensors stay near -1 °C with a smaller, later swing.
  const int count = 300;
  const int period = img.tkPollPeriodSec;
  QDateTime last(now.date(), QTime((now.time().hour() / 8) * 8, 0));
  uint32_t noise = 12345;
  for (int k = 0; k < count; ++k) {
    UsbSimRecord rec;
    rec.time = last.addSecs(-static_cast<qint64>(count - 1 - k) * period);
    rec.battery = static_cast<uint16_t>(672 - k / 20);
    const double season = 2 * M_PI * k / 270.0;
    for (int i = 0; i < 16; ++i) {
      noise = noise * 1103515245u + 12345u;
      const double depthFactor = std::exp(-i / 5.0);
      const double value = -100 + 350 * depthFactor * std::sin(season - i * 0.15) + static_cast<int>(noise >> 16) % 21 - 10;
      rec.temps.push_back(static_cast<int16_t>(std::lround(value)));
    }
    img.records.push_back(std::move(rec));
  }
  return img;
}

UsbLoggerSimulator* UsbLoggerSimulator::attachDemo(SimulatedHidBackend& backend) {
  auto* sim = new UsbLoggerSimulator(backend, Clock::system(), &backend);
  sim->image() = demoImage(Clock::system().now());
  sim->setTaskDurationMs(3000);
  sim->plug();
  return sim;
}
