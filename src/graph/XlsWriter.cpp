#include "graph/XlsWriter.h"

#include <QSaveFile>
#include <algorithm>
#include <cstring>

#include "app/Cp1251.h"
#include "data/ChangeFileExt.h"

namespace {
constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kDimensions = 0x0200;
constexpr uint16_t kLabel = 0x0004;
constexpr uint16_t kInteger = 0x0002;
constexpr uint16_t kNumber = 0x0003;
constexpr uint16_t kColWidth = 0x0024;
constexpr uint16_t kEof = 0x000A;
// Locked, not hidden; font 0; general alignment, no border, no shading.
constexpr char kCellAttributes[3] = {0x40, 0x00, 0x00};
}  // namespace

void XlsWriter::put16(uint16_t value) {
  buffer_.append(static_cast<char>(value & 0xFF));
  buffer_.append(static_cast<char>(value >> 8));
}

void XlsWriter::record(uint16_t number, uint16_t length) {
  put16(number);
  put16(length);
}

void XlsWriter::cellHead(uint16_t number, uint16_t length, int row, int column) {
  record(number, length);
  put16(static_cast<uint16_t>(row - 1));
  put16(static_cast<uint16_t>(column - 1));
  buffer_.append(kCellAttributes, 3);
}

void XlsWriter::begin() {
  buffer_.clear();
  record(kBof, 6);
  put16(0x0200);
  put16(0x0010);  // worksheet
  put16(0);
  record(kDimensions, 10);
  put16(0);
  put16(0xFFFF);
  put16(0);
  put16(256);
  put16(0);
}

void XlsWriter::setFileName(const QString& name) {
  const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const bool isXls = dot > slash && name.mid(dot).compare(QStringLiteral(".XLS"), Qt::CaseInsensitive) == 0;
  fileName_ = isXls ? name : ChangeFileExt(name, QStringLiteral(".XLS"));
}

void XlsWriter::writeText(int row, int column, const QString& text) { writeText(row, column, Cp1251::encode(text)); }

void XlsWriter::writeText(int row, int column, const QByteArray& cp1251Text) {
  const auto n = static_cast<uint8_t>(std::min<qsizetype>(cp1251Text.size(), 255));
  cellHead(kLabel, static_cast<uint16_t>(8 + n), row, column);
  buffer_.append(static_cast<char>(n));
  buffer_.append(cp1251Text.constData(), n);
}

void XlsWriter::writeInteger(int row, int column, uint16_t value) {
  cellHead(kInteger, 9, row, column);
  put16(value);
}

void XlsWriter::writeNumber(int row, int column, double value) {
  cellHead(kNumber, 15, row, column);
  // IEEE 754 double, least significant byte first.
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) buffer_.append(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

void XlsWriter::setColumnWidth(int first, int last, int characters) {
  record(kColWidth, 4);
  buffer_.append(static_cast<char>(std::clamp(first, 1, 256) - 1));
  buffer_.append(static_cast<char>(std::clamp(last, 1, 256) - 1));
  put16(static_cast<uint16_t>(characters * 256));
}

void XlsWriter::end() { record(kEof, 0); }

bool XlsWriter::save() {
  QSaveFile file(fileName_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(buffer_) != buffer_.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
