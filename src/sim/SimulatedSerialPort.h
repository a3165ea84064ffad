#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>
#include <mutex>

#include "radio/SerialPort.h"

class RadioModemEngine;

/// A SerialPort with no device behind it: written bytes go to an in-process modem engine
/// (when one is attached) and its answers wait in the receive queue; tests can also queue
/// bytes themselves. It fails on demand: open errors, configuration errors, failed writes,
/// a stalled modem, an unplugged adapter. Every call is recorded with its time, so tests
/// can check line sequences and guard times.
///
/// Thread rule: every member locks; usable from two threads like the real port.
class SimulatedSerialPort : public SerialPort {
 public:
  enum class Step { ReadSettings, WriteSettings, Timeouts, QueueSizes };
  struct Event {
    enum Kind { Open, Close, Purge, Rts, Dtr, Write, Read } kind;
    QByteArray bytes;  ///< Write, Read
    bool flag = false; ///< Rts, Dtr: on
    std::chrono::steady_clock::time_point at;
  };

  explicit SimulatedSerialPort(RadioModemEngine* engine = nullptr) : engine_(engine) {}

  int open(const QString& device) override;
  void close() override;
  bool isOpen() const override;
  int readLineSettings() override;
  int writeLineSettings(const SerialLineSettings& settings) override;
  int setTimeouts(const SerialTimeouts& timeouts) override;
  int setQueueSizes(int rxBytes, int txBytes) override;
  bool purge(bool rx, bool tx) override;
  bool setRts(bool on) override;
  bool setDtr(bool on) override;
  int queuedBytes() override;
  int read(uint8_t* buffer, int count) override;
  int write(const uint8_t* buffer, int count) override;

  // Script and faults.
  void setOpenError(int error);
  void setStepError(Step step, int error);
  void setWriteFails(bool fails);
  /// Modem answers are held back while stalled and delivered when released.
  void setStalled(bool stalled);
  /// The adapter is gone: every primitive fails from now on.
  void unplug();
  /// Bytes that appear in the receive queue as if the modem sent them.
  void queueRx(const QByteArray& bytes);
  /// Answer to the next bytes written (instead of the engine's answer).
  void replyOnce(const QByteArray& bytes);

  QList<Event> events() const;
  QByteArray written() const;
  QString openedDevice() const;
  bool rts() const;
  bool dtr() const;

 private:
  void record(Event::Kind kind, const QByteArray& bytes = {}, bool flag = false);

  mutable std::mutex mutex_;
  RadioModemEngine* engine_;
  bool open_ = false;
  bool unplugged_ = false;
  bool writeFails_ = false;
  bool stalled_ = false;
  bool rts_ = false;
  bool dtr_ = false;
  int openError_ = 0;
  int stepErrors_[4] = {0, 0, 0, 0};
  QString device_;
  QByteArray rx_;
  QByteArray held_;
  QList<QByteArray> replies_;
  QList<Event> events_;
};
