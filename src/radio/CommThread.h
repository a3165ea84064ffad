#pragma once

#include <QByteArray>
#include <QString>
#include <QThread>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "radio/SerialPort.h"
#include "radio/ThreadLog.h"

class Clock;

/// The radio communication thread and its link to the radio modem: the port, the modem
/// commands, the identification and the thread log.
///
/// Life: construct with a port, call OpenLink(); unless its error text is empty the caller
/// discards the object (which closes the port). The request loop and the polling timers
/// build on this object; the thread itself (run()) is theirs.
///
/// Thread rule: the port primitives and SendToModem may be called from two threads, one at
/// a time (the communication thread while it starts a request, the main thread while it
/// polls); the log may be appended from both at once.
class TCommThread : public QThread {
  Q_OBJECT

 public:
  /// Receive buffer size: the receive queue never holds more than 4096 bytes.
  static constexpr int kDataBufSize = 4097;
  /// Port queue sizes asked for, bytes.
  static constexpr int kQueueSize = 4096;
  /// RTS stays low this long before a modem command is written, and after it, ms.
  static constexpr int kRtsLeadMs = 10;
  static constexpr int kRtsTrailMs = 15;

  struct OpenResult {
    QString errorText;  ///< empty on success
    QString modemText;  ///< "USB/PM " + the modem's seven characters, on success
    bool ok() const { return errorText.isEmpty(); }
  };

  /// logFileName: the thread log's file, "thread.log" in the current folder unless given.
  explicit TCommThread(std::unique_ptr<SerialPort> port, const Clock& clock,
                       const QString& logFileName = QStringLiteral("thread.log"), QObject* parent = nullptr);
  ~TCommThread() override;

  /// Opens and configures the port (57600 8N1, time-outs, queue sizes), purges it, sets
  /// RTS on and DTR off, and identifies the modem.
  OpenResult OpenLink(const QString& portName);

  // Port primitives. Every one does nothing (false, 0 or -1) while the port is closed.
  bool PortOpen() const { return portOpen_; }
  bool LastOpOk() const { return lastOpOk_; }
  /// Bytes waiting in the receive queue, or -1.
  int RxBufCount();
  int ReadCOM(uint8_t* buffer, int count);
  int WriteCOM(const uint8_t* buffer, int count);
  /// value 0 or 1; any other value does nothing and gives false.
  bool SetRts(int value);
  bool SetDtr(int value);
  bool PurgeComPort(bool rx, bool tx);

  /// prog: a command for the modem itself, framed by RTS low from 10 ms before until
  /// 15 ms after it was written; otherwise bytes the modem passes to the loggers.
  /// getModemName: read the identification reply 15 ms after the write, no later.
  void SendToModem(bool prog, const QByteArray& cmdstr, bool getModemName);

  /// Modem commands.
  void SendChannel(uint8_t channel);
  void SendSetup();
  void SendPower(int powerChoice);

  /// Identification reply without its "?"; empty when the identification failed.
  QString ModemName() const;
  uint8_t* DataBuf() { return dataBuf_.data(); }

  ThreadLog& log() { return log_; }
  /// A copy of the program's logging switch, taken when the link starts.
  void setVerboseTrace(bool on) { verboseTrace_ = on; }
  bool verboseTrace() const { return verboseTrace_; }

  const Clock& clock() const { return clock_; }
  SerialPort& port() { return *port_; }
  QString portName() const { return portName_; }

  /// Error text of a failed open, by the platform's error code.
  static QString OpenErrorText(int errorCode);
  /// "#P" code byte of a power choice (0 = +10 dBm, 1 = 0 dBm, 2 = -10 dBm).
  static uint8_t PowerCode(int powerChoice);
  /// The "#T" set-up command.
  static QByteArray SetupCommand();

 private:
  void closePort();
  bool checked(bool ok);

  std::unique_ptr<SerialPort> port_;
  const Clock& clock_;
  ThreadLog log_;
  QString portName_;
  std::atomic<bool> portOpen_{false};
  std::atomic<bool> lastOpOk_{false};
  std::atomic<bool> verboseTrace_{false};
  mutable std::mutex nameMutex_;
  QString modemName_;
  std::array<uint8_t, kDataBufSize> dataBuf_{};
};
