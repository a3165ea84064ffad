#pragma once

#include "data/MeasurementSet.h"
#include "data/UsbFileHeader.h"
#include "radio/RfLogger.h"

/// What opening a data file does to the main window. Implemented by the main window; tests
/// use a recording fake. Every call is on the user-interface thread.
class DataFileHost {
 public:
  virtual ~DataFileHost() = default;

  // Radio page.
  /// RadioState is 1 (connected and idle).
  virtual bool radioConnectedIdle() const = 0;
  /// The COM-port disconnect command.
  virtual void disconnectComPort() = 0;
  /// RadioState := 8 (data from a file shown).
  virtual void setRadioStateFileData() = 0;
  virtual TRfLoggerArray& rfLoggers() = 0;
  virtual TMeasurementSet& radioSet() = 0;
  /// ShowLoggerList: rebuilds the logger grid from rfLoggers() and empties the radio set.
  virtual void showLoggerList(bool warnIfEmpty) = 0;
  /// ShowRadioData: refreshes the logger grid cells, the radio table and the graph lines.
  virtual void showRadioData() = 0;
  virtual void showRadioPage() = 0;

  // USB page.
  /// UsbState is PSUsbReady.
  virtual bool usbReady() const = 0;
  /// The USB disconnect command.
  virtual void disconnectUsb() = 0;
  /// UsbState := PSUsbFileData.
  virtual void setUsbStateFileData() = 0;
  /// ClearUsbData without asking, all arrays.
  virtual void clearUsbDataAll() = 0;
  virtual TMeasurementSet& usbSet() = 0;
  /// Makes a logger image without a HID device current (creating it when there is none)
  /// and gives it the file's values.
  virtual void setUsbFileImage(const UsbFileHeader& header) = 0;
  /// Drops the logger image: no current USB device remains.
  virtual void dropUsbImage() = 0;
  virtual void showUsbPage() = 0;

  virtual void updateControls() = 0;
  virtual void setBusyCursor(bool busy) = 0;
};
