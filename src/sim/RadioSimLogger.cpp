#include "sim/RadioSimLogger.h"

#include <cmath>

#include "data/Crc8.h"

namespace {
void put16(QByteArray& out, uint16_t v) {
  out.append(static_cast<char>(v >> 8));
  out.append(static_cast<char>(v & 0xFF));
}

void putDateTime(QByteArray& out, const QDateTime& t) {
  const QDate d = t.date();
  const QTime tm = t.time();
  for (int v : {d.day(), d.month(), d.year() % 100, tm.hour(), tm.minute(), tm.second()})
    out.append(static_cast<char>(v));
}

void appendCrc(QByteArray& out, int from) {
  out.append(static_cast<char>(Crc8::compute(out.constData() + from, static_cast<size_t>(out.size() - from))));
}
}  // namespace

QByteArray RadioSimLogger::headerBlock(const QDateTime& loggerNow) const {
  QByteArray block = id.toLatin1();
  block.append(static_cast<char>(tkType));
  put16(block, static_cast<uint16_t>(tkSerial));
  block.append(static_cast<char>(sensorCount()));
  for (int16_t d : distances) put16(block, static_cast<uint16_t>(d));
  block.append('\0');
  appendCrc(block, 0);
  block.append(static_cast<char>(errorCode));
  put16(block, battery);
  // The reader adds the correction to the clock bytes, so they run behind by it.
  putDateTime(block, loggerNow.addSecs(-8 * static_cast<qint64>(clockCorrection)));
  put16(block, clockCorrection);
  block.append(static_cast<char>(periodHours));
  put16(block, static_cast<uint16_t>(std::min<size_t>(records.size(), 0xFFFF)));
  return block;
}

QByteArray RadioSimLogger::recordBlock(const RadioSimRecord& record) const {
  QByteArray block;
  putDateTime(block, record.time);
  put16(block, static_cast<uint16_t>(record.battery));
  for (int k = 0; k < sensorCount(); ++k)
    put16(block, static_cast<uint16_t>(k < static_cast<int>(record.temps.size()) ? record.temps[k] : 0));
  block.append('\0');
  appendCrc(block, 0);
  return block;
}

RadioSimRecord RadioSimLogger::makeRecord(const QDateTime& t, int index) const {
  RadioSimRecord record;
  record.time = t;
  record.battery = static_cast<int16_t>(battery - index / 500);
  const double dayPhase = t.time().msecsSinceStartOfDay() / 86400000.0 * 2 * M_PI;
  for (int k = 0; k < sensorCount(); ++k) {
    // Near the surface the daily swing shows, deeper down it fades and the ground warms.
    const double depth = distances[k] / 100.0;
    const double swing = 300.0 * std::exp(-depth / 2.0) * std::sin(dayPhase - depth / 3.0);
    const double value = -150.0 + 40.0 * depth + swing + (tkSerial % 7) * 10.0;
    record.temps.push_back(static_cast<int16_t>(std::lround(value)));
  }
  return record;
}
