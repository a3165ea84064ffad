#include "sim/SimulatedSerialPort.h"

#include <cerrno>
#include <cstring>

#include "sim/RadioModemEngine.h"

void SimulatedSerialPort::record(Event::Kind kind, const QByteArray& bytes, bool flag) {
  events_.append(Event{kind, bytes, flag, std::chrono::steady_clock::now()});
}

int SimulatedSerialPort::open(const QString& device) {
  std::lock_guard lock(mutex_);
  if (unplugged_) return ENOENT;
  if (openError_ != 0) return openError_;
  open_ = true;
  device_ = device;
  record(Event::Open);
  return 0;
}

void SimulatedSerialPort::close() {
  std::lock_guard lock(mutex_);
  if (!open_) return;
  open_ = false;
  record(Event::Close);
}

bool SimulatedSerialPort::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

int SimulatedSerialPort::readLineSettings() {
  std::lock_guard lock(mutex_);
  return !open_ || unplugged_ ? EIO : stepErrors_[0];
}

int SimulatedSerialPort::writeLineSettings(const SerialLineSettings&) {
  std::lock_guard lock(mutex_);
  return !open_ || unplugged_ ? EIO : stepErrors_[1];
}

int SimulatedSerialPort::setTimeouts(const SerialTimeouts&) {
  std::lock_guard lock(mutex_);
  return !open_ || unplugged_ ? EIO : stepErrors_[2];
}

int SimulatedSerialPort::setQueueSizes(int, int) {
  std::lock_guard lock(mutex_);
  return !open_ || unplugged_ ? EIO : stepErrors_[3];
}

bool SimulatedSerialPort::purge(bool rx, bool tx) {
  std::lock_guard lock(mutex_);
  if (!open_ || unplugged_) return false;
  if (rx) {
    rx_.clear();
    held_.clear();
  }
  record(Event::Purge, {}, rx);
  Q_UNUSED(tx);
  return true;
}

bool SimulatedSerialPort::setRts(bool on) {
  std::lock_guard lock(mutex_);
  if (!open_ || unplugged_) return false;
  rts_ = on;
  record(Event::Rts, {}, on);
  return true;
}

bool SimulatedSerialPort::setDtr(bool on) {
  std::lock_guard lock(mutex_);
  if (!open_ || unplugged_) return false;
  dtr_ = on;
  record(Event::Dtr, {}, on);
  return true;
}

int SimulatedSerialPort::queuedBytes() {
  std::lock_guard lock(mutex_);
  if (!open_ || unplugged_) return -1;
  return static_cast<int>(std::min<qsizetype>(rx_.size(), 4096));
}

int SimulatedSerialPort::read(uint8_t* buffer, int count) {
  std::lock_guard lock(mutex_);
  if (!open_ || unplugged_ || count < 0) return -1;
  const int n = static_cast<int>(std::min<qsizetype>(count, rx_.size()));
  std::memcpy(buffer, rx_.constData(), static_cast<size_t>(n));
  record(Event::Read, rx_.left(n));
  rx_.remove(0, n);
  return n;
}

int SimulatedSerialPort::write(const uint8_t* buffer, int count) {
  std::lock_guard lock(mutex_);
  if (!open_ || unplugged_ || writeFails_ || count < 0) return -1;
  const QByteArray bytes(reinterpret_cast<const char*>(buffer), count);
  record(Event::Write, bytes);
  QByteArray answer;
  if (!replies_.isEmpty())
    answer = replies_.takeFirst();
  else if (engine_)
    answer = engine_->receive(bytes);
  (stalled_ ? held_ : rx_).append(answer);
  return count;
}

void SimulatedSerialPort::setOpenError(int error) {
  std::lock_guard lock(mutex_);
  openError_ = error;
}

void SimulatedSerialPort::setStepError(Step step, int error) {
  std::lock_guard lock(mutex_);
  stepErrors_[static_cast<int>(step)] = error;
}

void SimulatedSerialPort::setWriteFails(bool fails) {
  std::lock_guard lock(mutex_);
  writeFails_ = fails;
}

void SimulatedSerialPort::setStalled(bool stalled) {
  std::lock_guard lock(mutex_);
  stalled_ = stalled;
  if (!stalled) {
    rx_.append(held_);
    held_.clear();
  }
}

void SimulatedSerialPort::unplug() {
  std::lock_guard lock(mutex_);
  unplugged_ = true;
}

void SimulatedSerialPort::queueRx(const QByteArray& bytes) {
  std::lock_guard lock(mutex_);
  rx_.append(bytes);
}

void SimulatedSerialPort::replyOnce(const QByteArray& bytes) {
  std::lock_guard lock(mutex_);
  replies_.append(bytes);
}

QList<SimulatedSerialPort::Event> SimulatedSerialPort::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

QByteArray SimulatedSerialPort::written() const {
  std::lock_guard lock(mutex_);
  QByteArray all;
  for (const Event& e : events_)
    if (e.kind == Event::Write) all.append(e.bytes);
  return all;
}

QString SimulatedSerialPort::openedDevice() const {
  std::lock_guard lock(mutex_);
  return device_;
}

bool SimulatedSerialPort::rts() const {
  std::lock_guard lock(mutex_);
  return rts_;
}

bool SimulatedSerialPort::dtr() const {
  std::lock_guard lock(mutex_);
  return dtr_;
}
