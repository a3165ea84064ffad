#include "graph/GraphReadout.h"

#include "app/DateTimeValue.h"
#include "app/RegionalSettings.h"
#include "app/Rounding.h"

GraphReadout PointerReadout(GraphKind kind, double x, double y, const QString& suffix, const QLocale& locale) {
  GraphReadout r;
  switch (kind) {
    case GraphKind::Time: {
      const QDateTime dt = DateTimeValue::toQDateTime(x);
      r.second = locale.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                 dt.time().toString(RegionalSettings::longTimeFormat(locale));
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
