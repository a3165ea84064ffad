#pragma once

#include <QString>

#include "data/MeasurementSet.h"

class Clock;
class FileChooser;
class UserPrompt;
class XlsWriter;

/// The page whose data an export takes.
enum class DataPage { Radio, Usb, Settings };

/// What the export needs from the main window besides the data.
class XlsExportView {
 public:
  virtual ~XlsExportView() = default;
  /// A line for the radio page's log box (Memo1).
  virtual void addMemo1Line(const QString& line) = 0;
  virtual void setBusyCursor(bool busy) = 0;
};

/// "Экспорт в Excel": one logger's data as a one-sheet workbook, one column per measurement
/// (at most 255) and one row per sensor. Keeps the workbook save dialog's last name.
/// User-interface thread only.
class ExcelExport {
 public:
  /// Measurements beyond this many are left out (columns B to IV).
  static constexpr int MaxMeasurements = 255;

  ExcelExport(FileChooser& chooser, UserPrompt& prompt, XlsExportView& view, const Clock& clock);

  /// ExportToXls. Radio page: set = RadioSet, logger = SelectedRfLogger, loggerId = its list
  /// entry's identifier. USB page: set = UsbSet, logger = 0, loggerId = the logger image's
  /// identifier. Settings page: the workbook gets the three row titles only.
  /// Returns true when a workbook was written.
  bool ExportToXls(DataPage page, const TMeasurementSet& set, int logger, const QString& loggerId);

  /// The data check of the export for that page.
  static bool HasExportData(DataPage page, const TMeasurementSet& set, int logger);
  /// The records of a whole workbook after begin and before end: row titles, then the
  /// logger's cells (none for the settings page).
  static void WriteSheet(XlsWriter& writer, DataPage page, const TMeasurementSet& set, int logger,
                         const QString& loggerId);
  /// The date-time text of row 5: regional short date, a blank, "hh:nn:ss".
  static QString MeasurementTimeText(double value);

 private:
  FileChooser& chooser_;
  UserPrompt& prompt_;
  XlsExportView& view_;
  const Clock& clock_;
  QString lastFileName_;
};
