#pragma once

#include <QString>

class UserPrompt;

/// The main window's preferences as stored in the settings file. Defaults are the values a
/// missing file, section or key yields.
struct ProgramSettings {
  int top = 0;
  int left = 0;
  int height = 640;
  int width = 1000;
  int port = 1;        ///< COM number preselected in the port list
  QString portName;    ///< device path of the port (this platform's form of Port)
  int minChannel = 16;
  int maxChannel = 23;
  int channel = 20;    ///< always within minChannel..maxChannel after loading
  int dataBlockSize = 1;
  int power[3] = {0, 1, 2};
  bool attempt[3] = {true, true, false};
  double rfMaxLimit = 0;
  double rfMinLimit = 0;
  bool rfHighlight = false;
  double usbMaxLimit = 0;
  double usbMinLimit = 0;
  bool usbHighlight = false;
  QString dataFilesDir;
  QString deviceListDir;

  /// Reads every key in table order over the given defaults (folder defaults included).
  /// A missing or unreadable file leaves everything at the defaults.
  static ProgramSettings load(const QString& iniFileName, const ProgramSettings& defaults);

  /// Writes the keys the close writes, keeping every other line of the file (MinChannel,
  /// MaxChannel, the graph window's section). Port is written only when portText is "COM"
  /// followed by a number; the port path goes to Settings/PortName. On failure shows
  /// "Unable to write to <file>" and returns false; the old file then stays as it was.
  bool save(const QString& iniFileName, const QString& portText, UserPrompt& prompt) const;
};
