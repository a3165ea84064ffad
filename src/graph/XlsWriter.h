#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

/// A one-sheet workbook in the old binary record layout, built in memory and written in one
/// piece: BOF, DIMENSIONS, cell and column-width records in the order written, EOF. Rows
/// and columns are 1-based as a spreadsheet shows them (rows 1..65535, columns 1..256);
/// texts are Windows-1251, at most 255 bytes. No fonts, formats or code page are written.
class XlsWriter {
 public:
  XlsWriter() { begin(); }

  /// Empties the buffer and writes BOF and DIMENSIONS.
  void begin();
  /// Keeps the name, with its extension replaced by ".XLS" unless it already is one (any case).
  void setFileName(const QString& name);
  const QString& fileName() const { return fileName_; }

  void writeText(int row, int column, const QString& text);
  void writeText(int row, int column, const QByteArray& cp1251Text);
  void writeInteger(int row, int column, uint16_t value);
  void writeNumber(int row, int column, double value);
  /// Columns first..last (1-based) get width characters; the last column is cut to 256.
  void setColumnWidth(int first, int last, int characters);
  void end();
  /// Replaces the file with the buffer; false when it could not be written completely (an
  /// earlier file then stays as it was).
  bool save();

  const QByteArray& buffer() const { return buffer_; }

 private:
  void record(uint16_t number, uint16_t length);
  void put16(uint16_t value);
  void cellHead(uint16_t number, uint16_t length, int row, int column);

  QByteArray buffer_;
  QString fileName_;
};
