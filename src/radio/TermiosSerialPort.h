#pragma once

#include <termios.h>

#include "radio/SerialPort.h"

/// SerialPort over a POSIX terminal device (a USB-serial adapter, a built-in UART or a
/// pseudo-terminal).
///
/// Exclusive use: the device is opened with TIOCEXCL and locked with flock(), and a live
/// UUCP lock file in /var/lock (or /run/lock) left by another serial program also counts
/// as "held". TIOCEXCL alone does not stop a second open by root, hence the lock.
///
/// Time-outs are kept by poll() on a non-blocking descriptor, so a port that vanishes
/// (an adapter pulled out) fails the call with -1 instead of blocking it.
class TermiosSerialPort : public SerialPort {
 public:
  TermiosSerialPort() = default;
  ~TermiosSerialPort() override;
  TermiosSerialPort(const TermiosSerialPort&) = delete;
  TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

  int open(const QString& device) override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }

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

  /// True when a UUCP lock file for the device names a live process other than this one.
  /// lockDir is searched for "LCK.." + the device's file name.
  static bool uucpLockHeld(const QString& device, const QString& lockDir);

 private:
  bool setModemLine(int line, bool on);

  int fd_ = -1;
  termios settings_{};
  bool settingsRead_ = false;
  SerialTimeouts timeouts_;
};
