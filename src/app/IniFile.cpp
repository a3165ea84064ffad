#include "app/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

#include "app/Cp1251.h"
#include "app/RegionalSettings.h"

namespace {
bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }
}  // namespace

bool IniFile::load(const QString& path) {
  sections_.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  loadFromBytes(file.readAll());
  return true;
}

void IniFile::loadFromBytes(const QByteArray& bytes) {
  sections_.clear();
  QString text = encoding_ == Encoding::Cp1251 ? Cp1251::decode(bytes) : QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  lineEnd_ = text.contains(QStringLiteral("\r\n")) || text.isEmpty() ? QStringLiteral("\r\n") : QStringLiteral("\n");
  Section* current = nullptr;
  for (QStringView line : QStringView(text).split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    const QStringView trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';')) continue;
    if (line.startsWith(u'[')) {
      const qsizetype close = line.lastIndexOf(u']');
      if (close > 0) {
        const QString name = line.mid(1, close - 1).toString();
        current = findSection(name);
        if (!current) {
          sections_.push_back({name, {}});
          current = &sections_.back();
        }
        continue;
      }
    }
    const qsizetype eq = line.indexOf(u'=');
    if (!current || eq <= 0) continue;
    const QString key = line.left(eq).trimmed().toString();
    const QString value = line.mid(eq + 1).toString();
    bool replaced = false;
    for (auto& e : current->entries) {
      if (sameName(e.key, key)) {
        replaced = true;  // the first occurrence wins, as with the Windows routines
        break;
      }
    }
    if (!replaced) current->entries.push_back({key, value});
  }
}

QByteArray IniFile::toBytes() const {
  QString text;
  for (const auto& s : sections_) {
    text += QLatin1Char('[') + s.name + QLatin1Char(']') + lineEnd_;
    for (const auto& e : s.entries) text += e.key + QLatin1Char('=') + e.value + lineEnd_;
  }
  return encoding_ == Encoding::Cp1251 ? Cp1251::encode(text) : text.toUtf8();
}

bool IniFile::save(const QString& path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = toBytes();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
  for (const auto& s : sections_)
    if (sameName(s.name, name)) return &s;
  return nullptr;
}

IniFile::Section* IniFile::findSection(const QString& name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->findSection(name));
}

bool IniFile::hasSection(const QString& section) const { return findSection(section) != nullptr; }

bool IniFile::hasKey(const QString& section, const QString& key) const {
  if (const Section* s = findSection(section))
    for (const auto& e : s->entries)
      if (sameName(e.key, key)) return true;
  return false;
}

QStringList IniFile::sections() const {
  QStringList out;
  for (const auto& s : sections_) out << s.name;
  return out;
}

QStringList IniFile::keys(const QString& section) const {
  QStringList out;
  if (const Section* s = findSection(section))
    for (const auto& e : s->entries) out << e.key;
  return out;
}

QString IniFile::value(const QString& section, const QString& key, const QString& def) const {
  if (const Section* s = findSection(section))
    for (const auto& e : s->entries)
      if (sameName(e.key, key)) return e.value;
  return def;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
  Section* s = findSection(section);
  if (!s) {
    sections_.push_back({section, {}});
    s = &sections_.back();
  }
  for (auto& e : s->entries) {
    if (sameName(e.key, key)) {
      e.value = value;
      return;
    }
  }
  s->entries.push_back({key, value});
}

void IniFile::removeSection(const QString& section) {
  std::erase_if(sections_, [&](const Section& s) { return sameName(s.name, section); });
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
  if (!hasKey(section, key)) return def;
  const QString text = value(section, key).trimmed();
  bool ok = false;
  int result = 0;
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    result = static_cast<int>(text.mid(2).toUInt(&ok, 16));
  else
    result = text.toInt(&ok, 10);
  return ok ? result : def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
  return readInteger(section, key, def ? 1 : 0) != 0;
}

QString IniFile::formatReal(double value) {
  QString text = QString::number(value, 'g', 15);
  text.replace(QLatin1Char('.'), RegionalSettings::decimalSeparator());
  return text;
}

bool IniFile::parseReal(const QString& text, double& value) {
  QString t = text.trimmed();
  const QChar sep = RegionalSettings::decimalSeparator();
  // A text with the other separator is unparsable, as it would be for the system routine.
  if (sep != QLatin1Char('.') && t.contains(QLatin1Char('.'))) return false;
  t.replace(sep, QLatin1Char('.'));
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return false;
  value = v;
  return true;
}

double IniFile::readReal(const QString& section, const QString& key, double def) const {
  if (!hasKey(section, key)) return def;
  double v = def;
  return parseReal(value(section, key), v) ? v : def;
}

void IniFile::writeReal(const QString& section, const QString& key, double value) {
  setValue(section, key, formatReal(value));
}
