#pragma once

// Reads a workbook buffer back into its records, for checking what the writer emitted.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/Cp1251.h"

struct XlsRecord {
  uint16_t number = 0;
  QByteArray data;

  int row() const { return u16(0) + 1; }
  int column() const { return u16(2) + 1; }
  uint16_t u16(int at) const {
    return static_cast<uint16_t>(static_cast<uint8_t>(data[at]) | static_cast<uint8_t>(data[at + 1]) << 8);
  }
  QString text() const { return Cp1251::decode(data.mid(8, static_cast<uint8_t>(data[7]))); }
  double number8() const {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= uint64_t(static_cast<uint8_t>(data[7 + i])) << (8 * i);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
  }
  /// "LABEL r,c text", "INTEGER r,c v", "NUMBER r,c v", "COLWIDTH a..b w", "BOF", …
  QString describe() const {
    switch (number) {
      case 0x0809: return "BOF";
      case 0x0200: return "DIMENSIONS";
      case 0x000A: return "EOF";
      case 0x0004: return QStringLiteral("LABEL %1,%2 %3").arg(row()).arg(column()).arg(text());
      case 0x0002: return QStringLiteral("INTEGER %1,%2 %3").arg(row()).arg(column()).arg(u16(7));
      case 0x0003: return QStringLiteral("NUMBER %1,%2 %3").arg(row()).arg(column()).arg(number8());
      case 0x0024: return QStringLiteral("COLWIDTH %1..%2 %3").arg(uint8_t(data[0])).arg(uint8_t(data[1])).arg(u16(2));
      default: return QStringLiteral("? %1").arg(number, 4, 16);
    }
  }
};

/// Empty when the buffer does not split exactly into records.
inline std::vector<XlsRecord> xlsRecords(const QByteArray& buffer) {
  std::vector<XlsRecord> out;
  int pos = 0;
  while (pos + 4 <= buffer.size()) {
    XlsRecord r;
    r.number = static_cast<uint16_t>(uint8_t(buffer[pos]) | uint8_t(buffer[pos + 1]) << 8);
    const int len = uint8_t(buffer[pos + 2]) | uint8_t(buffer[pos + 3]) << 8;
    if (pos + 4 + len > buffer.size()) return {};
    r.data = buffer.mid(pos + 4, len);
    out.push_back(r);
    pos += 4 + len;
  }
  if (pos != buffer.size()) return {};
  return out;
}

inline QStringList describeAll(const QByteArray& buffer) {
  QStringList out;
  for (const auto& r : xlsRecords(buffer)) out << r.describe();
  return out;
}
