#include "radio/RfLoggerPicture.h"

#include <QPainter>

#include <array>

namespace {
QPixmap drawBattery(int index) {
  QPixmap pm(RfLoggerPicture::BatteryWidth, RfLoggerPicture::BatteryHeight);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  // Body 21 x 11 with a 2 px terminal on the right.
  p.setPen(QColor(64, 64, 64));
  p.setBrush(Qt::white);
  p.drawRect(0, 0, 20, 10);
  p.fillRect(21, 3, 2, 5, QColor(64, 64, 64));
  if (index == 0) {
    // Unknown level: a question mark in the empty body.
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(128, 128, 128));
    p.drawText(QRect(0, 0, 21, 11), Qt::AlignCenter, QStringLiteral("?"));
    return pm;
  }
  // 19 levels over the 19 inner pixels; red when low, yellow in the middle, green when full.
  const QColor fill = index <= 4 ? QColor(220, 0, 0) : index <= 9 ? QColor(230, 190, 0) : QColor(0, 170, 0);
  p.fillRect(1, 1, index, 9, fill);
  return pm;
}

QPixmap drawAntenna() {
  QPixmap pm(RfLoggerPicture::AntennaWidth, RfLoggerPicture::AntennaHeight);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  const QColor ink(48, 48, 48);
  p.setPen(ink);
  // Mast with a V-shaped top.
  p.drawLine(5, 3, 5, 11);
  p.drawLine(1, 0, 5, 4);
  p.drawLine(9, 0, 5, 4);
  // Scale of the signal bar: dark field from x 14, ticks every 10 px.
  p.fillRect(14, 1, 62, 10, QColor(40, 40, 40));
  p.setPen(QColor(110, 110, 110));
  for (int x = 24; x < 76; x += 10) p.drawLine(x, 9, x, 10);
  return pm;
}
}  // namespace

const QPixmap& RfLoggerPicture::Battery(int index) {
  static const std::array<QPixmap, BatteryPictureCount> pictures = [] {
    std::array<QPixmap, BatteryPictureCount> out;
    for (int i = 0; i < BatteryPictureCount; ++i) out[static_cast<size_t>(i)] = drawBattery(i);
    return out;
  }();
  static const QPixmap none;
  if (index < 0 || index >= BatteryPictureCount) return none;
  return pictures[static_cast<size_t>(index)];
}

const QPixmap& RfLoggerPicture::Antenna() {
  static const QPixmap picture = drawAntenna();
  return picture;
}

QColor RfLoggerPicture::DotColor(RfLoggerIndicators::Dot dot) {
  switch (dot) {
    case RfLoggerIndicators::Dot::Black: return QColor(0, 0, 0);
    case RfLoggerIndicators::Dot::Red: return QColor(255, 0, 0);
    case RfLoggerIndicators::Dot::Yellow: return QColor(255, 255, 0);
    case RfLoggerIndicators::Dot::Green: return QColor(0, 128, 0);
    case RfLoggerIndicators::Dot::Lime: return QColor(0, 255, 0);
    case RfLoggerIndicators::Dot::White: return QColor(255, 255, 255);
  }
  return QColor(0, 0, 0);
}
