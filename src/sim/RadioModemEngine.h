#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "sim/RadioSimLogger.h"

class Clock;

/// Faults the simulated modem can put into a logger's next answers.
enum class RadioFault {
  DamagedLength,  ///< the last packet's length byte names 64 bytes
  CounterGap,     ///< the last packet's counter skips one
  ClearCheckBit,  ///< the last packet's status byte has bit 7 clear
  BadRecordCrc,   ///< a data block whose first record fails its CRC (data answers only)
  ShortBlock,     ///< a data block one byte short (data answers only)
  Silence,        ///< no answer at all, once
  Garbage,        ///< line noise before the answer
  Empty,          ///< "EMPTY" instead of the answer
};

/// "damaged-length", "counter-gap", … ; empty for an unknown name.
std::optional<RadioFault> RadioFaultFromName(const QString& name);
QStringList RadioFaultNames();

/// What the simulated modem starts with.
struct RadioSimConfig {
  QByteArray identifyReply = QByteArrayLiteral("?D130A000417");  ///< reply to "#?"
  bool modemSilent = false;   ///< no reply to "#?"
  int maxPayload = 59;        ///< payload bytes per packet of data, 1..59
  int answerDelayMs = 0;      ///< radio delay before an answer (pseudo-terminal simulator)
  std::vector<RadioSimLogger> loggers;

  /// A few loggers of models 122 and 123 with hourly records around freezing.
  static RadioSimConfig demo(const QDateTime& now);
  /// loggers loggers with sensors sensors each and records hourly records up to now.
  static RadioSimConfig generated(int loggers, int records, int sensors, const QDateTime& now);
};

/// The modem and the loggers behind it, as bytes in and bytes out, with no I/O.
///
/// Without an RTS line (a pseudo-terminal has none) a modem command is told from a logger
/// command by its first byte: modem commands start with "#", logger commands with the
/// identifier's "D". Bytes that start neither are line noise and are dropped.
///
/// Thread rule: every member locks; tests may change loggers and faults while the
/// simulator's thread serves the line.
class RadioModemEngine {
 public:
  explicit RadioModemEngine(RadioSimConfig config, const Clock& clock);

  /// Takes bytes from the line and returns what the modem sends back.
  QByteArray receive(const QByteArray& bytes);
  /// The line fell silent: a half-received command is dropped.
  void lineIdle();

  /// Puts fault into the next answers of logger id (times answers, each of a kind the
  /// fault applies to).
  void injectFault(const QString& id, RadioFault fault, int times = 1);
  void setNeverAnswers(const QString& id, bool on);
  void setIdentifyReply(const QByteArray& reply, bool silent = false);

  std::optional<RadioSimLogger> logger(const QString& id) const;
  QStringList loggerIds() const;
  /// Every whole command received, in order.
  QList<QByteArray> commands() const;
  int modemChannel() const;
  uint8_t powerCode() const;
  int answerDelayMs() const;

 private:
  struct Answer {
    QByteArray text;
    QByteArray data;
    bool isDataBlock = false;
  };

  void handleModemCommand(const QByteArray& command, QByteArray& out);
  void handleLoggerCommand(const QByteArray& command, QByteArray& out);
  std::optional<Answer> answerFor(RadioSimLogger& logger, const QByteArray& tail);
  void sendAnswer(RadioSimLogger& logger, Answer answer, QByteArray& out);
  RadioSimLogger* find(const QString& id);
  QDateTime loggerNow(const RadioSimLogger& logger) const;

  mutable std::mutex mutex_;
  RadioSimConfig config_;
  const Clock& clock_;
  QByteArray pending_;
  QList<QByteArray> commands_;
  std::map<QString, std::deque<RadioFault>> faults_;
  int channel_ = 0;
  uint8_t power_ = 0;
  uint8_t counter_ = 0;
};
