#pragma once

#include <QString>

#include "app/FileChooser.h"

class RfLoggerListHost;
class RfLoggerRows;
class UserPrompt;

/// The radio logger list commands of the main window: showing the list, editing it and
/// opening and saving list files. Runs on the user-interface thread.
class RfLoggerListCommands {
 public:
  /// Radio state in which the radio page shows data from a file.
  static constexpr int RadioStateFileData = 8;

  RfLoggerListCommands(RfLoggerRows& rows, RfLoggerListHost& host, UserPrompt& prompt)
      : rows_(rows), host_(host), prompt_(prompt) {}

  /// Rebuilds the grid rows and indicators from the list and empties the radio set.
  void ShowLoggerList(bool warnIfEmpty);
  /// ActionRfChangeLoggerList.
  void ChangeLoggerList();
  /// ActionRfDevListFileOpen.
  void OpenListFile(FileChooser& chooser);
  /// ActionRfDevListFileSave.
  void SaveListFile(FileChooser& chooser);

  /// Request of the list file dialogs: extension "lst", the list filter, the list folder.
  FileChooser::Request DialogRequest() const;

 private:
  /// Clears the radio set before the list changes; false when the user said No.
  bool releaseRadioData();

  RfLoggerRows& rows_;
  RfLoggerListHost& host_;
  UserPrompt& prompt_;
};
