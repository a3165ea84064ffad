#pragma once

/// Main-window logic the USB connection controller calls: the measurement-set bookkeeping
/// and the control refresh. Main thread only.
class UsbHost {
 public:
  virtual ~UsbHost() = default;
  /// Clears UsbSet; with askUser asks before discarding unsaved USB data and returns false
  /// when the user answers No. all empties every array, otherwise the one-logger shape stays.
  virtual bool ClearUsbData(bool askUser, bool all) = 0;
  /// Enables commands by page and state and runs the page refresh.
  virtual void UpdateControls() = 0;
};
