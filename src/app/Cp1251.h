#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

/// Windows-1251, the encoding of every exchange file (*.tmd, *.lst, *.opt) and of the
/// texts loggers send. One table serves the whole program so the data-file check values are
/// always computed over the same bytes. Characters the code page lacks become '?'.
class Cp1251 {
 public:
  static QByteArray encode(const QString& text);
  static QString decode(std::string_view bytes);
  static QString decode(const QByteArray& bytes) { return decode(std::string_view(bytes.constData(), bytes.size())); }
  static char16_t toUnicode(unsigned char byte);
  /// The code page byte of one UTF-16 unit; '?' when it has none.
  static char fromUnicode(char16_t unit);
};
