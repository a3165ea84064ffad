#pragma once

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

/// One axis range in the axis's own unit (days on a time axis, °C or sensor numbers
/// otherwise).
struct AxisRange {
  double min = 0;
  double max = 0;
  double span() const { return max - min; }
  bool operator==(const AxisRange&) const = default;
};

/// Extremes of the visible points of a chart, X and Y as drawn.
struct GraphExtents {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  void widen(const GraphExtents& other);
};

/// X grid steps in seconds (index 0..24); applied to the X axis divided by 86400, on both
/// kinds of graph.
inline constexpr std::array<double, 25> XScaleSteps = {
    63115200, 31557600, 15778800, 7889400, 5259600, 2592000, 864000, 432000, 172800, 86400, 43200, 21600, 10800,
    7200,     3600,     1800,     1200,    600,     300,     120,     60,     30,     20,     10,    1};
/// Y grid steps, the 1-2-5 series from 100000 down to 0.00001 (index 0..30).
inline constexpr std::array<double, 31> YScaleSteps = {
    100000, 50000, 20000, 10000, 5000, 2000, 1000,  500,    200,    100,    50,     20,     10,      5,       2,      1,
    0.5,    0.2,   0.1,   0.05,  0.02, 0.01, 0.005, 0.002, 0.001, 0.0005, 0.0002, 0.0001, 0.00005, 0.00002, 0.00001};

constexpr int XScaleLast = 24;
constexpr int YScaleLast = 30;
constexpr double SecondsPerDay = 86400.0;

/// Pattern of the time-axis labels for an X step in seconds, in the classic letters
/// ("nn" minutes, "/" and ":" the regional separators): "hh:nn:ss" up to 60 s, "hh:nn" up
/// to 6 h, "dd/mm hh:nn" up to a day, "dd/mm/yyyy" above.
QString TimeLabelPattern(double stepSeconds);
/// The same pattern turned into a QDateTime format with the locale's separators.
QString TimeLabelFormat(double stepSeconds, const QLocale& locale);

/// A value in the format "#,#####.###": digit grouping, at most three decimals, no
/// trailing zeros, the locale's separators. Zero reads "0" (never an empty label).
QString FormatGraphValue(double value, const QLocale& locale = QLocale());

/// Axis state of the graph window: both ranges snapped to fixed grids (6 X steps, 10 Y
/// steps), the step indexes, the enabled states of the four zoom buttons and the tracking
/// flag. The window maps the ranges onto its chart; everything here is headless.
/// Times are days since 30.12.1899.
class GraphScales {
 public:
  AxisRange x{0, 1};
  AxisRange y{0, 10};
  int XScaleIndex = XScaleLast;
  int YScaleIndex = 0;
  bool TrackingCentred = false;
  bool zoomInXEnabled = true, zoomOutXEnabled = true, zoomInYEnabled = true, zoomOutYEnabled = true;

  /// Snap one axis to its step index, first fitting the index to the axis span when fit.
  /// A span the largest step cannot cover leaves the axis as it was and returns false.
  bool ApplyXScale(bool fit);
  bool ApplyYScale(bool fit);
  /// Recompute one index and its buttons from the axis range; the axis stays.
  void AdjustXScaleIndex();
  void AdjustYScaleIndex();

  void zoomInX();
  void zoomOutX();
  void zoomInY();
  void zoomOutY();
  /// Wheel forward: zoom in X then Y; back: zoom out X then Y.
  void wheel(bool forward);

  /// Pan buttons: one tenth of the current grid step on both ends of the axis; the indexes
  /// stay. panUp moves the curves up (the axis down).
  void panUp();
  void panDown();
  void panLeft();
  void panRight();

  /// X around now (days) on the 10-second step: c - 50 s … c + 10 s, c = now rounded to
  /// 10 s.
  void SetXAxisParameter(double now);
  /// The scales of a chart without visible points.
  void DefaultGraphicScale(double now);
  /// Fit both axes to the extremes (empty: DefaultGraphicScale).
  void ViewAll(const std::optional<GraphExtents>& extents, double now);
  /// Restore the left axis from a saved range, keeping its step when the range is empty.
  void RestoreYAxis(double savedMin, double savedMax);
  /// One tracking tick on the last point (x, y) of the tracked line.
  void trackPoint(double x, double y);

  /// The X step in axis units (days).
  double xStep() const { return XScaleSteps[XScaleIndex] / SecondsPerDay; }
  double yStep() const { return YScaleSteps[YScaleIndex]; }
};
