#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

/// Texts that follow "the system's regional settings": the decimal separator, short date
/// and long time. Taken from the default QLocale, which is the system's unless a test has
/// set one, so tests never depend on the machine.
namespace RegionalSettings {

inline QLocale locale() { return QLocale(); }
inline QChar decimalSeparator() { return locale().decimalPoint().at(0); }
inline QString shortDateFormat() { return locale().dateFormat(QLocale::ShortFormat); }
/// The long time without a time-zone part (Qt adds one to some locales' long format; the
/// users' clock texts never carry it).
inline QString longTimeFormat(const QLocale& l = locale()) {
  QString f = l.timeFormat(QLocale::LongFormat);
  f.remove(QLatin1Char('t'));
  return f.trimmed();
}

}  // namespace RegionalSettings
