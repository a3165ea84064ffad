#pragma once

#include <QColor>
#include <QPixmap>

#include "radio/RfLoggerIndicators.h"

/// The pictures of the logger grids, drawn once in code and cached: 20 battery pictures
/// (24 x 11; 0 = level unknown, 1..19 rising levels) and the antenna picture (76 x 12, an
/// antenna and the dark scale the signal bar is drawn on). GUI thread only.
class RfLoggerPicture {
 public:
  static constexpr int BatteryWidth = 24;
  static constexpr int BatteryHeight = 11;
  static constexpr int AntennaWidth = 76;
  static constexpr int AntennaHeight = 12;

  /// Battery picture 0..19; a null pixmap for any other index.
  static const QPixmap& Battery(int index);
  static const QPixmap& Antenna();
  static QColor DotColor(RfLoggerIndicators::Dot dot);
};
