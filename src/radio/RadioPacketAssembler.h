#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

/// Receiver for the thread log lines of the radio decoders; empty means no logging (and
/// no formatting cost).
using RadioLogSink = std::function<void(const QString&)>;

/// Reassembles a logger's answer from the modem's packets, one byte at a time.
///
/// Packet: length byte (whole packet = value + 1 bytes, valid 5..63), counter, payload,
/// signal byte, status byte (bit 7 = the radio's own check passed). The first packet's
/// payload is the answer text (`ResponseText`), later payloads concatenated are the data
/// (`ArrData`). Counters run on by one, modulo 256, also across answers; only the first
/// packet after setReload() may carry any value.
///
/// A bad length, a counter gap or a clear check bit makes the answer damaged
/// (`StreamInvalid`): every later byte is refused until reset().
class RadioPacketAssembler {
 public:
  static constexpr int kMinPacket = 5;
  static constexpr int kMaxPacket = 63;

  explicit RadioPacketAssembler(RadioLogSink log = {}) : log_(std::move(log)) {}

  /// Takes one byte; false when the answer is (or just became) damaged.
  bool feed(uint8_t b);
  /// Feeds bytes in order, stopping at the first that damages the answer. Returns the
  /// number of bytes taken, including that one.
  int feed(const uint8_t* data, int count);

  /// Forgets the answer (ResetStream): not damaged, at a packet start, no packets, no text
  /// and no data. The counter and the reload mark stay.
  void reset();
  /// The next packet defines the counter (a new logger, or before a resend).
  void setReload() { ReloadPktInfo = true; }

  bool streamInvalid() const { return StreamInvalid; }
  int receivedPackets() const { return ReceivedPktCnt; }
  /// True between the first and last byte of a packet.
  bool insidePacket() const { return FillPktPtr != 0; }
  const QString& responseText() const { return ResponseText; }
  const QByteArray& arrData() const { return ArrData; }
  uint8_t signalByte() const { return SignalByte; }
  uint8_t expectedCounter() const { return DevPktCnt; }
  bool reloadPending() const { return ReloadPktInfo; }

 private:
  RadioLogSink log_;
  uint8_t FillPktPtr = 0;
  uint8_t DevPktLen = 0;
  uint8_t DevPktCnt = 0;
  bool ReloadPktInfo = true;
  int ReceivedPktCnt = 0;
  bool StreamInvalid = false;
  uint8_t SignalByte = 0;
  QString ResponseText;
  QByteArray ArrData;
};

/// Received signal strength in dBm of a packet's signal byte (two's complement, half-dB
/// steps, offset 74).
double SignalDbm(uint8_t signalByte);
