#pragma once

#include <QString>
#include <QStringList>

#include <vector>

/// A small INI reader and writer that keeps what other tools would change: section and key
/// names exactly as given (the section "Graphic " keeps its trailing blank), raw values to
/// the end of the line (commas, quotes and all), the order of sections and keys, and the
/// encoding of the file. Names are matched without regard to case, as the Windows INI
/// routines that wrote the files do. Reads CRLF and LF files alike.
class IniFile {
 public:
  enum class Encoding { Utf8, Cp1251 };

  explicit IniFile(Encoding encoding = Encoding::Utf8) : encoding_(encoding) {}

  /// Replaces the contents with the file; false (and empty contents) when it cannot be read.
  bool load(const QString& path);
  void loadFromBytes(const QByteArray& bytes);
  /// Writes the whole file atomically (the old file stays as it was when the write fails).
  bool save(const QString& path) const;
  QByteArray toBytes() const;

  bool hasSection(const QString& section) const;
  bool hasKey(const QString& section, const QString& key) const;
  QStringList sections() const;
  QStringList keys(const QString& section) const;

  QString value(const QString& section, const QString& key, const QString& def = {}) const;
  /// Sets a value, appending the section and key at their ends when new.
  void setValue(const QString& section, const QString& key, const QString& value);
  void removeSection(const QString& section);

  /// Decimal, or hexadecimal after "0x"/"0X"; def when missing or unparsable.
  int readInteger(const QString& section, const QString& key, int def) const;
  /// An integer; anything but 0 is true.
  bool readBool(const QString& section, const QString& key, bool def) const;
  /// A decimal number with the regional decimal separator; def when missing or unparsable.
  double readReal(const QString& section, const QString& key, double def) const;

  void writeInteger(const QString& section, const QString& key, int value) { setValue(section, key, QString::number(value)); }
  void writeBool(const QString& section, const QString& key, bool value) { setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0")); }
  void writeReal(const QString& section, const QString& key, double value);

  /// The shortest general decimal text of value with the regional decimal separator.
  static QString formatReal(double value);
  static bool parseReal(const QString& text, double& value);

 private:
  struct Entry {
    QString key;
    QString value;
  };
  struct Section {
    QString name;
    std::vector<Entry> entries;
  };

  const Section* findSection(const QString& name) const;
  Section* findSection(const QString& name);

  Encoding encoding_;
  std::vector<Section> sections_;
  QString lineEnd_ = QStringLiteral("\r\n");
};
