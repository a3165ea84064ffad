#pragma once

#include <QLocale>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "radio/RfLogger.h"
#include "radio/RfLoggerIndicators.h"

class Clock;
struct TMeasurementSet;

/// What the radio logger grid shows: the cell texts of every row and the indicators of
/// each logger, kept apart from any widget so the radio engine and the tests drive them
/// headlessly. The list itself stays with the main window; the selection box of a row is
/// always the Selected flag of its entry. User-interface thread only.
///
/// Rows are rebuilt by ShowListRows / ShowRadioData; indicators exist between FillDevList
/// and FreeDevList. A logger index that names no row (a late message) changes nothing.
class RfLoggerRows : public QObject {
  Q_OBJECT

 public:
  static constexpr int ColumnCount = 11;
  /// Five blanks in front of the identifier and the error code leave room for the box and
  /// the dot drawn there.
  static inline const QString kIndent = QStringLiteral("     ");

  explicit RfLoggerRows(TRfLoggerArray& list, QObject* parent = nullptr);

  /// Locale of decimal texts (battery volts, signal level); the system's by default.
  void setLocale(const QLocale& locale) { locale_ = locale; }
  const QLocale& locale() const { return locale_; }
  void setClock(Clock& clock) { clock_ = &clock; }
  /// Receives each stamped trace line ("dd/mm/yyyy hh:nn:ss.zzz: in FillDevList").
  void setTraceSink(std::function<void(const QString&)> sink) { trace_ = std::move(sink); }

  TRfLoggerArray& list() { return list_; }
  const TRfLoggerArray& list() const { return list_; }

  /// Rows of loggers (0 for an empty list; the grid then shows one blank row).
  int rowCount() const { return static_cast<int>(cells_.size()); }
  QString cell(int row, int column) const;
  bool hasIndicators(int row) const { return row >= 0 && row < static_cast<int>(indicators_.size()); }
  /// Indicators of a row; only for rows where hasIndicators is true.
  const RfLoggerIndicators& indicators(int row) const { return indicators_[static_cast<size_t>(row)]; }
  /// The entry's Selected flag (false for a row without entry).
  bool selected(int row) const;
  /// A row's selection box was clicked (DevCheckBoxClick).
  void setSelected(int row, bool selected);

  /// Logger the communication thread is serving, -1 for none; its row is highlighted.
  int currentDevRow() const { return currentDevRow_; }
  void setCurrentDevRow(int index);

  /// Creates the indicators of every logger (box, black status dot, hidden error dot,
  /// antenna and bar, empty battery picture), sets every Status to 0 and gives the radio set
  /// one empty thermal-string slot per logger.
  void FillDevList(TMeasurementSet& radioSet);
  /// Removes all indicators.
  void FreeDevList();
  /// One row per logger with identifier and model name, columns 2 to 10 empty.
  void ShowListRows();
  /// The grid part of refreshing the radio page after the radio set changed; fileShown is
  /// true while a data file is shown (RadioState 8).
  void ShowRadioData(const TMeasurementSet& radioSet, bool fileShown);
  /// Hides every error dot and empties every battery picture (clearing the radio set while
  /// keeping the list).
  void HideErrorsAndBatteries();

  /// Reactions to the per-logger messages of the communication thread; index = wParam.
  /// OnDevStatus returns the text for the current-logger status label (empty for a status
  /// above 5).
  QString OnDevStatus(int index, int status);
  void OnSignal(int index, uint8_t signalByte);
  void OnErrorCode(int index, int code);
  void OnVoltage(int index, int hundredths);
  void OnSensors(int index, uint32_t lParam);
  void OnPeriodCount(int index, uint32_t lParam);

 signals:
  /// Row count or every row changed.
  void rowsReset();
  /// Texts or indicators of one row changed.
  void rowChanged(int row);

 private:
  bool validRow(int row) const { return row >= 0 && row < rowCount(); }
  bool validLogger(int index) const { return index >= 0 && index < static_cast<int>(list_.size()); }
  void setBattery(int index);
  void resizeRows(int count);
  void trace(const QString& message);

  TRfLoggerArray& list_;
  std::vector<std::array<QString, ColumnCount>> cells_;
  std::vector<RfLoggerIndicators> indicators_;
  int currentDevRow_ = -1;
  QLocale locale_ = QLocale::system();
  Clock* clock_ = nullptr;
  std::function<void(const QString&)> trace_;
};
