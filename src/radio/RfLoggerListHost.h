#pragma once

#include <QString>

struct TMeasurementSet;

/// What the logger list commands need from the main window, which owns the radio set, the
/// radio state, the pages and the list editor window. Tests implement it with a fake.
class RfLoggerListHost {
 public:
  virtual ~RfLoggerListHost() = default;

  /// Clears the radio set, asking first when askUser and data are unsaved; false on No.
  /// With destroy it also calls FreeDevList of the logger rows.
  virtual bool FreeAllDynamicVariable(bool askUser, bool destroy) = 0;
  virtual int RadioState() const = 0;
  virtual TMeasurementSet& RadioSet() = 0;
  virtual void ActivateRadioPage() = 0;
  virtual void UpdateControls() = 0;
  /// Rebuilds the radio data table for a logger; -1 shows no logger.
  virtual void FillRfDataGrid(int loggerIndex) = 0;
  /// Folder offered first by the list file dialogs (PrgSettings/DeviceList).
  virtual QString DeviceListDir() const = 0;
  /// Fills and shows the list editor modally; returns when it is closed.
  virtual void ShowListEditor() = 0;
};
