#pragma once

#include <QString>

#include <cstdint>

/// Line settings the radio link asks for; everything else (hardware flow control,
/// modem-control modes) stays as the driver reported it.
struct SerialLineSettings {
  int baudRate = 57600;
  int dataBits = 8;
  bool parity = false;
  int stopBits = 1;
};

/// Port time-outs in milliseconds. A read of n bytes waits at most
/// readTotalMultiplier * n + readTotalConstant for the n bytes; a write likewise.
/// readInterval 0 means the gap between bytes is not timed.
struct SerialTimeouts {
  int readInterval = 0;
  int readTotalMultiplier = 1;
  int readTotalConstant = 50;
  int writeTotalMultiplier = 1;
  int writeTotalConstant = 50;
};

/// A byte transport to the radio modem. Failures are reported as the platform's error
/// code (errno on Linux) or as -1/false, never thrown.
///
/// Thread rule: one object may be used from two threads, but by one at a time; the
/// caller hands the port over (the communication thread while it starts a request, the
/// main thread for the rest).
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  /// Opens an existing device for exclusive use. Returns 0 or the error code; a device
  /// held by another program gives EBUSY, a device that does not exist ENOENT.
  virtual int open(const QString& device) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  /// Reads the driver's current settings. 0 or the error code.
  virtual int readLineSettings() = 0;
  /// Applies the given settings to those read, in raw mode. 0 or the error code.
  virtual int writeLineSettings(const SerialLineSettings& settings) = 0;
  virtual int setTimeouts(const SerialTimeouts& timeouts) = 0;
  /// Receive and transmit queue sizes in bytes, where the platform lets them be chosen.
  virtual int setQueueSizes(int rxBytes, int txBytes) = 0;

  /// Discards what waits in the chosen directions.
  virtual bool purge(bool rx, bool tx) = 0;
  virtual bool setRts(bool on) = 0;
  virtual bool setDtr(bool on) = 0;

  /// Bytes waiting in the receive queue, or -1.
  virtual int queuedBytes() = 0;
  /// Bytes read (waiting up to the read time-out for count of them), or -1.
  virtual int read(uint8_t* buffer, int count) = 0;
  /// Bytes written within the write time-out, or -1.
  virtual int write(const uint8_t* buffer, int count) = 0;
};
