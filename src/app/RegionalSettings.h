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
inline QString longTimeFormat() { return locale().timeFormat(QLocale::LongFormat); }

}  // namespace RegionalSettings
