#pragma once

#include <QStringList>


/// The main window's rules that need no widgets: which data commands are enabled, the
/// logger grids' column widths and the start-up argument rule.
namespace MainWindowRules {

/// `RadioState` values the window reads.
enum RadioStateValue { RadioNotConnected = 0, RadioIdle = 1, RadioFileData = 8, RadioClosing = 9 };
/// `UsbState` values the window reads (the rest mean connecting or a command running).
enum UsbStateValue { UsbNotConnected = 0, UsbReady = 2, UsbFileData = 12 };

struct DataCommands {
  bool showGraphic = false;
  bool exportToExcel = false;
  bool saveData = false;
  bool dataFileOpen = false;
};

DataCommands radioDataCommands(int radioLoggerCount, int radioState);
DataCommands usbDataCommands(bool usbHasDataForLogger0, int usbState);

/// The data file named by the first argument (arguments without the program name), or
/// empty: it must be longer than 5 characters, exist as a file and end in ".tmd" in any case.
QString startupDataFile(const QStringList& arguments);

}  // namespace MainWindowRules
