#include "usb/UsbErrorCodeText.h"

QString UsbErrorCodeText(int code) {
  switch (code) {
    case 0: return QStringLiteral("Нет ошибок");
    case 1: return QStringLiteral("Термокоса не подключена (либо замыкание на +5V)");
    case 2: return QStringLiteral("Замыкание линии связи на GND");
    case 3: return QStringLiteral("Емкость линии превышает допустимую");
    case 4: return QStringLiteral("Термокоса не обнаружена (сбой поиска)");
    case 5: return QStringLiteral("Ошибка контрольной суммы при поиске датчиков");
    case 6: return QStringLiteral("Датчики забракованы при чтении калибровочных коэффициентов");
    case 7: return QStringLiteral("В линии нет датчиков измеряющих температуру");
    case 8: return QStringLiteral("Тип термокосы не поддерживается прибором");
    case 9: return QStringLiteral("Количество датчиков превышает допустимое");
    case 10: return QStringLiteral("Карта памяти не обнаружена");
    case 11: return QStringLiteral("Сбой при инициализации карты памяти");
    case 12: return QStringLiteral("Сбой при чтении данных из памяти");
    case 32: return QStringLiteral("Ошибка флеш памяти. Очистите память");
    case 192: return QStringLiteral("Ошибка FRS");
    default: return QString();
  }
}
