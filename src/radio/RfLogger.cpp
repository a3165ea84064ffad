#include "radio/RfLogger.h"

namespace {
int digitsAt(const QString& id, int from, int count) {
  if (id.size() < from + count) return -1;
  int value = 0;
  for (int i = from; i < from + count; ++i) {
    const QChar c = id.at(i);
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    value = value * 10 + (c.unicode() - '0');
  }
  return value;
}
}  // namespace

int LoggerModelCode(const QString& loggerId) { return digitsAt(loggerId, 1, 3); }

int LoggerSerialNumber(const QString& loggerId) { return digitsAt(loggerId, 6, 5); }

QString MakeLoggerId(int modelCode, int serial) {
  return QStringLiteral("D%1SN%2").arg(modelCode, 3, 10, QLatin1Char('0')).arg(serial, 5, 10, QLatin1Char('0'));
}

QString ModelNameRu(const QString& loggerId) {
  switch (LoggerModelCode(loggerId)) {
    case 121: return QStringLiteral("ТКЛ-2-USB");
    case 122: return QStringLiteral("ТКЛ-1/100 РМ");
    case 123: return QStringLiteral("ТКЛ-2-RM");
    case 124: return QStringLiteral("ТКЛ-2-GSM");
    default: return {};
  }
}

QString ModelNameLat(const QString& loggerId) {
  switch (LoggerModelCode(loggerId)) {
    case 121: return QStringLiteral("TKL-2-USB");
    case 122: return QStringLiteral("TKL-1/100 RM");
    case 123: return QStringLiteral("TKL-2-RM");
    case 124: return QStringLiteral("TKL-2-GSM");
    default: return {};
  }
}

TRfLoggerArray RemoveLoggerAt(const TRfLoggerArray& list, int index) {
  TRfLoggerArray out = list;
  if (index >= 0 && index < static_cast<int>(out.size())) out.erase(out.begin() + index);
  return out;
}

QString RemoveLoggerAtError(const TRfLoggerArray& list, int index) {
  if (index >= 0 && index < static_cast<int>(list.size())) return {};
  return QStringLiteral("Указанный элемент не существует");
}
