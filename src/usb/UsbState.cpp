#include "usb/UsbState.h"

#include <array>

QString UsbStateName(uint8_t state) {
  static const std::array<const char*, 13> kNames{
      "PSUsbNotConnected", "PSUsbInit",         "PSUsbReady",        "PSUsbResetToDefaults", "PSUsbClearMem",
      "PSUsbReadSettings", "PSUsbWriteSettings", "PSUsbDownloadData", "PSUsbPcTimeSync",      "PSUsbGsmTimeSync",
      "PSUsbGsmSend",      "PSUsbStartMeas",    "PSUsbFileData"};
  if (state < kNames.size()) return QString::fromLatin1(kNames[state]);
  return QString::number(state);
}

bool UsbStateBusy(uint8_t state) {
  switch (state) {
    case PSUsbResetToDefaults:
    case PSUsbClearMem:
    case PSUsbWriteSettings:
    case PSUsbPcTimeSync:
    case PSUsbGsmTimeSync:
    case PSUsbGsmSend:
    case PSUsbStartMeas:
      return true;
    default:
      return false;
  }
}
