#include "usb/UsbPayloads.h"

#include <algorithm>

#include "app/Cp1251.h"
#include "app/DateTimeValue.h"

const UsbPayloads::TextField UsbPayloads::kGsmFields[10] = {{0, 20},   {20, 8},   {28, 8},   {36, 64},  {100, 8},
                                                            {108, 64}, {172, 64}, {236, 64}, {300, 64}, {364, 64}};

UsbGsmTexts UsbGsmTexts::fromImage(const TLoggerHidDevice& d) {
  return {d.apn,      d.apnUser,      d.apnPwd,  d.mqttHost,      d.mqttPort,
          d.mqttClientId, d.mqttUser, d.mqttPwd, d.mqttDataTopic, d.mqttConfigTopic};
}

QByteArray UsbPayloads::recordNumber(uint32_t n) {
  QByteArray p(4, '\0');
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return p;
}

QByteArray UsbPayloads::clockAdjust(int32_t value) { return recordNumber(static_cast<uint32_t>(value)); }

QByteArray UsbPayloads::oneByte(int value) { return QByteArray(1, static_cast<char>(value & 0xFF)); }

QByteArray UsbPayloads::setTime(const QDateTime& now) {
  const QDate d = now.date();
  const QTime t = now.time();
  QByteArray p(6, '\0');
  p[0] = static_cast<char>(t.hour());
  p[1] = static_cast<char>(t.minute());
  p[2] = static_cast<char>(t.second());
  p[3] = static_cast<char>(d.day());
  p[4] = static_cast<char>(d.month());
  p[5] = static_cast<char>((d.year() - 2000) & 0xFF);
  return p;
}

QByteArray UsbPayloads::gsmConfig(const UsbGsmTexts& t) {
  const QString* texts[10] = {&t.apn,      &t.apnUser,      &t.apnPwd,  &t.mqttHost,      &t.mqttPort,
                              &t.mqttClientId, &t.mqttUser, &t.mqttPwd, &t.mqttDataTopic, &t.mqttConfigTopic};
  QByteArray p(USB_GSM_CONFIG_SIZE, '\0');
  for (int i = 0; i < 10; ++i) {
    const QByteArray bytes = Cp1251::encode(*texts[i]);
    const int n = std::min<int>(kGsmFields[i].width, static_cast<int>(bytes.size()));
    std::copy_n(bytes.constData(), n, p.data() + kGsmFields[i].offset);
  }
  return p;
}

UsbClockValue UsbPayloads::clockFromAnswer(const uint8_t* b) { return {b[3], b[4], b[5], b[0], b[1], b[2]}; }

QString UsbPayloads::clockText(const UsbClockValue& c) {
  const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
  return two(c[3]) + QLatin1Char('.') + two(c[4]) + QLatin1Char('.') + QString::number(2000 + c[5]) +
         QLatin1Char(' ') + two(c[0]) + QLatin1Char(':') + two(c[1]) + QLatin1Char(':') + two(c[2]);
}

QString UsbPayloads::answerClockTrace(const uint8_t* b) {
  return QStringLiteral("%1.%2.%3 %4:%5:%6").arg(b[0]).arg(b[1]).arg(b[2]).arg(b[3]).arg(b[4]).arg(b[5]);
}

std::optional<double> UsbPayloads::clockDateTime(const UsbClockValue& c) {
  return DateTimeValue::encode(2000 + c[5], c[4], c[3], c[0], c[1], c[2]);
}

QString UsbPayloads::textField(const uint8_t* bytes, int width) {
  int n = 0;
  while (n < width && bytes[n] != 0) ++n;
  return Cp1251::decode(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n)));
}
