#pragma once

#include <cstdint>
#include <vector>

#include "data/MeasurementSet.h"

class UserPrompt;

/// What clearing the sets does to the window besides the data: trace lines and the per-row
/// indicators of the logger grids.
class MeasurementBookView {
 public:
  virtual ~MeasurementBookView() = default;
  virtual void addMemo1Line(const QString& line) = 0;
  /// Removes the radio logger rows' indicators (destroying clear).
  virtual void freeDevList() = 0;
  /// Hides the error indicators and clears the battery pictures of every radio logger row.
  virtual void clearRfLoggerIndicators() = 0;
  /// The same for the USB logger row.
  virtual void clearUsbLoggerIndicators() = 0;
};

/// The two measurement sets of the main window with their unsaved-data bookkeeping. All on
/// the user-interface thread.
class MeasurementBook {
 public:
  TMeasurementSet RadioSet;
  TMeasurementSet UsbSet;
  int RadioReceivedCount = 0;
  bool RadioDataSaved = true;
  int UsbReceivedCount = 0;
  bool UsbDataSaved = true;
  int SelectedRfLogger = 0;

  bool hasUnsavedRadioData() const { return RadioReceivedCount > 0 && !RadioDataSaved; }
  bool hasUnsavedUsbData() const { return UsbReceivedCount > 0 && !UsbDataSaved; }

  /// Clears the radio set, asking first when askUser and radio data are unsaved; false
  /// (nothing changed) when the user says No. destroy empties the set entirely; otherwise
  /// every logger keeps one thermal string with its serial and type but no data.
  bool FreeAllDynamicVariable(bool askUser, bool destroy, UserPrompt& prompt, MeasurementBookView& view);

  /// Clears the USB set, asking first when askUser and USB data are unsaved. all empties it;
  /// otherwise it becomes one logger with one empty thermal string of serial 0 and type 0.
  bool ClearUsbData(bool askUser, bool all, UserPrompt& prompt, MeasurementBookView& view);

  /// Shapes the USB set for a download from the logger image: serial, type, positions and
  /// one empty series per sensor. Expects the set cleared with all false.
  void PrepareUsbData(int16_t tkSerial, uint8_t tkType, const std::vector<int16_t>& distances);

  /// Appends one downloaded USB record and marks the USB data unsaved.
  void addUsbRecord(double time, int16_t battery, const int16_t* values);
};
