#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

/// The logger commands: the logger's identifier followed by exactly seven bytes. The modem
/// carries them unchanged to the logger whose identifier they start with.
namespace LoggerCommand {

constexpr int kTailLength = 7;

/// Identifier characters as they travel (ASCII).
QByteArray idBytes(const QString& loggerId);

/// "HEADER-": the header block.
QByteArray Header(const QString& loggerId);
/// "D" + start (records back from the newest, 0 = newest) and count, both high byte first.
QByteArray DataBlock(const QString& loggerId, uint16_t start, uint16_t count);
/// "T" + day, month, year of century, hour, minute, second.
QByteArray SetClock(const QString& loggerId, const QDateTime& time);
/// "ERASE--"
QByteArray Erase(const QString& loggerId);
/// "P" + period in hours + "-----"
QByteArray SetPeriod(const QString& loggerId, uint8_t hours);
/// "MEASE--": take one measurement now.
QByteArray Measure(const QString& loggerId);
/// "C" + channel number + "-----"
QByteArray SetChannel(const QString& loggerId, uint8_t channel);

/// The six clock bytes of a time: its date written "dd.mm.yy", a blank and its time
/// "hh:nn:ss", the six two-digit groups taken as numbers.
QByteArray ClockBytes(const QDateTime& time);

/// Bytes outside 0x20..0x7E shown as ".", for log lines.
QString Printable(const QByteArray& bytes);

}  // namespace LoggerCommand
