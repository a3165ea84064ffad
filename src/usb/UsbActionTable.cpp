#include "usb/UsbActionTable.h"

#include "usb/UsbState.h"

bool UsbActionEnabled(uint8_t usbState, UsbAction action, bool gsmModule) {
  using A = UsbAction;
  switch (usbState) {
    case PSUsbNotConnected:
    case PSUsbFileData:
      return action == A::Connect;
    case PSUsbInit:
      return action == A::Disconnect;
    case PSUsbReady:
      if (action == A::Connect || action == A::CancelDataLoading) return false;
      if (action == A::StartGsmSending || action == A::GsmTimeSync) return gsmModule;
      return true;
    case PSUsbDownloadData:
      return action == A::Disconnect || action == A::CancelDataLoading;
    default:  // busy states and PSUsbReadSettings
      return action == A::Disconnect;
  }
}

QString UsbActionObjectName(UsbAction action) {
  switch (action) {
    case UsbAction::Connect: return QStringLiteral("ActionUsbConnect");
    case UsbAction::Disconnect: return QStringLiteral("ActionUsbDisconnect");
    case UsbAction::DownloadData: return QStringLiteral("ActionUsbDownloadData");
    case UsbAction::CancelDataLoading: return QStringLiteral("ActionUsbCancelDataLoading");
    case UsbAction::StartMeas: return QStringLiteral("ActionUsbStartMeas");
    case UsbAction::ClearLoggerData: return QStringLiteral("ActionUsbClearLoggerData");
    case UsbAction::StartGsmSending: return QStringLiteral("ActionUsbStartGsmSending");
    case UsbAction::ReadSettings: return QStringLiteral("ActionUsbReadSettings");
    case UsbAction::WriteSettings: return QStringLiteral("ActionUsbWriteSettings");
    case UsbAction::ResetToDefaults: return QStringLiteral("ActionUsbResetToDefaults");
    case UsbAction::ConfigFileOpen: return QStringLiteral("ActionConfigFileOpen");
    case UsbAction::ConfigFileSaveAs: return QStringLiteral("ActionConfigFileSaveAs");
    case UsbAction::PcTimeSync: return QStringLiteral("ActionUsbPcTimeSync");
    case UsbAction::GsmTimeSync: return QStringLiteral("ActionUsbGsmTimeSync");
  }
  return QString();
}
