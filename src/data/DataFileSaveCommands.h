#pragma once

#include <QString>

#include "data/MeasurementSet.h"
#include "radio/RfLogger.h"

class Clock;
class FileChooser;
class UserPrompt;

/// What the save commands need from the main window besides the data.
class DataSaveView {
 public:
  virtual ~DataSaveView() = default;
  /// True while a radio command runs (its progress bar is visible).
  virtual bool radioCommandRunning() const = 0;
  virtual void showRadioPage() = 0;
  virtual void showUsbPage() = 0;
  virtual void updateControls() = 0;
  virtual void setBusyCursor(bool busy) = 0;
};

/// The two "save data" commands with the one data-file save dialog they share. The dialog
/// remembers its folder and the name last chosen in it: the radio save points it at the data
/// folder, the USB save leaves it where it was (the program's folder until a radio save).
/// User-interface thread only.
class DataFileSaveCommands {
 public:
  DataFileSaveCommands(FileChooser& chooser, UserPrompt& prompt, DataSaveView& view, const Clock& clock,
                       QString initialFolder);

  /// ActionRfSaveDataToFile. dataSaved (RadioDataSaved) becomes true on success.
  /// Returns true when a file was written.
  bool ActionRfSaveDataToFile(const TMeasurementSet& radioSet, const TRfLoggerArray& loggers, int radioReceivedCount,
                              bool& dataSaved, const QString& dataFilesDir);
  /// ActionUsbSaveDataToFile; loggerId is the identifier of the USB logger image.
  bool ActionUsbSaveDataToFile(const TMeasurementSet& usbSet, const QString& loggerId, int usbReceivedCount,
                               bool& dataSaved);

  const QString& dialogFolder() const { return folder_; }

 private:
  /// Runs the dialog, applies the extension rule and the replace question; empty = stop.
  QString chooseFile();

  FileChooser& chooser_;
  UserPrompt& prompt_;
  DataSaveView& view_;
  const Clock& clock_;
  QString folder_;
  QString lastName_;
};
