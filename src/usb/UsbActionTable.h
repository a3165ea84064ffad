#pragma once

#include <QString>

#include <cstdint>

/// The USB and logger-settings actions of the main window whose enabled state follows
/// UsbState.
enum class UsbAction {
  Connect,
  Disconnect,
  DownloadData,
  CancelDataLoading,
  StartMeas,
  ClearLoggerData,
  StartGsmSending,
  ReadSettings,
  WriteSettings,
  ResetToDefaults,
  ConfigFileOpen,
  ConfigFileSaveAs,
  PcTimeSync,
  GsmTimeSync,
};
constexpr int kUsbActionCount = 14;

/// Whether the action is enabled in this state. A logger without a GSM module gets GSM send
/// and GSM time disabled in PSUsbReady. Disconnect is enabled while connecting as well, so
/// a logger that is pulled out or never answers during the read chain cannot trap the user.
bool UsbActionEnabled(uint8_t usbState, UsbAction action, bool gsmModule = true);

/// The action's objectName in the main window ("ActionUsbConnect", "ActionConfigFileOpen").
QString UsbActionObjectName(UsbAction action);
