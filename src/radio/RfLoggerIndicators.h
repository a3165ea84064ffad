#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <vector>

/// State of the small pictures drawn in one row of the radio logger grid. Plain values: the
/// grid draws them, logic and tests read and set them. Geometry (pixels, inside the cell):
/// selection box 14 x 14 at (5, 6) of column 0; battery picture 24 x 12 at (40, 4) of
/// column 7; error dot 9 x 9 at (4, 5) of column 8; antenna picture 76 x 12 at (2, 3) and
/// signal bar 5 px high at (17, 5) of column 9; status dot 11 x 11 at (4, 4) of column 10.
struct RfLoggerIndicators {
  enum class Dot { Black, Red, Yellow, Green, Lime, White };

  Dot statusDot = Dot::Black;
  QString statusHint = QStringLiteral("Логгер не опрашивался");

  bool errorVisible = false;
  bool errorGreen = false;  ///< green for code 0, red otherwise
  QString errorHint = QStringLiteral("Нет ошибок");

  bool antennaVisible = false;
  QString antennaHint;
  bool barVisible = false;
  int barWidth = 0;  ///< pixels; may be 0 or negative for very weak signals (drawn as nothing)
  QString barHint;

  int batteryPicture = -1;  ///< -1 = empty, 0 = level unknown, 1..19 rising levels
  QString batteryHint;
};

/// Battery pictures available to the grids: index 0 (unknown level) and 1..19.
constexpr int BatteryPictureCount = 20;

/// Picture index for a battery voltage in volts: model 122 (a 3.6 V cell) and every other
/// model (a 6 V pack) have their own scale; 0 outside the known range.
int BatteryPictureIndex(const QString& loggerId, double volts);
/// Hint of the battery picture: the voltage and " В", or "неизвестно" when the voltage lies
/// outside the known range.
QString BatteryHint(const QString& loggerId, double volts, const QLocale& locale);

/// Signal level in dBm of the signal byte the radio modem reports (two's complement).
double SignalLevelFromByte(uint8_t signalByte);
/// Width in pixels of the signal bar for a level in dBm (below 1 px from -110 dBm down).
int SignalBarWidth(double levelDbm);

/// Text of a logger error code, "Неизвестная ошибка" above 12.
QString LoggerErrorText(int code);

/// Status dot colour and hint for a logger status 0..5; false for any other status.
bool StatusIndicator(int status, RfLoggerIndicators::Dot* dot, QString* hint);

/// Column widths of a logger grid of the given width: the base widths up to divisor pixels,
/// above that each base width scaled by width / divisor (integer arithmetic, truncating).
std::vector<int> LoggerGridColumnWidths(int width, const std::vector<int>& baseWidths, int divisor);

/// Base widths and divisor of the radio logger grid (11 columns) and the USB logger grid
/// (10 columns).
const std::vector<int>& RfLoggerGridBaseWidths();
constexpr int RfLoggerGridWidthDivisor = 786;
const std::vector<int>& UsbLoggerGridBaseWidths();
constexpr int UsbLoggerGridWidthDivisor = 735;

/// Headings of the logger grids, lines separated by "\r\n" (11 columns; the USB grid uses the
/// first 10).
const std::vector<QString>& LoggerGridHeadings();

/// Shortest decimal text of a number with the locale's decimal separator and no digit
/// grouping (3.6, -112, -73.5).
QString ShortestDecimal(double value, const QLocale& locale);
