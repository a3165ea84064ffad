#include "graph/GraphReadout.h"

#include "app/DateTimeValue.h"
#include "app/Rounding.h"

namespace {

// The regional long time without a time-zone part, which the users' clock texts never
// carry.
QString longTimeFormat(const QLocale& locale) {
  QString f = locale.timeFormat(QLocale::LongFormat);
  f.remove(QLatin1Char('t'));
  return f.trimmed();
}

}  // namespace

GraphReadout PointerReadout(GraphKind kind, double x, double y, const QString& suffix, const QLocale& locale) {
  GraphReadout r;
  switch (kind) {
    case GraphKind::Time: {
      const QDateTime dt = DateTimeValue::toQDateTime(x);
      r.second = locale.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                 dt.time().toString(longTimeFormat(locale));
      r.first = FormatGraphValue(y, locale) + suffix;
      break;
    }
    case GraphKind::Sensor:
      r.second = FormatGraphValue(x, locale) + suffix;
      if (y > 0) r.first = QStringLiteral("Датчик ") + FormatGraphValue(static_cast<double>(RoundHalfEven(y)), locale);
      break;
    case GraphKind::Other: break;
  }
  return r;
}
