#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

struct TMeasurementSet;

/// The two layouts of a data table; the numbers are the items of the layout choice.
enum class DataTableView { ByTime = 0, BySensor = 1 };

/// Column widths the sizing rule gives a data table.
struct DataTableWidths {
  int defaultWidth;  ///< every column (and, by sensor, the heading column)
  int column1Width;  ///< column 1 by time; equal to defaultWidth by sensor
  bool operator==(const DataTableWidths&) const = default;
};

/// What a data table shows for one logger of a measurement set, without any widget: its
/// size, headings, cell texts and which cells fall outside a range.
///
/// Coordinates are those of the view, without the fixed heading part: by time, row r is
/// measurement r + 1 and columns are number, date and time, voltage, then one per sensor
/// (the headings form the horizontal header); by sensor, rows are number, date and time,
/// voltage, then one per sensor (the headings form the vertical header) and column c is
/// measurement c + 1.
///
/// The layout keeps a pointer to the set and reads it on every call, checking each index
/// against the set as it is then, so a set emptied before the next Build shows empty cells
/// instead of reading freed memory. With several thermal strings the later strings cover
/// the cells of the earlier ones, so the table shows the last string. Each call costs
/// O(number of thermal strings), O(1) for the usual single string.
class DataTableLayout {
 public:
  static constexpr int FixedCount = 3;  ///< number, date and time, voltage

  /// Locale for the short date and the decimal separator (the system's in the program).
  explicit DataTableLayout(QLocale locale = QLocale::system()) : locale_(std::move(locale)) {}
  void setLocale(const QLocale& locale) { locale_ = locale; }
  const QLocale& locale() const { return locale_; }

  /// Shapes the table for logger loggerIndex of set (no logger when negative, when set is
  /// null or when the set has no data for it). dateLineBreak puts date and time on two
  /// lines by sensor (the radio table).
  void Build(const TMeasurementSet* set, int loggerIndex, DataTableView view, bool dateLineBreak);

  DataTableView view() const { return view_; }
  int loggerIndex() const { return logger_; }
  int measurementCount() const { return measurements_; }
  int sensorCount() const { return sensors_; }
  int rowCount() const;
  int columnCount() const;
  /// Columns of the table as the string grid counts them, heading column included; the
  /// sizing rule works on this count.
  int gridColumnCount() const;

  /// Heading of a column (by time) or a row (by sensor); lines separated by "\r\n".
  QString Heading(int section) const;
  QString CellText(int row, int column) const;
  /// True when the cell holds a sensor value outside [minLimit, maxLimit]; empty cells and
  /// the number, date and voltage cells never are.
  bool OutOfRange(int row, int column, double minLimit, double maxLimit) const;

  /// Hundredths as the shortest decimal text with the given separator (2150 -> "21.5",
  /// -5 -> "-0.05", 360 -> "3.6").
  static QString HundredthsText(int value, const QString& decimalPoint);
  /// The highlight rule on a stored value: outside the limits; a missing value never.
  static bool ValueOutOfRange(int16_t value, double minLimit, double maxLimit);
  /// The sizing rule for a table width and its grid column count.
  static DataTableWidths SizingRule(DataTableView view, int width, int gridColumns);
  /// Clipboard text of the rectangle of cells [top, bottom] x [left, right]: every cell
  /// followed by a tab, every row followed by CR LF.
  static QString SelectionText(int top, int bottom, int left, int right,
                               const std::function<QString(int row, int column)>& cell);

 private:
  /// The last thermal string that wrote measurement k (0-based) and, when sensor >= 0,
  /// the value of that sensor; -1 when none.
  int stringFor(int k, int sensor) const;
  /// The last thermal string that wrote the heading of sensor s; -1 when none.
  int stringForSensor(int sensor) const;
  /// Measurements a string wrote (those of its sensor 0), as the set holds it now.
  int stringMeasurements(int tk) const;
  int stringSensors(int tk) const;
  QString dateTimeText(int tk, int k) const;
  QString sensorHeading(int sensor) const;

  QLocale locale_;
  const TMeasurementSet* set_ = nullptr;
  int logger_ = -1;
  DataTableView view_ = DataTableView::ByTime;
  bool dateLineBreak_ = false;
  int measurements_ = 0;
  int sensors_ = 0;
  std::vector<int> strings_;  ///< thermal strings, last first
};
