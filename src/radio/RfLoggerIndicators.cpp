#include "radio/RfLoggerIndicators.h"

#include "app/Rounding.h"
#include "radio/RfLogger.h"

namespace {
// Voltages arrive as hundredths; the tolerance keeps a voltage that equals a step boundary
// on the lower step whatever the binary rounding of the boundary.
constexpr double kTolerance = 1e-9;

int smallestStep(double v, double base, double step, int last) {
  for (int i = 1; i <= last; ++i)
    if (v <= base + step * i + kTolerance) return i;
  return last;
}
}  // namespace

int BatteryPictureIndex(const QString& loggerId, double volts) {
  const double v = volts;
  if (LoggerModelCode(loggerId) == 122) {
    if (v < 1 || v > 4) return 0;
    for (int i = 1; i < 19; ++i)
      if (v <= i / 23.0 + 2.9 + kTolerance) return i;
    return 19;
  }
  if (v < 5 || v > 7.5) return 0;
  if (v >= 6.08) return 10 + smallestStep(v, 6.08, 0.14, 9);
  if (v >= 5.76) return 6 + smallestStep(v, 5.76, 0.1, 4);
  return smallestStep(v, 5.6, 0.0319, 6);
}

QString BatteryHint(const QString& loggerId, double volts, const QLocale& locale) {
  if (BatteryPictureIndex(loggerId, volts) == 0) return QStringLiteral("неизвестно");
  return ShortestDecimal(volts, locale) + QStringLiteral(" В");
}

double SignalLevelFromByte(uint8_t signalByte) { return static_cast<int8_t>(signalByte) / 2.0 - 74; }

int SignalBarWidth(double levelDbm) { return static_cast<int>(RoundHalfEven((levelDbm + 110) * 0.6 + 1)); }

QString LoggerErrorText(int code) {
  static const char16_t* const texts[] = {
      u"Нет ошибок",
      u"Термокоса не подключена (либо замыкание на +5V)",
      u"Замыкание линии связи на GND",
      u"Емкость линии превышает допустимую",
      u"Термокоса не обнаружена (сбой поиска)",
      u"Ошибка контрольной суммы при поиске датчиков",
      u"Датчики забракованы при чтении калибровочных коэффициентов",
      u"В линии нет датчиков измеряющих температуру",
      u"Тип термокосы не поддерживается прибором",
      u"Количество датчиков превышает допустимое",
      u"Карта памяти не обнаружена",
      u"Сбой при инициализации карты памяти",
      u"Сбой при чтении данных из памяти",
  };
  if (code < 0 || code > 12) return QStringLiteral("Неизвестная ошибка");
  return QString::fromUtf16(texts[code]);
}

bool StatusIndicator(int status, RfLoggerIndicators::Dot* dot, QString* hint) {
  using Dot = RfLoggerIndicators::Dot;
  struct Entry {
    Dot dot;
    const char16_t* hint;
  };
  static const Entry entries[] = {
      {Dot::Black, u"Логгер не опрашивался"},
      {Dot::Red, u"Логгер не обнаружен"},
      {Dot::Yellow, u"Статус логгера загружен"},
      {Dot::Green, u"Загрузка измерений выполнена частично"},
      {Dot::Lime, u"Задача выполнена"},
      {Dot::White, u"Измерения отсутствуют"},
  };
  if (status < 0 || status > 5) return false;
  *dot = entries[status].dot;
  *hint = QString::fromUtf16(entries[status].hint);
  return true;
}

std::vector<int> LoggerGridColumnWidths(int width, const std::vector<int>& baseWidths, int divisor) {
  if (divisor <= 0 || width <= divisor) return baseWidths;
  std::vector<int> out;
  out.reserve(baseWidths.size());
  for (int base : baseWidths) out.push_back(static_cast<int>(static_cast<long long>(width) * base / divisor));
  return out;
}

const std::vector<int>& RfLoggerGridBaseWidths() {
  static const std::vector<int> widths{92, 80, 64, 60, 50, 60, 110, 80, 50, 80, 50};
  return widths;
}

const std::vector<int>& UsbLoggerGridBaseWidths() {
  static const std::vector<int> widths{92, 80, 64, 60, 50, 60, 110, 80, 50, 80};
  return widths;
}

const std::vector<QString>& LoggerGridHeadings() {
  static const std::vector<QString> headings{
      QStringLiteral("Серийный\r\nномер\r\nлоггера"),
      QStringLiteral("Исполнение"),
      QStringLiteral("Серийный\r\nномер\r\nМЦДТ"),
      QStringLiteral("Количес-\r\nтво\r\nдатчиков"),
      QStringLiteral("Период\r\nзамера,\r\nч."),
      QStringLiteral("Количес-\r\nтво\r\nзамеров"),
      QStringLiteral("Внутреннее\r\nвремя"),
      QStringLiteral("Напряжение\r\nбатареи,\r\nВ"),
      QStringLiteral("Код\r\nошибки"),
      QStringLiteral("Уровень\r\nсигнала,\r\nдБм"),
      QStringLiteral("Статус"),
  };
  return headings;
}

QString ShortestDecimal(double value, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(value, 'f', QLocale::FloatingPointShortest);
}
